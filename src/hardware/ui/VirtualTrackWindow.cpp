#include "hardware/ui/VirtualTrackWindow.h"

#include "base/ErrorBoundary.h"
#include "hardware/VirtualTrack.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariant>

namespace {

constexpr int LampSize = 22;
constexpr int InputRefreshMs = 20;

QLabel* makeLamp(const QString& objectName, QWidget* parent) {
    auto* lamp = new QLabel(parent);
    lamp->setObjectName(objectName);
    lamp->setFixedSize(LampSize, LampSize);
    return lamp;
}

// Restyles only on a change: the inputs are refreshed fifty times a second during a race.
void setLamp(QLabel* lamp, bool on, const char* onColour) {
    const QVariant lit = lamp->property("lit");
    if (lit.isValid() && lit.toBool() == on)
        return;
    lamp->setProperty("lit", on);
    lamp->setStyleSheet(QStringLiteral("border-radius: %1px; border: 1px solid #333; background: %2;")
                            .arg(LampSize / 2)
                            .arg(on ? QLatin1String(onColour) : QLatin1String("#444")));
}

} // namespace

VirtualTrackWindow::VirtualTrackWindow(VirtualTrack& track, QWidget* parent)
    : QWidget(parent, Qt::Window), m_track(track), m_inputRefresh(new QTimer(this)) {
    // A pass reaches whoever listens to the track (kartPassed), code that this window does not know.
    using ErrorBoundary::guardedSlot;
    setObjectName(QStringLiteral("VirtualTrackWindow"));
    setWindowTitle(QStringLiteral("Virtuální trať"));
    auto* layout = new QVBoxLayout(this);

    auto* outputs = new QGroupBox(QStringLiteral(" Výstupy (data, base) "), this);
    auto* outputGrid = new QGridLayout(outputs);
    for (int bit = 0; bit < 8; ++bit) {
        m_dataLamps[bit] = makeLamp(QStringLiteral("lampBit%1").arg(bit), outputs);
        auto* caption = new QLabel(QStringLiteral("Bit%1: Pin%2").arg(bit).arg(bit + 2), outputs);
        outputGrid->addWidget(m_dataLamps[bit], 0, bit, Qt::AlignHCenter);
        outputGrid->addWidget(caption, 1, bit, Qt::AlignHCenter);
    }
    layout->addWidget(outputs);

    auto* inputs = new QGroupBox(QStringLiteral(" Vstupy (status, base + 1) "), this);
    auto* inputGrid = new QGridLayout(inputs);
    for (int kart = 1; kart <= VirtualTrack::KartCount; ++kart) {
        m_inputLamps[kart - 1] = makeLamp(QStringLiteral("lampSensor%1").arg(kart), inputs);
        auto* button = new QPushButton(QStringLiteral("Průjezd káry %1 (F%1)").arg(kart), inputs);
        button->setObjectName(QStringLiteral("btnPass%1").arg(kart));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, guardedSlot([this, kart] { passKart(kart); }));
        auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1 + (kart - 1)), this);
        connect(shortcut, &QShortcut::activated, this, guardedSlot([this, kart] { passKart(kart); }));
        inputGrid->addWidget(m_inputLamps[kart - 1], 0, kart - 1, Qt::AlignHCenter);
        inputGrid->addWidget(button, 1, kart - 1);
    }
    m_inputLamps[4] = makeLamp(QStringLiteral("lampButton"), inputs);
    auto* startButton = new QPushButton(QStringLiteral("Externí start"), inputs);
    startButton->setObjectName(QStringLiteral("btnExternalStart"));
    startButton->setFocusPolicy(Qt::NoFocus);
    connect(startButton, &QPushButton::clicked, this,
            guardedSlot(this, &VirtualTrackWindow::clickExternalStart));
    inputGrid->addWidget(m_inputLamps[4], 0, 4, Qt::AlignHCenter);
    inputGrid->addWidget(startButton, 1, 4);
    layout->addWidget(inputs);

    connect(&m_track, &VirtualTrack::dataWritten, this, &VirtualTrackWindow::showData);
    connect(m_inputRefresh, &QTimer::timeout, this, &VirtualTrackWindow::showInputs);
    m_inputRefresh->start(InputRefreshMs);
    showData(m_track.dataRegister());
    showInputs();
}

void VirtualTrackWindow::passKart(int kart) {
    m_track.passKart(kart);
    showInputs();
}

void VirtualTrackWindow::clickExternalStart() {
    m_track.clickButton();
    showInputs();
}

void VirtualTrackWindow::showData(quint8 value) {
    for (int bit = 0; bit < 8; ++bit)
        setLamp(m_dataLamps[bit], (value >> bit) & 1, bit == 6 ? "#3af" : "#f80");
}

void VirtualTrackWindow::showInputs() {
    for (int kart = 1; kart <= VirtualTrack::KartCount; ++kart)
        setLamp(m_inputLamps[kart - 1], m_track.sensorActive(kart), "#2d2");
    setLamp(m_inputLamps[4], m_track.buttonPressed(), "#2d2");
}
