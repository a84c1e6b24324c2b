#include "RecordingErrorReporter.h"

#include "base/ErrorBoundary.h"
#include "base/ITimer.h"
#include "base/UserError.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <thread>

namespace {

const QString Czech = QStringLiteral("Soubor „kůň.ini“ nelze uložit.");

bool serveUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::yieldCurrentThread();
    }
    return true;
}

// Keeps the messages that Qt's logging receives while it lives.
class LogCapture {
public:
    LogCapture() : m_previous(qInstallMessageHandler(&LogCapture::handle)) { s_current = this; }
    ~LogCapture() {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    QStringList critical;
    QStringList warnings;

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg)
            s_current->critical << message;
        else if (type == QtWarningMsg)
            s_current->warnings << message;
    }
    static inline LogCapture* s_current = nullptr;
    QtMessageHandler m_previous;
};

// A timer that ticks when told to.
class ManualTimer : public ITimer {
public:
    bool enabled() const override { return m_enabled; }
    void setEnabled(bool on) override { m_enabled = on; }
    quint32 interval() const override { return 0; }
    void setInterval(quint32) override {}
    bool allowZero() const override { return true; }
    void setAllowZero(bool) override {}

    void tick() { fire(); }
    std::exception_ptr tickCapturing() { return fireCapturing(); }

private:
    bool m_enabled = true;
};

} // namespace

TEST(ErrorBoundary, AnActionThatRunsToTheEndReportsNothing) {
    RecordingErrorReporter reporter;
    bool ran = false;
    EXPECT_TRUE(ErrorBoundary::guarded([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(reporter.count(), 0);
}

TEST(ErrorBoundary, AUserErrorEndsTheActionAndIsReportedByItsMessageOnce) {
    RecordingErrorReporter reporter;
    int stepsDone = 0;
    bool ranToTheEnd = true;
    EXPECT_NO_THROW(ranToTheEnd = ErrorBoundary::guarded([&] {
                        ++stepsDone;
                        throw UserError(Czech);
                        ++stepsDone;
                    }));
    EXPECT_FALSE(ranToTheEnd);
    EXPECT_EQ(stepsDone, 1) << "what was done before the error stays done, nothing after it runs";
    EXPECT_EQ(reporter.messages(), QStringList{Czech});
}

TEST(ErrorBoundary, AConversionErrorIsReportedWithItsText) {
    RecordingErrorReporter reporter;
    ErrorBoundary::guarded([] { throw ConversionError(QStringLiteral("12a")); });
    EXPECT_EQ(reporter.messages(), QStringList{QStringLiteral("'12a' is not a valid integer value")});
}

TEST(ErrorBoundary, AnUnexpectedStandardExceptionIsReportedByItsTextAndLogged) {
    RecordingErrorReporter reporter;
    LogCapture log;
    EXPECT_FALSE(ErrorBoundary::guarded([] { throw std::runtime_error("disk plný"); }));
    EXPECT_EQ(reporter.messages(), QStringList{QStringLiteral("disk plný")});
    ASSERT_EQ(log.warnings.size(), 1);
    EXPECT_TRUE(log.warnings.first().contains(QStringLiteral("disk plný")))
        << log.warnings.first().toStdString();
}

TEST(ErrorBoundary, AnythingElseIsReportedAsAnUnexpectedError) {
    RecordingErrorReporter reporter;
    LogCapture log;
    EXPECT_FALSE(ErrorBoundary::guarded([] { throw 42; }));
    EXPECT_EQ(reporter.messages(), QStringList{ErrorBoundary::unexpectedErrorText()});
    EXPECT_EQ(log.warnings.size(), 1);
}

TEST(ErrorBoundary, CaptureHandsTheErrorBackForALaterReport) {
    RecordingErrorReporter reporter;
    const std::exception_ptr error = ErrorBoundary::capture([] { throw UserError(Czech); });
    ASSERT_TRUE(error);
    EXPECT_EQ(reporter.count(), 0);
    EXPECT_TRUE(ErrorBoundary::report(error));
    EXPECT_EQ(reporter.messages(), QStringList{Czech});
    EXPECT_FALSE(ErrorBoundary::capture([] {}));
    EXPECT_FALSE(ErrorBoundary::report(nullptr));
    EXPECT_EQ(reporter.count(), 1);
}

TEST(ErrorBoundary, WithoutAReporterTheMessageGoesToStderr) {
    const ErrorBoundary::Reporter previous = ErrorBoundary::setReporter({});
    LogCapture log;
    ErrorBoundary::guarded([] { throw UserError(Czech); });
    ErrorBoundary::setReporter(previous);
    EXPECT_EQ(log.critical, QStringList{Czech});
}

TEST(ErrorBoundary, InstallingAReporterHandsBackTheOneItReplaces) {
    QStringList first;
    QStringList second;
    const ErrorBoundary::Reporter outer =
        ErrorBoundary::setReporter([&](const QString& message) { first << message; });
    ErrorBoundary::Reporter replaced =
        ErrorBoundary::setReporter([&](const QString& message) { second << message; });
    ErrorBoundary::guarded([] { throw UserError(QStringLiteral("druhý")); });
    ErrorBoundary::setReporter(std::move(replaced));
    ErrorBoundary::guarded([] { throw UserError(QStringLiteral("první")); });
    ErrorBoundary::setReporter(outer);
    EXPECT_EQ(first, QStringList{QStringLiteral("první")});
    EXPECT_EQ(second, QStringList{QStringLiteral("druhý")});
}

TEST(ErrorBoundary, AMessageStillOnScreenIsNotShownASecondTime) {
    // A message box runs an event loop; a timer that fails at every tick must not stack boxes.
    RecordingErrorReporter reporter;
    const auto fail = [](const QString& message) {
        ErrorBoundary::guarded([&] { throw UserError(message); });
    };
    const QString a = QStringLiteral("Port nelze otevřít.");
    const QString b = QStringLiteral("Soubor nelze uložit.");
    bool nested = false;
    reporter.onReport = [&](const QString& message) {
        if (message != a || nested)
            return;
        nested = true;
        fail(a); // while a's box is open
        fail(b);
    };
    fail(a);
    EXPECT_EQ(reporter.messages(), (QStringList{a, b}));
    fail(a); // its box has been closed
    EXPECT_EQ(reporter.messages(), (QStringList{a, b, a}));
}

TEST(ErrorBoundary, AReporterThatFailsDoesNotThrowOutOfTheBoundary) {
    const ErrorBoundary::Reporter previous =
        ErrorBoundary::setReporter([](const QString&) { throw std::runtime_error("no window"); });
    LogCapture log;
    bool ranToTheEnd = true;
    EXPECT_NO_THROW(ranToTheEnd = ErrorBoundary::guarded([] { throw UserError(Czech); }));
    ErrorBoundary::setReporter(previous);
    EXPECT_FALSE(ranToTheEnd);
    EXPECT_EQ(log.critical, QStringList{Czech});
}

TEST(ErrorBoundary, AnErrorOffTheMainThreadIsShownOnTheMainThread) {
    RecordingErrorReporter reporter;
    QThread* shownOn = nullptr;
    reporter.onReport = [&](const QString&) { shownOn = QThread::currentThread(); };
    std::thread worker([] { ErrorBoundary::guarded([] { throw UserError(Czech); }); });
    worker.join();
    ASSERT_TRUE(serveUntil([&] { return reporter.count() > 0; }));
    EXPECT_EQ(reporter.messages(), QStringList{Czech});
    EXPECT_EQ(shownOn, QCoreApplication::instance()->thread());
}

TEST(ErrorBoundary, AGuardedSlotTakesTheSignalsArgumentsAndKeepsItsErrorFromTheSignal) {
    RecordingErrorReporter reporter;
    QObject sender;
    QObject context;
    QString seen;
    QObject::connect(&sender, &QObject::objectNameChanged, &context,
                     ErrorBoundary::guardedSlot([&](const QString& name) {
                         seen = name;
                         throw UserError(QStringLiteral("Jméno „%1“ nelze použít.").arg(name));
                     }));
    EXPECT_NO_THROW(sender.setObjectName(QStringLiteral("Káry")));
    EXPECT_EQ(seen, QStringLiteral("Káry"));
    EXPECT_EQ(sender.objectName(), QStringLiteral("Káry"));
    EXPECT_EQ(reporter.messages(), QStringList{QStringLiteral("Jméno „Káry“ nelze použít.")});
}

TEST(ErrorBoundary, AGuardedSlotCallsANamedHandlerWithTheArgumentsItTakes) {
    struct Window {
        int clicks = 0;
        void StartButton1Click() {
            ++clicks;
            throw UserError(Czech);
        }
    } window;
    RecordingErrorReporter reporter;
    QObject sender;
    QObject context;
    QObject::connect(&sender, &QObject::objectNameChanged, &context,
                     ErrorBoundary::guardedSlot(&window, &Window::StartButton1Click));
    sender.setObjectName(QStringLiteral("a"));
    sender.setObjectName(QStringLiteral("b"));
    EXPECT_EQ(window.clicks, 2);
    EXPECT_EQ(reporter.messages(), (QStringList{Czech, Czech}));
}

TEST(ErrorBoundary, ATickIsItsHandlersBoundary) {
    RecordingErrorReporter reporter;
    ManualTimer timer;
    int ticks = 0;
    timer.setOnTimer([&] {
        if (++ticks == 1)
            throw UserError(Czech);
    });
    EXPECT_NO_THROW(timer.tick());
    EXPECT_EQ(reporter.messages(), QStringList{Czech});
    timer.tick();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(reporter.count(), 1);

    timer.setEnabled(false);
    timer.tick();
    EXPECT_EQ(ticks, 2) << "a disabled timer runs no handler";
}

TEST(ErrorBoundary, ATimerThatMustFinishItsTickFirstGetsTheErrorBackUnreported) {
    RecordingErrorReporter reporter;
    ManualTimer timer;
    timer.setOnTimer([] { throw UserError(Czech); });
    const std::exception_ptr error = timer.tickCapturing();
    EXPECT_TRUE(error);
    EXPECT_EQ(reporter.count(), 0);
    ErrorBoundary::report(error);
    EXPECT_EQ(reporter.messages(), QStringList{Czech});
}

TEST(ErrorBoundary, AHandlerMayDestroyItsOwnTimerAndStillRaise) {
    RecordingErrorReporter reporter;
    auto timer = std::make_unique<ManualTimer>();
    ManualTimer* raw = timer.get();
    raw->setOnTimer([&] {
        timer.reset();
        throw UserError(Czech);
    });
    raw->tick();
    EXPECT_FALSE(timer);
    EXPECT_EQ(reporter.messages(), QStringList{Czech});
}
