#pragma once

#include "printing/SheetSettings.h"
#include "printing/TPrintPreview.h"

#include <QDialog>

#include <functional>

class PreviewPageArea;
class PrinterSetup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// What both preview windows share: the page document, its page area and the bar above it with the
// zoom, unit, page and print controls. A window of this make builds its sheet on every activation
// and on every change of the unit list.
class PreviewWindow : public QDialog {
    Q_OBJECT

public:
    // The program's title in captions.
    static QString programTitle() { return QStringLiteral("Tarvolin"); }

    TPrintPreview& PrintPreview() { return m_document; }
    PreviewPageArea* pageArea() const { return m_area; }
    // The sheet's settings as they stand now (saved or not).
    void setSettingsSource(std::function<SheetSettings()> source) { m_settingsSource = std::move(source); }
    // Where the PDF save dialog starts, and the dialog itself (a test's stand-in); empty: no PDF.
    void setPdfFolder(const QString& folder) { m_pdfFolder = folder; }
    void setPdfDialog(std::function<QString(const QString& proposal)> dialog) {
        m_pdfDialog = std::move(dialog);
    }

    // The handlers, named after their controls.
    void FormActivate();
    void ZoomInBtnClick();
    void ZoomOutBtnClick();
    void AllPageBtnClick();
    void UnitComboBoxChange();
    void KvalitaTiskuClick();
    void PrevPageBtnClick();
    void NextPageBtnClick();
    void PrintBtnClick();
    void UlozPdfBtnClick();
    void ZavritBtnClick();
    void PrintPreviewEndDoc();
    void PrintPreviewPrintProgress(int pageNum, int progress);
    void PrintPreviewCanResize();

    const QString& pdfFolder() const { return m_pdfFolder; }

    QString zoomText() const;
    QString pageText() const;

protected:
    PreviewWindow(PrinterSetup& printers, QWidget* parent);
    // Builds the sheet in the unit of the unit list.
    virtual void buildSheet() = 0;
    // "vysledky" or "top20".
    virtual QString pdfProposal() const = 0;
    virtual void activate() = 0;
    SheetSettings sheetSettings() const;
    TUnits chosenUnit() const;
    void showPageText();
    void showZoomText();
    // Controls that start a build, change the page or zoom, print or save.
    void setBuildControlsEnabled(bool enabled);

    void showEvent(QShowEvent* event) override;

    TPrintPreview m_document;
    PrinterSetup& m_printers;
    PreviewPageArea* m_area = nullptr;
    QLabel* m_zoomText = nullptr;
    QLabel* m_pageText = nullptr;
    QPushButton* m_zoomIn = nullptr;
    QPushButton* m_zoomOut = nullptr;
    QPushButton* m_allPage = nullptr;
    QComboBox* m_units = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_savePdf = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_next = nullptr;
    QCheckBox* m_quality = nullptr;
    QPushButton* m_close = nullptr;
    QWidget* m_pageHolder = nullptr;

private:
    std::function<SheetSettings()> m_settingsSource;
    QString m_pdfFolder;
    std::function<QString(const QString& proposal)> m_pdfDialog;
    bool m_activating = false;
};
