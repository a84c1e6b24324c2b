#include "timing/ui/RacePage.h"

#include "config/TSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

RacePage::RacePage(TSettings& settings, QWidget* parent) : SettingsPage(settings, parent) {
    setWindowTitle(QStringLiteral("Závod"));
    auto* page = new QVBoxLayout(this);

    auto* finish = new QGroupBox(QStringLiteral(" Konec závodu "), this);
    auto* finishLayout = new QVBoxLayout(finish);
    auto* dojeti =
        new QCheckBox(QStringLiteral("Po uplynutí času závodu dojet poslední kolo (cílová vlajka)"));
    dojeti->setObjectName(QStringLiteral("DojetiBox"));
    dojeti->setToolTip(
        QStringLiteral("Každá kára po vlajce projede cílem ještě jednou, pak se závod zastaví sám."));
    finishLayout->addWidget(dojeti);
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(new QLabel(QStringLiteral("Nejdéle čekat na dojetí:")));
    auto* limit = new QSpinBox;
    limit->setObjectName(QStringLiteral("LimitSpin"));
    limitRow->addWidget(limit);
    limitRow->addWidget(new QLabel(QStringLiteral("sec")));
    limitRow->addStretch();
    finishLayout->addLayout(limitRow);
    auto* tisk = new QCheckBox(QStringLiteral("Po samočinném zastavení vytisknout výsledky"));
    tisk->setObjectName(QStringLiteral("TiskVysledkuBox"));
    tisk->setToolTip(QStringLiteral("Bez tiskárny se výsledky uloží jako PDF do složky „vysledky“."));
    finishLayout->addWidget(tisk);
    page->addWidget(finish);

    auto* drivers = new QGroupBox(QStringLiteral(" Jezdci "), this);
    auto* driversLayout = new QVBoxLayout(drivers);
    auto* clear = new QCheckBox(QStringLiteral("Vymazat jména po závodě"));
    clear->setObjectName(QStringLiteral("VymazatJmenaBox"));
    driversLayout->addWidget(clear);
    page->addWidget(drivers);
    page->addStretch();

    bindCheck(dojeti, settings.Zavod.Dojeti);
    bindSpin(limit, settings.Zavod.Limit);
    bindCheck(tisk, settings.Zavod.Tisk);
    bindCheck(clear, settings.Zavod.VymazatJmena);
}
