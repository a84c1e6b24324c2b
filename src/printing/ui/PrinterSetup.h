#pragma once

#include <QPrinter>

#include <functional>
#include <memory>

class QWidget;
class TPrintPreview;

// The program's one printer and its setup dialog, shared by both preview windows and the lap chart's
// print buttons. The dialog is the platform's standard one unless a test puts another in its place.
class PrinterSetup {
public:
    using Dialog = std::function<bool(QPrinter& printer, QWidget* parent)>;

    PrinterSetup();
    ~PrinterSetup();
    PrinterSetup(const PrinterSetup&) = delete;
    PrinterSetup& operator=(const PrinterSetup&) = delete;

    QPrinter& printer() { return *m_printer; }
    // Shows the setup dialog for the printer; true when it was confirmed.
    bool setUpPrinter(QWidget* parent);
    // A plain callable for the windows that only need the dialog.
    std::function<bool(QPrinter&)> dialogFor(QWidget* parent);
    void setDialog(Dialog dialog) { m_dialog = std::move(dialog); }

    // A printer to print on: an installed printer, or a file printer (PDF).
    bool printerInstalled() const;

    // The document's paper and orientation on the printer (a custom paper by its size).
    static void ApplyPaperToPrinter(const TPrintPreview& document, QPrinter& printer);
    // PrintAllPages onto the printer; nothing without a printer.
    void printAllPages(TPrintPreview& document);

private:
    std::unique_ptr<QPrinter> m_printer;
    Dialog m_dialog;
};

// The platform's printer setup dialog on a printer.
bool setUpPrinter(QPrinter& printer, QWidget* parent);
