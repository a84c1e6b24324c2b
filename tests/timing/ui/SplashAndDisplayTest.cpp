// The splash window and the seven-segment display as they are drawn.
#include "timing/ui/SevenSegmentDisplay.h"
#include "timing/ui/SignalLamp.h"
#include "timing/ui/Splash.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QtTest>

namespace {

int countPixels(const QImage& image, const QColor& color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == color.rgb() ? 1 : 0;
    return count;
}

} // namespace

class SplashAndDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void splashIsFramelessSeeThroughAndCentred() {
        TSplashScreen splash;
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash.testAttribute(Qt::WA_TranslucentBackground));
        splash.showCentred();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(qAbs(splash.frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(splash.frameGeometry().center().y() - screen.center().y()) <= 1);

        // The background is see-through; the pictures are not.
        const QImage image = splash.grab().toImage();
        QCOMPARE(image.pixelColor(1, 1).alpha(), 0);
        QVERIFY(countPixels(image, QColor(Qt::white)) > 100);
    }

    void splashProgressRunsFromZeroToHundred() {
        TSplashScreen splash;
        auto* bar = splash.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        QVERIFY(bar);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(splash.progress(), 0);
        splash.showCentred();
        splash.setProgress(45);
        QCOMPARE(bar->value(), 45);
        splash.setProgress(140);
        QCOMPARE(splash.progress(), 100);
        // The bar lies along the lower part of the window.
        QVERIFY(bar->geometry().top() > splash.height() * 3 / 4);
    }

    void segmentsLightInNavyAndStayFaintlyVisible() {
        SevenSegmentDisplay display;
        display.setDigitCount(1);
        display.resize(display.sizeHint());
        display.setValue(8);
        const QImage eight = display.grab().toImage();
        display.setValue(1);
        const QImage one = display.grab().toImage();
        const int litEight = countPixels(eight, display.litColor());
        const int litOne = countPixels(one, display.litColor());
        QVERIFY(litOne > 0);
        QVERIFY(litEight > 2 * litOne);
        // Unlit segments are drawn, and differ from the window.
        QVERIFY(countPixels(one, display.unlitColor()) > litOne);
        QVERIFY(display.unlitColor() != display.palette().color(QPalette::Window));
    }

    void displayKeepsItsLastDigits() {
        SevenSegmentDisplay display;
        display.setDigitCount(2);
        display.setValue(123);
        QCOMPARE(display.text(), QStringLiteral("23"));
        display.setDigitCount(3);
        QCOMPARE(display.text(), QStringLiteral("123"));
        QCOMPARE(display.sizeHint().width() > SevenSegmentDisplay().sizeHint().width(), true);
    }

    void lampShowsItsColourOnlyWhenOn() {
        SignalLamp lamp;
        lamp.resize(24, 24);
        lamp.setColor(QColor(0, 200, 0));
        const QImage off = lamp.grab().toImage();
        lamp.setOn(true);
        const QImage on = lamp.grab().toImage();
        const QColor centreOff = off.pixelColor(14, 14);
        const QColor centreOn = on.pixelColor(14, 14);
        QVERIFY(centreOn.green() > centreOff.green() + 60);
    }
};

QTEST_MAIN(SplashAndDisplayTest)
#include "SplashAndDisplayTest.moc"
