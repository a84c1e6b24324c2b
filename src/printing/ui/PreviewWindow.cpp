#include "printing/ui/PreviewWindow.h"

#include "base/ErrorBoundary.h"
#include "printing/PrintFileProposal.h"
#include "printing/ui/PreviewPageArea.h"
#include "printing/ui/PrinterSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

PreviewWindow::PreviewWindow(PrinterSetup& printers, QWidget* parent)
    : QDialog(parent), m_printers(printers) {
    using ErrorBoundary::guardedSlot;
    setModal(true);
    resize(900, 680);

    m_document.setZoomState(TPrintPreview::zsZoomToFit);
    m_area = new PreviewPageArea(m_document, this);

    const auto button = [this](const QString& text, const QString& name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    m_zoomText = new QLabel(this);
    m_zoomText->setObjectName(QStringLiteral("ZoomText"));
    m_zoomText->setMinimumWidth(50);
    m_zoomIn = button(QString(), QStringLiteral("ZoomInBtn"));
    m_zoomIn->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_zoomIn->setToolTip(QStringLiteral("Zvětšit"));
    m_zoomOut = button(QString(), QStringLiteral("ZoomOutBtn"));
    m_zoomOut->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    m_zoomOut->setToolTip(QStringLiteral("Zmenšit"));
    m_allPage = button(QStringLiteral("Celá stránka"), QStringLiteral("AllPageBtn"));
    m_units = new QComboBox(this);
    m_units->setObjectName(QStringLiteral("UnitComboBox"));
    for (int unit = 0; unit < PageUnits::UnitCount; ++unit)
        m_units->addItem(PageUnits::listText(TUnits(unit)));
    m_print = button(QStringLiteral("Tisk"), QStringLiteral("PrintBtn"));
    m_print->setIcon(QIcon::fromTheme(QStringLiteral("document-print"),
                                      style()->standardIcon(QStyle::SP_DialogSaveButton)));
    m_savePdf = button(QStringLiteral("Uložit PDF"), QStringLiteral("UlozPdfBtn"));
    m_pageText = new QLabel(this);
    m_pageText->setObjectName(QStringLiteral("PageText"));
    m_pageText->setMinimumWidth(50);
    m_prev = button(QStringLiteral("<"), QStringLiteral("PrevPageBtn"));
    m_next = button(QStringLiteral(">"), QStringLiteral("NextPageBtn"));
    m_quality = new QCheckBox(QStringLiteral("Malá kvalita tisku"), this);
    m_quality->setObjectName(QStringLiteral("KvalitaTisku"));
    m_close = button(QStringLiteral("Zavřít"), QStringLiteral("ZavritBtn"));
    m_close->setDefault(true);
    m_close->setAutoDefault(true);

    auto* bar = new QGridLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("zvětšení:"), this));
    top->addWidget(m_zoomText);
    top->addWidget(m_zoomIn);
    top->addWidget(m_zoomOut);
    top->addWidget(m_allPage);
    top->addSpacing(16);
    top->addWidget(new QLabel(QStringLiteral("Rozlišení"), this));
    top->addWidget(m_units);
    top->addSpacing(16);
    top->addWidget(m_print);
    top->addWidget(m_savePdf);
    top->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Stránka:"), this));
    bottom->addWidget(m_pageText);
    bottom->addWidget(m_prev);
    bottom->addWidget(m_next);
    bottom->addSpacing(16);
    bottom->addWidget(m_quality);
    bottom->addStretch();
    bottom->addWidget(m_close);
    bar->addLayout(top, 0, 0);
    bar->addLayout(bottom, 1, 0);

    // The page area fills the rest; the results window lays its waiting text over it.
    m_pageHolder = new QWidget(this);
    auto* holder = new QGridLayout(m_pageHolder);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->addWidget(m_area, 0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_pageHolder, 1);

    // FormCreate: the unit list shows the document's unit, the box its FastPrint.
    m_units->setCurrentIndex(int(m_document.Units()));
    m_quality->setChecked(m_document.FastPrint());

    connect(m_zoomIn, &QPushButton::clicked, this, guardedSlot([this] { ZoomInBtnClick(); }));
    connect(m_zoomOut, &QPushButton::clicked, this, guardedSlot([this] { ZoomOutBtnClick(); }));
    connect(m_allPage, &QPushButton::clicked, this, guardedSlot([this] { AllPageBtnClick(); }));
    connect(m_units, &QComboBox::activated, this, guardedSlot([this] { UnitComboBoxChange(); }));
    connect(m_quality, &QCheckBox::clicked, this, guardedSlot([this] { KvalitaTiskuClick(); }));
    connect(m_prev, &QPushButton::clicked, this, guardedSlot([this] { PrevPageBtnClick(); }));
    connect(m_next, &QPushButton::clicked, this, guardedSlot([this] { NextPageBtnClick(); }));
    connect(m_print, &QPushButton::clicked, this, guardedSlot([this] { PrintBtnClick(); }));
    connect(m_savePdf, &QPushButton::clicked, this, guardedSlot([this] { UlozPdfBtnClick(); }));
    connect(m_close, &QPushButton::clicked, this, [this] { ZavritBtnClick(); });
    connect(&m_document, &TPrintPreview::OnEndDoc, this, [this] { PrintPreviewEndDoc(); });
    connect(&m_document, &TPrintPreview::OnPrintProgress, this,
            [this](int pageNum, int progress, bool*) { PrintPreviewPrintProgress(pageNum, progress); });
    connect(m_area, &PreviewPageArea::resized, this, [this] { PrintPreviewCanResize(); });
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The build runs once the window is on screen, so that it can show its progress.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            ErrorBoundary::guarded([this] { FormActivate(); });
    });
}

void PreviewWindow::FormActivate() {
    if (m_activating)
        return;
    m_activating = true;
    const auto done = qScopeGuard([this] { m_activating = false; });
    activate();
}

SheetSettings PreviewWindow::sheetSettings() const {
    return m_settingsSource ? m_settingsSource() : SheetSettings();
}

TUnits PreviewWindow::chosenUnit() const {
    return TUnits(qBound(0, m_units->currentIndex(), PageUnits::UnitCount - 1));
}

QString PreviewWindow::zoomText() const {
    return QString::number(m_document.Zoom()) + QLatin1Char('%');
}

QString PreviewWindow::pageText() const {
    return QStringLiteral("%1 / %2").arg(m_document.ShownPage()).arg(m_document.PageCount());
}

void PreviewWindow::showZoomText() {
    m_zoomText->setText(zoomText());
}

void PreviewWindow::showPageText() {
    m_pageText->setText(pageText());
}

void PreviewWindow::setBuildControlsEnabled(bool enabled) {
    for (QWidget* control :
         {static_cast<QWidget*>(m_units), static_cast<QWidget*>(m_print), static_cast<QWidget*>(m_savePdf),
          static_cast<QWidget*>(m_zoomIn), static_cast<QWidget*>(m_zoomOut), static_cast<QWidget*>(m_prev),
          static_cast<QWidget*>(m_next), static_cast<QWidget*>(m_allPage)})
        control->setEnabled(enabled);
}

void PreviewWindow::ZoomInBtnClick() {
    m_document.setZoomState(TPrintPreview::zsZoomOther);
    m_document.setZoom(m_document.Zoom() * 2);
    showZoomText();
}

void PreviewWindow::ZoomOutBtnClick() {
    m_document.setZoomState(TPrintPreview::zsZoomOther);
    m_document.setZoom(m_document.Zoom() / 2);
    showZoomText();
}

void PreviewWindow::AllPageBtnClick() {
    m_document.setZoomState(TPrintPreview::zsZoomToFit);
    showZoomText();
}

void PreviewWindow::UnitComboBoxChange() {
    buildSheet();
}

void PreviewWindow::KvalitaTiskuClick() {
    m_document.setFastPrint(m_quality->isChecked());
}

void PreviewWindow::PrevPageBtnClick() {
    if (m_document.ShownPage() > 1)
        m_document.setShownPage(m_document.ShownPage() - 1);
    showPageText();
}

void PreviewWindow::NextPageBtnClick() {
    if (m_document.ShownPage() < m_document.PageCount())
        m_document.setShownPage(m_document.ShownPage() + 1);
    showPageText();
}

void PreviewWindow::PrintBtnClick() {
    PrinterSetup::ApplyPaperToPrinter(m_document, m_printers.printer());
    // A print that cannot start says so (by throwing) and leaves the window open to try again.
    if (m_document.mode() == TPrintPreview::Idle && m_printers.setUpPrinter(this, pdfProposal()))
        m_printers.printAllPages(m_document);
    close();
}

void PreviewWindow::UlozPdfBtnClick() {
    if (m_document.mode() != TPrintPreview::Idle || m_document.PageCount() == 0)
        return;
    const QString proposal = proposePdfFile(m_pdfFolder.isEmpty() ? QDir::homePath() : m_pdfFolder,
                                            pdfProposal(), QDate::currentDate());
    QString path;
    if (m_pdfDialog)
        path = m_pdfDialog(proposal);
    else
        path = QFileDialog::getSaveFileName(this, QStringLiteral("Uložit PDF"), proposal,
                                            QStringLiteral("dokument PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    m_document.savePdf(path);
}

void PreviewWindow::ZavritBtnClick() {
    close();
}

void PreviewWindow::PrintPreviewEndDoc() {
    showPageText();
}

void PreviewWindow::PrintPreviewPrintProgress(int pageNum, int progress) {
    setWindowTitle(QStringLiteral("%1 - Tisknu stránku %2 z %3 (%")
                       .arg(programTitle())
                       .arg(pageNum)
                       .arg(m_document.PageCount()) +
                   QString::number(progress) + QStringLiteral(" hotovo)..."));
    repaint();
}

void PreviewWindow::PrintPreviewCanResize() {
    showZoomText();
}
