// The audience window: its first content, the race list as the race progress model ranks it (the
// same the live page shows), the clock as the race writes it, the two top-ten lists from the files,
// and its see-through shape.
#include "RecordingErrorReporter.h"
#include "TempDataFolder.h"

#include "base/MonotonicClock.h"
#include "base/UserError.h"
#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "display/LiveRaceFeed.h"
#include "display/TRaceProgress.h"
#include "display/ui/TV_OUT.h"
#include "timing/LapList.h"
#include "timing/ui/SevenSegmentDisplay.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QFrame>
#include <QLabel>
#include <QTableWidget>
#include <QtTest>

namespace {

QStringList row(QTableWidget* list, int r) {
    QStringList texts;
    for (int c = 0; c < list->columnCount(); ++c)
        texts << (list->item(r, c) ? list->item(r, c)->text() : QString());
    return texts;
}

QString shown(const QWidget& window, const char* display) {
    return window.findChild<SevenSegmentDisplay*>(QLatin1String(display))->text();
}

} // namespace

class TvOutTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithItsFirstContentAndShowsTheRaceAsItComes() {
        TSettings settings;
        TempDataFolder data;
        TRaceProgress progress(settings);
        TTV_Out_Frm window(settings, progress, data.path());
        QCOMPARE(window.windowTitle(), QStringLiteral("Tarvolin - průběžné info"));
        QCOMPARE(window.size(), QSize(1024, 768));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        auto* heading = window.findChild<QLabel*>(QStringLiteral("NadpisZavodu"));
        QCOMPARE(heading->text(), QStringLiteral("Průběh závodu - jednotlivá kola"));
        QTableWidget* race = window.raceList();
        QCOMPARE(race->objectName(), QStringLiteral("ZavodView"));
        QCOMPARE(race->horizontalHeaderItem(1)->text(), QStringLiteral("Jméno"));
        // No kart has a lap yet: no time, no count.
        QCOMPARE(row(race, 0), QStringList({"1", "kara1", QStringLiteral("—"), ""}));
        QCOMPARE(row(race, 3), QStringList({"4", "kara4", QStringLiteral("—"), ""}));

        settings.TVOUT.TypZobrazeni = 0;
        window.showDisplayMode(0);
        QCOMPARE(heading->text(), QStringLiteral("Průběh závodu - minimální časy"));
        progress.setEntries(3, {"00:45:000", "00:47:000"});
        QCOMPARE(row(race, 0), QStringList({"1", "kara3", "00:45:000", "1"}));

        // Two places: the sub-second part as it is below 100 ms, its first two digits from 100 ms on.
        window.showClock(7, 5, 2);
        QCOMPARE(shown(window, "LcdSetiny"), QStringLiteral("07"));
        QCOMPARE(shown(window, "LcdSekundy"), QStringLiteral("05"));
        QCOMPARE(shown(window, "LcdMinuty"), QStringLiteral("02"));
        window.showClock(987, 59, 12);
        QCOMPARE(shown(window, "LcdSetiny"), QStringLiteral("98"));
        QCOMPARE(shown(window, "LcdMinuty"), QStringLiteral("12"));
        window.showRaceLength(15);
        QCOMPARE(shown(window, "LcdDelka"), QStringLiteral("15"));
    }

    // Made anew while the station runs in "minimální časy" mode.
    void aWindowMadeInMinimumTimesModeIsHeadedSo() {
        TSettings settings;
        settings.TVOUT.TypZobrazeni = 0;
        TempDataFolder data;
        TRaceProgress progress(settings);
        TTV_Out_Frm window(settings, progress, data.path());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("NadpisZavodu"))->text(),
                 QStringLiteral("Průběh závodu - minimální časy"));
    }

    // At the window's 1024 × 768 a long name ends in "…"; the time beside it is never cut.
    void theTopTenTimesAreNeverCut() {
        TSettings settings;
        TempDataFolder data;
        TRaceProgress progress(settings);
        QStringList lines;
        for (int rank = 1; rank <= 20; ++rank)
            lines << QStringLiteral("%1\tMaximilián Vondráček-Novotný\t00:09:0%2").arg(rank).arg(rank + 10);
        data.writeFile("TopDeset.ini", TextCodec::encodeLines(lines));
        data.writeFile("TopDeset1.ini", TextCodec::encodeLines(lines));
        TTV_Out_Frm window(settings, progress, data.path());
        window.show();
        window.FormActivate();
        for (const char* name : {"TopTenJezdci", "TopTenJezdkyne"}) {
            auto* list = window.findChild<QTableWidget*>(QLatin1String(name));
            const int time = list->columnWidth(2);
            QVERIFY(list->columnWidth(0) + list->columnWidth(1) + time <= list->viewport()->width());
            list->resizeColumnToContents(2);
            QVERIFY2(list->columnWidth(2) <= time, name);
            list->resizeColumnToContents(1);
            QVERIFY2(list->columnWidth(0) + list->columnWidth(1) + time > list->viewport()->width(),
                     "the test's names are long enough to give way");
        }
    }

    void reloadsTheTopTenOfBothFiles() {
        TSettings settings;
        TempDataFolder data;
        TRaceProgress progress(settings);
        TTV_Out_Frm window(settings, progress, data.path());
        auto* men = window.findChild<QTableWidget*>(QStringLiteral("TopTenJezdci"));
        auto* women = window.findChild<QTableWidget*>(QStringLiteral("TopTenJezdkyne"));
        QCOMPARE(men->horizontalHeaderItem(1)->text(), QStringLiteral("Jména"));

        // A fresh station has no files yet: nothing to show, nothing to say.
        RecordingErrorReporter errors;
        window.show();
        window.activateWindow();
        window.FormActivate();
        QCOMPARE(errors.count(), 0);
        QCOMPARE(row(men, 0), QStringList({"", "", ""}));

        QStringList lines;
        for (int rank = 1; rank <= 20; ++rank)
            lines << QStringLiteral("%1\tJezdec %1\t00:%2:000").arg(rank).arg(rank + 30);
        data.writeFile("TopDeset.ini", TextCodec::encodeLines(lines));
        data.writeFile("TopDeset1.ini", TextCodec::encodeLines({QStringLiteral("1\tŽofie\t00:44:100")}));
        window.FormActivate();
        QCOMPARE(row(men, 0), QStringList({"1", "Jezdec 1", "00:31:000"}));
        QCOMPARE(row(men, 9), QStringList({"10", "Jezdec 10", "00:40:000"}));
        QCOMPARE(men->rowCount(), 10);
        QCOMPARE(row(women, 0), QStringList({"1", QStringLiteral("Žofie"), "00:44:100"}));

        // A women's file that cannot be read: the men's list is read, the women's keeps its rows.
        lines[0] = QStringLiteral("1\tNový\t00:30:000");
        data.writeFile("TopDeset.ini", TextCodec::encodeLines(lines));
        QFile::remove(data.filePath("TopDeset1.ini"));
        data.makeFolder("TopDeset1.ini");
        QVERIFY_THROWS_EXCEPTION(UserError, window.FormActivate());
        QCOMPARE(row(men, 0), QStringList({"1", QStringLiteral("Nový"), "00:30:000"}));
        QCOMPARE(row(women, 0), QStringList({"1", QStringLiteral("Žofie"), "00:44:100"}));
    }

    // Whatever `TVOUT/Pouzit` says, the window and the page render one model of the lap lists.
    void theWindowAndThePageAgreeAfterTheOperatorDeletesALap() {
        TSettings settings;
        TempDataFolder data;
        LapList lists[4];
        TRaceProgress progress(settings);
        progress.follow({&lists[0], &lists[1], &lists[2], &lists[3]});
        TTV_Out_Frm window(settings, progress, data.path());
        MonotonicClock& clock = SteadyClock::instance();
        LiveRaceFeed feed(progress, clock, {});
        for (const char* lap : {"00:31:000", "00:30:000", "00:32:000"})
            lists[1].appendAndSelect(QString::fromLatin1(lap));
        lists[3].appendAndSelect(QStringLiteral("00:33:000"));
        lists[3].appendAndSelect(QStringLiteral("00:28:000"));
        lists[1].setSelectedIndex(0);
        lists[1].deleteSelected();

        // Kart 2 led with three laps; after the deletion both have two, and kart 4 completed its
        // second lap earlier (61 s against kart 2's 62 s).
        const QJsonArray karts =
            QJsonDocument::fromJson(feed.snapshot().toJson(clock.nowUs())).object()["karts"].toArray();
        for (int r = 0; r < 4; ++r) {
            const QJsonObject kart = karts[r].toObject();
            QCOMPARE(row(window.raceList(), r),
                     QStringList({kart["position"].toString(), kart["name"].toString(),
                                  kart["time"].toString(), kart["lapNumber"].toString()}));
        }
        QCOMPARE(row(window.raceList(), 0), QStringList({"1", "kara4", "00:28:000", "2"}));
        QCOMPARE(row(window.raceList(), 1), QStringList({"2", "kara2", "00:32:000", "2"}));
        QCOMPARE(karts[1].toObject()["count"].toInt(), 2);
    }

    void seeThroughLeavesOnlyThePanels() {
        TSettings settings;
        TempDataFolder data;
        TRaceProgress progress(settings);
        TTV_Out_Frm window(settings, progress, data.path());
        QVERIFY(window.mask().isEmpty());
        window.PruhlednyForm();
        const QRegion shape = window.mask();
        const QList<QFrame*> panels =
            window.findChildren<QFrame*>(QRegularExpression(QStringLiteral("^Panel")));
        QCOMPARE(panels.size(), 5);
        for (const QFrame* panel : panels)
            QVERIFY2(shape.contains(panel->geometry()), qPrintable(panel->objectName()));
        // Between the panels and around them the window is see-through.
        QVERIFY(!shape.contains(QPoint(652, 60)));
        QVERIFY(!shape.contains(QPoint(500, 440)));
        QVERIFY(!shape.contains(QPoint(2, 2)));
        QVERIFY(!shape.contains(QPoint(1020, 764)));
        if (!qEnvironmentVariableIsEmpty("TARVOLIN_TV_OUT_PICTURE")) {
            progress.setEntries(2, {"00:31:234"});
            window.showPageAddress(QStringLiteral("http://192.168.1.20:8080/"));
            window.grab().save(qEnvironmentVariable("TARVOLIN_TV_OUT_PICTURE"));
        }
    }
};

QTEST_MAIN(TvOutTest)
#include "TvOutTest.moc"
