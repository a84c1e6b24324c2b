// Prints what the results sheet costs for 4 karts × 500 laps: building the document (pages kept in a
// temporary file, as the preview keeps them), painting page 1 at the zoom that fits a preview window,
// and writing the PDF. For each: the median and the worst time of a few runs and how far the peak
// resident memory rose.
#include "printing/ResultsSheet.h"
#include "printing/TPrintPreview.h"
#include "timing/LapTime.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Figure {
    const char* name;
    double medianMs;
    double worstMs;
    long peakRiseKb;
};

Figure measure(const char* name, int runs, const std::function<void()>& work) {
    const long before = peakKb();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {name, times[times.size() / 2], times.back(), peakKb() - before};
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    std::array<QStringList, 4> laps;
    QRandomGenerator random(16);
    for (QStringList& kart : laps)
        for (int i = 0; i < 500; ++i)
            kart << FormatLapTime(30'000 + random.bounded(10'000));
    SheetSettings settings;
    for (int i = 0; i < 8; ++i)
        settings.texts[i] = QStringLiteral("Řádek textu %1 pro výsledkovou listinu").arg(i + 1);
    settings.logo = QImage(600, 200, QImage::Format_RGB32);
    settings.logo.fill(Qt::darkBlue);
    settings.trackLength = 400;
    settings.dateText = QStringLiteral("9. 12. 2026");
    settings.timeText = QStringLiteral("16:05:00");

    const long start = peakKb();
    TPrintPreview doc;
    doc.setOrientation(TPrintPreview::poLandscape);
    doc.setUseTempFile(true);
    std::vector<Figure> figures;
    figures.push_back(
        measure("build", 5, [&] { ResultsSheet::BuildResultsSheet(doc, mmHiMetric, laps, settings); }));

    // A preview window's page area of 980 × 600 pixels, the page fitted into it.
    doc.setViewSize(QSize(960, 580));
    QImage view(980, 600, QImage::Format_ARGB32_Premultiplied);
    figures.push_back(measure("paint page 1 at fit", 20, [&] {
        view.fill(Qt::gray);
        QPainter painter(&view);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const QSize page = doc.zoomedPageSize();
        doc.paintPage(painter, 1, QRectF(QPointF(10, 10), QSizeF(page)));
    }));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("vysledky.pdf"));
    figures.push_back(measure("write PDF", 3, [&] { doc.savePdf(pdf); }));

    std::printf("results sheet, 4 karts x 500 laps: %d pages, fit zoom %d %%\n", doc.PageCount(), doc.Zoom());
    std::printf("%-22s %12s %12s %16s\n", "step", "median ms", "worst ms", "peak rise MB");
    for (const Figure& f : figures)
        std::printf("%-22s %12.1f %12.1f %16.1f\n", f.name, f.medianMs, f.worstMs, f.peakRiseKb / 1024.0);
    std::printf("%-22s %12s %12s %16.1f\n", "all steps", "", "", (peakKb() - start) / 1024.0);
    std::printf("PDF size: %lld kB\n", QFileInfo(pdf).size() / 1024);
    return 0;
}
