// The drivers' window through its controls: names reach the model (and so every view of a kart),
// Enter moves on, names of the tables and of kept races are offered, a name windows-1250 cannot hold
// is refused with a hint, and the box "Žena" is the model's one choice.
#include "TempDataFolder.h"

#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "rankings/ui/JezdciDlg.h"
#include "timing/DriverNames.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

// Types text as the keyboard would, any letter included.
void type(QWidget* field, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &press);
    }
}

} // namespace

class JezdciDlgTest : public QObject {
    Q_OBJECT

private slots:
    void namesReachTheModelAndUnstorableOnesAreRefused() {
        TempDataFolder data;
        data.writeFile(QStringLiteral("TopDeset.ini"),
                       TextCodec::encodeLines({QStringLiteral("1\tPetr Novák\t00:31:000"),
                                               QStringLiteral("2\tnoname\t59:59:999"),
                                               QStringLiteral("3\tkara2\t00:40:000")}));
        QDir(data.path()).mkpath(QStringLiteral("vysledky"));
        DriverNames::save(data.path() + QStringLiteral("/vysledky/2026-12-09 14-05-33 jezdci.txt"),
                          {QStringLiteral("Žofie"), QString(), QString(), QString()});
        DriverNames names;
        TSettings settings;
        settings.Zavod.VymazatJmena = true;
        TJezdciDlg window(names, settings, data.path());
        window.showDrivers();
        QVERIFY(!window.isModal());
        QCOMPARE(window.suggestions(), QStringList({QStringLiteral("Petr Novák"), QStringLiteral("Žofie")}));

        auto* first = window.findChild<QLineEdit*>(QStringLiteral("Jmeno1"));
        auto* second = window.findChild<QLineEdit*>(QStringLiteral("Jmeno2"));
        first->setFocus();
        type(first, QStringLiteral("Jiří Čermák"));
        QCOMPARE(names.name(1), QStringLiteral("Jiří Čermák"));
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(window.focusWidget(), second);

        auto* hint = window.findChild<QLabel*>(QStringLiteral("JezdciUpozorneni"));
        type(second, QStringLiteral("Ana"));
        type(second, QStringLiteral("\u0416")); // Ж: no windows-1250 letter
        QCOMPARE(second->text(), QStringLiteral("Ana"));
        QCOMPARE(names.name(2), QStringLiteral("Ana"));
        QVERIFY(hint->isVisibleTo(&window));
        QVERIFY(!fitsWindows1250(QStringLiteral("A\tB")));
        QVERIFY(fitsWindows1250(QStringLiteral("Řehoř Šťastný")));

        names.setWoman(3, true);
        QVERIFY(window.findChild<QCheckBox*>(QStringLiteral("JezdciZena3"))->isChecked());
        window.findChild<QCheckBox*>(QStringLiteral("JezdciZena3"))->click();
        QVERIFY(!names.woman(3));
        window.findChild<QCheckBox*>(QStringLiteral("VymazatJmena"))->click();
        QVERIFY(!settings.Zavod.VymazatJmena);
    }
};

QTEST_MAIN(JezdciDlgTest)
#include "JezdciDlgTest.moc"
