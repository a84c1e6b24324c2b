#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "hardware/VirtualTrack.h"
#include "hardware/ui/Chyba_LPT.h"
#include "hardware/ui/Restart.h"
#include "hardware/ui/VirtualTrackWindow.h"
#include "platform/SystemRestart.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {
class RecordingRestart : public SystemRestart {
public:
    QString restartNow() override {
        ++requests;
        return QString();
    }
    int requests = 0;
};

class ManualClock : public MonotonicClock {
public:
    qint64 nowUs() const override { return now * 1000; }
    qint64 now = 1000;
};
} // namespace

class ChybaLptDlgTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheTextsInOrderInBold() {
        TChyba_LptDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Chyba LPT"));
        const QStringList expected = {
            QStringLiteral("Program tarvolin detekoval chybu otevření LPT portu !"),
            QStringLiteral("Provedte prosím kontrolu nastavení."),
            QStringLiteral("Pokud je nastavení vpořádku vyberte možnost"),
            QStringLiteral("Nastavení -> Spuštění/Ostatní -> Automatická oprava portu"),
            QStringLiteral("Po potvrzení opravy restartujte počítač."),
        };
        for (int i = 0; i < expected.size(); ++i) {
            auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label%1").arg(i + 1));
            QVERIFY(label);
            QCOMPARE(label->text(), expected.at(i));
            QVERIFY(label->font().bold());
        }
        auto* contact = dialog.findChild<QLabel*>(QStringLiteral("Label6"));
        QVERIFY(contact && contact->text().contains(QStringLiteral("výrobce")));
        auto* close = dialog.findChild<QPushButton*>(QStringLiteral("btnZavrit"));
        QVERIFY(close);
        QCOMPARE(close->text(), QStringLiteral("Zavřít"));
        dialog.show();
        QTest::mouseClick(close, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    void restartAsksTheSystemOnlyWhenChosen() {
        RecordingRestart restart;
        {
            TRestartDlg dialog(restart);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Restartovat"));
            auto* text = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
            QVERIFY(text);
            QCOMPARE(text->text(),
                     QStringLiteral("Program provedl opravu. Nyní je potřeba restartovat PC !"));
            auto* goOn = dialog.findChild<QPushButton*>(QStringLiteral("btnPokracovat"));
            QVERIFY(goOn);
            QCOMPARE(goOn->text(), QStringLiteral("Pokračovat"));
            dialog.show();
            QTest::mouseClick(goOn, Qt::LeftButton);
            QCOMPARE(restart.requests, 0);
        }
        TRestartDlg dialog(restart);
        auto* restartButton = dialog.findChild<QPushButton*>(QStringLiteral("btnRestartovat"));
        QVERIFY(restartButton);
        QCOMPARE(restartButton->text(), QStringLiteral("Restartovat"));
        QVERIFY(restartButton->isDefault());
        dialog.show();
        QTest::mouseClick(restartButton, Qt::LeftButton);
        QCOMPARE(restart.requests, 1);
    }

    void virtualTrackWindowShowsLampsAndMakesKartsPass() {
        TSettings settings;
        ManualClock clock;
        VirtualTrack track(settings, clock);
        VirtualTrackWindow window(track);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        track.writeData(0x41);
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("lampBit0"))->property("lit").toBool());
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("lampBit1"))->property("lit").toBool());
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("lampBit6"))->property("lit").toBool());

        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnPass2")), Qt::LeftButton);
        QVERIFY(track.sensorActive(2));
        QTest::keyClick(&window, Qt::Key_F4);
        QVERIFY(track.sensorActive(4));
        QVERIFY(!track.sensorActive(1));
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnExternalStart")), Qt::LeftButton);
        QVERIFY(track.buttonPressed());
        clock.now += 1000;
        QVERIFY(!track.buttonPressed());
        QVERIFY(!track.sensorActive(2));
    }
};

QTEST_MAIN(ChybaLptDlgTest)
#include "ChybaLptDlgTest.moc"
