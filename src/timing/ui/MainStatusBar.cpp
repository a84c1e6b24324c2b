#include "timing/ui/MainStatusBar.h"

#include "base/StationLocale.h"
#include "platform/LockKeys.h"
#include "timing/ui/SignalLamp.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);

    QLabel* portText = addPanel(QStringLiteral("LptStatusText"), QStringLiteral("Stav LPT portu: "), 110);
    portText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* lampPanel = new QFrame(this);
    lampPanel->setObjectName(QStringLiteral("PortLampPanel"));
    lampPanel->setFrameShape(QFrame::StyledPanel);
    lampPanel->setFrameShadow(QFrame::Sunken);
    auto* lampLayout = new QHBoxLayout(lampPanel);
    lampLayout->setContentsMargins(6, 1, 6, 1);
    m_portLamp = new SignalLamp(lampPanel);
    m_portLamp->setObjectName(QStringLiteral("PortLamp"));
    m_portLamp->setFixedSize(16, 16);
    lampLayout->addWidget(m_portLamp);
    addWidget(lampPanel);

    m_caps = addPanel(QStringLiteral("CapsPanel"), QStringLiteral("CAPS"), 48);
    m_num = addPanel(QStringLiteral("NumPanel"), QStringLiteral("NUM"), 42);
    m_scroll = addPanel(QStringLiteral("ScrollPanel"), QStringLiteral("SCROLL"), 56);
    m_dateTime = addPanel(QStringLiteral("DateTimePanel"), QString(), 190);
    QLabel* maker = addPanel(QStringLiteral("MakerPanel"), QStringLiteral("Orvex Software"), 110);
    QFont italic = maker->font();
    italic.setItalic(true);
    maker->setFont(italic);
    // The last panel takes the rest of the width and never asks for more: the window keeps its size.
    m_serialNews = new QLabel(this);
    m_serialNews->setObjectName(QStringLiteral("SerialPortNews"));
    m_serialNews->setContentsMargins(3, 0, 3, 0);
    m_serialNews->setMinimumWidth(0);
    m_serialNews->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(m_serialNews, 1);

    setPortOpen(false);
    showLockKeys(nullptr);

    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &MainStatusBar::refresh);
    m_clock->start();
    refresh();
}

QLabel* MainStatusBar::addPanel(const QString& name, const QString& text, int minimumWidth) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(minimumWidth);
    label->setContentsMargins(3, 0, 3, 0);
    addWidget(label);
    return label;
}

void MainStatusBar::showLateSamples(int count) {
    if (!m_lateSamples) {
        m_lateSamples = new QLabel(this);
        m_lateSamples->setObjectName(QStringLiteral("LateSamplesPanel"));
        m_lateSamples->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
        m_lateSamples->setToolTip(QStringLiteral("Počítač nestíhal číst čidla včas, průjezd motokáry mohl "
                                                 "být vynechán. Zavřete ostatní programy."));
        insertWidget(0, m_lateSamples);
    }
    m_lateSamples->setText(QStringLiteral("Měření se zpozdilo (%1×)").arg(count));
}

void MainStatusBar::setPortOpen(bool open) {
    m_portOpen = open;
    m_portLamp->setColor(open ? QColor(0x00, 0xc0, 0x00) : QColor(0xe0, 0x00, 0x00));
    m_portLamp->setOn(true);
    m_portLamp->setToolTip(open ? QStringLiteral("LPT port je otevřený")
                                : QStringLiteral("LPT port není otevřený"));
    m_portLamp->setAccessibleName(m_portLamp->toolTip());
}

// The panel has the width the other panels leave (under 200 px): a short text there, the whole
// story in the tool tip.
void MainStatusBar::showSerialPortLost(const QString& port, bool reopening) {
    const QString details = reopening
                                ? QStringLiteral("Ztraceno spojení se sériovým portem %1. Závod běží "
                                                 "dál, port se znovu otevře, jakmile bude zařízení zpět.")
                                : QStringLiteral("Ztraceno spojení se sériovým portem %1.");
    showSerialPortNews(QStringLiteral("Sériový port ztracen"), details.arg(port), true);
}

void MainStatusBar::showSerialPortBack(const QString& port) {
    showSerialPortNews(QStringLiteral("Sériový port znovu připojen"),
                       QStringLiteral("Sériový port %1 je znovu připojen.").arg(port), false);
}

void MainStatusBar::clearSerialPortNews() {
    showSerialPortNews(QString(), QString(), false);
}

QString MainStatusBar::serialPortNews() const {
    return m_serialNews->text();
}

void MainStatusBar::showSerialPortNews(const QString& text, const QString& details, bool alarm) {
    m_serialNews->setText(text);
    m_serialNews->setToolTip(details);
    QPalette palette = this->palette();
    if (alarm)
        palette.setColor(QPalette::WindowText, QColor(0xc0, 0x00, 0x00));
    m_serialNews->setPalette(palette);
}

void MainStatusBar::refresh() {
    showDateTime(QDateTime::currentDateTime());
    const std::optional<LockKeyStates> states = LockKeys::read();
    showLockKeys(states ? &*states : nullptr);
}

void MainStatusBar::showDateTime(const QDateTime& now) {
    m_dateTime->setText(dateTimeText(now));
}

QString MainStatusBar::dateTimeText(const QDateTime& now) {
    const QLocale czech = stationLocale();
    return czech.toString(now.date(), QStringLiteral("d. MMMM yyyy")) + QLatin1Char(' ') +
           czech.toString(now.time(), QStringLiteral(" h:mm:ss"));
}

void MainStatusBar::showLockKeys(const LockKeyStates* states) {
    showLockKey(m_caps, states && states->caps);
    showLockKey(m_num, states && states->num);
    showLockKey(m_scroll, states && states->scroll);
}

void MainStatusBar::showLockKey(QLabel* label, bool on) {
    QPalette palette = label->palette();
    const QPalette& base = this->palette();
    palette.setColor(QPalette::WindowText, on ? base.color(QPalette::Active, QPalette::WindowText)
                                              : base.color(QPalette::Disabled, QPalette::WindowText));
    label->setPalette(palette);
    label->setProperty("lockOn", on);
}
