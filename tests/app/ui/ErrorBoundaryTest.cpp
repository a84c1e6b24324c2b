// A failing action as the operator meets it in the running program: the boundary of the handler that
// started it shows the message once, in the application's message box, and the window, its buttons and
// its timers go on working. No error may reach the application's last net on the way.
#include "FakePortBackend.h"

#include "app/ui/TarvolinApplication.h"
#include "base/ErrorBoundary.h"
#include "base/MonotonicClock.h"
#include "base/UserError.h"
#include "config/TSettings.h"
#include "timing/TRace.h"
#include "timing/ThdTimer.h"
#include "timing/ui/hwunit.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Answers the message boxes that come up while it lives, as the operator would: notes each box and
// closes it, once closeWhen() holds (at once when unset; after ten seconds at the latest).
class BoxWatcher {
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };

    BoxWatcher() {
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] { poll(); });
        m_poll.start(10);
    }

    std::function<bool()> closeWhen;
    const QList<Seen>& boxes() const { return m_boxes; }
    int count() const { return int(m_boxes.size()); }
    bool open() const { return m_open; }

private:
    void poll() {
        if (!m_open) {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (box && box->isVisible()) {
                    m_open = box;
                    m_boxes.append({box->windowTitle(), box->text(), box->icon()});
                    m_deadline = QDeadlineTimer(10000);
                    break;
                }
            }
        }
        if (m_open && (!closeWhen || closeWhen() || m_deadline.hasExpired())) {
            m_open->close();
            m_open = nullptr;
        }
    }

    QTimer m_poll;
    QPointer<QMessageBox> m_open;
    QDeadlineTimer m_deadline;
    QList<Seen> m_boxes;
};

} // namespace

class ErrorBoundaryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        // The boundary must be each handler's own: an error that reaches notify() escaped one.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("escaped its handler")));
    }

    void aButtonWhoseHandlerRaisesShowsTheMessageOnceAndStaysUsable() {
        QWidget window;
        auto* button = new QPushButton(QStringLiteral("Uložit"), &window);
        button->setObjectName(QStringLiteral("BitBtn1"));
        int clicks = 0;
        bool ranPastTheError = false;
        QObject::connect(button, &QPushButton::clicked, button, ErrorBoundary::guardedSlot([&] {
                             ++clicks;
                             throw UserError(QStringLiteral("Soubor „kara1.txt“ nelze uložit."));
                             ranPastTheError = true;
                         }));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        BoxWatcher boxes;
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(boxes.count(), 1);
        QTRY_VERIFY(!boxes.open());
        QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("Soubor „kara1.txt“ nelze uložit."));
        QCOMPARE(boxes.boxes().at(0).title, TarvolinApplication::errorTitle());
        QCOMPARE(boxes.boxes().at(0).icon, QMessageBox::Critical);
        QCOMPARE(clicks, 1);
        QVERIFY(!ranPastTheError);
        QVERIFY(!button->isDown());

        // The same button works again, and fails again the same way.
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(boxes.count(), 2);
        QCOMPARE(clicks, 2);
        QVERIFY(!button->isDown());
    }

    void aThreadedTimerWhoseHandlerRaisesTicksOnWhileTheMessageIsOpen() {
        TThreadedTimer timer;
        timer.setInterval(10);
        int ticks = 0;
        timer.setOnTimer([&] {
            if (++ticks == 1)
                throw UserError(QStringLiteral("Čidlo káry 2 neodpovídá."));
        });
        int ticksWhenClosed = -1;
        BoxWatcher boxes;
        boxes.closeWhen = [&] {
            if (ticks < 4)
                return false;
            ticksWhenClosed = ticks;
            return true;
        };
        timer.setEnabled(true);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.open(), 15000);
        QVERIFY2(ticksWhenClosed >= 4, "the timer stood still while its error was shown");
        QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("Čidlo káry 2 neodpovídá."));
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= ticksWhenClosed + 2, 10000);
        QCOMPARE(boxes.count(), 1);
        QVERIFY(timer.enabled());
    }

    void startWithAnEndSoundThatCannotBeOpenedIsReportedAndTheRaceCanBeStopped() {
        QTemporaryDir data;
        QVERIFY(QDir(data.path()).mkpath(QStringLiteral("vysledky")));
        QVERIFY(QDir(data.path()).mkpath(QStringLiteral("zvuky")));
        TSettings settings;
        settings.Semafor.Pouzij = false;
        settings.Zvuk.Hrat = true;
        settings.Zvuk.jmeno = QStringLiteral("chybi.wav");
        TForm1 window(TForm1Deps{settings, data.path(),
                                 std::make_unique<FakePortBackend>(SteadyClock::instance(), 888)});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* start = window.findChild<QPushButton*>(QStringLiteral("StartButton1"));
        QVERIFY(start);

        BoxWatcher boxes;
        QTest::mouseClick(start, Qt::LeftButton);
        QTRY_COMPARE(boxes.count(), 1);
        QTRY_VERIFY(!boxes.open());
        const QString text = boxes.boxes().at(0).text;
        QVERIFY2(text.startsWith(QStringLiteral("Zvukový soubor \"")) &&
                     text.contains(QStringLiteral("chybi.wav")) &&
                     text.endsWith(QStringLiteral("\" nelze otevřít.")),
                 qPrintable(text));
        QVERIFY(!start->isDown());
        // What the START had done stays done: the race runs (without sampling) and shows STOP.
        QVERIFY(window.race().running());
        QCOMPARE(start->text(), QStringLiteral("STOP"));

        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(!window.race().running());
        QCOMPARE(start->text(), QStringLiteral("START"));
        QCOMPARE(boxes.count(), 1);
    }
};

int main(int argc, char** argv) {
    TarvolinApplication app(argc, argv);
    ErrorBoundaryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ErrorBoundaryTest.moc"
