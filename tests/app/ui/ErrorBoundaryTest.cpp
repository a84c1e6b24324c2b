// A failing action as the operator meets it in the running program: the boundary of the handler that
// started it shows the message once, in the application's message box, and the window, its buttons and
// its timers go on working. No error may reach the application's last net on the way.
#include "FakePortBackend.h"

#include "app/ui/TarvolinApplication.h"
#include "base/ErrorBoundary.h"
#include "base/MonotonicClock.h"
#include "base/UserError.h"
#include "config/TSettings.h"
#include "timing/LapList.h"
#include "timing/ThdTimer.h"
#include "timing/ui/LapFileDialogs.h"
#include "timing/ui/hwunit.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
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

    void loadingAFileThatIsNoLapFileIsReportedOnceAndTheListStays() {
        QTemporaryDir data;
        QVERIFY(QDir(data.path()).mkpath(QStringLiteral("vysledky")));
        QFile file(QDir(data.path()).filePath(QStringLiteral("vysledky/kara2.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("00:41:100\r\nahoj\r\n");
        file.close();
        TSettings settings;
        settings.Semafor.Pouzij = false;
        TForm1Deps deps{settings, data.path(),
                        std::make_unique<FakePortBackend>(SteadyClock::instance(), 888)};
        deps.applyProcessPriority = [](int) {};
        TForm1 window(std::move(deps));
        window.lapList(2).setEntries({QStringLiteral("00:40:250")});
        // The operator takes the file the open dialog proposes, kara2.txt.
        QFileDialog* openDialog = window.lapFileDialogs().openDialog();
        openDialog->setOption(QFileDialog::DontUseNativeDialog);
        QTimer operatorAtTheDialog;
        QObject::connect(&operatorAtTheDialog, &QTimer::timeout, openDialog, [openDialog] {
            if (openDialog->isVisible())
                static_cast<QDialog*>(openDialog)->accept();
        });
        operatorAtTheDialog.start(10);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* load = window.findChild<QPushButton*>(QStringLiteral("Nacti2"));
        QVERIFY(load);

        BoxWatcher boxes;
        QTest::mouseClick(load, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 10000);
        QTRY_VERIFY(!boxes.open());
        const BoxWatcher::Seen& seen = boxes.boxes().at(0);
        QVERIFY2(seen.text.startsWith(QStringLiteral("Soubor \"")) &&
                     seen.text.endsWith(QStringLiteral(
                         "kara2.txt\" nebyl načten, tyto řádky nejsou časy kol:\nřádek 2: „ahoj“")),
                 qPrintable(seen.text));
        QCOMPARE(seen.title, TarvolinApplication::errorTitle());
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QVERIFY(!load->isDown());
        QCOMPARE(window.lapList(2).entries(), QStringList{QStringLiteral("00:40:250")});

        // The window goes on: the same button opens the dialog again and meets the same file.
        QTest::mouseClick(load, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 2, 10000);
        QTRY_VERIFY(!boxes.open());
        QCOMPARE(window.lapList(2).entries(), QStringList{QStringLiteral("00:40:250")});
    }
};

int main(int argc, char** argv) {
    TarvolinApplication app(argc, argv);
    ErrorBoundaryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ErrorBoundaryTest.moc"
