// How long a table picture takes (the FTP send makes two of them before it uploads): the best-twenty
// window, offscreen, over two full tables; SaveTablePicture of the men's table at quality 15, timed
// over many runs. With a folder argument it leaves the pictures and a picture of the whole window
// there, to be looked at.
//
//   table_picture [folder]

#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "rankings/BestTwentyTables.h"
#include "rankings/ui/TopTen10.h"
#include "rankings/ui/UpravDlg.h"
#include "rankings/ui/UpravDlg1.h"
#include "timing/LapTime.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void writeTable(const QString& path, const QStringList& names, qint64 fastestMs) {
    QStringList lines;
    for (int i = 0; i < 20; ++i)
        lines << QStringLiteral("%1\t%2\t%3\t2026-12-09")
                     .arg(i + 1)
                     .arg(names.at(i % names.size()), FormatLapTime(fastestMs + i * 137));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(TextCodec::encodeLines(lines));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path();
    QDir().mkpath(folder);
    writeTable(QDir(folder).filePath(QStringLiteral("TopDeset.ini")),
               {QStringLiteral("Jiří Novák"), QStringLiteral("Tomáš Šťastný"), QStringLiteral("kara3")},
               41250);
    writeTable(QDir(folder).filePath(QStringLiteral("TopDeset1.ini")),
               {QStringLiteral("Alena Řeháková"), QStringLiteral("Šárka Černá")}, 44100);

    TSettings settings;
    BestTwentyTables tables(folder, settings);
    TUpravDlg menEdit;
    TUpravDlg1 womenEdit;
    TTopTen10Frm window(tables, menEdit, womenEdit);
    window.show();
    window.list(BestTwentyTables::Men)->selectRow(2);
    QApplication::processEvents();
    window.setQuality(BestTwentyTables::Men, 15);
    window.setQuality(BestTwentyTables::Women, 15);

    const QString men = QDir(folder).filePath(QStringLiteral("tabulka_muzi.jpg"));
    const QString women = QDir(folder).filePath(QStringLiteral("tabulka_zeny.jpg"));
    constexpr int Runs = 200;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < Runs; ++i)
        window.SaveTablePicture(BestTwentyTables::Men, men);
    const double ms = double(elapsed.nsecsElapsed()) / 1e6 / Runs;
    window.SaveTablePicture(BestTwentyTables::Women, women);
    window.grab().save(QDir(folder).filePath(QStringLiteral("okno.png")));

    std::printf("%-40s %8s\n", "step", "ms");
    std::printf("%-40s %8.2f\n", "SaveTablePicture, men's table, q 15", ms);
    std::printf("(%lld bytes; files in %s)\n", QFile(men).size(), qPrintable(folder));
    return 0;
}
