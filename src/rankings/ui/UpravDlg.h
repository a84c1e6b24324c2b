#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

// The edit window of a best-twenty row, for the men's table: the name `jmeno` can be changed, the
// time `cas` is only shown. TUpravDlg1 is the same window for the women's table.
class TUpravDlg : public QDialog {
    Q_OBJECT

public:
    explicit TUpravDlg(QWidget* parent = nullptr);

    // Opens modally with the row's name and time, the name focused; the new name on OK, nothing on
    // "Zrušit".
    std::optional<QString> editRow(const QString& name, const QString& time);

    // OK: a name the table file cannot hold is refused with a hint, and the window stays open.
    void accept() override;

protected:
    TUpravDlg(const QString& caption, const QString& objectName, QWidget* parent);

private:
    QLineEdit* m_jmeno;
    QLineEdit* m_cas;
};
