#include "printing/ui/PrinterSetup.h"

#include "base/UserError.h"
#include "printing/PrintFileProposal.h"
#include "printing/TPrintPreview.h"

#include <QDate>
#include <QDir>

#include <QPrintDialog>
#include <QPrinterInfo>

bool setUpPrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

PrinterSetup::PrinterSetup() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    m_dialog = [](QPrinter& printer, QWidget* parent) { return ::setUpPrinter(printer, parent); };
}

PrinterSetup::~PrinterSetup() = default;

bool PrinterSetup::ask(QPrinter& printer, QWidget* parent, const QString& fileStem) {
    if (!m_dialog)
        return false;
    // The printer is shared: a file name left from another window's print would be overwritten.
    // Only a print to a file gets one; naming a file would turn a real printer into a file printer.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat ||
                        !printer.outputFileName().isEmpty() ||
                        QPrinterInfo::availablePrinterNames().isEmpty();
    if (toFile && !m_fileFolder.isEmpty())
        printer.setOutputFileName(proposePdfFile(m_fileFolder, fileStem, QDate::currentDate()));
    return m_dialog(printer, parent);
}

bool PrinterSetup::setUpPrinter(QWidget* parent, const QString& fileStem) {
    return ask(*m_printer, parent, fileStem);
}

std::function<bool(QPrinter&)> PrinterSetup::dialogFor(QWidget* parent, const QString& fileStem) {
    return [this, parent, fileStem](QPrinter& printer) { return ask(printer, parent, fileStem); };
}

bool PrinterSetup::printerInstalled() const {
    return m_printer->outputFormat() == QPrinter::PdfFormat ||
           !QPrinterInfo::availablePrinterNames().isEmpty();
}

void PrinterSetup::ApplyPaperToPrinter(const TPrintPreview& document, QPrinter& printer) {
    const QPageLayout layout = document.pageLayout();
    printer.setPageSize(layout.pageSize());
    printer.setPageOrientation(layout.orientation());
}

void PrinterSetup::printAllPages(TPrintPreview& document) {
    if (!printerInstalled())
        throw UserError(QStringLiteral("Tisk nelze zahájit: není nainstalována žádná tiskárna."));
    QPrinter& printer = *m_printer;
    TPrintPreview::PrintTarget target;
    target.device = &printer;
    target.setJobTitle = [&printer](const QString& title) { printer.setDocName(title); };
    target.cancelJob = [&printer] { printer.abort(); };
    if (document.PrintAllPages(target))
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        throw UserError(QStringLiteral("Tisk nelze zahájit: soubor „%1“ nelze vytvořit.")
                            .arg(QDir::toNativeSeparators(printer.outputFileName())));
    throw UserError(QStringLiteral("Tisk nelze zahájit: tiskárna úlohu nepřijala."));
}
