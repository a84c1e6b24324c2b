// The best-twenty sheet as recorded, against the layout's units.
#include "PageRecorder.h"

#include "printing/BestTwentySheet.h"
#include "printing/TPrintPreview.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

constexpr int A = 1000;
constexpr int H = 500;
constexpr int Q = 250;

} // namespace

TEST(BestTwentySheet, OnePageWithTheTablePicturesPlacedNotCentred) {
    TPrintPreview doc;
    doc.setScreenPixelsPerInch(96);
    SheetSettings settings;
    settings.texts[0] = QStringLiteral("Text1");
    settings.texts[2] = QStringLiteral("Text3");
    settings.texts[7] = QStringLiteral("Text8");
    settings.logo = QImage(2000, 2000, QImage::Format_RGB32);
    settings.logoSize = 50;
    settings.dateText = QStringLiteral("9. 12. 2026");
    QImage men(355, 449, QImage::Format_RGB32);
    QImage women(354, 449, QImage::Format_RGB32);
    BestTwentySheet::BuildBestTwentySheet(doc, mmHiMetric, men, women, settings);
    ASSERT_EQ(doc.PageCount(), 1);
    EXPECT_EQ(doc.PaperWidth(), 21000);
    const RecordedPage page = PageRecorder::record(doc.page(1));

    // The logo box (6a high by 50 div 8) keeps left of the operator's lines (10a) and above the title
    // (7a), by a quarter of a cell each: the square logo is shrunk to 7a - q - a high and centred.
    ASSERT_EQ(page.images.size(), 3);
    EXPECT_EQ(page.images[0], QRectF(2 * A + (8 * A - Q - (6 * A - Q)) / 2, A, 6 * A - Q, 6 * A - Q));
    EXPECT_EQ(page.images[1], QRectF(2 * A, 12 * A, 9393 * 10000 / 11880, 10 * A));
    EXPECT_EQ(page.images[2].topLeft(), QPointF(11 * A, 12 * A));
    EXPECT_EQ(page.images[2].height(), 10 * A);

    EXPECT_EQ(page.textAt(10 * A, A + H), QStringLiteral("Text1"));
    EXPECT_EQ(page.textAt(10 * A, A + 3 * H), QStringLiteral("Text3"));
    EXPECT_TRUE(page.find(QStringLiteral("Text3")).font.bold());
    const RecordedPage::Text title = page.find(QStringLiteral("NEJLEPŠÍCH DVACET"));
    EXPECT_EQ(page.textAt(5 * A, 7 * A), title.text);
    EXPECT_EQ(title.font.pixelSize(), A);
    EXPECT_EQ(title.colour, QColor(0, 0, 255));
    EXPECT_EQ(page.textAt(7 * A, 8 * A + Q), QStringLiteral("9. 12. 2026"));
    EXPECT_EQ(page.textAt(2 * A, 11 * A), QStringLiteral("Jezdci"));
    EXPECT_EQ(page.textAt(11 * A, 11 * A), QStringLiteral("Jezdkyně"));
    EXPECT_EQ(page.textAt(3 * A, 27 * A), QStringLiteral("Text8"));
    EXPECT_EQ(page.textAt(15 * A, 26 * A + Q), QStringLiteral("  Naprogramoval:"));
    EXPECT_EQ(page.textAt(17 * A, 26 * A + H), QStringLiteral("Orvex Software"));
}
