#include "printing/ui/PrinterSetup.h"

#include "printing/TPrintPreview.h"

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

bool PrinterSetup::setUpPrinter(QWidget* parent) {
    return m_dialog && m_dialog(*m_printer, parent);
}

std::function<bool(QPrinter&)> PrinterSetup::dialogFor(QWidget* parent) {
    return [this, parent](QPrinter& printer) { return m_dialog && m_dialog(printer, parent); };
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
        return;
    QPrinter& printer = *m_printer;
    TPrintPreview::PrintTarget target;
    target.device = &printer;
    target.setJobTitle = [&printer](const QString& title) { printer.setDocName(title); };
    target.cancelJob = [&printer] { printer.abort(); };
    document.PrintAllPages(target);
}
