#include "config/ui/OnTop.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TVzdyNavrchuDlg::TVzdyNavrchuDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TVzdyNavrchuDlg"));
    setWindowTitle(QStringLiteral("Upozornění"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* line1 = new QLabel(QStringLiteral("Změny se projeví až po ukončení aplikace !"), this);
    line1->setObjectName(QStringLiteral("Label1"));
    auto* line2 = new QLabel(QStringLiteral("Chcete aplikaci ukončit hned ?"), this);
    line2->setObjectName(QStringLiteral("Label2"));
    for (QLabel* line : {line1, line2}) {
        line->setAlignment(Qt::AlignCenter);
        layout->addWidget(line);
    }
    auto* quit = new QPushButton(QStringLiteral("&Ukončit"), this);
    quit->setObjectName(QStringLiteral("UkoncitBtn"));
    quit->setDefault(true);
    auto* keepOn = new QPushButton(QStringLiteral("Pokračovat"), this);
    keepOn->setObjectName(QStringLiteral("PokracovatBtn"));
    keepOn->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(quit);
    buttons->addWidget(keepOn);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    connect(keepOn, &QPushButton::clicked, this, &QDialog::reject);
}
