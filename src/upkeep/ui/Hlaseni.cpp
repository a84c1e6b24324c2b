#include "upkeep/ui/Hlaseni.h"

#include "upkeep/KartReminders.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

THlaseniDlg::THlaseniDlg(KartReminders& reminders, QWidget* parent)
    : QDialog(parent), m_reminders(reminders) {
    setObjectName(QStringLiteral("HlaseniDlg"));
    setWindowTitle(QStringLiteral("Hlášení"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    const std::array<QString, 4> titles = {QStringLiteral("První motokára"), QStringLiteral("Druhá motokára"),
                                           QStringLiteral("Třetí motokára"),
                                           QStringLiteral("Čtvrtá motokára")};
    for (size_t k = 0; k < titles.size(); ++k) {
        auto* group = new QGroupBox(titles[k], this);
        group->setObjectName(QStringLiteral("GroupBox%1").arg(k + 1));
        m_texts[k] = new QLabel(group);
        m_texts[k]->setObjectName(QStringLiteral("Hlaseni%1").arg(k + 1));
        m_texts[k]->setAlignment(Qt::AlignCenter);
        m_texts[k]->setMinimumWidth(320);
        auto* inner = new QVBoxLayout(group);
        inner->addWidget(m_texts[k]);
        layout->addWidget(group);
    }
    auto* ok = new QPushButton(QStringLiteral("Beru na vědomí"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &THlaseniDlg::OKBtnClick);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

void THlaseniDlg::showIfAny() {
    if (!m_reminders.any())
        return;
    for (size_t k = 0; k < m_texts.size(); ++k) {
        // Each message ends with CR, which starts a new line; the last one's leaves no empty line.
        QString text = m_reminders.texts()[k];
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        m_texts[k]->setText(text.replace(QLatin1Char('\r'), QLatin1Char('\n')));
    }
    exec();
}

void THlaseniDlg::OKBtnClick() {
    m_reminders.acknowledge();
    accept();
}
