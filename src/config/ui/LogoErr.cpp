#include "config/ui/LogoErr.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TLogoErrDlg::TLogoErrDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TLogoErrDlg"));
    setWindowTitle(QStringLiteral("Dialog"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* line1 = new QLabel(QStringLiteral("LOGO není dostupné!"), this);
    line1->setObjectName(QStringLiteral("Label1"));
    auto* line2 = new QLabel(QStringLiteral("Provedte kontrolu nastavení tisku."), this);
    line2->setObjectName(QStringLiteral("Label2"));
    QFont bold = line1->font();
    bold.setBold(true);
    line1->setFont(bold);
    for (QLabel* line : {line1, line2}) {
        line->setAlignment(Qt::AlignCenter);
        layout->addWidget(line);
    }
    auto* ok = new QPushButton(QStringLiteral("Ano"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
