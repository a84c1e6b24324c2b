#include "printing/ResultsSheet.h"

#include "base/Hooks.h"
#include "printing/TPrintPreview.h"
#include "timing/LapTime.h"

#include <algorithm>

namespace {

const QColor Black(0, 0, 0);
const QColor Red(255, 0, 0);
const QColor Green(0, 128, 0);
const QColor Blue(0, 0, 255);
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

void drawHeader(TPrintPreview& doc, const Grid& g, const SheetSettings& settings) {
    const int a = g.a;
    const int h = g.h;
    if (!settings.logo.isNull())
        doc.PlacePicture(settings.logo,
                         TPrintPreview::box(a, a, g.width - a, a + (settings.logoSize / 10) * a),
                         settings.centreLogo);
    const PageTextStyle regular = PageTextStyle::character(h, Black);
    doc.textOut(6 * a, a, settings.texts[0], regular);
    doc.textOut(6 * a, a + h, settings.texts[1], regular);
    doc.textOut(6 * a, a + 4 * h, settings.texts[4], regular);
    doc.textOut(6 * a, a + 2 * h, settings.texts[2], regular.withBold());
    doc.textOut(6 * a, a + 3 * h, settings.texts[3], regular.withBold());
    doc.textOut(18 * a, a, QStringLiteral("VÝSLEDKOVÁ LISTINA"),
                PageTextStyle::cell(h + g.q, Blue).withUnderline());
}

void drawClosing(TPrintPreview& doc, const Grid& g, const SheetSettings& settings) {
    const int a = g.a;
    const int h = g.h;
    const int q = g.q;
    const PageTextStyle blue = PageTextStyle::cell(h, Blue);
    doc.textOut(18 * a + h, 2 * a + q, settings.dateText, blue);
    doc.textOut(23 * a, 2 * a + q, settings.timeText, blue);
    doc.textOut(17 * a, 3 * a, settings.texts[5], blue.withItalic());
    doc.textOut(17 * a, 3 * a + h, settings.texts[6], blue.withItalic());
    doc.textOut(17 * a, 4 * a, settings.texts[7], blue.withItalic());
    const PageTextStyle small = PageTextStyle::cell(q, Blue).withItalic();
    doc.textOut(26 * a, 19 * a + q, SheetSignature::authorLine(), small);
    doc.textOut(26 * a, 19 * a + h, SheetSignature::makerLine(), small);
    doc.textOut(26 * a, 20 * a - q, SheetSignature::contactLine(), small);
}

void drawSummary(TPrintPreview& doc, const Grid& g, int left, const KartLapSummary& summary) {
    const int a = g.a;
    const int h = g.h;
    const PageTextStyle red = PageTextStyle::cell(h, Red);
    const struct {
        int y;
        const char* label;
        QString value;
    } lines[] = {
        {16 * a + h, "Celkový součet:", FormatLapTime(summary.total)},
        {17 * a, "Min. čas kola:", FormatLapTime(summary.shortest)},
        {17 * a + h, "Max. čas kola:", FormatLapTime(summary.longest)},
        {18 * a, "Průměrný čas kola:", FormatLapTime(summary.mean)},
        {18 * a + h, "Průměrná rychlost:", ResultsSheet::FormatSpeed(summary.speed)},
    };
    for (const auto& line : lines) {
        doc.textOut(left, line.y, QString::fromUtf8(line.label), red);
        doc.textOut(left + 7 * h, line.y, line.value, red);
    }
    // Laps whose text is no lap time stand in the column as they are, and the figures say so.
    if (summary.skipped > 0)
        doc.textOut(left, 19 * a, QStringLiteral("Vynechané neplatné časy: %1").arg(summary.skipped), red);
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
    const PageTextStyle rowStyle = PageTextStyle::cell(g.h, Green);
    const PageTextStyle numberStyle = PageTextStyle::cell(a, Red);
    PageTextStyle driverStyle = PageTextStyle::cell(g.h, Red);
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
