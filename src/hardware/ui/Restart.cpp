#include "hardware/ui/Restart.h"

#include "base/ErrorBoundary.h"
#include "platform/SystemRestart.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TRestartDlg::TRestartDlg(SystemRestart& restart, QWidget* parent) : QDialog(parent), m_restart(restart) {
    setObjectName(QStringLiteral("RestartDlg"));
    setWindowTitle(QStringLiteral("Restartovat"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("Program provedl opravu. Nyní je potřeba restartovat PC !"), this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setAlignment(Qt::AlignHCenter);
    layout->addWidget(text);

    auto* restartButton = new QPushButton(QStringLiteral("Restartovat"), this);
    restartButton->setObjectName(QStringLiteral("btnRestartovat"));
    restartButton->setDefault(true);
    auto* continueButton = new QPushButton(QStringLiteral("Pokračovat"), this);
    continueButton->setObjectName(QStringLiteral("btnPokracovat"));
    connect(restartButton, &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot(this, &TRestartDlg::RestartovatClick));
    connect(continueButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restartButton);
    buttons->addWidget(continueButton);
    buttons->addStretch();
    layout->addLayout(buttons);
}

void TRestartDlg::RestartovatClick() {
    const QString error = m_restart.restartNow();
    if (!error.isEmpty()) {
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("Počítač se nepodařilo restartovat. Restartujte jej prosím ručně.\n\n") + error);
        reject();
        return;
    }
    accept();
}
