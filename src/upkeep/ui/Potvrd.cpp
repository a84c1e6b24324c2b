#include "upkeep/ui/Potvrd.h"

#include "platform/SoundPlayback.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TPotvrdDlg::TPotvrdDlg(SoundPlayer* sound, QString soundPath, QWidget* parent)
    : QDialog(parent), m_sound(sound), m_soundPath(std::move(soundPath)) {
    setObjectName(QStringLiteral("PotvrdDlg"));
    setWindowTitle(QStringLiteral("Potvrzení"));
    setModal(true);
    auto* text = new QLabel(QStringLiteral("Opravdu vynulovat ?"), this);
    text->setAlignment(Qt::AlignCenter);
    auto* yes = new QPushButton(QStringLiteral("Ano"), this);
    yes->setObjectName(QStringLiteral("OKBtn"));
    yes->setDefault(true);
    auto* no = new QPushButton(QStringLiteral("Ne"), this);
    no->setObjectName(QStringLiteral("CancelBtn"));
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
}

bool TPotvrdDlg::confirm() {
    // The sound only calls attention to the question; the question stands without it.
    if (m_sound)
        SoundPlayback::play(*m_sound, m_soundPath);
    return exec() == QDialog::Accepted;
}
