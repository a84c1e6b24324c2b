#pragma once

#include "config/ProgramVersion.h"

#include <QDialog>
#include <QList>

class QLabel;
class ShellOpen;

// The About window "O programu tarvolin": maker, author, contact, version; it fades in when shown
// and out when it closes.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    static QString contactAddress() { return QStringLiteral("podpora@orvex.example"); }
    // Opacity levels (0..255) of the two fades.
    static QList<int> fadeInLevels();
    static QList<int> fadeOutLevels();
    static QString versionHistory();

    explicit TAboutBox(ShellOpen* shell, QWidget* parent = nullptr,
                       ProgramVersion version = ProgramVersion::current());

    // Pause after each fade step; 0 runs the fades as fast as events are processed.
    void setFadeStepDelay(int ms) { m_fadeStepDelay = ms; }
    void fadeIn();
    void fadeOut();

    // Names the data folder in use, so that the operator knows where the files are.
    void setDataFolder(const QString& folder);

    void ContactClick();
    void InformaceClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void runFade(const QList<int>& levels);
    static QPixmap flagPicture();
    static QPixmap stopwatchPicture();

    ShellOpen* m_shell;
    QLabel* m_dataFolder = nullptr;
    int m_fadeStepDelay = 3;
    bool m_fadedIn = false;
    bool m_closing = false; // a close requested during the fade out is the same close
};
