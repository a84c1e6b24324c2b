#pragma once

#include <QPrinter>
#include <QString>

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
    // Where a print to a file goes ("vysledky"); empty: the printer keeps the file it has.
    void setFileFolder(const QString& folder) { m_fileFolder = folder; }
    // Shows the setup dialog for the printer; true when it was confirmed. A print to a file first
    // proposes its own file, named after fileStem ("vysledky", "top20", "graf"), in the file folder.
    bool setUpPrinter(QWidget* parent, const QString& fileStem);
    // A plain callable for the windows that only need the dialog.
    std::function<bool(QPrinter&)> dialogFor(QWidget* parent, const QString& fileStem);
    void setDialog(Dialog dialog) { m_dialog = std::move(dialog); }

    // A printer to print on: an installed printer, or a file printer (PDF).
    bool printerInstalled() const;

    // The document's paper and orientation on the printer (a custom paper by its size).
    static void ApplyPaperToPrinter(const TPrintPreview& document, QPrinter& printer);
    // PrintAllPages onto the printer. Throws UserError when the print cannot start: no printer, or
    // the printer (or the file it prints to) refuses the job.
    void printAllPages(TPrintPreview& document);

private:
    bool ask(QPrinter& printer, QWidget* parent, const QString& fileStem);

    std::unique_ptr<QPrinter> m_printer;
    Dialog m_dialog;
    QString m_fileFolder;
};

// The platform's printer setup dialog on a printer.
bool setUpPrinter(QPrinter& printer, QWidget* parent);
