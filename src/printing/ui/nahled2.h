#pragma once

#include "printing/ui/PreviewWindow.h"

#include <QStringList>

#include <array>
#include <functional>

class QLabel;
class QProgressBar;

// The results preview "Náhled tisku": the race results sheet on A4 landscape, built from the main
// window's lap lists each time the window opens, with a waiting text and a progress bar over the page
// area while it builds.
class QDateTime;

class TNahled2Dlg : public PreviewWindow {
    Q_OBJECT

public:
    TNahled2Dlg(PrinterSetup& printers, QWidget* parent = nullptr);

    // The four lap lists as they stand now.
    void setLapSource(std::function<std::array<QStringList, 4>()> source) { m_lapSource = std::move(source); }

    // How long the build waits before it finishes the document.
    void setFinishPause(int ms) { m_pauseMs = ms; }

    void BuildResultsSheet();
    // The sheet without the preview, after a race that stopped by itself: on the printer, or without
    // one as "vysledky_<date>_<time>.pdf" in the PDF folder. Returns the PDF written, empty when printed.
    QString printUnattended(const QDateTime& now);
    void PrintPreviewBeginDoc();
    QLabel* waitingText() const { return m_waiting; }
    QProgressBar* progressBar() const { return m_progress; }

protected:
    void buildSheet() override { BuildResultsSheet(); }
    QString pdfProposal() const override { return QStringLiteral("vysledky"); }
    void activate() override;

private:
    void pause();
    void endOfDocument();

    std::function<std::array<QStringList, 4>()> m_lapSource;
    // The waiting text and progress bar over the page area, there only while a build runs.
    QWidget* m_overlay = nullptr;
    QLabel* m_waiting = nullptr;
    QProgressBar* m_progress = nullptr;
    int m_pauseMs = 250;
};
