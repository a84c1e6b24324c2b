// tarvolin-cli's PDF sheets read back with poppler's text positions, against the millimetres of the
// layout.
#include "TempDataFolder.h"

#include "config/TextCodec.h"
#include "printing/PageTextStyle.h"
#include "printing/SheetSettings.h"
#include "timing/LapTime.h"

#include <QDateTime>
#include <QFile>
#include <QFontMetricsF>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

namespace {

// The results sheet's cell height and its quarter, in hundredths of a millimetre.
constexpr int H = 500;
constexpr int Q = 250;

constexpr qreal PointsPerMm = 72.0 / 25.4;

struct Word {
    QString text;
    qreal xMm;
    qreal yMm;
};

struct PdfText {
    int pages = 0;
    QList<QList<Word>> words; // per page

    // The page's words (1-based) joined by blanks.
    QString text(int page) const {
        QStringList texts;
        for (const Word& word : words.value(page - 1))
            texts << word.text;
        return texts.join(QLatin1Char(' '));
    }
    // The first word of the text on the page (1-based); text empty when none.
    Word find(int page, const QString& text) const {
        for (const Word& word : words.value(page - 1))
            if (word.text == text)
                return word;
        return {};
    }
};

// poppler's word boxes: their left and top edges in millimetres.
PdfText readPdf(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("/usr/bin/pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    process.waitForFinished(60'000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    PdfText pdf;
    const QRegularExpression page(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto match = page.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++pdf.pages;
            pdf.words.append(QList<Word>());
            continue;
        }
        QString text = m.captured(3);
        text.replace(QLatin1String("&amp;"), QLatin1String("&"));
        pdf.words.last().append(
            {text, m.captured(1).toDouble() / PointsPerMm, m.captured(2).toDouble() / PointsPerMm});
    }
    return pdf;
}

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The tool without a display and without a platform chosen for it.
CliRun runCli(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TARVOLIN_BINARY_DIR "/tarvolin-cli"), args);
    if (!process.waitForFinished(120'000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray lapFile(int count, qint64 firstMs) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << FormatLapTime(firstMs + 10 * i);
    return TextCodec::encodeLines(lines);
}

bool havePoppler() {
    return QFile::exists(QStringLiteral("/usr/bin/pdftotext"));
}

} // namespace

TEST(SheetCommands, ResultsPdfFromLapFilesStandsToTheMillimetre) {
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils is not installed";
    TempDataFolder data;
    data.writeFile(
        QStringLiteral("tarvolin.ini"),
        TextCodec::encodeLines({QStringLiteral("[Tisk]"), QStringLiteral("Text1=*Motokáry Tarvolin"),
                                QStringLiteral("[Trat]"), QStringLiteral("delka=400")}));
    const QString kart1 = data.writeFile(QStringLiteral("vysledky/kara1"), lapFile(10, 40'000));
    const QString kart3 = data.writeFile(QStringLiteral("vysledky/kara3"), lapFile(200, 45'000));
    const QString out = data.filePath(QStringLiteral("vysledky.pdf"));

    const CliRun run = runCli({QStringLiteral("results-pdf"), out, QStringLiteral("--data"), data.path(),
                               kart1, QStringLiteral("-"), kart3});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const PdfText pdf = readPdf(out);
    ASSERT_EQ(pdf.pages, 2);

    // Some word of the text within 0.3 mm across and 0.6 mm down (poppler's box tops follow the
    // font's ascent) of the point.
    const auto expectAt = [&](int page, const QString& text, qreal xMm, qreal yMm) {
        const QList<Word> words = pdf.words.value(page - 1);
        const bool found = std::any_of(words.begin(), words.end(), [&](const Word& word) {
            return word.text == text && qAbs(word.xMm - xMm) <= 0.3 && qAbs(word.yMm - yMm) <= 0.6;
        });
        EXPECT_TRUE(found) << text.toStdString() << " at " << xMm << ", " << yMm << " mm on page " << page;
    };
    expectAt(1, QStringLiteral("Motokáry"), 60, 10);
    expectAt(1, QStringLiteral("VÝSLEDKOVÁ"), 180, 10);
    expectAt(1, QStringLiteral("Celkový"), 10, 165);
    expectAt(1, QStringLiteral("Průměrná"), 10, 185);
    // Kart 3 stands in the second column (L = 140 mm); its number is "3".
    expectAt(1, QStringLiteral("3"), 140, 52.5);
    // Lap 84 of kart 3 closes page 1: fourth sub-column, last row.
    expectAt(1, QStringLiteral("84"), 140 + 5 + 3 * 30, 55 + 20 * 5);
    EXPECT_TRUE(pdf.find(1, FormatLapTime(45'000 + 10 * 83)).text.size() > 0);
    EXPECT_TRUE(pdf.find(1, FormatLapTime(45'000 + 10 * 84)).text.isEmpty());
    // The summary covers all 200 laps: 9 199 000 ms (over two hours), longest 46 990 ms, 31,30 Km/h over
    // 400 m. Its values stand a quarter of a cell right of the longest label.
    const QFontMetricsF labels(PageTextStyle::cell(H, Qt::red).font());
    const qreal value =
        (std::ceil(labels.horizontalAdvance(QStringLiteral("Průměrný čas kola:"))) + Q) / 100.0;
    expectAt(1, QStringLiteral("2:33:19:000"), 140 + value, 165);
    expectAt(1, QStringLiteral("00:46:990"), 140 + value, 175);
    expectAt(1, QStringLiteral("31,30"), 140 + value, 185);
    expectAt(1, QStringLiteral("06:40:450"), 10 + value, 165); // kart 1: 10 laps of 40 000 .. 40 090 ms

    // Page 2: one frame of 26a with laps 85 to 200, the same summary.
    expectAt(2, QStringLiteral("3"), 10, 52.5);
    expectAt(2, QStringLiteral("85"), 15, 55);
    expectAt(2, QStringLiteral("200"), 15 + 5 * 30, 55 + 10 * 5);
    expectAt(2, QStringLiteral("31,30"), 10 + value, 185);
    EXPECT_TRUE(pdf.find(2, QStringLiteral("06:40:450")).text.isEmpty());
}

TEST(SheetCommands, BadInputEndsWithAMessageAndNoFile) {
    TempDataFolder data;
    const QString good = data.writeFile(QStringLiteral("kara1"), lapFile(3, 40'000));
    const QString bad =
        data.writeFile(QStringLiteral("kara2"),
                       TextCodec::encodeLines({QStringLiteral("00:40:000"), QStringLiteral("rychle")}));
    const QString out = data.filePath(QStringLiteral("out.pdf"));

    CliRun run =
        runCli({QStringLiteral("results-pdf"), out, QStringLiteral("--data"), data.path(), good, bad});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("rychle"))) << run.err.toStdString();
    run = runCli({QStringLiteral("results-pdf"), out, QStringLiteral("--data"), data.path(),
                  data.filePath(QStringLiteral("chybi"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("chybi"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    run = runCli({QStringLiteral("results-pdf"), data.filePath(QStringLiteral("no/such/folder/out.pdf")),
                  QStringLiteral("--data"), data.path(), good});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.isEmpty());
    run = runCli({QStringLiteral("results-pdf"), out, good, good, good, good, good});
    EXPECT_EQ(run.exitCode, 2);
    run = runCli({QStringLiteral("tisk")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("results-pdf")));
}

TEST(SheetCommands, Top20PdfFromTheTableFiles) {
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils is not installed";
    TempDataFolder data;
    data.writeFile(QStringLiteral("TopDeset.ini"),
                   TextCodec::encodeLines({QStringLiteral("1\tPetr Rychlý\t00:31:200")}));
    const QString out = data.filePath(QStringLiteral("top20.pdf"));
    CliRun run = runCli({QStringLiteral("top20-pdf"), out, QStringLiteral("--data"), data.path()});
    EXPECT_EQ(run.exitCode, 1); // the women's table file is missing
    data.writeFile(QStringLiteral("topdeset1.ini"),
                   TextCodec::encodeLines({QStringLiteral("1\tEva\t00:35:000")}));
    run = runCli({QStringLiteral("top20-pdf"), out, QStringLiteral("--data"), data.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const PdfText pdf = readPdf(out);
    ASSERT_EQ(pdf.pages, 1);
    const Word title = pdf.find(1, QStringLiteral("NEJLEPŠÍCH"));
    EXPECT_NEAR(title.xMm, 50, 0.3);
    EXPECT_NEAR(title.yMm, 70, 0.6);
    const Word men = pdf.find(1, QStringLiteral("Jezdci"));
    EXPECT_NEAR(men.xMm, 20, 0.3);
    EXPECT_NEAR(men.yMm, 110, 0.6);
}

TEST(SheetCommands, AnOutputThatIsNoPdfIsNeverReplaced) {
    TempDataFolder data;
    const QByteArray table = TextCodec::encodeLines({QStringLiteral("1\tPetr Rychlý\t00:31:200")});
    const QString men = data.writeFile(QStringLiteral("TopDeset.ini"), table);
    data.writeFile(QStringLiteral("TopDeset1.ini"), table);
    const QString kart1 = data.writeFile(QStringLiteral("kara1"), lapFile(3, 40'000));
    const QString kart2 = data.writeFile(QStringLiteral("kara2"), lapFile(3, 41'000));
    const QString notPdf = data.writeFile(QStringLiteral("stara.PDF"), "poznámky");
    const QString folder = data.path();
    const auto readBack = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };

    // A name that does not end in .pdf is a usage error: the forgotten output name, the table given as
    // the output.
    CliRun run = runCli({QStringLiteral("results-pdf"), kart1, kart2, QStringLiteral("--data"), folder});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral(".pdf"))) << run.err.toStdString();
    run = runCli({QStringLiteral("top20-pdf"), men, QStringLiteral("--data"), folder});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(readBack(kart1) == lapFile(3, 40'000));
    EXPECT_TRUE(readBack(men) == table);
    // A file named .pdf that is no PDF stays; an earlier sheet is replaced by the reprint.
    run = runCli({QStringLiteral("top20-pdf"), notPdf, QStringLiteral("--data"), folder});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(notPdf)) << run.err.toStdString();
    EXPECT_TRUE(readBack(notPdf) == QByteArray("poznámky"));
    const QString sheet = data.filePath(QStringLiteral("sheet.pdf"));
    ASSERT_EQ(
        runCli({QStringLiteral("results-pdf"), sheet, QStringLiteral("--data"), folder, kart1}).exitCode, 0);
    const QByteArray first = readBack(sheet);
    run = runCli({QStringLiteral("results-pdf"), sheet, QStringLiteral("--data"), folder, kart1, kart2});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(readBack(sheet).startsWith("%PDF-"));
    EXPECT_TRUE(readBack(sheet) != first);
}

TEST(SheetCommands, AReprintShowsTheDateOfItsRace) {
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils is not installed";
    TempDataFolder data;
    const QString out = data.filePath(QStringLiteral("vysledky.pdf"));
    // A file the station kept is named after the race's start.
    const QString kept =
        data.writeFile(QStringLiteral("vysledky/2021-03-04 15-16-17 kara2.txt"), lapFile(3, 40'000));
    CliRun run = runCli({QStringLiteral("results-pdf"), out, QStringLiteral("--data"), data.path(),
                         QStringLiteral("-"), kept});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QDateTime start(QDate(2021, 3, 4), QTime(15, 16, 17));
    QString text = readPdf(out).text(1);
    EXPECT_TRUE(text.contains(SheetSettings::dateTextOf(start))) << text.toStdString();
    EXPECT_TRUE(text.contains(SheetSettings::timeTextOf(start))) << text.toStdString();
    // Any other lap file was written when its race was saved.
    const QString saved = data.writeFile(QStringLiteral("kara1"), lapFile(3, 40'000));
    const QDateTime savedAt(QDate(2019, 6, 7), QTime(8, 9, 10));
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(savedAt, QFileDevice::FileModificationTime));
    file.close();
    run = runCli({QStringLiteral("results-pdf"), out, QStringLiteral("--data"), data.path(), saved});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    text = readPdf(out).text(1);
    EXPECT_TRUE(text.contains(SheetSettings::dateTextOf(savedAt))) << text.toStdString();
}
