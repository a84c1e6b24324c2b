#pragma once

#include <QDialog>

// The notice after saving a changed "always on top": the change needs a restart, which the operator
// may start at once. exec() gives Accepted for "&Ukončit".
class TVzdyNavrchuDlg : public QDialog {
    Q_OBJECT

public:
    explicit TVzdyNavrchuDlg(QWidget* parent = nullptr);
};
