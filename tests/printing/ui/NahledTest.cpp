// The two preview windows around their page documents: the build with its waiting text and disabled
// controls, page and zoom controls, keys, wheel and the mouse on a zoomed page, printing through a PDF
// printer (progress captions, the document's paper or the printer's, abort and cancel, a print that
// cannot start, each window's own file) and "Uložit PDF".
#include "printing/ui/PreviewPageArea.h"
#include "printing/ui/PrinterSetup.h"
#include "printing/ui/nahled1.h"
#include "printing/ui/nahled2.h"
#include "timing/LapTime.h"

#include "RecordingErrorReporter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

namespace {

QStringList laps(int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << FormatLapTime(30'000 + i);
    return list;
}

// The PDF's pages as "WxH" in points, from its media boxes.
QStringList pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString pdf = QString::fromLatin1(file.readAll());
    QStringList pages;
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    for (auto match = box.globalMatch(pdf); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        pages << QStringLiteral("%1x%2")
                     .arg(qRound(m.captured(1).toDouble()))
                     .arg(qRound(m.captured(2).toDouble()));
    }
    return pages;
}

// The results window has built its two pages and holds nothing back.
bool built(TNahled2Dlg& window) {
    return window.PrintPreview().PageCount() == 2 && window.PrintPreview().mode() == TPrintPreview::Idle &&
           window.windowTitle() == QStringLiteral("Náhled tisku  -  Výsledky motokár");
}

template <typename T> T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

} // namespace

class NahledTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_printers = std::make_unique<PrinterSetup>();
        m_printers->printer().setOutputFormat(QPrinter::PdfFormat);
        m_printers->printer().setOutputFileName(m_dir.filePath(QStringLiteral("printed.pdf")));
        m_results = std::make_unique<TNahled2Dlg>(*m_printers);
        m_results->setFinishPause(20);
        m_results->setLapSource([] { return std::array<QStringList, 4>{laps(10), laps(200), {}, {}}; });
        m_results->setSettingsSource([] {
            SheetSettings settings;
            settings.texts[0] = QStringLiteral("Motokáry");
            return settings;
        });
    }
    void cleanup() {
        m_results.reset();
        m_printers.reset();
        QFile::remove(m_dir.filePath(QStringLiteral("printed.pdf")));
    }

    void resultsWindowBuildsWithItsControlsHeld() {
        TNahled2Dlg& window = *m_results;
        QCOMPARE(window.windowTitle(), QStringLiteral("Náhled tisku"));
        QCOMPARE(child<QLabel>(&window, "ZoomText")->text(), QStringLiteral("stránka"));
        QCOMPARE(child<QLabel>(&window, "PageText")->text(), QStringLiteral("0 / 0"));
        QVERIFY(child<QCheckBox>(&window, "KvalitaTisku")->isChecked());
        QCOMPARE(child<QComboBox>(&window, "UnitComboBox")->currentText(), QStringLiteral("0.01 mm"));

        // While pages are drawn: the waiting text, the progress bar and only "Zavřít" to press.
        struct Seen {
            QString caption;
            bool waiting = false;
            QStringList enabled;
        };
        QList<Seen> seen;
        connect(&window.PrintPreview(), &TPrintPreview::OnNewPage, this, [&] {
            Seen now{window.windowTitle(), window.waitingText()->isVisible(), {}};
            for (const char* name : {"UnitComboBox", "PrintBtn", "UlozPdfBtn", "ZoomInBtn", "ZoomOutBtn",
                                     "PrevPageBtn", "NextPageBtn", "AllPageBtn", "ZavritBtn"})
                if (child<QWidget>(&window, name)->isEnabled())
                    now.enabled << QLatin1String(name);
            seen << now;
        });
        window.resize(1000, 700);
        window.show();
        QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(), QStringLiteral("Náhled tisku  -  Výsledky motokár"),
                                  20'000);
        QCOMPARE(seen.size(), 2);
        for (const Seen& page : seen) {
            QCOMPARE(page.caption, QStringLiteral("Tarvolin - vytvářím stránky..."));
            QVERIFY(page.waiting);
            QCOMPARE(page.enabled, QStringList({QStringLiteral("ZavritBtn")}));
        }
        QVERIFY(!window.waitingText()->isVisible());
        QVERIFY(!window.progressBar()->isVisible());
        QCOMPARE(window.progressBar()->maximum(), 3);
        QVERIFY(child<QPushButton>(&window, "PrintBtn")->isEnabled());
        QVERIFY(window.pageArea()->isVisible());

        TPrintPreview& doc = window.PrintPreview();
        QCOMPARE(doc.PageCount(), 2);
        QCOMPARE(child<QLabel>(&window, "PageText")->text(), QStringLiteral("1 / 2"));
        QCOMPARE(doc.ZoomState(), TPrintPreview::zsZoomToFit);
        const int fit = doc.Zoom();
        QCOMPARE(child<QLabel>(&window, "ZoomText")->text(), QStringLiteral("%1%").arg(fit));
        QVERIFY(QFileInfo(doc.tempFileName()).fileName().startsWith(QLatin1String("TMP")));

        QTest::mouseClick(child<QPushButton>(&window, "NextPageBtn"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&window, "NextPageBtn"), Qt::LeftButton);
        QCOMPARE(child<QLabel>(&window, "PageText")->text(), QStringLiteral("2 / 2"));
        QTest::mouseClick(child<QPushButton>(&window, "PrevPageBtn"), Qt::LeftButton);
        QCOMPARE(child<QLabel>(&window, "PageText")->text(), QStringLiteral("1 / 2"));
        QTest::mouseClick(child<QPushButton>(&window, "ZoomInBtn"), Qt::LeftButton);
        QCOMPARE(doc.Zoom(), qMin(500, fit * 2));
        QCOMPARE(child<QLabel>(&window, "ZoomText")->text(), QStringLiteral("%1%").arg(doc.Zoom()));

        // Keys and wheel change page and zoom without touching the window's texts.
        PreviewPageArea* area = window.pageArea();
        QTest::keyClick(area, Qt::Key_PageDown);
        QCOMPARE(doc.ShownPage(), 2);
        QCOMPARE(child<QLabel>(&window, "PageText")->text(), QStringLiteral("1 / 2"));
        QTest::keyClick(area, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(doc.ShownPage(), 1);
        const int zoom = doc.Zoom();
        QTest::keyClick(area, Qt::Key_Minus, Qt::KeypadModifier);
        QCOMPARE(doc.Zoom(), zoom - 10);
        QTest::keyClick(area, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(area->verticalScrollBar()->value(), area->verticalScrollBar()->maximum());
        QTest::keyClick(area, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(area->verticalScrollBar()->value(), 0);
        QWheelEvent ctrlWheel(QPointF(50, 50), area->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area->viewport(), &ctrlWheel);
        QCOMPARE(doc.Zoom(), zoom);
        QWheelEvent shiftWheel(QPointF(50, 50), area->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                               Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area->viewport(), &shiftWheel);
        QCOMPARE(doc.ShownPage(), 2);

        QTest::mouseClick(child<QPushButton>(&window, "AllPageBtn"), Qt::LeftButton);
        QCOMPARE(doc.Zoom(), fit);

        // Another unit rebuilds: the paper stays A4 landscape.
        auto* units = child<QComboBox>(&window, "UnitComboBox");
        units->setCurrentIndex(0);
        emit units->activated(0);
        QCOMPARE(doc.Units(), mmPixel);
        QCOMPARE(doc.PaperWidth(),
                 PageUnits::ConvertMeasure(29700, mmHiMetric, mmPixel, doc.screenPixelsPerInch()));
        QCOMPARE(doc.PageCount(), 2);
        QCOMPARE(doc.ShownPage(), 1);
    }

    void resultsPrintOnTheDocumentsPaperWithProgressInTheCaption() {
        TNahled2Dlg& window = *m_results;
        // The setup dialog's choice of portrait Letter is overridden by the document's paper.
        m_printers->setDialog([](QPrinter& printer, QWidget*) {
            printer.setPageSize(QPageSize(QPageSize::Letter));
            printer.setPageOrientation(QPageLayout::Portrait);
            return true;
        });
        QStringList captions;
        connect(&window.PrintPreview(), &TPrintPreview::OnPrintProgress, this,
                [&] { captions << window.windowTitle(); });
        window.show();
        QTRY_COMPARE_WITH_TIMEOUT(window.PrintPreview().PageCount(), 2, 20'000);
        QTRY_VERIFY(child<QPushButton>(&window, "PrintBtn")->isEnabled());
        child<QCheckBox>(&window, "KvalitaTisku")->click();
        QVERIFY(!window.PrintPreview().FastPrint());
        child<QCheckBox>(&window, "KvalitaTisku")->click();
        QTest::mouseClick(child<QPushButton>(&window, "PrintBtn"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(captions, QStringList({QStringLiteral("Tarvolin - Tisknu stránku 1 z 2 (%0 hotovo)..."),
                                        QStringLiteral("Tarvolin - Tisknu stránku 1 z 2 (%50 hotovo)..."),
                                        QStringLiteral("Tarvolin - Tisknu stránku 2 z 2 (%50 hotovo)..."),
                                        QStringLiteral("Tarvolin - Tisknu stránku 2 z 2 (%100 hotovo)...")}));
        QCOMPARE(pdfPages(m_dir.filePath(QStringLiteral("printed.pdf"))),
                 QStringList({QStringLiteral("842x595"), QStringLiteral("842x595")}));

        // Cancelling the setup prints nothing and still closes the window.
        QFile::remove(m_dir.filePath(QStringLiteral("printed.pdf")));
        m_printers->setDialog([](QPrinter&, QWidget*) { return false; });
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(&window, "PrintBtn")->isEnabled() &&
                                     window.PrintPreview().PageCount() == 2,
                                 20'000);
        QTest::mouseClick(child<QPushButton>(&window, "PrintBtn"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("printed.pdf"))));

        // A handler that aborts stops the job.
        m_printers->setDialog([](QPrinter&, QWidget*) { return true; });
        QSignalSpy aborted(&window.PrintPreview(), &TPrintPreview::OnAbort);
        connect(&window.PrintPreview(), &TPrintPreview::OnPrintProgress, this,
                [](int page, int, bool* abortIt) { *abortIt = page == 2; });
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(&window, "PrintBtn")->isEnabled() &&
                                     window.PrintPreview().PageCount() == 2,
                                 20'000);
        QTest::mouseClick(child<QPushButton>(&window, "PrintBtn"), Qt::LeftButton);
        QCOMPARE(aborted.count(), 1);
        QCOMPARE(window.PrintPreview().mode(), TPrintPreview::Idle);
    }

    void bestTwentyWindowKeepsThePrintersPaperAndSavesPdf() {
        TNahled1Dlg window(*m_printers);
        window.setPictureSource([] {
            QImage men(355, 449, QImage::Format_RGB32);
            men.fill(Qt::yellow);
            QImage women(354, 449, QImage::Format_RGB32);
            women.fill(Qt::cyan);
            return std::array<QImage, 2>{men, women};
        });
        QString proposal;
        window.setPdfFolder(m_dir.path());
        window.setPdfDialog([&](const QString& proposed) {
            proposal = proposed;
            return m_dir.filePath(QStringLiteral("top"));
        });
        QCOMPARE(child<QLabel>(&window, "ZoomText")->text(), QStringLiteral("zoom"));
        QCOMPARE(child<QLabel>(&window, "PageText")->text(), QStringLiteral("0/0"));
        window.show();
        QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(&window, "PageText")->text(), QStringLiteral("1 / 1"),
                                  20'000);
        QCOMPARE(window.windowTitle(), QStringLiteral("Náhled tisku  -  Nejlepších dvacet časů"));
        QTest::mouseClick(child<QPushButton>(&window, "NextPageBtn"), Qt::LeftButton);
        QCOMPARE(child<QLabel>(&window, "PageText")->text(), QStringLiteral("1 / 1"));

        QTest::mouseClick(child<QPushButton>(&window, "UlozPdfBtn"), Qt::LeftButton);
        QVERIFY(proposal.startsWith(m_dir.filePath(QStringLiteral("top20_"))));
        QVERIFY(proposal.endsWith(QLatin1String(".pdf")));
        QCOMPARE(pdfPages(m_dir.filePath(QStringLiteral("top.pdf"))),
                 QStringList({QStringLiteral("595x842")}));

        // The printer's own paper stays: the page fills a Letter landscape sheet.
        m_printers->setDialog([](QPrinter& printer, QWidget*) {
            printer.setPageSize(QPageSize(QPageSize::Letter));
            printer.setPageOrientation(QPageLayout::Landscape);
            return true;
        });
        QTest::mouseClick(child<QPushButton>(&window, "PrintBtn"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(pdfPages(m_dir.filePath(QStringLiteral("printed.pdf"))),
                 QStringList({QStringLiteral("792x612")}));
    }

    void zoomedPageTakesTheMouseOnceBuilt() {
        TNahled2Dlg& window = *m_results;
        window.resize(1000, 700);
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(built(window), 20'000);
        window.PrintPreview().setZoom(292);
        PreviewPageArea* area = window.pageArea();
        QScrollBar* horizontal = area->horizontalScrollBar();
        QScrollBar* vertical = area->verticalScrollBar();
        QVERIFY(horizontal->maximum() > 200 && vertical->maximum() > 200);
        horizontal->setValue(100);
        vertical->setValue(100);

        // Through the window, as the operator's mouse comes: the page itself is under the pointer.
        const QPoint centre = area->viewport()->mapTo(&window, area->viewport()->rect().center());
        QCOMPARE(window.childAt(centre), area->viewport());
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, centre);
        QTest::mouseMove(window.windowHandle(), centre - QPoint(60, 40));
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, centre - QPoint(60, 40));
        QCOMPARE(horizontal->value(), 160);
        QCOMPARE(vertical->value(), 140);
    }

    void printThatCannotStartSaysSoAndKeepsTheWindow() {
        TNahled2Dlg& window = *m_results;
        // The file chosen in the dialog cannot be created.
        const QString unreachable = m_dir.filePath(QStringLiteral("chybi/tisk.pdf"));
        m_printers->setDialog([&](QPrinter& printer, QWidget*) {
            printer.setOutputFileName(unreachable);
            return true;
        });
        RecordingErrorReporter reporter;
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(built(window), 20'000);
        QTest::mouseClick(child<QPushButton>(&window, "PrintBtn"), Qt::LeftButton);
        QVERIFY(window.isVisible());
        QCOMPARE(reporter.messages(),
                 QStringList({QStringLiteral("Tisk nelze zahájit: soubor „%1“ nelze vytvořit.")
                                  .arg(QDir::toNativeSeparators(unreachable))}));
        QCOMPARE(window.PrintPreview().mode(), TPrintPreview::Idle);
    }

    void eachPrintToFileProposesItsOwnFile() {
        m_printers->setFileFolder(m_dir.path());
        QStringList proposed;
        m_printers->setDialog([&](QPrinter& printer, QWidget*) {
            proposed << printer.outputFileName();
            return true;
        });
        TNahled2Dlg& results = *m_results;
        results.show();
        QTRY_VERIFY_WITH_TIMEOUT(built(results), 20'000);
        QTest::mouseClick(child<QPushButton>(&results, "PrintBtn"), Qt::LeftButton);
        QVERIFY(!results.isVisible());

        TNahled1Dlg best(*m_printers);
        best.setPictureSource([] {
            QImage table(355, 449, QImage::Format_RGB32);
            table.fill(Qt::white);
            return std::array<QImage, 2>{table, table};
        });
        best.show();
        QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(&best, "PrintBtn")->isEnabled() &&
                                     best.PrintPreview().PageCount() == 1,
                                 20'000);
        QTest::mouseClick(child<QPushButton>(&best, "PrintBtn"), Qt::LeftButton);
        // The chart window's prints, and the results once more: the first results file stays.
        m_printers->dialogFor(nullptr, QStringLiteral("graf"))(m_printers->printer());
        m_printers->setUpPrinter(nullptr, QStringLiteral("vysledky"));

        const QString day = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(proposed, QStringList({m_dir.filePath(QStringLiteral("vysledky_%1.pdf").arg(day)),
                                        m_dir.filePath(QStringLiteral("top20_%1.pdf").arg(day)),
                                        m_dir.filePath(QStringLiteral("graf_%1.pdf").arg(day)),
                                        m_dir.filePath(QStringLiteral("vysledky_%1_2.pdf").arg(day))}));
        QCOMPARE(pdfPages(proposed[0]).size(), 2);
        QCOMPARE(pdfPages(proposed[1]).size(), 1);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<PrinterSetup> m_printers;
    std::unique_ptr<TNahled2Dlg> m_results;
};

QTEST_MAIN(NahledTest)
#include "NahledTest.moc"
