// The results sheet laid out as the page document records it: page counts, where every row, kart
// number, summary and header text stands in page units, and the figures of the summary.
#include "PageRecorder.h"

#include "printing/ResultsSheet.h"
#include "printing/TPrintPreview.h"
#include "timing/LapTime.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QImage>

#include <gtest/gtest.h>

#include <array>

namespace {

// a = 10 mm in hundredths of a millimetre, and the grid derived from it.
using Karts = std::array<QStringList, 4>;
constexpr int A = 1000;
constexpr int H = 500;
constexpr int Q = 250;

QStringList laps(int count, qint64 firstMs = 30'000) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << FormatLapTime(firstMs + i);
    return list;
}

SheetSettings settings() {
    SheetSettings s;
    for (int i = 0; i < 8; ++i)
        s.texts[i] = QStringLiteral("Text%1").arg(i + 1);
    s.trackLength = 400;
    s.dateText = QStringLiteral("9. 12. 2026");
    s.timeText = QStringLiteral("16:05:00");
    return s;
}

struct Built {
    std::unique_ptr<TPrintPreview> doc = std::make_unique<TPrintPreview>();
    QList<RecordedPage> pages;
    int progressMaximum = -1;
    int progressSteps = 0;
};

Built build(const std::array<QStringList, 4>& karts, TUnits units = mmHiMetric,
            const std::array<QString, 4>& drivers = {}) {
    Built built;
    built.doc->setScreenPixelsPerInch(96);
    built.doc->setOrientation(TPrintPreview::poLandscape);
    SheetBuildHooks hooks;
    hooks.setProgressMaximum = [&built](int maximum) { built.progressMaximum = maximum; };
    hooks.stepProgress = [&built] { ++built.progressSteps; };
    SheetSettings sheet = settings();
    sheet.drivers = drivers;
    ResultsSheet::BuildResultsSheet(*built.doc, units, karts, sheet, hooks);
    for (int page = 1; page <= built.doc->PageCount(); ++page)
        built.pages << PageRecorder::record(built.doc->page(page));
    return built;
}

QString row(int lap, const QStringList& list) {
    return QString::number(lap) + QStringLiteral("  ") + list.at(lap - 1);
}

// Left edge of column j for frames of w (in a).
int left(int j, int wInA) {
    return A + j * (wInA * A + A);
}

QPointF rowPoint(int j, int wInA, int lap, int pageStart) {
    const int i = lap - 1;
    return QPointF(left(j, wInA) + H + 3 * A * ((i - pageStart) / 21), 5 * A + H + (i % 21) * H);
}

} // namespace

TEST(ResultsSheet, SummaryFiguresAndSpeedText) {
    const QStringList four = {QStringLiteral("00:40:000"), QStringLiteral("00:50:000"),
                              QStringLiteral("00:45:000"), QStringLiteral("00:45:000")};
    KartLapSummary s = ResultsSheet::SummariseLaps(four, 400);
    EXPECT_EQ(s.total, 180'000);
    EXPECT_EQ(s.shortest, 40'000);
    EXPECT_EQ(s.longest, 50'000);
    EXPECT_EQ(s.mean, 45'000);
    EXPECT_EQ(s.speed, 3200);
    EXPECT_EQ(ResultsSheet::FormatSpeed(s.speed), QStringLiteral("32,00 Km/h"));
    EXPECT_EQ(ResultsSheet::FormatSpeed(4567), QStringLiteral("45,67 Km/h"));
    EXPECT_EQ(ResultsSheet::FormatSpeed(0), QStringLiteral("0,00 Km/h"));
    EXPECT_EQ(ResultsSheet::FormatSpeed(5), QStringLiteral("0,05 Km/h"));

    // 99 999 m in 100 ms laps: 99 999 × 100 000 does not fit 32 bits.
    s = ResultsSheet::SummariseLaps({QStringLiteral("00:00:100")}, 99'999);
    EXPECT_EQ(s.speed, 370'366'666);
    EXPECT_EQ(ResultsSheet::FormatSpeed(s.speed), QStringLiteral("3703666,66 Km/h"));

    // A mean lap under 3.6 ms gives no speed; a total of 0 gives 0.
    s = ResultsSheet::SummariseLaps({QStringLiteral("00:00:003")}, 400);
    EXPECT_EQ(ResultsSheet::FormatSpeed(s.speed), QStringLiteral("—"));
    s = ResultsSheet::SummariseLaps({QStringLiteral("00:00:000")}, 400);
    EXPECT_EQ(s.speed, 0);

    // A text that is no lap time is left out of the figures and counted; the shortest starts high.
    s = ResultsSheet::SummariseLaps(
        {QStringLiteral("00:30:000"), QStringLiteral("x:1"), QStringLiteral("00:40:000")}, 400);
    EXPECT_EQ(s.laps, 2);
    EXPECT_EQ(s.skipped, 1);
    EXPECT_EQ(s.total, 70'000);
    EXPECT_EQ(s.mean, 35'000);
    s = ResultsSheet::SummariseLaps({QStringLiteral("bad")}, 400);
    EXPECT_EQ(s.shortest, 99'990'000);
    EXPECT_EQ(s.mean, 0);
}

TEST(ResultsSheet, HeaderFramesAndSummaryStandWhereTheGridPutsThem) {
    const QStringList kart1 = laps(3);
    const Built built = build(Karts{kart1, QStringList(), QStringList(), QStringList()});
    ASSERT_EQ(built.pages.size(), 1);
    const RecordedPage& page = built.pages.first();
    EXPECT_EQ(built.doc->PaperWidth(), 29700);
    EXPECT_EQ(built.doc->PaperHeight(), 21000);

    const QList<std::pair<QString, QPointF>> expected = {
        {QStringLiteral("Text1"), {6 * A, A}},
        {QStringLiteral("Text2"), {6 * A, A + H}},
        {QStringLiteral("Text3"), {6 * A, A + 2 * H}},
        {QStringLiteral("Text4"), {6 * A, A + 3 * H}},
        {QStringLiteral("Text5"), {6 * A, A + 4 * H}},
        {QStringLiteral("VÝSLEDKOVÁ LISTINA"), {18 * A, A}},
        {QStringLiteral("9. 12. 2026"), {18 * A + H, 2 * A + Q}},
        {QStringLiteral("16:05:00"), {23 * A, 2 * A + Q}},
        {QStringLiteral("Text6"), {17 * A, 3 * A}},
        {QStringLiteral("Text7"), {17 * A, 3 * A + H}},
        {QStringLiteral("Text8"), {17 * A, 4 * A}},
        {QStringLiteral("Orvex Software"), {26 * A, 19 * A + H}},
        {QStringLiteral("1"), {A, 5 * A + Q}},
        {QStringLiteral("Celkový součet:"), {A, 16 * A + H}},
        {QStringLiteral("Min. čas kola:"), {A, 17 * A}},
        {QStringLiteral("Max. čas kola:"), {A, 17 * A + H}},
        {QStringLiteral("Průměrný čas kola:"), {A, 18 * A}},
        {QStringLiteral("Průměrná rychlost:"), {A, 18 * A + H}},
    };
    for (const auto& [text, at] : expected) {
        const RecordedPage::Text found = page.find(text);
        EXPECT_EQ(found.text, text);
        EXPECT_NEAR(found.topLeft.x(), at.x(), 0.5) << text.toStdString();
        EXPECT_NEAR(found.topLeft.y(), at.y(), 0.5) << text.toStdString();
    }
    EXPECT_NEAR(page.find(QStringLiteral("00:30:002")).topLeft.y(), 17 * A + H, 0.5);
    // Sizes: the operator lines, the rows and the summary by cell height h.
    const QFontMetricsF text1(page.find(QStringLiteral("Text1")).font);
    EXPECT_NEAR(text1.ascent() + text1.descent(), H, H * 0.02);
    EXPECT_TRUE(page.find(QStringLiteral("Text3")).font.bold());
    // The title is underlined: a line under it, within its cell.
    ASSERT_EQ(page.lines.size(), 1);
    EXPECT_EQ(page.lines[0].p1().x(), 18 * A);
    EXPECT_GT(page.lines[0].p1().y(), A + H);
    EXPECT_LT(page.lines[0].p1().y(), A + H + Q);
    const QFontMetricsF rowMetrics(page.find(row(1, kart1)).font);
    EXPECT_NEAR(rowMetrics.ascent() + rowMetrics.descent(), H, H * 0.02);
    EXPECT_EQ(page.find(row(1, kart1)).colour, QColor(0, 128, 0));
    EXPECT_EQ(page.find(QStringLiteral("Celkový součet:")).colour, QColor(255, 0, 0));

    ASSERT_EQ(page.rects.size(), 1);
    EXPECT_EQ(page.rects.first(), QRectF(A, 5 * A + Q, 26 * A + H + Q, 11 * A));
}

TEST(ResultsSheet, RowsFillSubColumnsOf21AndPagesBreakAsTheColumnsFall) {
    // 22 laps: lap 22 heads the second sub-column, 3a to the right.
    {
        const QStringList kart = laps(22);
        const Built built = build(Karts{kart, QStringList(), QStringList(), QStringList()});
        ASSERT_EQ(built.pages.size(), 1);
        EXPECT_EQ(built.pages[0].textAt(A + H, 5 * A + H + 20 * H), row(21, kart));
        EXPECT_EQ(built.pages[0].textAt(A + H + 3 * A, 5 * A + H), row(22, kart));
    }
    // 169 laps of one kart: 168 on page 1 in eight sub-columns, lap 169 on page 2 with the same summary.
    {
        const QStringList kart = laps(169);
        const Built built = build(Karts{kart, QStringList(), QStringList(), QStringList()});
        ASSERT_EQ(built.pages.size(), 2);
        EXPECT_EQ(built.progressMaximum, 2);
        EXPECT_EQ(built.progressSteps, 2);
        const QPointF last = rowPoint(0, 26, 168, 0);
        EXPECT_EQ(built.pages[0].textAt(last.x(), last.y()), row(168, kart));
        EXPECT_EQ(built.pages[0].count(row(169, kart)), 0);
        EXPECT_EQ(built.pages[1].textAt(A + H, 5 * A + H), row(169, kart));
        const QString total = FormatLapSum(ResultsSheet::SummariseLaps(kart, 400).total);
        EXPECT_NEAR(built.pages[0].find(total).topLeft.y(), 16 * A + H, 0.5);
        EXPECT_NEAR(built.pages[1].find(total).topLeft.y(), 16 * A + H, 0.5);
    }
    // 10 + 200: page 1 two frames of 12a and 84 rows; page 2 one frame of 26a with laps 85..200.
    {
        const QStringList k1 = laps(10, 40'000);
        const QStringList k2 = laps(200);
        const Built built = build(Karts{k1, k2, QStringList(), QStringList()});
        ASSERT_EQ(built.pages.size(), 2);
        EXPECT_EQ(built.progressMaximum, 3); // ceil(200 / 84): the estimate is never below the pages built
        ASSERT_EQ(built.pages[0].rects.size(), 2);
        EXPECT_EQ(built.pages[0].rects[1].left(), left(1, 12));
        EXPECT_EQ(built.pages[0].rects[1].width(), 12 * A + H + Q);
        EXPECT_EQ(built.pages[0].count(row(10, k1)), 1);
        const QPointF k2Last = rowPoint(1, 12, 84, 0);
        EXPECT_EQ(built.pages[0].textAt(k2Last.x(), k2Last.y()), row(84, k2));
        EXPECT_EQ(built.pages[0].count(row(85, k2)), 0);
        ASSERT_EQ(built.pages[1].rects.size(), 1);
        EXPECT_EQ(built.pages[1].rects[0].width(), 26 * A + H + Q);
        EXPECT_EQ(built.pages[1].textAt(A + H, 5 * A + H), row(85, k2));
        const QPointF k2End = rowPoint(0, 26, 200, 84);
        EXPECT_EQ(built.pages[1].textAt(k2End.x(), k2End.y()), row(200, k2));
        EXPECT_EQ(built.pages[1].count(QStringLiteral("1")), 0);
        EXPECT_EQ(built.pages[1].textAt(A, 5 * A + Q), QStringLiteral("2"));
    }
    // 84 + 100: page 2 has a single frame for kart 2's laps 85..100 and no empty frame for kart 1.
    {
        const QStringList k1 = laps(84);
        const QStringList k2 = laps(100);
        const Built built = build(Karts{k1, k2, QStringList(), QStringList()});
        ASSERT_EQ(built.pages.size(), 2);
        ASSERT_EQ(built.pages[1].rects.size(), 1);
        EXPECT_EQ(built.pages[1].textAt(A + H, 5 * A + H), row(85, k2));
        const QPointF end = rowPoint(0, 26, 100, 84);
        EXPECT_EQ(built.pages[1].textAt(end.x(), end.y()), row(100, k2));
        EXPECT_EQ(built.pages[1].count(QStringLiteral("Celkový součet:")), 1);
    }
}

TEST(ResultsSheet, KartsWithoutLapsLeaveNoColumnAndAnEmptyRaceOneFrame) {
    const QStringList k2 = laps(5);
    const QStringList k3 = laps(7);
    Built built = build(Karts{QStringList(), k2, k3, QStringList()});
    ASSERT_EQ(built.pages.size(), 1);
    const RecordedPage& page = built.pages[0];
    EXPECT_EQ(page.rects.size(), 2);
    EXPECT_EQ(page.textAt(left(0, 12), 5 * A + Q), QStringLiteral("2"));
    EXPECT_EQ(page.textAt(left(1, 12), 5 * A + Q), QStringLiteral("3"));
    EXPECT_EQ(page.count(QStringLiteral("1")), 0); // no kart 1 column
    EXPECT_EQ(page.textAt(left(1, 12) + H, 5 * A + H), row(1, k3));

    built = build(Karts{QStringList(), QStringList(), QStringList(), QStringList()});
    ASSERT_EQ(built.pages.size(), 1);
    ASSERT_EQ(built.pages[0].rects.size(), 1);
    EXPECT_EQ(built.pages[0].rects[0].width(), 26 * A + H + Q);
    EXPECT_EQ(built.pages[0].count(QStringLiteral("Celkový součet:")), 0);
    EXPECT_EQ(built.pages[0].find(QStringLiteral("VÝSLEDKOVÁ LISTINA")).text,
              QStringLiteral("VÝSLEDKOVÁ LISTINA"));

    // Unparseable laps are printed as they stand and counted under the summary.
    built = build(Karts{QStringList{QStringLiteral("00:30:000"), QStringLiteral("??")}, QStringList(),
                        QStringList(), QStringList()});
    EXPECT_EQ(built.pages[0].textAt(A + H, 5 * A + 2 * H), QStringLiteral("2  ??"));
    EXPECT_EQ(built.pages[0].textAt(A, 19 * A), QStringLiteral("Vynechané neplatné časy: 1"));
}

namespace {

QRectF sheetTextBox(const RecordedPage::Text& text) {
    const QFontMetricsF metrics(text.font);
    return QRectF(text.topLeft,
                  QSizeF(metrics.horizontalAdvance(text.text), metrics.ascent() + metrics.descent()));
}

// Overlapping by more than a rounding unit.
bool overlapsClearly(const QRectF& one, const QRectF& other) {
    return one.adjusted(1, 1, -1, -1).intersects(other.adjusted(1, 1, -1, -1));
}

} // namespace

TEST(ResultsSheet, AFullSheetWithLogoAndLongRaceHasNothingOverEachOther) {
    SheetSettings sheet = settings();
    sheet.logo = QImage(800, 200, QImage::Format_RGB32);
    sheet.logo.fill(Qt::darkBlue);
    for (int i = 0; i < 8; ++i)
        sheet.texts[i] =
            QStringLiteral("Motokárové centrum Vysočina, otevřeno denně od 10 do 22 hodin %1").arg(i);
    sheet.dateText = SheetSettings::dateTextOf(QDateTime(QDate(2026, 12, 9), QTime(16, 5)));
    EXPECT_EQ(sheet.dateText, QStringLiteral("09.12.2026"));
    // 59:59:999 + 51:59:989 is an hour and 51 minutes.
    const Karts karts{QStringList{QStringLiteral("59:59:999"), QStringLiteral("51:59:989")}, laps(30),
                      laps(40), laps(5) << QStringLiteral("??")};
    TPrintPreview doc;
    doc.setScreenPixelsPerInch(96);
    doc.setOrientation(TPrintPreview::poLandscape);
    ResultsSheet::BuildResultsSheet(doc, mmHiMetric, karts, sheet);
    ASSERT_EQ(doc.PageCount(), 1);
    const RecordedPage page = PageRecorder::record(doc.page(1));

    EXPECT_EQ(page.count(QStringLiteral("1:51:59:988")), 1);
    EXPECT_EQ(page.count(QStringLiteral("09.12.2026")), 1);
    ASSERT_EQ(page.images.size(), 1);
    const QRectF logo = page.images.first();
    EXPECT_NEAR(logo.width() / logo.height(), 4.0, 0.05);

    QList<QRectF> texts;
    for (const RecordedPage::Text& text : page.texts)
        if (!text.text.isEmpty())
            texts << sheetTextBox(text);
    for (int i = 0; i < texts.size(); ++i) {
        for (int j = i + 1; j < texts.size(); ++j)
            EXPECT_FALSE(overlapsClearly(texts[i], texts[j]))
                << page.texts[i].text.toStdString() << " / " << page.texts[j].text.toStdString();
        EXPECT_FALSE(overlapsClearly(texts[i], logo)) << page.texts[i].text.toStdString();
        // A text stands within a frame or clear of it.
        for (const QRectF& frame : page.rects)
            EXPECT_TRUE(frame.adjusted(-1, -1, 1, 1).contains(texts[i]) || !overlapsClearly(frame, texts[i]))
                << page.texts[i].text.toStdString();
    }
    for (const QRectF& frame : page.rects)
        EXPECT_FALSE(overlapsClearly(frame, logo));
}

TEST(ResultsSheet, AnotherUnitKeepsThePaperAndTheProportions) {
    const QStringList kart = laps(30);
    const Built built = build(Karts{kart, QStringList(), QStringList(), QStringList()}, mmPixel);
    ASSERT_EQ(built.pages.size(), 1);
    // 10 mm at 96 pixels per inch is 38 pixels; the landscape paper stays landscape.
    const int a = 38;
    const int h = 19;
    EXPECT_EQ(built.doc->Units(), mmPixel);
    EXPECT_EQ(built.doc->PaperWidth(), 1123);
    EXPECT_EQ(built.doc->PaperHeight(), 794);
    EXPECT_EQ(built.pages[0].textAt(6 * a, a), QStringLiteral("Text1"));
    EXPECT_EQ(built.pages[0].textAt(a + h + 3 * a, 5 * a + h + 1 * h), row(23, kart));
    EXPECT_EQ(built.pages[0].textAt(a, 17 * a), QStringLiteral("Min. čas kola:"));
}

TEST(ResultsSheet, EachDriverStandsOverItsKartsColumnOnEveryPage) {
    const QStringList k2 = laps(50);
    const QStringList k3 = laps(100);
    const Built built = build(Karts{QStringList(), k2, k3, QStringList()}, mmHiMetric,
                              {QStringLiteral("Nikdo"), QStringLiteral("Jiří Čermák"), QString(), QString()});
    ASSERT_EQ(built.pages.size(), 2);
    EXPECT_EQ(built.pages[0].textAt(left(0, 12), 5 * A + Q - H), QStringLiteral("Jiří Čermák"));
    EXPECT_EQ(built.pages[0].find(QStringLiteral("Jiří Čermák")).colour, QColor(255, 0, 0));
    EXPECT_EQ(built.pages[0].count(QStringLiteral("Nikdo")), 0) << "a kart without laps has no column";
    EXPECT_EQ(built.pages[0].textAt(left(1, 12), 5 * A + Q - H), QString()) << "kart 3 has no name";
    EXPECT_EQ(built.pages[1].count(QStringLiteral("Jiří Čermák")), 0) << "kart 2 has no rows on page 2";
}
