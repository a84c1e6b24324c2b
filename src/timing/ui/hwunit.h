#pragma once

#include "platform/MultimediaSoundPlayer.h"
#include "timing/RaceView.h"
#include "timing/ui/MainWindowHooks.h"

#include <QMainWindow>

#include <array>
#include <memory>

class ControlPulse;
class DriverNames;
class QLabel;
class ExternalStartWatch;
class LapFileDialogs;
class LapList;
class LapListView;
class MainStatusBar;
class MonotonicClock;
class PortBackend;
class QMenu;
class SerialSensorInput;
class SerialSensorPort;
class SevenSegmentDisplay;
class ShutdownSignals;
class Station;
class StartLights;
class TComPort;
class TRace;
class TSmallPort;
class TimerFactory;
struct TSettings;

namespace Ui {
class TForm1;
}

// What the main window is built from: the live settings, the data folder, the parallel port's
// backend, and what its station runs on. All but the backend must outlive the window.
struct TForm1Deps {
    TSettings& settings;
    QString dataFolder;
    std::unique_ptr<PortBackend> portBackend;
    MonotonicClock* clock = nullptr; // the steady clock when null
    TimerFactory* timers = nullptr;  // threaded and message timers when null
    // How the light sequence waits; a real sleep when empty.
    std::function<void(int ms)> lightWait = {};
    // Stands in for the station's own ComPort1 as the race's serial port when given.
    SerialSensorPort* raceSerial = nullptr;
    // Creation reads Ostatni/OnTop and Ostatni/Priorita from the settings file through this, before
    // applying them; the settings stay as they are when it is empty.
    std::function<void(TSettings&)> readCreationSettings = {};
    // Applies Ostatni/Priorita to the process; ProcessPriority::apply when empty.
    std::function<void(int priority)> applyProcessPriority = {};
};

// The operator's console: the race's buttons, lamps and clock, the four karts' lap lists and the
// status bar. It owns the station (race, timers, ports) and the sound player, shows the station's
// state and forwards the operator's actions to it, and runs the program's creation, first activation
// and closing steps.
class TForm1 : public QMainWindow, public RaceView {
    Q_OBJECT

public:
    explicit TForm1(TForm1Deps deps, QWidget* parent = nullptr);
    ~TForm1() override;

    MainWindowHooks& hooks() { return m_hooks; }
    TSettings& settings() { return m_settings; }
    const QString& dataFolder() const { return m_dataFolder; }

    Station& station() { return *m_station; }
    TSmallPort& SmallPort1();
    TComPort& ComPort1();
    MultimediaSoundPlayer& MediaPlayer1() { return m_mediaPlayer; }
    TRace& race();
    ExternalStartWatch& externalStart();
    LapList& lapList(int kart);
    LapFileDialogs& lapFileDialogs() { return *m_lapFileDialogs; }
    MainStatusBar& statusBarPanels() { return *m_statusBar; }
    LapListView* lapListView(int kart) const;
    // Kart 1..4's boxes "Žena" (`ZenaBox`k) and "Bez účasti" (`UcastBox`k).
    bool womanDrives(int kart) const;
    // Who drives the karts; the boxes "Žena" show its choice.
    DriverNames& driverNames();
    bool excludedFromBestTwenty(int kart) const;

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
    void showLateSamples(int count) override;
    void showChequeredFlag(bool shown) override;

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

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool confirmQuitDuringRace();
    void FormCreate(const TForm1Deps& deps);
    void FormClose();
    void FormDestroy();
    void buildLapColumns();
    void buildDriverControls();
    void connectButtons();
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
    // Before the station, which borrows it.
    MultimediaSoundPlayer m_mediaPlayer;
    MainStatusBar* m_statusBar = nullptr;
    std::unique_ptr<LapFileDialogs> m_lapFileDialogs;
    std::array<QMenu*, 4> m_popupMenus{};
    QLabel* m_flag = nullptr;
    std::unique_ptr<Station> m_station;

    ShutdownSignals* m_shutdownSignals = nullptr;
    bool m_activated = false;
    bool m_activating = false;
    bool m_closed = false;
    bool m_closingBySignal = false; // a logout does not wait for an answer
};
