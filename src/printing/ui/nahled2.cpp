#include "printing/ui/nahled2.h"

#include "printing/ResultsSheet.h"
#include "printing/ui/PreviewPageArea.h"
#include "printing/ui/PrinterSetup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

TNahled2Dlg::TNahled2Dlg(PrinterSetup& printers, QWidget* parent) : PreviewWindow(printers, parent) {
    setObjectName(QStringLiteral("Nahled2Dlg"));
    setWindowTitle(QStringLiteral("Náhled tisku"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    m_document.setPaperType(TPrintPreview::pA4);
    m_document.setOrientation(TPrintPreview::poLandscape);
    m_document.setPrintJobTitle(QStringLiteral("tarvolin - časy"));
    m_document.setUsePrinterOptions(false);
    m_document.setUseTempFile(true);
    m_zoomText->setText(QStringLiteral("stránka"));
    m_pageText->setText(QStringLiteral("0 / 0"));

    m_overlay = new QWidget(m_pageHolder);
    auto* overLayout = new QVBoxLayout(m_overlay);
    m_waiting = new QLabel(QStringLiteral("Čekejte prosím, probíhá vytváření stránek"), m_overlay);
    m_waiting->setObjectName(QStringLiteral("CekejteLabel"));
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(19);
    m_waiting->setFont(font);
    m_waiting->setAlignment(Qt::AlignCenter);
    m_progress = new QProgressBar(m_overlay);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->setMaximumWidth(400);
    overLayout->addStretch();
    overLayout->addWidget(m_waiting, 0, Qt::AlignHCenter);
    overLayout->addWidget(m_progress, 0, Qt::AlignHCenter);
    overLayout->addStretch();
    static_cast<QGridLayout*>(m_pageHolder->layout())->addWidget(m_overlay, 0, 0);
    m_overlay->hide();

    connect(&m_document, &TPrintPreview::OnBeginDoc, this, [this] { PrintPreviewBeginDoc(); });
    connect(&m_document, &TPrintPreview::OnEndDoc, this, [this] { endOfDocument(); });
}

void TNahled2Dlg::activate() {
    m_document.ClearDocument();
    BuildResultsSheet();
    AllPageBtnClick();
}

void TNahled2Dlg::BuildResultsSheet() {
    const std::array<QStringList, 4> laps = m_lapSource ? m_lapSource() : std::array<QStringList, 4>{};
    SheetBuildHooks hooks;
    hooks.setProgressMaximum = [this](int maximum) { m_progress->setMaximum(maximum); };
    hooks.stepProgress = [this] { m_progress->setValue(m_progress->value() + 1); };
    hooks.processEvents = [] { QCoreApplication::processEvents(); };
    hooks.pause = [this] { pause(); };
    ResultsSheet::BuildResultsSheet(m_document, chosenUnit(), laps, sheetSettings(), hooks);
}

QString TNahled2Dlg::printUnattended(const QDateTime& now) {
    TPrintPreview document;
    document.setPaperType(TPrintPreview::pA4);
    document.setOrientation(TPrintPreview::poLandscape);
    document.setPrintJobTitle(QStringLiteral("tarvolin - časy"));
    const std::array<QStringList, 4> laps = m_lapSource ? m_lapSource() : std::array<QStringList, 4>{};
    ResultsSheet::BuildResultsSheet(document, mmHiMetric, laps, sheetSettings());
    if (m_printers.printerInstalled()) {
        PrinterSetup::ApplyPaperToPrinter(document, m_printers.printer());
        m_printers.printAllPages(document);
        return {};
    }
    QDir().mkpath(pdfFolder());
    const QString path =
        QDir(pdfFolder())
            .filePath(QStringLiteral("vysledky_") + now.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
                      QStringLiteral(".pdf"));
    document.savePdf(path);
    return path;
}

void TNahled2Dlg::pause() {
    if (m_pauseMs <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(m_pauseMs, &loop, &QEventLoop::quit);
    loop.exec();
}

void TNahled2Dlg::PrintPreviewBeginDoc() {
    setWindowTitle(programTitle() + QStringLiteral(" - vytvářím stránky..."));
    setBuildControlsEnabled(false);
    m_progress->setValue(0);
    m_overlay->show();
    m_overlay->raise();
    repaint();
}

void TNahled2Dlg::endOfDocument() {
    setWindowTitle(QStringLiteral("Náhled tisku  -  Výsledky motokár"));
    setBuildControlsEnabled(true);
    // Hidden as a whole: left on screen, even empty, it would take every click, drag and wheel
    // meant for the page.
    m_overlay->hide();
}
