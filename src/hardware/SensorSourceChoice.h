#pragma once

#include <QObject>

class TSmallPort;
struct TSettings;

// The choice between parallel and serial lap sensors (boxes cbLPT "Použít LPT" and cbCOM "Použít COM"):
// exactly one is set. The parallel port follows the choice at once; the serial port is left alone
// and opened by the next START when serial sensors are chosen.
class SensorSourceChoice : public QObject {
    Q_OBJECT

public:
    SensorSourceChoice(TSettings& settings, TSmallPort& parallelPort, QObject* parent = nullptr);

    // checked is the box's state after the click.
    void cbLPTClick(bool checked);
    void cbCOMClick(bool checked);

signals:
    // The boxes' new states, for the window to show.
    void changed(bool lpt, bool com);

private:
    void apply(bool lpt);

    TSettings& m_settings;
    TSmallPort& m_parallelPort;
};
