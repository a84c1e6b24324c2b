// The page document: the unit rule, paper and zoom, pages kept in a temporary file, printing with
// its progress and abort, and PDF files.
#include "PageRecorder.h"

#include "base/UserError.h"
#include "printing/PageUnits.h"
#include "printing/TPrintPreview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PageUnits, ConvertMeasureFollowsTheUnitRule) {
    // a = 10 mm in every unit.
    EXPECT_EQ(PageUnits::ConvertMeasure(1000, mmHiMetric, mmHiMetric, 96), 1000);
    EXPECT_EQ(PageUnits::ConvertMeasure(1000, mmHiMetric, mmLoMetric, 96), 100);
    EXPECT_EQ(PageUnits::ConvertMeasure(1000, mmHiMetric, mmLoEnglish, 96), 39);
    EXPECT_EQ(PageUnits::ConvertMeasure(1000, mmHiMetric, mmHiEnglish, 96), 394);
    EXPECT_EQ(PageUnits::ConvertMeasure(1000, mmHiMetric, mmTWIPS, 96), 567);
    EXPECT_EQ(PageUnits::ConvertMeasure(1000, mmHiMetric, mmPixel, 96), 38);
    EXPECT_EQ(PageUnits::ConvertMeasure(1000, mmHiMetric, mmPixel, 120), 47);
    // The exact cases: ×10 up, ÷10 truncating toward zero down.
    EXPECT_EQ(PageUnits::ConvertMeasure(7, mmLoMetric, mmHiMetric, 96), 70);
    EXPECT_EQ(PageUnits::ConvertMeasure(19, mmHiMetric, mmLoMetric, 96), 1);
    EXPECT_EQ(PageUnits::ConvertMeasure(-19, mmHiMetric, mmLoMetric, 96), -1);
    EXPECT_EQ(PageUnits::ConvertMeasure(7, mmLoEnglish, mmHiEnglish, 96), 70);
    EXPECT_EQ(PageUnits::ConvertMeasure(19, mmHiEnglish, mmLoEnglish, 96), 1);
    EXPECT_EQ(PageUnits::ConvertMeasure(-19, mmHiEnglish, mmLoEnglish, 96), -1);
    // Otherwise rounded, halves away from zero (5 thousandths of an inch at 100 ppi are 0.5 pixels).
    EXPECT_EQ(PageUnits::ConvertMeasure(5, mmHiEnglish, mmPixel, 100), 1);
    EXPECT_EQ(PageUnits::ConvertMeasure(-5, mmHiEnglish, mmPixel, 100), -1);
    EXPECT_EQ(PageUnits::ConvertMeasure(4, mmHiEnglish, mmPixel, 100), 0);
    EXPECT_EQ(PageUnits::ConvertMeasure(1, mmLoMetric, mmLoEnglish, 96), 0);
    EXPECT_EQ(PageUnits::ConvertMeasure(2540, mmLoMetric, mmTWIPS, 96), 14400);
    EXPECT_EQ(PageUnits::listText(mmLoEnglish), QStringLiteral("0.01\""));
}

TEST(TPrintPreview, PaperFollowsUnitsOrientationAndCustomSizes) {
    TPrintPreview doc;
    doc.setScreenPixelsPerInch(96);
    EXPECT_EQ(doc.Units(), mmHiMetric);
    EXPECT_EQ(doc.PaperWidth(), 21000);
    EXPECT_EQ(doc.PaperHeight(), 29700);
    doc.setOrientation(TPrintPreview::poLandscape);
    EXPECT_EQ(doc.PaperWidth(), 29700);
    doc.setUnits(mmLoMetric);
    EXPECT_EQ(doc.PaperWidth(), 2970);
    EXPECT_EQ(doc.defaultFont().size, 26);
    doc.setUnits(mmPixel);
    EXPECT_EQ(doc.PaperWidth(), 1123);
    EXPECT_EQ(doc.PaperHeight(), 794);
    EXPECT_EQ(doc.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(doc.pageLayout().pageSize().id(), QPageSize::A4);

    doc.setUnits(mmLoMetric);
    doc.setPaperWidth(1000);
    EXPECT_EQ(doc.PaperType(), TPrintPreview::pCustom);
    EXPECT_EQ(doc.PaperHeight(), 1000); // landscape: the portrait width stands across
    doc.setPaperHeight(99999);
    EXPECT_EQ(doc.PaperWidth(), 32767);
    doc.setUnits(mmHiMetric);
    EXPECT_EQ(doc.PaperHeight(), 10000);
}

TEST(TPrintPreview, ZoomClampsAndFitsTheView) {
    TPrintPreview doc;
    doc.setScreenPixelsPerInch(96);
    QSignalSpy zoomChanges(&doc, &TPrintPreview::OnZoomChange);
    EXPECT_EQ(doc.ZoomState(), TPrintPreview::zsZoomToFit);
    doc.setZoom(300);
    EXPECT_EQ(doc.ZoomState(), TPrintPreview::zsZoomOther);
    doc.setZoom(doc.Zoom() * 2);
    EXPECT_EQ(doc.Zoom(), 500);
    doc.setZoom(15);
    doc.setZoom(doc.Zoom() / 2);
    EXPECT_EQ(doc.Zoom(), 10);
    doc.setZoom(doc.Zoom() / 2);
    EXPECT_EQ(doc.Zoom(), 10);
    EXPECT_EQ(zoomChanges.count(), 4);

    // A4 portrait is 794 × 1123 pixels at 96 ppi; the whole page in 400 × 505 is 45 %.
    doc.setViewSize(QSize(400, 505));
    EXPECT_EQ(doc.Zoom(), 10); // zsZoomOther ignores the view
    doc.setZoomState(TPrintPreview::zsZoomToFit);
    EXPECT_EQ(doc.Zoom(), 45);
    doc.setZoomState(TPrintPreview::zsZoomToWidth);
    EXPECT_EQ(doc.Zoom(), 50);
    doc.setZoomState(TPrintPreview::zsZoomToFit);
    doc.setViewSize(QSize(800, 2000));
    EXPECT_EQ(doc.Zoom(), 101);
    doc.setZoom(doc.Zoom() * 2);
    EXPECT_EQ(doc.Zoom(), 202);
    EXPECT_EQ(doc.zoomedPageSize(), QSize(1604, 2268));
}

TEST(TPrintPreview, DocumentLifecycleAndPagesInATemporaryFile) {
    TPrintPreview doc;
    QSignalSpy begin(&doc, &TPrintPreview::OnBeginDoc);
    QSignalSpy end(&doc, &TPrintPreview::OnEndDoc);
    QSignalSpy newPage(&doc, &TPrintPreview::OnNewPage);
    doc.AddPage();
    doc.FinishDocument();
    EXPECT_EQ(doc.PageCount(), 0);
    EXPECT_EQ(doc.ShownPage(), 0);

    doc.setUseTempFile(true);
    doc.StartDocument();
    doc.StartDocument(); // already building: nothing
    EXPECT_EQ(begin.count(), 1);
    EXPECT_EQ(doc.mode(), TPrintPreview::Building);
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            doc.AddPage();
        doc.textOut(1000, 2000, QStringLiteral("strana %1").arg(page),
                    PageTextStyle::character(500, Qt::black));
    }
    EXPECT_EQ(doc.PageCount(), 2);
    EXPECT_EQ(doc.ShownPage(), 1);
    doc.FinishDocument();
    EXPECT_EQ(end.count(), 1);
    EXPECT_EQ(newPage.count(), 3);
    EXPECT_EQ(doc.mode(), TPrintPreview::Idle);
    ASSERT_EQ(doc.PageCount(), 3);

    const QString file = doc.tempFileName();
    EXPECT_TRUE(QFileInfo(file).fileName().startsWith(QLatin1String("TMP")));
    EXPECT_EQ(QFileInfo(file).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(QFile::exists(file));
    for (int page = 1; page <= 3; ++page) {
        const RecordedPage recorded = PageRecorder::record(doc.page(page));
        EXPECT_EQ(recorded.textAt(1000, 2000), QStringLiteral("strana %1").arg(page));
    }
    doc.setShownPage(7);
    EXPECT_EQ(doc.ShownPage(), 3);
    doc.setShownPage(-1);
    EXPECT_EQ(doc.ShownPage(), 1);

    doc.ClearDocument();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(doc.PageCount(), 0);
    EXPECT_EQ(doc.ShownPage(), 0);
    doc.setShownPage(1);
    EXPECT_EQ(doc.ShownPage(), 0);
}

TEST(TPrintPreview, PicturesTakeTheirNaturalSizeOrShrinkIntoTheBox) {
    TPrintPreview doc;
    doc.setScreenPixelsPerInch(96);
    // 355 × 449 pixels are 93.93 × 118.80 mm: shrunk to 100 mm high in a box 170 × 100 mm.
    EXPECT_EQ(doc.pictureRect(QSize(355, 449), QRect(2000, 12000, 17000, 10000), false),
              QRect(2000, 12000, 9393 * 10000 / 11880, 10000));
    // Fits: natural size, centred or at the corner.
    EXPECT_EQ(doc.pictureRect(QSize(96, 48), QRect(0, 0, 5000, 5000), false), QRect(0, 0, 2540, 1270));
    EXPECT_EQ(doc.pictureRect(QSize(96, 48), QRect(0, 0, 5000, 5000), true), QRect(1230, 1865, 2540, 1270));
    // Too wide: the width fills the box.
    EXPECT_EQ(doc.pictureRect(QSize(960, 96), QRect(0, 0, 12700, 5000), true), QRect(0, 1865, 12700, 1270));
}

TEST(TPrintPreview, PrintingReportsProgressAndStopsWhenAborted) {
    QTemporaryDir dir;
    TPrintPreview doc;
    doc.setOrientation(TPrintPreview::poLandscape);
    doc.StartDocument();
    for (int i = 1; i < 4; ++i)
        doc.AddPage();
    doc.FinishDocument();
    ASSERT_EQ(doc.PageCount(), 4);

    QList<std::pair<int, int>> progress;
    int abortAt = 0;
    QObject::connect(&doc, &TPrintPreview::OnPrintProgress, [&](int page, int percent, bool* abortIt) {
        progress.append({page, percent});
        if (page == abortAt)
            *abortIt = true;
    });
    QSignalSpy aborted(&doc, &TPrintPreview::OnAbort);
    QSignalSpy before(&doc, &TPrintPreview::OnBeforePrint);
    QSignalSpy after(&doc, &TPrintPreview::OnAfterPrint);
    QStringList titles;
    int cancelled = 0;

    QPdfWriter writer(dir.filePath(QStringLiteral("all.pdf")));
    writer.setPageSize(QPageSize(QPageSize::Letter)); // the document's paper replaces it
    TPrintPreview::PrintTarget target{&writer, [&](const QString& title) { titles << title; },
                                      [&] { ++cancelled; }};
    doc.setPrintJobTitle(QStringLiteral("tarvolin - časy"));
    doc.PrintAllPages(target);
    const QList<std::pair<int, int>> all = {{1, 0},  {1, 25}, {2, 25}, {2, 50},
                                            {3, 50}, {3, 75}, {4, 75}, {4, 100}};
    EXPECT_EQ(progress, all);
    EXPECT_EQ(aborted.count(), 0);
    EXPECT_EQ(before.count(), 1);
    EXPECT_EQ(after.count(), 1);
    EXPECT_EQ(titles, QStringList({QStringLiteral("tarvolin - časy"), QString()}));
    EXPECT_EQ(writer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(writer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(doc.mode(), TPrintPreview::Idle);

    progress.clear();
    abortAt = 2;
    QPdfWriter second(dir.filePath(QStringLiteral("aborted.pdf")));
    target.device = &second;
    doc.PrintAllPages(target);
    EXPECT_EQ(progress, (QList<std::pair<int, int>>{{1, 0}, {1, 25}, {2, 25}}));
    EXPECT_EQ(aborted.count(), 1);
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(after.count(), 2);
    EXPECT_EQ(doc.mode(), TPrintPreview::Idle);

    // Without FastPrint a page goes out as a bitmap of the page.
    doc.setFastPrint(false);
    progress.clear();
    abortAt = 0;
    const QString bitmapPath = dir.filePath(QStringLiteral("bitmap.pdf"));
    {
        QPdfWriter bitmap(bitmapPath);
        bitmap.setResolution(150);
        target.device = &bitmap;
        doc.PrintAllPages(target);
    }
    target.device = &second;
    EXPECT_EQ(progress.size(), 8);
    QFile bitmapFile(bitmapPath);
    ASSERT_TRUE(bitmapFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(bitmapFile.readAll().count("/Subtype /Image"), 4);

    // Nothing while building or without pages.
    progress.clear();
    doc.ClearDocument();
    doc.PrintAllPages(target);
    EXPECT_TRUE(progress.isEmpty());
    EXPECT_EQ(before.count(), 3);
}

TEST(TPrintPreview, PdfFileIsWrittenWholeOrNotAtAll) {
    QTemporaryDir dir;
    TPrintPreview doc;
    doc.StartDocument();
    doc.textOut(1000, 1000, QStringLiteral("Žluťoučký kůň"), PageTextStyle::character(500, Qt::black));
    doc.AddPage();
    doc.FinishDocument();
    const QString path = dir.filePath(QStringLiteral("doc.pdf"));
    doc.savePdf(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), 2);
    file.close();

    EXPECT_THROW(doc.savePdf(dir.filePath(QStringLiteral("missing/doc.pdf"))), UserError);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing/doc.pdf"))));
}
