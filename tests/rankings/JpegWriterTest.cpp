// The table pictures' JPEG files: readable again at every quality, progressive, and coarser at a low
// quality.
#include "TempDataFolder.h"

#include "base/UserError.h"
#include "rankings/JpegWriter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage sampleTable() {
    QImage image(355, 449, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int row = 0; row < 20; ++row) {
        painter.drawLine(0, 25 + row * 21, 355, 25 + row * 21);
        painter.drawText(6, 42 + row * 21, QStringLiteral("%1   noname   59:59:999").arg(row + 1));
    }
    return image;
}

// A progressive JPEG has its frame header as SOF2.
bool isProgressive(const QByteArray& jpeg) {
    return jpeg.contains(QByteArray::fromHex("FFC2")) && !jpeg.contains(QByteArray::fromHex("FFC0"));
}

} // namespace

TEST(JpegWriter, EveryQualityGivesAProgressivePictureThatReadsBack) {
    const QImage table = sampleTable();
    qsizetype previousSize = 0;
    for (int quality : {1, 10, 100}) {
        const QByteArray jpeg = JpegWriter::encode(table, quality);
        const QImage decoded = QImage::fromData(jpeg, "JPEG");
        ASSERT_FALSE(decoded.isNull()) << "quality " << quality;
        EXPECT_EQ(decoded.size(), table.size()) << "quality " << quality;
        EXPECT_TRUE(isProgressive(jpeg)) << "quality " << quality;
        EXPECT_GT(jpeg.size(), previousSize) << "quality " << quality;
        previousSize = jpeg.size();
    }
}

TEST(JpegWriter, APathThatCannotBeWrittenIsReportedAndLeavesNoFile) {
    TempDataFolder data;
    const QString folder = data.makeFolder(QStringLiteral("obrazek.jpg"));
    EXPECT_THROW(JpegWriter::write(sampleTable(), folder, 10), UserError);
    const QString path = data.filePath(QStringLiteral("Top20_Muzi.jpg"));
    JpegWriter::write(sampleTable(), path, 10);
    EXPECT_FALSE(QImage(path).isNull());
}
