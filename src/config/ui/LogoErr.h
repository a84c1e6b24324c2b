#pragma once

#include <QDialog>

// The notice that the print logo could not be loaded at start-up.
class TLogoErrDlg : public QDialog {
    Q_OBJECT

public:
    explicit TLogoErrDlg(QWidget* parent = nullptr);
};
