// The lap chart window over four lap lists: what opening, the boxes and closing draw, the cross-hair
// and its readout, the picture and the two prints.
#include "TempDataFolder.h"

#include "base/ErrorBoundary.h"
#include "base/UserError.h"
#include "stats/ChartLabels.h"
#include "stats/ui/ColorBox.h"
#include "stats/ui/LapChartView.h"
#include "stats/ui/Statistika.h"
#include "timing/LapList.h"
#include "timing/LapTime.h"
#include "timing/ui/LapFileDialogs.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QValueAxis>
#include <QtTest>

#include <array>
#include <functional>
#include <memory>

namespace {

QStringList laps(int count, qint64 firstMs) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << FormatLapTime(firstMs + (i % 5) * 1130);
    return list;
}

// Runs action once the next modal window is up.
void whenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        action(QApplication::activeModalWidget());
    });
}

struct PdfPages {
    int count = 0;
    bool landscape = false;
};

PdfPages pdfPages(const QString& path) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    PdfPages pages;
    if (!info.waitForFinished(60000) || info.exitCode() != 0)
        return pages;
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    pages.count = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(text).captured(1).toInt();
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(text);
    pages.landscape = size.captured(1).toDouble() > size.captured(2).toDouble();
    return pages;
}

} // namespace

class StatistikaTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_lists[0].setEntries(laps(12, 45127));
        m_lists[1].setEntries(laps(15, 47000));
        m_lists[2].clear();
        m_lists[3].setEntries(laps(3, 51000));
        m_window = std::make_unique<TStat_Dlg>(
            std::array<const LapList*, 4>{&m_lists[0], &m_lists[1], &m_lists[2], &m_lists[3]});
    }

    void openingTicksTheKartsWithLapsAndClosingUnticksThem() {
        int bestTwentyShown = 0;
        m_window->hooks().showBestTwenty = [&] { ++bestTwentyShown; };
        m_window->show();
        QVERIFY(box("Prvni")->isChecked() && box("Druha")->isChecked() && box("Ctvrta")->isChecked());
        QVERIFY(!box("Treti")->isChecked());
        QChart* chart = m_window->largeChart()->chart();
        auto* lapAxis = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).first());
        QCOMPARE(lapAxis->min(), 0.0);
        QCOMPARE(lapAxis->max(), 15.0);
        QCOMPARE(lapAxis->tickInterval(), 1.0);
        QCOMPARE(lapAxis->titleText(), QStringLiteral("kola"));
        QCOMPARE(line(1)->count(), 12);
        QCOMPARE(line(1)->at(0), QPointF(1, 4512));
        QCOMPARE(line(1)->color(), QColor(Qt::red));
        QCOMPARE(line(4)->color(), QColor(0x000080));
        QCOMPARE(smallLine(3)->count(), 0);
        QCOMPARE(smallLine(2)->count(), 15);

        auto* timeAxis = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Vertical).first());
        QCOMPARE(timeAxis->titleText(), QStringLiteral("čas"));
        QVERIFY(timeAxis->min() <= 4512 && timeAxis->max() >= 5326);
        const QStringList labels = timeAxis->categoriesLabels();
        QVERIFY(labels.size() >= 3);
        for (const QString& label : labels) {
            QVERIFY2(QRegularExpression(QStringLiteral("^\\d+:\\d\\d$")).match(label).hasMatch(),
                     qPrintable(label));
            QCOMPARE(label, ChartLabels::largeTimeLabel(timeAxis->endValue(label)));
        }
        QVERIFY(labels.contains(QStringLiteral("46:00")));
        auto* smallAxis =
            qobject_cast<QCategoryAxis*>(m_window->smallChart(1)->chart()->axes(Qt::Vertical).first());
        QVERIFY(smallAxis->categoriesLabels().contains(QStringLiteral("00:45:00")));
        QCOMPARE(m_window->largeChart()->framedTitle(), QStringLiteral("Časy jednotlivých kol"));

        box("Druha")->setChecked(false);
        QCOMPARE(line(2)->count(), 0);
        QCOMPARE(smallLine(2)->count(), 0);
        QCOMPARE(lapAxis->max(), 12.0);
        m_window->findChild<ColorBox*>(QStringLiteral("ColorBox4"))->setColor(QColor(0x0000ff));
        QCOMPARE(line(4)->color(), QColor(0x0000ff));
        QCOMPARE(line(4)->count(), 3);
        box("CheckBox1")->setChecked(true);
        for (int kart = 1; kart <= 4; ++kart)
            QCOMPARE(line(kart)->color(), QColor(Qt::black));
        QCOMPARE(m_window->largeChart()->framedTitleColor(), QColor(Qt::black));
        box("CheckBox1")->setChecked(false);
        QCOMPARE(line(4)->color(), QColor(0x0000ff));

        // A stray entry stops the lines there; what came before it stays drawn.
        m_lists[0].setEntries({FormatLapTime(40000), QStringLiteral("kolo"), FormatLapTime(40000)});
        QCOMPARE(
            guardedMessages([&] { m_window->findChild<QPushButton*>(QStringLiteral("TopTen10"))->click(); }),
            QStringList(
                {QStringLiteral("Záznam „kolo“ (2. kolo) motokáry 1 není čas kola; graf končí před ním.")}));
        QCOMPARE(bestTwentyShown, 1);
        QCOMPARE(line(1)->count(), 1);
        QCOMPARE(line(4)->count(), 1);

        m_window->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        QVERIFY(!m_window->isVisible());
        for (const char* name : {"Prvni", "Druha", "Treti", "Ctvrta"})
            QVERIFY(!box(name)->isChecked());
        QCOMPARE(line(1)->count(), 0);

        // The next race's laps when it opens again.
        m_lists[0].clear();
        m_lists[2].setEntries(laps(7, 39000));
        m_window->show();
        QVERIFY(!box("Prvni")->isChecked() && box("Treti")->isChecked());
        QCOMPARE(line(3)->count(), 7);
        QCOMPARE(lapAxis->max(), 15.0);
    }

    void theCrossHairInvertsWhatIsUnderItAndTheReadoutKeepsItsText() {
        m_window->show();
        LapChartView* view = m_window->largeChart();
        const QRect area = view->plotArea();
        QVERIFY(area.width() > 300 && area.height() > 150);
        const QPoint lap1 = view->mapFromScene(
            view->chart()->mapToScene(view->chart()->mapToPosition(QPointF(1, 4512), line(1))));
        const QPoint probe(lap1.x(), area.top() + 3);
        const QColor before = view->viewport()->grab().toImage().pixelColor(probe);

        moveMouse(view, lap1);
        QCOMPARE(view->crossHair(), std::optional<QPoint>(lap1));
        const QColor under = view->viewport()->grab().toImage().pixelColor(probe);
        QCOMPARE(under, QColor(before.red() ^ 255, before.green() ^ 255, before.blue()));

        const QString readout = label("Hodnoty");
        const QRegularExpressionMatch parts =
            QRegularExpression(QStringLiteral("^(\\d+):(\\d\\d)  /  (\\d+)(?:,(\\d+))?$")).match(readout);
        QVERIFY2(parts.hasMatch(), qPrintable(readout));
        const int hundredths = parts.captured(1).toInt() * 100 + parts.captured(2).toInt();
        const double lap = QString(parts.captured(3) + QLatin1Char('.') + parts.captured(4)).toDouble();
        // Within a pixel of the point's values.
        QVERIFY2(qAbs(hundredths - 4512) <= 30, qPrintable(readout));
        QVERIFY2(qAbs(lap - 1) <= 0.05, qPrintable(readout));

        moveMouse(view, QPoint(area.left() - 10, area.top() - 10));
        QVERIFY(!view->crossHair());
        QCOMPARE(view->viewport()->grab().toImage().pixelColor(probe), before);
        QCOMPARE(label("Hodnoty"), readout);
        moveMouse(view, lap1 + QPoint(40, 0));
        QVERIFY(view->crossHair());
        QVERIFY(label("Hodnoty") != readout);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(view->viewport(), &leave);
        QVERIFY(!view->crossHair());
    }

    void theChartIsSavedCopiedAndPrinted() {
        TempDataFolder folder;
        LapFileDialogs dialogs(m_window.get());
        dialogs.setInitialDirectory(folder.path());
        m_window->setSaveDialogs(&dialogs);
        m_window->show();
        const QSize size = m_window->largeChart()->size();

        QStringList typesShown;
        whenModal([&](QWidget* modal) {
            auto* shown = static_cast<QFileDialog*>(modal);
            typesShown = shown->nameFilters();
            QCOMPARE(shown->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
                     QStringLiteral("graf"));
            static_cast<QDialog*>(shown)->accept();
        });
        m_window->findChild<QPushButton*>(QStringLiteral("UlozBMP"))->click();
        QCOMPARE(typesShown, QStringList({LapFileDialogs::bitmapFilter()}));
        QCOMPARE(dialogs.saveDialog()->nameFilters(), QStringList({LapFileDialogs::filter()}));
        QVERIFY(folder.readFile(QStringLiteral("graf.bmp")).startsWith("BM"));
        const QImage saved(folder.filePath(QStringLiteral("graf.bmp")), "BMP");
        QCOMPARE(saved.size(), size);
        QCOMPARE(saved.pixelColor(0, 0), QColor(Qt::white));
        // Kart 1's first point, a red cross on the white plotting area.
        const QPoint lap1 = m_window->largeChart()->mapFromScene(m_window->largeChart()->chart()->mapToScene(
            m_window->largeChart()->chart()->mapToPosition(QPointF(1, 4512), line(1))));
        int red = 0;
        for (int dy = -4; dy <= 4; ++dy) {
            for (int dx = -4; dx <= 4; ++dx)
                red += saved.pixelColor(lap1 + QPoint(dx, dy)) == QColor(Qt::red) ? 1 : 0;
        }
        QVERIFY2(red >= 8, qPrintable(QString::number(red)));

        try {
            m_window->saveChartPicture(folder.filePath(QStringLiteral("chybí/graf.bmp")));
            QFAIL("a folder that is not there takes no picture");
        } catch (const UserError& error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Soubor „")), qPrintable(error.message()));
        }

        m_window->findChild<QPushButton*>(QStringLiteral("UlozDOClipb"))->click();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), size);

        // Cancelling the set-up prints nothing; each confirmed print is one page.
        QString output;
        m_window->hooks().setUpPrinter = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(output);
            return !output.isEmpty();
        };
        m_window->findChild<QPushButton*>(QStringLiteral("BitBtn9"))->click();
        QVERIFY(QDir(folder.path()).entryList({QStringLiteral("*.pdf")}).isEmpty());

        output = folder.filePath(QStringLiteral("formular.pdf"));
        m_window->findChild<QPushButton*>(QStringLiteral("BitBtn9"))->click();
        PdfPages pages = pdfPages(output);
        QCOMPARE(pages.count, 1);
        QVERIFY(!pages.landscape);

        output = folder.filePath(QStringLiteral("kola.pdf"));
        m_window->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
        pages = pdfPages(output);
        QCOMPARE(pages.count, 1);
        QVERIFY(pages.landscape);
        QCOMPARE(m_window->printer().pageLayout().orientation(), QPageLayout::Portrait);
    }

    void cleanup() { m_window.reset(); }

private:
    QCheckBox* box(const char* name) const { return m_window->findChild<QCheckBox*>(QLatin1String(name)); }
    QString label(const char* name) const {
        return m_window->findChild<QLabel*>(QLatin1String(name))->text();
    }
    QLineSeries* line(int kart) const {
        return qobject_cast<QLineSeries*>(m_window->largeChart()->chart()->series().at(kart - 1));
    }
    QLineSeries* smallLine(int kart) const {
        return m_window->smallChart(kart)->chart()->findChild<QLineSeries*>();
    }
    // The window system's move over the chart's viewport, as the mouse makes it.
    static void moveMouse(LapChartView* view, const QPoint& position) {
        QMouseEvent move(QEvent::MouseMove, position, view->viewport()->mapToGlobal(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
    }
    // The messages the error boundary shows while action runs.
    QStringList guardedMessages(const std::function<void()>& action) {
        QStringList messages;
        const ErrorBoundary::Reporter previous =
            ErrorBoundary::setReporter([&](const QString& message) { messages << message; });
        action();
        ErrorBoundary::setReporter(previous);
        return messages;
    }

    std::array<LapList, 4> m_lists;
    std::unique_ptr<TStat_Dlg> m_window;
};

QTEST_MAIN(StatistikaTest)
#include "StatistikaTest.moc"
