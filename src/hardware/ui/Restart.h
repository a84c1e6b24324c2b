#pragma once

#include <QDialog>

class SystemRestart;

// Offered after the automatic port repair: restart the computer now, or go on.
class TRestartDlg : public QDialog {
    Q_OBJECT

public:
    explicit TRestartDlg(SystemRestart& restart, QWidget* parent = nullptr);

public slots:
    void RestartovatClick();

private:
    SystemRestart& m_restart;
};
