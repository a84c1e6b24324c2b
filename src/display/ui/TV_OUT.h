#pragma once

#include "rankings/BestTwentyRow.h"

#include <QRegion>
#include <QString>
#include <QWidget>

class QFrame;
class QLabel;
class QTableWidget;
class SevenSegmentDisplay;
class TRaceProgress;
struct TSettings;

// The audience window "Tarvolin - průběžné info" for a TV or a second monitor: the race clock, the
// race length, the race list and both top-ten lists. It only shows: the race list is the race
// progress model's standings, the clock what the race pushes, the lists the best-twenty files.
class TTV_Out_Frm : public QWidget {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 1024;
    static constexpr int ClientHeight = 768;

    // progress must outlive the window.
    TTV_Out_Frm(const TSettings& settings, const TRaceProgress& progress, const QString& dataFolder,
                QWidget* parent = nullptr);

    // The display tick: minutes and seconds are written only when they changed.
    void showClock(int millis, int seconds, int minutes);
    // `CasZavodu` changed.
    void showRaceLength(int minutes);
    // The chequered flag beside the heading: the karts drive their last lap.
    void showChequeredFlag(bool shown);
    // The heading over the race list for `TVOUT/TypZobrazeni`.
    void showDisplayMode(int mode);
    // Both top-ten lists from the best-twenty files. A file that cannot be read ends the reload with
    // a UserError: the list being read keeps what it had, and a list not yet reached keeps its rows.
    void FormActivate();
    // See-through: only the panels are drawn, what lies behind the window shows between them.
    void PruhlednyForm();
    // The address of the live results page, shown as a QR code in the logo panel; empty: the logo.
    void showPageAddress(const QString& url);

    // The panels' union, in the window's own coordinates.
    QRegion panelShape() const;
    QTableWidget* raceList() const { return m_raceList; }

protected:
    bool event(QEvent* event) override;

private:
    QFrame* addPanel(const char* name, const QRect& geometry);
    void buildClockPanel();
    void buildLengthPanel();
    void buildRacePanel();
    void buildTablesPanel();
    void buildLogoPanel();
    void showRaceRows();
    static void showTopTen(QTableWidget* list, const QList<BestTwentyRow>& rows);

    const TSettings& m_settings;
    QString m_dataFolder;
    const TRaceProgress& m_progress;
    QList<QFrame*> m_panels;
    SevenSegmentDisplay* m_minutes = nullptr;
    SevenSegmentDisplay* m_seconds = nullptr;
    SevenSegmentDisplay* m_subSeconds = nullptr;
    SevenSegmentDisplay* m_length = nullptr;
    QLabel* m_heading = nullptr;
    QLabel* m_flag = nullptr;
    QTableWidget* m_raceList = nullptr;
    QTableWidget* m_men = nullptr;
    QTableWidget* m_women = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_contact = nullptr;
};
