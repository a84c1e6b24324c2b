#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

#include <memory>

class CalloutQueue;
class Callouts;
class EspeakVoice;
class HlasPage;
class PcmPlayer;
class QWidget;
class TForm1;
struct TSettings;

// The spoken call-outs put together: the Czech voice, its output, the queue and what the race's
// events say, filled into the race's hooks and the page "Hlas". A voice that cannot be loaded or a
// missing sound device is said once, when the operator turns the call-outs on or tests them; the race
// goes on silent.
class CalloutStation {
public:
    // isRecord: whether kart 1..4's lap is a new best-twenty record (the call-outs of records only).
    CalloutStation(TSettings& settings, TForm1& form, std::function<bool(int kart, qint64 lapMs)> isRecord,
                   HlasPage& page);
    ~CalloutStation();
    CalloutStation(const CalloutStation&) = delete;
    CalloutStation& operator=(const CalloutStation&) = delete;

    // Empties the race's hooks this fills (the main window outlives the call-outs).
    void unhook();

private:
    // Whether the voice and the device are there; the first failure is shown over parent.
    bool ready(QWidget* parent);

    TSettings& m_settings;
    TForm1& m_form;
    std::unique_ptr<EspeakVoice> m_voice;
    std::unique_ptr<PcmPlayer> m_player;
    std::unique_ptr<CalloutQueue> m_queue;
    std::unique_ptr<Callouts> m_callouts;
    bool m_failureShown = false;
};
