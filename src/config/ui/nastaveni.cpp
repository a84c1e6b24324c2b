#include "config/ui/nastaveni.h"

#include "base/ErrorBoundary.h"
#include "config/DataFolder.h"
#include "config/SerialSection.h"
#include "config/SettingsFile.h"
#include "config/TSettings.h"
#include "config/ui/EncodableText.h"
#include "config/ui/HintDuration.h"
#include "config/ui/OnTop.h"
#include "config/ui/SettingsPage.h"

#include "ui_nastaveni.h"

#include <QLineEdit>

#include <QCoreApplication>
#include <QHideEvent>
#include <QShowEvent>

TNastavDlg::TNastavDlg(TSettings& settings, QString dataFolder, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TNastavDlg>()), m_settings(settings),
      m_dataFolder(std::move(dataFolder)) {
    ui->setupUi(this);
    HintDuration::installOnApplication();
    ui->btn_Zrus->setAutoDefault(false);
    m_settingsHooks.onTopChanged = [this] {
        TVzdyNavrchuDlg notice(this);
        if (notice.exec() == QDialog::Accepted)
            callHook(m_hooks.closeMainWindow);
    };
    using ErrorBoundary::guardedSlot;
    connect(ui->OK_BitBtn, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::OK_BitBtnClick));
    connect(ui->btn_Zrus, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::btn_ZrusClick));
    connect(ui->PageControl1, &QTabWidget::currentChanged, this,
            guardedSlot([this] { currentPageChanged(); }));
}

TNastavDlg::~TNastavDlg() = default;

void TNastavDlg::addPage(SettingsPage* page) {
    m_pages.append(page);
    page->fillSettingsHooks(m_settingsHooks);
    // The controls show the settings as they are (the built-in values until the file is read).
    page->syncFromSettings();
    connect(page, &SettingsPage::confirmEnabledChanged, this, &TNastavDlg::setConfirmEnabled);
    // The first page is the one shown until another is chosen.
    const QSignalBlocker blocker(ui->PageControl1);
    ui->PageControl1->addTab(page, page->windowTitle());
    ui->PageControl1->setCurrentIndex(0);
}

void TNastavDlg::syncFromSettings() {
    for (SettingsPage* page : m_pages)
        page->syncFromSettings();
}

// --- OK and Cancel --------------------------------------------------------------------------------

void TNastavDlg::OK_BitBtnClick() {
    // A text the settings file cannot hold is replaced by the operator before anything is written.
    if (!EncodableText::check(this, findChildren<QLineEdit*>()))
        return;
    WriteSettingsFile(folder(), m_settings, m_onTopAtActivation, m_settingsHooks);
    // Saving may change fields (the password that is not to be kept), so the controls follow.
    syncFromSettings();
    accept();
}

void TNastavDlg::btn_ZrusClick() {
    reject();
}

void TNastavDlg::reject() {
    if (!ui->btn_Zrus->isEnabled())
        return;
    QDialog::reject();
}

void TNastavDlg::setConfirmEnabled(bool enabled) {
    ui->OK_BitBtn->setEnabled(enabled);
    ui->btn_Zrus->setEnabled(enabled);
}

int TNastavDlg::execFromMainWindow() {
    ui->PageControl1->setCurrentIndex(0);
    return exec();
}

int TNastavDlg::execOnPage(SettingsPage* page) {
    ui->PageControl1->setCurrentWidget(page);
    return exec();
}

bool TNastavDlg::onTopChangedSinceActivation() const {
    return m_settings.Ostatni.OnTop != m_onTopAtActivation;
}

// --- the settings file -----------------------------------------------------------------------------

QString TNastavDlg::dataFolder() const {
    return m_dataFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_dataFolder;
}

DataFolder TNastavDlg::folder() const {
    return DataFolder(dataFolder());
}

SerialParameters TNastavDlg::serialParameters() const {
    return m_settingsHooks.serialParameters ? m_settingsHooks.serialParameters() : SerialParameters();
}

void TNastavDlg::readSettingsFile() {
    readSettingsFileKeys();
    finishReadingSettingsFile();
}

void TNastavDlg::readSettingsFileKeys() {
    SerialParameters serial = serialParameters();
    ReadSettingsFileKeys(folder(), m_settings, serial, m_settingsHooks);
    syncFromSettings();
}

void TNastavDlg::finishReadingSettingsFile() {
    FinishReadingSettingsFile(folder(), m_settings, m_settingsHooks);
}

void TNastavDlg::writeSerialSection() {
    // Without a serial port there are no parameters of its own to keep.
    if (m_settingsHooks.serialParameters)
        WriteSerialSection(folder(), m_settingsHooks.serialParameters());
}

// --- window events ---------------------------------------------------------------------------------

void TNastavDlg::currentPageChanged() {
    if (!isVisible())
        return;
    if (auto* page = qobject_cast<SettingsPage*>(ui->PageControl1->currentWidget()))
        page->pageShown();
}

void TNastavDlg::FormShow() {
    for (SettingsPage* page : m_pages)
        page->windowShown();
    if (auto* page = qobject_cast<SettingsPage*>(ui->PageControl1->currentWidget()))
        page->pageShown();
}

void TNastavDlg::FormActivate() {
    m_onTopAtActivation = m_settings.Ostatni.OnTop;
    for (SettingsPage* page : m_pages)
        page->windowActivated();
}

void TNastavDlg::FormClose() {
    for (SettingsPage* page : m_pages)
        page->windowClosed();
}

void TNastavDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // FormShow runs the FTP page's hook, which belongs to another part and may fail.
    ErrorBoundary::guarded([this] { FormShow(); });
    // The window system's activation follows the show; it is handled here already, so that the
    // window behaves alike where no activation comes (offscreen).
    FormActivate();
    m_activatedSinceShow = true;
}

void TNastavDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible() || !isActiveWindow())
        return;
    if (m_activatedSinceShow) {
        m_activatedSinceShow = false;
        return;
    }
    FormActivate();
}

void TNastavDlg::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    m_activatedSinceShow = false;
    FormClose();
}
