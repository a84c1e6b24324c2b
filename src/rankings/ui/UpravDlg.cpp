#include "rankings/ui/UpravDlg.h"

#include "config/ui/EncodableText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TUpravDlg::TUpravDlg(QWidget* parent)
    : TUpravDlg(QStringLiteral("Upravit položku - jezdci"), QStringLiteral("UpravDlg"), parent) {}

TUpravDlg::TUpravDlg(const QString& caption, const QString& objectName, QWidget* parent)
    : QDialog(parent), m_jmeno(new QLineEdit(this)), m_cas(new QLineEdit(this)) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
    m_jmeno->setObjectName(QStringLiteral("jmeno"));
    m_cas->setObjectName(QStringLiteral("cas"));
    m_cas->setReadOnly(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Jméno"), m_jmeno);
    form->addRow(QStringLiteral("Čas"), m_cas);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

void TUpravDlg::accept() {
    if (EncodableText::check(this, {m_jmeno}))
        QDialog::accept();
}

std::optional<QString> TUpravDlg::editRow(const QString& name, const QString& time) {
    m_jmeno->setText(name);
    m_cas->setText(time);
    m_jmeno->selectAll();
    m_jmeno->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    // A table file cuts a row's fields at TABs: a TAB in a name would split it.
    QString text = m_jmeno->text();
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}
