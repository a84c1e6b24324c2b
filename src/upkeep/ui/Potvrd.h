#pragma once

#include <QDialog>

class SoundPlayer;

// "Potvrzení": asks "Opravdu vynulovat ?" before a kart's counter is zeroed, and plays
// "zvuky/prg/potvrd.wav" through the main window's sound player each time it opens.
class TPotvrdDlg : public QDialog {
    Q_OBJECT

public:
    TPotvrdDlg(SoundPlayer* sound, QString soundPath, QWidget* parent = nullptr);

    // True when the operator answers "Ano".
    bool confirm();

private:
    SoundPlayer* m_sound;
    QString m_soundPath;
};
