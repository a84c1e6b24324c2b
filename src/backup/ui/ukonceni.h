#pragma once

#include <QDialog>

// "Upozornění": the notice after a successful restore that the program ends now.
class TUkonceniDlg : public QDialog {
    Q_OBJECT

public:
    explicit TUkonceniDlg(QWidget* parent = nullptr);
};
