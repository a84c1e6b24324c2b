#pragma once

#include "platform/MultimediaSoundPlayer.h"
#include "timing/ui/MainWindowHooks.h"

#include <QMainWindow>

#include <array>
#include <memory>

class LapFileDialogs;
class LapListView;
class Lamp;
class MainStatusBar;
class PortBackend;
class QCheckBox;
class QMenu;
class QStringListModel;
class SevenSegmentDisplay;
class ShutdownSignals;
class TSmallPort;
struct TSettings;

namespace Ui {
class TForm1;
}

// The operator's console: the race's buttons, lamps and clock, the four karts' lap lists and the
// status bar. It owns the parallel port, the sound player and the race, and runs the program's
// creation, first activation and closing steps.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // dataFolder is the program's data folder ("vysledky", "zvuky" and the settings file live there).
    TForm1(TSettings& settings, const QString& dataFolder, std::unique_ptr<PortBackend> portBackend,
           QWidget* parent = nullptr);
    ~TForm1() override;

    MainWindowHooks& hooks() { return m_hooks; }
    TSettings& settings() { return m_settings; }
    const QString& dataFolder() const { return m_dataFolder; }

    TSmallPort& SmallPort1() { return *m_port; }
    MultimediaSoundPlayer& MediaPlayer1() { return m_mediaPlayer; }
    LapFileDialogs& lapFileDialogs() { return *m_lapFileDialogs; }
    MainStatusBar& statusBarPanels() { return *m_statusBar; }

    bool activated() const { return m_activated; }

    // The race's view of the window.
    void showClock(int minutes, int seconds, int millis);
    void setLamps(bool red, bool orange, bool green);
    void setRaceRunning(bool running);
    void setRaceButtonsEnabled(bool enabled);
    int raceMinutes() const;
    LapListView* lapList(int kart) const;
    QCheckBox* zenaBox(int kart) const;
    QCheckBox* ucastBox(int kart) const;
    SevenSegmentDisplay* lcdDisplay(int index) const;
    Lamp* led(int index) const; // 0 red, 1 orange, 2 green

    // SIGTERM and SIGINT close the window the way "&Konec" does.
    void installShutdownSignals();

    // The order of closing steps, for tests and for the lead's wiring.
    static QString startButtonCaption(bool running) {
        return running ? QStringLiteral("STOP") : QStringLiteral("START");
    }

signals:
    // The window has run its closing steps and the program is to end.
    void closed();
    void raceMinutesChanged(int minutes);

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
    void FormCreate();
    void FormClose();
    void FormDestroy();
    void buildLapColumns();
    void connectButtons();
    static void callHook(const std::function<void()>& hook);

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
    MultimediaSoundPlayer m_mediaPlayer;
    MainStatusBar* m_statusBar = nullptr;
    std::unique_ptr<LapFileDialogs> m_lapFileDialogs;
    std::array<QStringListModel*, 4> m_lapModels{};
    std::array<QMenu*, 4> m_popupMenus{};
    ShutdownSignals* m_shutdownSignals = nullptr;
    bool m_activated = false;
    bool m_activating = false;
    bool m_closed = false;
};
