// Qt's standard dialogs take their dates from the system locale, read while the application object is
// made: on a machine set up in English they come out Czech all the same, and the environment and the C
// library's locale are the machine's again afterwards.
#include "platform/CzechDialogDates.h"
#include "base/StationLocale.h"

#include <QApplication>
#include <QDate>
#include <QtTest>

#include <langinfo.h>
#include <memory>

class CzechDialogDatesTest : public QObject {
    Q_OBJECT

private slots:
    void systemDatesAreCzechAndTheMachineKeepsItsLocale() {
        const QDate day(2026, 12, 9);
        QCOMPARE(QLocale::system().toString(day, QLocale::ShortFormat),
                 stationLocale().toString(day, QLocale::ShortFormat));
        QCOMPARE(qgetenv("LC_ALL"), QByteArray("C.UTF-8"));
        QVERIFY(!qEnvironmentVariableIsSet("LC_TIME"));
        QCOMPARE(QByteArray(nl_langinfo(CODESET)), QByteArray("UTF-8"));
    }
};

int main(int argc, char** argv) {
    // A machine in English for everything.
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LC_TIME");
    auto dates = std::make_unique<CzechDialogDates>();
    QApplication app(argc, argv);
    dates.reset();
    CzechDialogDatesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CzechDialogDatesTest.moc"
