#pragma once

#include <QDialog>

// Shown by the program start when the parallel port did not open.
class TChyba_LptDlg : public QDialog {
    Q_OBJECT

public:
    explicit TChyba_LptDlg(QWidget* parent = nullptr);
};
