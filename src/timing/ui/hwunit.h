#pragma once

#include "platform/MultimediaSoundPlayer.h"
#include "timing/RaceView.h"
#include "timing/ui/MainWindowHooks.h"

#include <QMainWindow>

#include <array>
#include <memory>

class ControlPulse;
class ExternalStartWatch;
class LapFileDialogs;
class LapList;
class LapListView;
class MainStatusBar;
class MessageTimer;
class MonotonicClock;
class PortBackend;
class QCheckBox;
class QMenu;
class SerialSensorPort;
class SevenSegmentDisplay;
class SerialSensorInput;
class ShutdownSignals;
class TComPort;
class SignalLamp;
class StartLights;
class TRace;
class TSmallPort;
class TThreadedTimer;
struct TSettings;

namespace Ui {
class TForm1;
}

// What the main window is built from: the live settings, the data folder, the parallel port's
// backend, the race clock and (when there is one) the serial sensor port. All but the backend must
// outlive the window.
struct TForm1Deps {
    TSettings& settings;
    QString dataFolder;
    std::unique_ptr<PortBackend> portBackend;
    MonotonicClock* clock = nullptr;    // the steady clock when null
    SerialSensorPort* serial = nullptr; // stands in for the window's own ComPort1 when given
    // Creation reads Ostatni/OnTop and Ostatni/Priorita from the settings file through this, before
    // applying them; the settings stay as they are when it is empty.
    std::function<void(TSettings&)> readCreationSettings = {};
};

// The operator's console: the race's buttons, lamps and clock, the four karts' lap lists and the
// status bar. It owns the race with its timers, the parallel port and the sound player, and runs the
// program's creation, first activation and closing steps.
class TForm1 : public QMainWindow, public RaceView {
    Q_OBJECT

public:
    explicit TForm1(TForm1Deps deps, QWidget* parent = nullptr);
    ~TForm1() override;

    MainWindowHooks& hooks() { return m_hooks; }
    TSettings& settings() { return m_settings; }
    const QString& dataFolder() const { return m_dataFolder; }

    TSmallPort& SmallPort1() { return *m_port; }
    TComPort& ComPort1() { return *m_comPort; }
    SerialSensorInput& serialInput() { return *m_serialInput; }
    MultimediaSoundPlayer& MediaPlayer1() { return m_mediaPlayer; }
    TRace& race() { return *m_race; }
    ExternalStartWatch& externalStart() { return *m_externalStart; }
    ControlPulse& controlPulse() { return *m_controlPulse; }
    StartLights& startLights() { return *m_lights; }
    LapFileDialogs& lapFileDialogs() { return *m_lapFileDialogs; }
    MainStatusBar& statusBarPanels() { return *m_statusBar; }
    LapList& lapList(int kart) { return *m_lapLists.at(kart - 1); }
    LapListView* lapListView(int kart) const;
    QCheckBox* zenaBox(int kart) const;
    QCheckBox* ucastBox(int kart) const;

    bool activated() const { return m_activated; }

    // SIGTERM and SIGINT close the window the way "&Konec" does.
    void installShutdownSignals();

    // Saving and loading a kart's lap list, without the dialogs.
    void saveLapsTo(int kart, const QString& path);
    void loadLapsFrom(int kart, const QString& path);

    // RaceView
    void setLamp(Lamp lamp, bool on) override;
    void repaintStartGroup() override;
    void setRunning(bool running) override;
    void setButtonEnabled(RaceButton button, bool enabled) override;
    void setClockDisplay(ClockDisplay display, int value) override;
    int clockDisplay(ClockDisplay display) const override;
    int raceMinutes() const override;
    void processPendingEvents() override;
    void showError(const QString& message) override;

signals:
    // The window has run its closing steps and the program is to end.
    void closed();

public slots:
    void FormActivate();

    void StartButton1Click();
    void StatistikaClick();
    void stav_motokarClick();
    void Nastaveni_ButtonClick();
    void AboutClick();
    void Button1Click();
    void TopTen10Click();
    void KonecButtonClick();
    void CasZavoduChange(int minutes);

    void Smazat1Click() { clearLaps(1); }
    void Smazat2Click() { clearLaps(2); }
    void Smazat3Click() { clearLaps(3); }
    void Smazat4Click() { clearLaps(4); }
    void Uloz1Click() { saveLaps(1); }
    void Uloz2Click() { saveLaps(2); }
    void Uloz3Click() { saveLaps(3); }
    void Uloz4Click() { saveLaps(4); }
    void Nacti1Click() { loadLaps(1); }
    void Nacti2Click() { loadLaps(2); }
    void Nacti3Click() { loadLaps(3); }
    void Nacti4Click() { loadLaps(4); }
    void Smazatzaznam1Click() { deleteSelectedLap(1); }
    void Smazatzaznam2Click() { deleteSelectedLap(2); }
    void Smazatzaznam3Click() { deleteSelectedLap(3); }
    void Smazatzaznam4Click() { deleteSelectedLap(4); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const std::function<void(TSettings&)>& readCreationSettings);
    void FormClose();
    void FormDestroy();
    void buildRace(MonotonicClock& clock);
    void buildLapColumns();
    void connectButtons();
    void applyStartupPortBase();
    static void callHook(const std::function<void()>& hook);
    SevenSegmentDisplay* display(ClockDisplay display) const;

    void clearLaps(int kart);
    void saveLaps(int kart);
    void loadLaps(int kart);
    void deleteSelectedLap(int kart);
    void showPopupMenu(int kart, const QPoint& position);

    std::unique_ptr<Ui::TForm1> m_ui;
    TSettings& m_settings;
    QString m_dataFolder;
    MainWindowHooks m_hooks;
    std::unique_ptr<TSmallPort> m_port;
    std::unique_ptr<TComPort> m_comPort;
    std::unique_ptr<SerialSensorInput> m_serialInput;
    SerialSensorPort* m_serial = nullptr; // the port the race opens and closes
    MultimediaSoundPlayer m_mediaPlayer;
    MainStatusBar* m_statusBar = nullptr;
    std::unique_ptr<LapFileDialogs> m_lapFileDialogs;
    std::array<std::unique_ptr<LapList>, 4> m_lapLists;
    std::array<QMenu*, 4> m_popupMenus{};

    std::unique_ptr<StartLights> m_lights;
    std::unique_ptr<ControlPulse> m_controlPulse;
    std::unique_ptr<TRace> m_race;
    std::unique_ptr<ExternalStartWatch> m_externalStart;
    // The race's timers, declared after the race so that they stop before it goes: Timer1..4,
    // ProdlevaTimer1..4, ZobrazTimer, HwLOG0Timer, HWLOG1Timer, ExtStart.
    std::array<std::unique_ptr<TThreadedTimer>, 4> m_samplers;
    std::array<std::unique_ptr<TThreadedTimer>, 4> m_deadTimers;
    std::unique_ptr<TThreadedTimer> m_zobrazTimer;
    std::unique_ptr<TThreadedTimer> m_hwLog0Timer;
    std::unique_ptr<TThreadedTimer> m_hwLog1Timer;
    std::unique_ptr<MessageTimer> m_extStartTimer;

    ShutdownSignals* m_shutdownSignals = nullptr;
    bool m_activated = false;
    bool m_activating = false;
    bool m_closed = false;
};
