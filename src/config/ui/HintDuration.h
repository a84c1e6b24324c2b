#pragma once

#include <QObject>

// Keeps every hint of the program on screen for a fixed time, as long as the widget sets no time of
// its own.
class HintDuration : public QObject {
    Q_OBJECT

public:
    static constexpr int DefaultMs = 4000;

    // Installs one filter on the application; later calls do nothing.
    static void installOnApplication(int ms = DefaultMs);

    explicit HintDuration(int ms, QObject* parent = nullptr) : QObject(parent), m_ms(ms) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_ms;
};
