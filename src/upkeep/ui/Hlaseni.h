#pragma once

#include <QDialog>

#include <array>

class KartReminders;
class QLabel;

// "Hlášení": the four karts' reminder texts in their groups; "Beru na vědomí" acknowledges them all.
// Closed otherwise (Escape), it keeps them to be shown again with the next check's additions.
class THlaseniDlg : public QDialog {
    Q_OBJECT

public:
    explicit THlaseniDlg(KartReminders& reminders, QWidget* parent = nullptr);

    // Shows the texts modally when any is not empty.
    void showIfAny();
    void OKBtnClick();

private:
    KartReminders& m_reminders;
    std::array<QLabel*, 4> m_texts{};
};
