#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QTimer;
class VirtualTrack;

// The virtual track's control window: the eight data pins as lamps (start lights, control pulse),
// the four sensors and the external start button as indicators, and buttons to make a kart pass or
// to press the external start button. F1..F4 make kart 1..4 pass.
class VirtualTrackWindow : public QWidget {
    Q_OBJECT

public:
    explicit VirtualTrackWindow(VirtualTrack& track, QWidget* parent = nullptr);

    void passKart(int kart);
    void clickExternalStart();

private:
    void showData(quint8 value);
    void showInputs();

    VirtualTrack& m_track;
    std::array<QLabel*, 8> m_dataLamps{};
    std::array<QLabel*, 5> m_inputLamps{};
    QTimer* m_inputRefresh;
};
