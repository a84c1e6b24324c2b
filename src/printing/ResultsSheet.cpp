#include "printing/ResultsSheet.h"

#include "base/Hooks.h"
#include "printing/TPrintPreview.h"
#include "timing/LapTime.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

const QColor ResultsBlack(0, 0, 0);
const QColor ResultsRed(255, 0, 0);
const QColor ResultsGreen(0, 128, 0);
const QColor ResultsBlue(0, 0, 255);
constexpr int RowsPerSubColumn = 21;

struct Grid {
    int a;
    int h;
    int q;
    int width;
};

int columnsAt(const std::array<QStringList, 4>& laps, int start) {
    const int karts = int(std::count_if(laps.begin(), laps.end(),
                                        [start](const QStringList& list) { return list.size() > start; }));
    return karts == 0 ? 1 : karts;
}

int columnLeft(const Grid& g, int columns, int column) {
    const int w = ResultsSheet::frameWidthInA(columns) * g.a;
    return g.a + column * (w + g.a);
}

void drawFrames(TPrintPreview& doc, const Grid& g, int columns) {
    const int w = ResultsSheet::frameWidthInA(columns) * g.a;
    for (int j = 0; j < columns; ++j) {
        const int left = columnLeft(g, columns, j);
        doc.rectangle(TPrintPreview::box(left, 5 * g.a + g.q, left + w + g.h + g.q, 16 * g.a + g.q));
    }
}

// The operator's lines stand between the logo and the texts under the title; what would run into
// those is cut short.
QString elidedOperatorText(const QString& text, const PageTextStyle& style, int width) {
    return QFontMetricsF(style.font()).elidedText(text, Qt::ElideRight, width);
}

void drawHeader(TPrintPreview& doc, const Grid& g, const SheetSettings& settings) {
    const int a = g.a;
    const int h = g.h;
    const int q = g.q;
    // The logo keeps to the corner left of the operator's lines and above the frames.
    if (!settings.logo.isNull())
        doc.PlacePicture(
            settings.logo,
            TPrintPreview::box(a, a, 6 * a - q, std::min(a + (settings.logoSize / 10) * a, 5 * a)),
            settings.centreLogo);
    // Lines one cell apart, so that no line's background covers the one above.
    const PageTextStyle regular = PageTextStyle::cell(h, ResultsBlack);
    const int width = 11 * a - q;
    doc.textOut(6 * a, a, elidedOperatorText(settings.texts[0], regular, width), regular);
    doc.textOut(6 * a, a + h, elidedOperatorText(settings.texts[1], regular, width), regular);
    doc.textOut(6 * a, a + 4 * h, elidedOperatorText(settings.texts[4], regular, width), regular);
    doc.textOut(6 * a, a + 2 * h, elidedOperatorText(settings.texts[2], regular.withBold(), width),
                regular.withBold());
    doc.textOut(6 * a, a + 3 * h, elidedOperatorText(settings.texts[3], regular.withBold(), width),
                regular.withBold());
    doc.textOut(18 * a, a, QStringLiteral("VÝSLEDKOVÁ LISTINA"),
                PageTextStyle::cell(h + g.q, ResultsBlue).withUnderline());
}

void drawClosing(TPrintPreview& doc, const Grid& g, const SheetSettings& settings) {
    const int a = g.a;
    const int h = g.h;
    const int q = g.q;
    const PageTextStyle blue = PageTextStyle::cell(h, ResultsBlue);
    doc.textOut(18 * a + h, 2 * a + q, settings.dateText, blue);
    doc.textOut(23 * a, 2 * a + q, settings.timeText, blue);
    const int width = g.width - a - 17 * a;
    doc.textOut(17 * a, 3 * a, elidedOperatorText(settings.texts[5], blue.withItalic(), width),
                blue.withItalic());
    doc.textOut(17 * a, 3 * a + h, elidedOperatorText(settings.texts[6], blue.withItalic(), width),
                blue.withItalic());
    doc.textOut(17 * a, 4 * a, elidedOperatorText(settings.texts[7], blue.withItalic(), width),
                blue.withItalic());
    const PageTextStyle small = PageTextStyle::cell(q, ResultsBlue).withItalic();
    doc.textOut(26 * a, 19 * a + q, SheetSignature::authorLine(), small);
    doc.textOut(26 * a, 19 * a + h, SheetSignature::makerLine(), small);
    doc.textOut(26 * a, 20 * a - q, SheetSignature::contactLine(), small);
}

void drawSummary(TPrintPreview& doc, const Grid& g, int left, const KartLapSummary& summary) {
    const int a = g.a;
    const int h = g.h;
    const PageTextStyle red = PageTextStyle::cell(h, ResultsRed);
    const struct {
        int y;
        const char* label;
        QString value;
    } lines[] = {
        {16 * a + h, "Celkový součet:", FormatLapSum(summary.total)},
        {17 * a, "Min. čas kola:", FormatLapTime(summary.shortest)},
        {17 * a + h, "Max. čas kola:", FormatLapTime(summary.longest)},
        {18 * a, "Průměrný čas kola:", FormatLapTime(summary.mean)},
        {18 * a + h, "Průměrná rychlost:", ResultsSheet::FormatSpeed(summary.speed)},
    };
    // The values stand a quarter of a cell right of the longest label.
    const QFontMetricsF metrics(red.font());
    qreal widest = 0;
    for (const auto& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(line.label)));
    const int valueLeft = left + std::max(7 * h, int(std::ceil(widest)) + g.q);
    for (const auto& line : lines) {
        doc.textOut(left, line.y, QString::fromUtf8(line.label), red);
        doc.textOut(valueLeft, line.y, line.value, red);
    }
    // Laps whose text is no lap time stand in the column as they are, and the figures say so, small
    // enough to keep clear of the next column and the lines at the bottom.
    if (summary.skipped > 0)
        doc.textOut(left, 19 * a, QStringLiteral("Vynechané neplatné časy: %1").arg(summary.skipped),
                    PageTextStyle::cell(g.q, ResultsRed));
}

} // namespace

int ResultsSheet::frameWidthInA(int columns) {
    switch (columns) {
    case 2:
        return 12;
    case 3:
        return 8;
    case 4:
        return 6;
    default:
        return 26;
    }
}

int ResultsSheet::rowsPerPage(int columns) {
    switch (columns) {
    case 2:
        return 84;
    case 3:
        return 63;
    case 4:
        return 42;
    default:
        return 168;
    }
}

KartLapSummary ResultsSheet::SummariseLaps(const QStringList& laps, int trackLength) {
    KartLapSummary summary;
    for (const QString& text : laps) {
        qint64 lap = 0;
        if (!TryParseLapTime(text, &lap)) {
            ++summary.skipped;
            continue;
        }
        ++summary.laps;
        summary.total += lap;
        if (lap < summary.shortest)
            summary.shortest = lap;
        if (lap > summary.longest)
            summary.longest = lap;
    }
    if (summary.laps == 0)
        return summary;
    const qint64 n = summary.laps;
    summary.mean = summary.total / n;
    if (summary.total <= 0) {
        summary.speed = 0;
        return summary;
    }
    qint64 scaled = summary.total * 100 / 360;
    scaled /= n;
    summary.speed = scaled == 0 ? KartLapSummary::NoSpeed : qint64(trackLength) * 100'000 / scaled;
    return summary;
}

QString ResultsSheet::FormatSpeed(qint64 speed) {
    if (speed < 0)
        return QStringLiteral("—");
    return QStringLiteral("%1,%2%3 Km/h").arg(speed / 100).arg((speed / 10) % 10).arg(speed % 10);
}

void ResultsSheet::BuildResultsSheet(TPrintPreview& doc, TUnits units, const std::array<QStringList, 4>& laps,
                                     const SheetSettings& settings, const SheetBuildHooks& hooks) {
    doc.setUnits(units);
    doc.StartDocument();
    const int a = doc.fromHiMetric(1000);
    const Grid g{a, a / 2, a / 2 / 2, doc.PaperWidth()};

    std::array<KartLapSummary, 4> summaries;
    int most = 0;
    for (int k = 0; k < 4; ++k) {
        summaries[k] = SummariseLaps(laps[k], settings.trackLength);
        most = std::max(most, int(laps[k].size()));
    }
    const int N = most == 0 ? 1 : most;
    int s = 0;
    int c = columnsAt(laps, s);
    int R = std::min(rowsPerPage(c), N);
    callHook(hooks.setProgressMaximum, (N + R - 1) / R);
    drawFrames(doc, g, c);
    const PageTextStyle rowStyle = PageTextStyle::cell(g.h, ResultsGreen);
    const PageTextStyle numberStyle = PageTextStyle::cell(a, ResultsRed);
    PageTextStyle driverStyle = PageTextStyle::cell(g.h, ResultsRed);
    driverStyle.bold = true;
    for (;;) {
        callHook(hooks.processEvents);
        drawHeader(doc, g, settings);
        int column = 0;
        for (int k = 0; k < 4; ++k) {
            const QStringList& list = laps[k];
            if (list.size() <= s)
                continue;
            const int left = columnLeft(g, c, column);
            const int end = std::min(s + R, int(list.size()));
            for (int i = s; i < end; ++i)
                doc.textOut(left + g.h + 3 * a * ((i - s) / RowsPerSubColumn),
                            5 * a + g.h + (i % RowsPerSubColumn) * g.h,
                            QString::number(i + 1) + QStringLiteral("  ") + list.at(i), rowStyle);
            doc.textOut(left, 5 * a + g.q, QString::number(k + 1), numberStyle);
            // The driver over the frame, where the header leaves the line free.
            if (!settings.drivers[k].isEmpty())
                doc.textOut(left, 5 * a + g.q - g.h, settings.drivers[k], driverStyle);
            drawSummary(doc, g, left, summaries[k]);
            ++column;
        }
        drawClosing(doc, g, settings);
        if (s + R < N) {
            doc.AddPage();
            s += R;
            c = columnsAt(laps, s);
            drawFrames(doc, g, c);
            R = rowsPerPage(c);
            if (s + R >= N)
                R = N - s;
            callHook(hooks.stepProgress);
            continue;
        }
        callHook(hooks.stepProgress);
        break;
    }
    callHook(hooks.pause);
    doc.FinishDocument();
}
