#include "hardware/ui/Chyba_LPT.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TChyba_LptDlg::TChyba_LptDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Chyba_LptDlg"));
    setWindowTitle(QStringLiteral("Chyba LPT"));
    setModal(true);

    const QStringList lines = {
        QStringLiteral("Program tarvolin detekoval chybu otevření LPT portu !"),
        QStringLiteral("Provedte prosím kontrolu nastavení."),
        QStringLiteral("Pokud je nastavení vpořádku vyberte možnost"),
        QStringLiteral("Nastavení -> Spuštění/Ostatní -> Automatická oprava portu"),
        QStringLiteral("Po potvrzení opravy restartujte počítač."),
        QStringLiteral("Nepomůže-li to, obraťte se na výrobce (kontakt najdete v okně O programu)."),
    };
    auto* layout = new QVBoxLayout(this);
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < lines.size(); ++i) {
        auto* label = new QLabel(lines.at(i), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setFont(bold);
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
    auto* close = new QPushButton(QStringLiteral("Zavřít"), this);
    close->setObjectName(QStringLiteral("btnZavrit"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addStretch();
    layout->addLayout(buttons);
}
