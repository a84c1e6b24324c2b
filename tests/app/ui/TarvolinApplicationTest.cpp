#include "app/ui/TarvolinApplication.h"
#include "base/ErrorBoundary.h"
#include "base/UserError.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

// The application installs the error boundary's reporter: an error reported at a handler's boundary is
// shown in a message box with the program's title, and the program goes on. notify() stays as the last
// net for an error that escaped a handler.
class TarvolinApplicationTest : public QObject {
    Q_OBJECT

private:
    struct SeenBox {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int count = 0;
    };

    // Watches for the message box among the top-level widgets and closes it.
    static void closeBoxWhenShown(SeenBox& seen) {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, timer, [timer, &seen] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (box && box->isVisible()) {
                    seen.title = box->windowTitle();
                    seen.text = box->text();
                    seen.icon = box->icon();
                    ++seen.count;
                    box->close();
                    timer->deleteLater();
                    return;
                }
            }
        });
        timer->start(20);
    }

    enum class Boundary { Handler, LastNet };

    void clickThrowing(const std::function<void()>& throwIt, SeenBox& seen,
                       Boundary boundary = Boundary::Handler) {
        QPushButton button(QStringLiteral("Uložit"));
        button.setObjectName(QStringLiteral("Uloz1"));
        bool after = false;
        const auto handler = [&] {
            throwIt();
            after = true;
        };
        if (boundary == Boundary::Handler)
            connect(&button, &QPushButton::clicked, &button, ErrorBoundary::guardedSlot(handler));
        else
            connect(&button, &QPushButton::clicked, &button, handler);
        button.show();
        if (!QTest::qWaitForWindowExposed(&button))
            qWarning("button not exposed");
        closeBoxWhenShown(seen);
        QTest::mouseClick(&button, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(seen.count, 1, 10000);
        QVERIFY2(!after, "the handler went on after the throw");
        QVERIFY(!button.isDown());
    }

private slots:
    void conversionErrorShowsItsMessage() {
        SeenBox seen;
        clickThrowing([] { throw ConversionError(QStringLiteral("x")); }, seen);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(seen.text, QStringLiteral("'x' is not a valid integer value"));
        QCOMPARE(seen.title, QStringLiteral("Tarvolin"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
    }

    void userErrorKeepsCzechText() {
        SeenBox seen;
        clickThrowing([] { throw UserError(QStringLiteral("Soubor nelze otevřít: kůň.ini")); }, seen);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(seen.text, QStringLiteral("Soubor nelze otevřít: kůň.ini"));
    }

    void standardExceptionShowsWhatAndIsLoggedAsUnexpected() {
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Unexpected exception .*disk full")));
        SeenBox seen;
        clickThrowing([] { throw std::runtime_error("disk full"); }, seen);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(seen.text, QStringLiteral("disk full"));
    }

    void unknownExceptionShowsTheGenericMessage() {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Unexpected exception")));
        SeenBox seen;
        clickThrowing([] { throw 42; }, seen);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(seen.text, TarvolinApplication::unknownErrorText());
        QCOMPARE(seen.text, ErrorBoundary::unexpectedErrorText());
    }

    void anErrorThatEscapedItsHandlerIsStillShownAndLogged() {
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("escaped its handler.*QPushButton")));
        SeenBox seen;
        clickThrowing([] { throw UserError(QStringLiteral("Soubor nelze uložit.")); }, seen,
                      Boundary::LastNet);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(seen.text, QStringLiteral("Soubor nelze uložit."));
        QCOMPARE(seen.title, QStringLiteral("Tarvolin"));
    }

    void anErrorReportedOutsideAnyEventIsShownToo() {
        SeenBox seen;
        closeBoxWhenShown(seen);
        QVERIFY(!ErrorBoundary::guarded([] { throw UserError(QStringLiteral("Port nelze otevřít.")); }));
        QCOMPARE(seen.count, 1);
        QCOMPARE(seen.text, QStringLiteral("Port nelze otevřít."));
    }

    void theProgramGoesOnAfterwards() {
        QPushButton button(QStringLiteral("OK"));
        int clicks = 0;
        connect(&button, &QPushButton::clicked, &button, [&] { ++clicks; });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 1);
    }

    void standardDialogsSpeakCzech() {
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ano"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Ne"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Zrušit"));
    }
};

int main(int argc, char** argv) {
    TarvolinApplication app(argc, argv);
    TarvolinApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TarvolinApplicationTest.moc"
