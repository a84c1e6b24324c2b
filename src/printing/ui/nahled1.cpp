#include "printing/ui/nahled1.h"

#include "printing/BestTwentySheet.h"

#include <QCoreApplication>
#include <QLabel>

TNahled1Dlg::TNahled1Dlg(PrinterSetup& printers, QWidget* parent) : PreviewWindow(printers, parent) {
    setObjectName(QStringLiteral("Nahled1Dlg"));
    setWindowTitle(QStringLiteral("Náhled tisku  -  Nejlepších dvacet časů"));
    m_document.setPaperType(TPrintPreview::pA4);
    m_document.setOrientation(TPrintPreview::poPortrait);
    m_document.setPrintJobTitle(QStringLiteral("tarvolin - top dvacet"));
    m_document.setUsePrinterOptions(true);
    m_document.setUseTempFile(true);
    m_zoomText->setText(QStringLiteral("zoom"));
    m_pageText->setText(QStringLiteral("0/0"));
}

void TNahled1Dlg::activate() {
    m_document.ClearDocument();
    repaint();
    BuildBestTwentySheet();
}

void TNahled1Dlg::BuildBestTwentySheet() {
    const std::array<QImage, 2> pictures = m_pictureSource ? m_pictureSource() : std::array<QImage, 2>{};
    SheetBuildHooks hooks;
    hooks.processEvents = [] { QCoreApplication::processEvents(); };
    BestTwentySheet::BuildBestTwentySheet(m_document, chosenUnit(), pictures[0], pictures[1], sheetSettings(),
                                          hooks);
}
