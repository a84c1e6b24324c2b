#include "backup/ui/ukonceni.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TUkonceniDlg::TUkonceniDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("UkonceniDlg"));
    setWindowTitle(QStringLiteral("Upozornění"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    int line = 1;
    for (const QString& text : {QStringLiteral("Data úspěšně obnovena ze záložního souboru"),
                                QStringLiteral("Změny budou uplatněny po novém spuštění programu!"),
                                QStringLiteral("Program bude nyní ukončen")}) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("Label%1").arg(line++));
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    auto* button = new QPushButton(QStringLiteral("Ukončit"), this);
    button->setObjectName(QStringLiteral("OKBtn"));
    button->setDefault(true);
    connect(button, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button);
    buttons->addStretch();
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
