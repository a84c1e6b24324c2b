#include "app/ui/TarvolinApplication.h"
#include "base/UserError.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

// An error thrown by a handler reaches the application's event boundary, which shows its message and
// lets the program go on.
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

    void clickThrowing(const std::function<void()>& throwIt, SeenBox& seen) {
        QPushButton button(QStringLiteral("Uložit"));
        button.setObjectName(QStringLiteral("Uloz1"));
        bool after = false;
        connect(&button, &QPushButton::clicked, &button, [&] {
            throwIt();
            after = true;
        });
        button.show();
        if (!QTest::qWaitForWindowExposed(&button))
            qWarning("button not exposed");
        closeBoxWhenShown(seen);
        QTest::mouseClick(&button, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(seen.count, 1, 10000);
        QVERIFY2(!after, "the handler went on after the throw");
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

    void standardExceptionShowsWhat() {
        SeenBox seen;
        clickThrowing([] { throw std::runtime_error("disk full"); }, seen);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(seen.text, QStringLiteral("disk full"));
    }

    void unknownExceptionShowsTheGenericMessage() {
        SeenBox seen;
        clickThrowing([] { throw 42; }, seen);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(seen.text, TarvolinApplication::unknownErrorText());
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
