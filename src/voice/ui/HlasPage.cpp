#include "voice/ui/HlasPage.h"

#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "config/TSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

HlasPage::HlasPage(TSettings& settings, QWidget* parent) : SettingsPage(settings, parent) {
    setWindowTitle(QStringLiteral("Hlas"));
    auto* page = new QVBoxLayout(this);

    auto* pouzit = new QCheckBox(QStringLiteral("Hlásit časy kol česky"), this);
    pouzit->setObjectName(QStringLiteral("HlasPouzitBox"));
    page->addWidget(pouzit);

    auto* what = new QGroupBox(QStringLiteral(" Co hlásit "), this);
    auto* whatLayout = new QVBoxLayout(what);
    auto* choice = new QButtonGroup(this);
    const QStringList choices{QStringLiteral("Každé kolo"), QStringLiteral("Jen nejlepší kolo káry v závodě"),
                              QStringLiteral("Jen nový rekord tabulek nejlepších dvaceti")};
    for (int i = 0; i < choices.size(); ++i) {
        auto* button = new QRadioButton(choices.at(i));
        button->setObjectName(QStringLiteral("HlasCo%1").arg(i));
        choice->addButton(button, i);
        whatLayout->addWidget(button);
    }
    page->addWidget(what);

    auto* karts = new QGroupBox(QStringLiteral(" Káry "), this);
    auto* kartsLayout = new QHBoxLayout(karts);
    for (int kart = 1; kart <= 4; ++kart) {
        auto* box = new QCheckBox(QStringLiteral("kára %1").arg(kart));
        box->setObjectName(QStringLiteral("HlasKara%1").arg(kart));
        kartsLayout->addWidget(box);
        const int bit = 1 << (kart - 1);
        int& mask = settings.Hlas.Karty;
        connect(box, &QCheckBox::toggled, this,
                [&mask, bit](bool on) { mask = on ? mask | bit : mask & ~bit; });
        addLoader([&mask, box, bit] { box->setChecked((mask & bit) != 0); });
    }
    kartsLayout->addStretch();
    page->addWidget(karts);

    auto* konec = new QCheckBox(QStringLiteral("Hlásit „Poslední minuta“ a „Konec závodu“"), this);
    konec->setObjectName(QStringLiteral("HlasKonecBox"));
    page->addWidget(konec);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Hlasitost:")));
    auto* volume = new QSpinBox;
    volume->setObjectName(QStringLiteral("HlasitostSpin"));
    volume->setSuffix(QStringLiteral(" %"));
    row->addWidget(volume);
    row->addWidget(new QLabel(QStringLiteral("Rychlost:")));
    auto* speed = new QSpinBox;
    speed->setObjectName(QStringLiteral("RychlostSpin"));
    speed->setSuffix(QStringLiteral(" slov/min"));
    row->addWidget(speed);
    row->addStretch();
    page->addLayout(row);

    auto* test = new QPushButton(QStringLiteral("Vyzkoušet"), this);
    test->setObjectName(QStringLiteral("VyzkousetButton"));
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(test);
    testRow->addStretch();
    page->addLayout(testRow);
    page->addStretch();

    bindCheck(pouzit, settings.Hlas.Pouzit);
    bindChoice(choice, settings.Hlas.Co);
    bindCheck(konec, settings.Hlas.Konec);
    bindSpin(volume, settings.Hlas.Hlasitost);
    bindSpin(speed, settings.Hlas.Rychlost);

    using ErrorBoundary::guardedSlot;
    connect(pouzit, &QCheckBox::clicked, this, guardedSlot([this] {
                if (this->settings().Hlas.Pouzit)
                    callHook(m_hooks.switchedOn);
            }));
    connect(test, &QPushButton::clicked, this, guardedSlot([this] { callHook(m_hooks.testClicked); }));
}
