#include "config/ui/nastaveni.h"

#include "base/ErrorBoundary.h"
#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/SerialSection.h"
#include "config/SerialValueLists.h"
#include "config/SettingsFile.h"
#include "config/SettingsTable.h"
#include "config/SoundPathText.h"
#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "config/ui/HintDuration.h"
#include "config/ui/LogoErr.h"
#include "config/ui/OnTop.h"
#include "hardware/ControlPulse.h"
#include "hardware/PortBase.h"
#include "hardware/PortTester.h"
#include "hardware/SensorSourceChoice.h"
#include "hardware/SerialLearnPanel.h"
#include "hardware/SerialLineValues.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"
#include "hardware/ui/AutomaticPortRepair.h"
#include "platform/DesktopShortcut.h"
#include "platform/ShellOpen.h"
#include "platform/SoundPlayback.h"
#include "platform/SoundPlayer.h"
#include "platform/StartEntry.h"
#include "rankings/FtpSend.h"

#include "ui_nastaveni.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHideEvent>
#include <QImageReader>
#include <QMessageBox>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QShowEvent>

#include <optional>

namespace {

const QStringList& bitCaptions() {
    static const QStringList captions = [] {
        QStringList list;
        for (int bit = 0; bit < 8; ++bit)
            list << QStringLiteral("Bit%1: Pin%2").arg(bit).arg(bit + 2);
        return list;
    }();
    return captions;
}

constexpr int PathRole = Qt::UserRole;

} // namespace

TNastavDlg::TNastavDlg(TSettings& settings, Services services, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TNastavDlg>()), m_settings(settings),
      m_services(std::move(services)) {
    ui->setupUi(this);
    FormCreate();
}

TNastavDlg::~TNastavDlg() = default;

void TNastavDlg::FormCreate() {
    HintDuration::installOnApplication();
    ui->OpravLPT->setToolTip(QStringLiteral(" Použijte pouze v případě \n problému s LPT portem ! "));
    ui->FtpSoubor4->setToolTip(QStringLiteral(" Pokud vytváříte tabulky sem \n zadejte jméno souboru "));
    ui->cbFtp5->setToolTip(QStringLiteral(" Tabulky se vytvoří automaticky \n jméno _muži.jpg "));
    // The client enters only the first entry's directory; the other fields do not move the files.
    for (QLineEdit* field : {ui->FtpAdr2, ui->FtpAdr3, ui->FtpAdr4})
        field->setToolTip(QStringLiteral("Rozlišujte velikost písma.\nVšechny soubory se ukládají do "
                                         "adresáře z prvního pole „Adr. Ftp“."));
    ui->FtpHostitel->setToolTip(
        QStringLiteral("Jiný port než 21 zapište za dvojtečku, např. ftp.example.cz:2121"));
    ui->cbPasivni->setToolTip(QStringLiteral("Data otevírá program, ne server: pro připojení přes router"));
    ui->cbTLS->setToolTip(
        QStringLiteral("Heslo i soubory jdou šifrovaně (AUTH TLS); certifikát serveru se ověřuje"));

    // The password's characters show as "*", whatever the style's own mask character is.
    ui->FtpHeslo->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    ui->Cesta_Box->setHeaderHidden(true);
    ui->Cesta_Box->setRootIsDecorated(false);
    ui->btn_Zrus->setAutoDefault(false);

    // A port base is at most four hexadecimal digits; a mistyped one kept in the file would point the
    // station at no port at its next start.
    auto* hexBase =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{1,4}")), this);
    ui->LPTxx_BASE->setValidator(hexBase);
    ui->LPTxx_Base1->setValidator(hexBase);

    m_priorityGroup = new QButtonGroup(this);
    m_priorityGroup->addButton(ui->priorita_aplikace0, 0);
    m_priorityGroup->addButton(ui->priorita_aplikace1, 1);
    m_priorityGroup->addButton(ui->priorita_aplikace2, 2);
    m_priorityGroup->addButton(ui->priorita_aplikace3, 3);
    m_displayTypeGroup = new QButtonGroup(this);
    m_displayTypeGroup->addButton(ui->Typ_zobrazeni_Group0, 0);
    m_displayTypeGroup->addButton(ui->Typ_zobrazeni_Group1, 1);

    if (m_services.parallelPort && m_services.timers)
        m_portTester = new PortTester(*m_services.parallelPort, *m_services.timers, this);
    buildCheckLists();
    bindSettings();
    fillOwnSettingsHooks();
    connectActions();
    connectSerial();
    connectFtpSend();
    // The controls show the built-in values until the settings file is read.
    syncFromSettings();
    ui->PageControl1->setCurrentIndex(0);
}

void TNastavDlg::buildCheckLists() {
    for (QListWidget* list : {ui->LptBit, ui->ZelenaBit, ui->OranzovaBit, ui->CervenaBit}) {
        for (const QString& caption : bitCaptions()) {
            auto* item = new QListWidgetItem(caption, list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            item->setCheckState(Qt::Unchecked);
        }
        // All eight bits in view, nothing more.
        list->setFixedHeight(list->sizeHintForRow(0) * list->count() + 2 * list->frameWidth() + 2);
    }
}

// --- binding of controls and settings ------------------------------------------------------------

void TNastavDlg::bindCheck(QCheckBox* box, bool& field) {
    connect(box, &QCheckBox::toggled, this, [&field](bool on) { field = on; });
    m_loaders.push_back([box, &field] { box->setChecked(field); });
}

void TNastavDlg::bindSpin(QSpinBox* spin, int& field) {
    // The range comes with the field's key in the settings table, the one place that keeps it; the
    // form holds none. Set before the field is connected, so that the value the range moves the box
    // to cannot reach the setting.
    const std::optional<SettingRange> range = settingRange(m_settings, field);
    Q_ASSERT_X(range, "TNastavDlg::bindSpin", "a number field edits a setting without a range");
    if (range)
        spin->setRange(range->minimum, range->maximum);
    connect(spin, &QSpinBox::valueChanged, this, [&field](int value) { field = value; });
    // The field's range clamps a loaded value, and the clamped value is what the setting holds.
    m_loaders.push_back([spin, &field] {
        spin->setValue(field);
        field = spin->value();
    });
}

void TNastavDlg::bindEdit(QLineEdit* edit, QString& field) {
    connect(edit, &QLineEdit::textChanged, this, [&field](const QString& text) { field = text; });
    m_loaders.push_back([edit, &field] { edit->setText(field); });
}

void TNastavDlg::bindMask(QListWidget* list, int& field) {
    auto maskOf = [list] {
        int mask = 0;
        for (int bit = 0; bit < list->count(); ++bit) {
            if (list->item(bit)->checkState() == Qt::Checked)
                mask |= 1 << bit;
        }
        return mask;
    };
    connect(list, &QListWidget::itemChanged, this, [&field, maskOf] { field = maskOf(); });
    m_loaders.push_back([list, &field, maskOf] {
        const int mask = field; // each item's change rewrites the field, so work from a copy
        for (int bit = 0; bit < list->count(); ++bit)
            list->item(bit)->setCheckState(mask & (1 << bit) ? Qt::Checked : Qt::Unchecked);
        field = maskOf();
    });
}

void TNastavDlg::bindChoice(QButtonGroup* group, int& field) {
    connect(group, &QButtonGroup::idClicked, this, [&field](int id) { field = id; });
    m_loaders.push_back([group, &field] {
        if (QAbstractButton* button = group->button(field)) {
            button->setChecked(true);
            return;
        }
        // A stored value that no item stands for (a priority of 7 set by hand) is none of the items:
        // none is shown ticked, and the value is kept until the operator picks one.
        group->setExclusive(false);
        if (QAbstractButton* checked = group->checkedButton())
            checked->setChecked(false);
        group->setExclusive(true);
    });
}

void TNastavDlg::bindSettings() {
    TSettings& s = m_settings;
    // Page "Po spuštění"
    bindMask(ui->LptBit, s.PoSpusteni.Base);
    bindEdit(ui->LPTxx_BASE, s.PoSpusteni.Base1);
    m_loaders.push_back([this] {
        const int port = m_settings.PoSpusteni.Port;
        (port == 2 ? ui->LPT2_Start : port == 3 ? ui->LPTxx_Start : ui->LPT1_Start)->setChecked(true);
    });
    bindSpin(ui->DelkaTrate, s.Trat.delka);
    bindCheck(ui->OnTopBox, s.Ostatni.OnTop);
    bindCheck(ui->po_spusteni, s.PoSpusteni.START);
    bindCheck(ui->ExtStartBox, s.Ostatni.ExtStart);
    bindCheck(ui->PrvniKoloBox, s.Ostatni.PrvniKolo);
    bindCheck(ui->UlozitZavodyBox, s.Ostatni.UlozitZavody);
    m_loaders.push_back([this] {
        ui->cbLPT->setChecked(m_settings.PoSpusteni.LPT);
        ui->cbCOM->setChecked(m_settings.PoSpusteni.COM);
    });
    bindChoice(m_priorityGroup, s.Ostatni.Priorita);

    // Page "Semafor"
    bindCheck(ui->Semafor, s.Semafor.Pouzij);
    // The lights use the port the start page chooses, whatever the file says for them, so their page
    // shows that port. Semafor/Port keeps its stored value until the operator picks a port.
    m_loaders.push_back([this] { setSemaforChoice(m_settings.PoSpusteni.Port); });
    bindSpin(ui->Prodleva, s.Semafor.Prodleva);
    bindMask(ui->ZelenaBit, s.Semafor.Zelena);
    bindMask(ui->OranzovaBit, s.Semafor.Oranzova);
    bindMask(ui->CervenaBit, s.Semafor.Cervena);

    // Page "Zvuky"
    bindCheck(ui->ApplausBox, s.Zvuk.Applaus);
    bindCheck(ui->HratZvukCheck, s.Zvuk.Hrat);
    m_loaders.push_back([this] { selectSoundFile(m_settings.Zvuk.jmeno); });

    // Page "Tisk"
    bindCheck(ui->CentrovatLOGO, s.Tisk.Centrovat);
    bindSpin(ui->VelikostLOGA, s.Tisk.Velikost);
    QLineEdit* texts[] = {ui->Text1, ui->Text2, ui->Text3, ui->Text4,
                          ui->Text5, ui->Text6, ui->Text7, ui->Text8};
    for (int i = 0; i < 8; ++i)
        bindEdit(texts[i], s.Tisk.Text[i]);
    m_loaders.push_back([this] {
        ui->LogoImage1->loadPicture(m_settings.Tisk.Logo.isEmpty() ? QString()
                                                                   : folder().filePath(m_settings.Tisk.Logo));
    });

    // Page "TV výstup"
    bindCheck(ui->TV_OUT_Box, s.TVOUT.Pouzit);
    bindCheck(ui->PruhlednyForm_Box, s.TVOUT.Form);
    bindChoice(m_displayTypeGroup, s.TVOUT.TypZobrazeni);
    bindCheck(ui->Web_Box, s.Web.Pouzit);
    bindSpin(ui->SpinWebPort, s.Web.Port);
    m_loaders.push_back([this] { showWebAddress(); });

    // Page "Hw. řízení na LPT portu"
    bindCheck(ui->Hw_rizeniBox, s.HW.Rizeni);
    bindSpin(ui->SpinLOG0, s.HW.LOG0);
    bindSpin(ui->SpinLOG1, s.HW.LOG1);
    bindCheck(ui->Vsupy_negace_Check, s.HW.Negace);
    bindCheck(ui->Mazat, s.HW.Mazat);
    bindSpin(ui->Spin_Mazat_Cas, s.HW.MazatCas);
    bindSpin(ui->SpinProdleva, s.HW.Prodleva);
    QSpinBox* errors[] = {ui->SpinChybaMereni1, ui->SpinChybaMereni2, ui->SpinChybaMereni3,
                          ui->SpinChybaMereni4};
    for (int i = 0; i < 4; ++i)
        bindSpin(errors[i], s.HW.Chyba[i]);

    // Page "COM porty"
    bindCheck(ui->cbRTS, s.Com.RTS);
    bindCheck(ui->cbDTR, s.Com.DTR);
    for (int slot = 0; slot < 8; ++slot)
        m_loaders.push_back([this, slot] { showSequence(slot); });

    // Page "Ftp klient"
    QCheckBox* boxes[] = {ui->cbFtp1, ui->cbFtp2, ui->cbFtp3, ui->cbFtp4, ui->cbFtp5};
    for (int i = 0; i < 5; ++i)
        bindCheck(boxes[i], s.Ftp.Posilat[i]);
    QLineEdit* files[] = {ui->FtpSoubor1, ui->FtpSoubor2, ui->FtpSoubor3, ui->FtpSoubor4};
    QLineEdit* dirs[] = {ui->FtpAdr1, ui->FtpAdr2, ui->FtpAdr3, ui->FtpAdr4};
    for (int i = 0; i < 4; ++i) {
        bindEdit(files[i], s.Ftp.Soubor[i]);
        bindEdit(dirs[i], s.Ftp.FtpAdr[i]);
    }
    bindEdit(ui->FtpHostitel, s.Ftp.Hostitel);
    bindEdit(ui->FtpJmeno, s.Ftp.Jmeno);
    bindEdit(ui->FtpHeslo, s.Ftp.Heslo);
    bindCheck(ui->cbNoHesla, s.Ftp.Hesla);
    bindCheck(ui->cbPasivni, s.Ftp.Pasivni);
    bindCheck(ui->cbTLS, s.Ftp.TLS);
}

void TNastavDlg::syncFromSettings() {
    // A control whose change acts at once (the start entry) may fail; its handler reports that, and
    // the remaining controls are still brought in line.
    for (const auto& load : m_loaders)
        load();
}

// --- actions ---------------------------------------------------------------------------------------

void TNastavDlg::connectActions() {
    // Every action of the window is the boundary of what it starts: an error is reported there and the
    // window stays usable.
    using ErrorBoundary::guardedSlot;
    connect(ui->OK_BitBtn, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::OK_BitBtnClick));
    connect(ui->btn_Zrus, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::btn_ZrusClick));

    for (QRadioButton* radio : {ui->LPT1_Start, ui->LPT2_Start, ui->LPTxx_Start, ui->Semafor_LPT1,
                                ui->Semafor_LPT2, ui->Semafor_LPT3})
        connect(radio, &QRadioButton::clicked, this, guardedSlot(this, &TNastavDlg::StartPortClick));
    connect(ui->LPTxx_BASE, &QLineEdit::textChanged, this, guardedSlot(this, &TNastavDlg::LPTxx_BASEChange));
    connect(ui->OpravLPT, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::OpravLPTClick));
    connect(ui->BitBtn1, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::BitBtn1Click));
    connect(ui->VynulujTab, &QPushButton::clicked, this,
            guardedSlot([this] { callHook(m_hooks.resetBestTwenty); }));
    connect(ui->po_spusteni, &QCheckBox::toggled, this, guardedSlot(this, &TNastavDlg::po_spusteniClick));
    connect(ui->cbLPT, &QCheckBox::clicked, this, guardedSlot(this, &TNastavDlg::cbLPTClick));
    connect(ui->cbCOM, &QCheckBox::clicked, this, guardedSlot(this, &TNastavDlg::cbCOMClick));
    connect(ui->Zalohuj_data, &QPushButton::clicked, this,
            guardedSlot([this] { callHook(m_hooks.showBackup); }));
    connect(ui->BitBtn2, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::BitBtn2Click));

    connect(ui->PlayButton2, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::PlayButton2Click));
    connect(ui->Button2, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::Button2Click));
    connect(ui->Cesta_Box, &QTreeWidget::currentItemChanged, this,
            guardedSlot(this, &TNastavDlg::Cesta_BoxChange));

    connect(ui->Nacti1, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::Nacti1Click));
    connect(ui->NahledBtn, &QPushButton::clicked, this,
            guardedSlot([this] { callHook(m_hooks.showResultsPreview); }));

    connect(ui->TV_OUT_Box, &QCheckBox::clicked, this,
            guardedSlot([this] { callHook(m_hooks.tvOutClicked); }));
    connect(ui->PruhlednyForm_Box, &QCheckBox::clicked, this,
            guardedSlot([this] { callHook(m_hooks.transparentFormClicked); }));
    connect(m_displayTypeGroup, &QButtonGroup::idClicked, this,
            guardedSlot([this] { callHook(m_hooks.displayTypeClicked); }));
    connect(ui->Web_Box, &QCheckBox::clicked, this, guardedSlot([this] {
                showWebAddress();
                callHook(m_hooks.webBoxClicked);
            }));
    connect(ui->SpinWebPort, &QSpinBox::valueChanged, this, [this] { showWebAddress(); });

    connect(ui->SpinLOG0, &QSpinBox::valueChanged, this, guardedSlot(this, &TNastavDlg::SpinLOG0Change));
    connect(ui->SpinLOG1, &QSpinBox::valueChanged, this, guardedSlot(this, &TNastavDlg::SpinLOG1Change));

    QPushButton* fileButtons[] = {ui->btnFtpSoubor1, ui->btnFtpSoubor2, ui->btnFtpSoubor3, ui->btnFtpSoubor4};
    for (int i = 0; i < 4; ++i) {
        connect(fileButtons[i], &QPushButton::clicked, this,
                guardedSlot([this, i] { btnFtpSouborClick(i + 1); }));
    }
    QCheckBox* boxes[] = {ui->cbFtp1, ui->cbFtp2, ui->cbFtp3, ui->cbFtp4, ui->cbFtp5};
    for (int i = 0; i < 5; ++i) {
        connect(boxes[i], &QCheckBox::clicked, this, guardedSlot([this, i] {
                    if (m_hooks.ftpBoxClicked)
                        m_hooks.ftpBoxClicked(i + 1);
                }));
    }
    connect(ui->btnPosliFtp, &QPushButton::clicked, this, guardedSlot([this] { callHook(m_hooks.ftpSend); }));
    connect(ui->Ukonci_BitBtn, &QPushButton::clicked, this,
            guardedSlot([this] { callHook(m_hooks.ftpCancel); }));
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, guardedSlot([this] {
                if (isVisible() && ui->PageControl1->currentWidget() == ui->tbFTPklient)
                    callHook(m_hooks.ftpPageShown);
            }));

    connectPortTester();
}

void TNastavDlg::OK_BitBtnClick() {
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

int TNastavDlg::execFromMainWindow() {
    ui->PageControl1->setCurrentWidget(ui->tbPoSpusteni);
    const int result = exec();
    if (m_services.comPort)
        WriteSerialSection(folder(), m_services.comPort->parameters());
    return result;
}

int TNastavDlg::execOnFtpPage() {
    ui->PageControl1->setCurrentWidget(ui->tbFTPklient);
    return exec();
}

void TNastavDlg::setConfirmEnabled(bool enabled) {
    ui->OK_BitBtn->setEnabled(enabled);
    ui->btn_Zrus->setEnabled(enabled);
}

bool TNastavDlg::onTopChangedSinceActivation() const {
    return m_settings.Ostatni.OnTop != m_onTopAtActivation;
}

// --- window events ---------------------------------------------------------------------------------

void TNastavDlg::FormShow() {
    ui->btn_Port->setText(
        PortTester::portButtonCaption(m_services.parallelPort && m_services.parallelPort->Opened()));
    if (ui->PageControl1->currentWidget() == ui->tbFTPklient)
        callHook(m_hooks.ftpPageShown);
}

void TNastavDlg::FormActivate() {
    ui->OpakujBox->setChecked(false);
    m_onTopAtActivation = m_settings.Ostatni.OnTop;
    showSerialParameters();
}

void TNastavDlg::FormClose() {
    if (m_portTester)
        m_portTester->setRepeat(false);
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

// --- page "Po spuštění" and the mirrored port choices ---------------------------------------------

int TNastavDlg::startPortChoice() const {
    if (ui->LPT2_Start->isChecked())
        return 2;
    if (ui->LPTxx_Start->isChecked())
        return 3;
    return 1;
}

void TNastavDlg::setSemaforChoice(int choice) {
    (choice == 2 ? ui->Semafor_LPT2 : choice == 3 ? ui->Semafor_LPT3 : ui->Semafor_LPT1)->setChecked(true);
}

void TNastavDlg::StartPortClick() {
    // The lights always use the start port, so the lights page follows the start page.
    const int choice = startPortChoice();
    setSemaforChoice(choice);
    m_settings.PoSpusteni.Port = choice;
    m_settings.Semafor.Port = choice;
    const quint16 base = PortBase::fromChoice(choice, ui->LPTxx_BASE->text());
    if (m_services.parallelPort)
        m_services.parallelPort->setPortBase(base);
}

void TNastavDlg::LPTxx_BASEChange(const QString& text) {
    ui->LPTxx_Base1->setText(text);
    ui->Semafor_Base->setText(text);
}

QString TNastavDlg::programPath() const {
    return m_services.programPath.isEmpty() ? QCoreApplication::applicationFilePath()
                                            : m_services.programPath;
}

QString TNastavDlg::dataFolder() const {
    return m_services.dataFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_services.dataFolder;
}

void TNastavDlg::BitBtn1Click() {
    if (m_services.desktopShortcut)
        m_services.desktopShortcut->create(programPath());
}

void TNastavDlg::po_spusteniClick() {
    if (m_services.startEntry)
        m_services.startEntry->setEnabled(ui->po_spusteni->isChecked(), programPath());
}

void TNastavDlg::BitBtn2Click() {
    // A missing updater is not reported.
    if (!m_services.shell)
        return;
    const QString folder = QFileInfo(programPath()).absolutePath();
    m_services.shell->startDetached(folder + QStringLiteral("/tarvolin_update"), folder);
}

void TNastavDlg::cbLPTClick() {
    chooseSensorSource(true, ui->cbLPT->isChecked());
}

void TNastavDlg::cbCOMClick() {
    chooseSensorSource(false, ui->cbCOM->isChecked());
}

void TNastavDlg::chooseSensorSource(bool lptBox, bool checked) {
    if (SensorSourceChoice* choice = m_services.sensorSource) {
        lptBox ? choice->cbLPTClick(checked) : choice->cbCOMClick(checked);
    } else {
        m_settings.PoSpusteni.LPT = lptBox == checked;
        m_settings.PoSpusteni.COM = !m_settings.PoSpusteni.LPT;
    }
    ui->cbLPT->setChecked(m_settings.PoSpusteni.LPT);
    ui->cbCOM->setChecked(m_settings.PoSpusteni.COM);
}

// --- page "Zvuky" ----------------------------------------------------------------------------------

DataFolder TNastavDlg::folder() const {
    return DataFolder(dataFolder());
}

QString TNastavDlg::soundFolder() const {
    return folder().folderPath(QStringLiteral("zvuky"));
}

QString TNastavDlg::logoFolder() const {
    return folder().folderPath(QStringLiteral("Logo"));
}

void TNastavDlg::fillSoundTree() {
    const QSignalBlocker blocker(ui->Cesta_Box);
    ui->Cesta_Box->clear();
    QDir folder(soundFolder());
    folder.setNameFilters({QStringLiteral("*.wav"), QStringLiteral("*.mp3")});
    folder.setFilter(QDir::Files | QDir::Readable);
    folder.setSorting(QDir::Name | QDir::IgnoreCase);
    QFileIconProvider icons;
    for (const QFileInfo& file : folder.entryInfoList()) {
        auto* item = new QTreeWidgetItem(ui->Cesta_Box, {file.fileName()});
        item->setIcon(0, icons.icon(file));
        item->setData(0, PathRole, file.absoluteFilePath());
    }
    ui->Adresar->clear();
}

bool TNastavDlg::selectSoundFile(const QString& fileName) {
    fillSoundTree();
    auto find = [this](const QString& name) -> QTreeWidgetItem* {
        for (int i = 0; i < ui->Cesta_Box->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = ui->Cesta_Box->topLevelItem(i);
            if (item->text(0).compare(name, Qt::CaseInsensitive) == 0)
                return item;
        }
        return nullptr;
    };
    QTreeWidgetItem* item = find(fileName);
    if (!item)
        item = find(QStringLiteral("success.wav"));
    if (!item)
        return false; // no sound folder: the setting keeps its name
    ui->Cesta_Box->setCurrentItem(item);
    return true;
}

void TNastavDlg::Cesta_BoxChange() {
    QTreeWidgetItem* item = ui->Cesta_Box->currentItem();
    if (!item)
        return;
    const QString path = item->data(0, PathRole).toString();
    ui->Adresar->setText(SoundPathText(path));
    m_settings.Zvuk.jmeno = QFileInfo(path).fileName();
}

void TNastavDlg::PlayButton2Click() {
    SoundPlayer* player = m_services.soundPlayer;
    if (!player)
        return;
    QTreeWidgetItem* item = ui->Cesta_Box->currentItem();
    SoundPlayback::play(*player, item ? item->data(0, PathRole).toString() : QString());
}

void TNastavDlg::Button2Click() {
    if (m_services.soundPlayer)
        m_services.soundPlayer->close();
}

// --- page "Tisk" -----------------------------------------------------------------------------------

bool TNastavDlg::loadLogoPicture(const QString& path) {
    return ui->LogoImage1->loadPicture(path);
}

QImage TNastavDlg::logoPicture() const {
    return ui->LogoImage1->picture();
}

void TNastavDlg::Nacti1Click() {
    const QFileInfo current(m_settings.Tisk.Logo);
    const QString start = !m_settings.Tisk.Logo.isEmpty() && current.absoluteDir().exists()
                              ? current.absolutePath()
                              : logoFolder();
    QString path;
    if (m_hooks.chooseLogoFile) {
        path = m_hooks.chooseLogoFile(start);
    } else {
        QStringList patterns;
        for (const QByteArray& format : QImageReader::supportedImageFormats())
            patterns << QStringLiteral("*.") + QString::fromLatin1(format);
        path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Načti logo"), start,
            QStringLiteral("Obrázky (%1);;Všechny soubory (*)").arg(patterns.join(QLatin1Char(' '))));
    }
    if (path.isEmpty())
        return;
    m_settings.Tisk.Logo = path;
    if (!loadLogoPicture(path))
        throw UserError(
            QStringLiteral("Soubor %1 není obrázek, který lze načíst.").arg(QDir::toNativeSeparators(path)));
}

// --- page "Hw. řízení na LPT portu" ----------------------------------------------------------------

void TNastavDlg::SpinLOG0Change(int value) {
    if (m_services.controlPulse)
        m_services.controlPulse->SpinLOG0Change(value);
}

void TNastavDlg::SpinLOG1Change(int value) {
    if (m_services.controlPulse)
        m_services.controlPulse->SpinLOG1Change(value);
}

void TNastavDlg::OpravLPTClick() {
    if (m_services.portRepair && m_services.systemRestart)
        runAutomaticPortRepair(*m_services.portRepair, *m_services.systemRestart, this);
}

// --- page "Ftp klient" ----------------------------------------------------------------------------

void TNastavDlg::btnFtpSouborClick(int entry) {
    QLineEdit* files[] = {ui->FtpSoubor1, ui->FtpSoubor2, ui->FtpSoubor3, ui->FtpSoubor4};
    QLineEdit* edit = files[entry - 1];
    const QString start = edit->text();
    const QString path = m_hooks.chooseFtpFile
                             ? m_hooks.chooseFtpFile(start)
                             : QFileDialog::getOpenFileName(this, QStringLiteral("Otevřít"), start,
                                                            QStringLiteral("Všechny soubory (*.*)"));
    if (!path.isEmpty())
        edit->setText(QDir::toNativeSeparators(path));
}

void TNastavDlg::connectFtpSend() {
    FtpSend* send = m_services.ftpSend;
    if (!send)
        return;
    m_hooks.ftpBoxClicked = [send](int box) { send->boxClicked(box); };
    m_hooks.ftpPageShown = [send] { send->pageShown(); };
    m_hooks.ftpSend = [this, send] { send->send(ui->FtpHeslo->text()); };
    m_hooks.ftpCancel = [send] { send->cancel(); };
    m_settingsHooks.abortFtpTransfer = [send] { send->abort(); };
    send->hooks().showError = [this](const QString& message) { showFtpError(message); };

    ui->btnPosliFtp->setEnabled(send->sendEnabled());
    ui->StateLabel->setText(send->stateText());
    ui->InfoLabel->setText(send->infoText());
    connect(send, &FtpSend::sendEnabledChanged, ui->btnPosliFtp, &QPushButton::setEnabled);
    connect(send, &FtpSend::confirmEnabledChanged, this, &TNastavDlg::setConfirmEnabled);
    connect(send, &FtpSend::stateTextChanged, ui->StateLabel, &QLabel::setText);
    connect(send, &FtpSend::infoTextChanged, ui->InfoLabel, &QLabel::setText);
    connect(send, &FtpSend::boxesChanged, this, [this] {
        QCheckBox* boxes[] = {ui->cbFtp1, ui->cbFtp2, ui->cbFtp3, ui->cbFtp4, ui->cbFtp5};
        for (int i = 0; i < 5; ++i)
            boxes[i]->setChecked(m_settings.Ftp.Posilat[i]);
    });
    connect(send, &FtpSend::waitCursorChanged, this, [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

void TNastavDlg::showFtpError(const QString& message) {
    // The send waits for the operator to read it, as each step's result is taken in turn.
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), message, QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("FtpErrorMessage"));
    box.exec();
}

// --- page "COM porty" and the serial test ----------------------------------------------------------

void TNastavDlg::connectSerial() {
    ui->ComComboBox2->addItems(SerialValueLists::baudRates());
    ui->ComComboBox3->addItems(SerialValueLists::dataBits());
    ui->ComComboBox5->addItems(SerialValueLists::parities());
    ui->ComComboBox4->addItems(SerialValueLists::stopBits());
    ui->ComComboBox6->addItems(SerialValueLists::flowControls());
    showSerialParameters();

    // A new line setting and the learning open or re-open the port, which may fail.
    using ErrorBoundary::guardedSlot;
    QComboBox* lists[] = {ui->ComComboBox1, ui->ComComboBox2, ui->ComComboBox3,
                          ui->ComComboBox5, ui->ComComboBox4, ui->ComComboBox6};
    for (int i = 0; i < 6; ++i) {
        connect(lists[i], &QComboBox::textActivated, this,
                guardedSlot([this, i](const QString& value) { applySerialList(i, value); }));
    }

    SerialLearnPanel* panel = m_services.learnPanel;
    for (int slot = 0; slot < SerialLearnPanel::SlotCount; ++slot) {
        auto* button = findChild<QPushButton*>(SerialLearnPanel::learnButtonName(slot));
        connect(button, &QPushButton::clicked, this, guardedSlot([panel, slot] {
                    if (panel)
                        panel->learnClick(slot);
                }));
    }
    connect(ui->btnCtiData, &QPushButton::clicked, this, guardedSlot([panel] {
                if (panel)
                    panel->btnCtiDataClick();
            }));
    if (!panel)
        return;
    connect(panel, &SerialLearnPanel::learnButtonChanged, this, &TNastavDlg::showLearnButton);
    connect(panel, &SerialLearnPanel::sequenceChanged, this, [this](int slot) { showSequence(slot); });
    connect(panel, &SerialLearnPanel::testButtonChanged, this,
            [this, panel] { ui->btnCtiData->setText(panel->testCaption()); });
    connect(panel, &SerialLearnPanel::okCancelEnabledChanged, this, &TNastavDlg::setConfirmEnabled);
    connect(panel, &SerialLearnPanel::testSekvenceChanged, this,
            [this](const QByteArray& text) { ui->TestSekvence->setText(TextCodec::decode(text)); });
}

void TNastavDlg::showSerialParameters() {
    const SerialParameters parameters =
        m_services.comPort ? m_services.comPort->parameters() : SerialParameters();
    const QSignalBlocker blocker(ui->ComComboBox1);
    ui->ComComboBox1->clear();
    QStringList names = TComPort::availablePortNames();
    if (!names.contains(parameters.Port))
        names.prepend(parameters.Port);
    ui->ComComboBox1->addItems(names);
    ui->ComComboBox1->setCurrentText(parameters.Port);
    ui->ComComboBox2->setCurrentText(parameters.BaudRate);
    ui->ComComboBox3->setCurrentText(parameters.DataBits);
    ui->ComComboBox5->setCurrentText(parameters.Parity);
    ui->ComComboBox4->setCurrentText(parameters.StopBits);
    ui->ComComboBox6->setCurrentText(parameters.FlowControl);
}

void TNastavDlg::applySerialList(int which, const QString& value) {
    if (!m_services.comPort)
        return;
    SerialParameters parameters = m_services.comPort->parameters();
    QString* fields[] = {&parameters.Port,   &parameters.BaudRate, &parameters.DataBits,
                         &parameters.Parity, &parameters.StopBits, &parameters.FlowControl};
    *fields[which] = value;
    m_services.comPort->setParameters(parameters);
}

void TNastavDlg::showLearnButton(int slot) {
    SerialLearnPanel* panel = m_services.learnPanel;
    auto* button = findChild<QPushButton*>(SerialLearnPanel::learnButtonName(slot));
    button->setText(panel->learnCaption(slot));
    button->setEnabled(panel->learnEnabled(slot));
}

void TNastavDlg::showSequence(int slot) {
    auto* edit = findChild<QLineEdit*>(SerialLearnPanel::sequenceFieldName(slot));
    edit->setText(TextCodec::decode(m_settings.Com.Sekvence.at(slot)));
}

// --- the settings file -----------------------------------------------------------------------------

void TNastavDlg::fillOwnSettingsHooks() {
    SettingsHooks& hooks = m_settingsHooks;
    hooks.applySerialParameters = [this](const SerialParameters& parameters) {
        if (m_services.comPort)
            m_services.comPort->setParameters(parameters);
    };
    hooks.logoLoaded = [this](const QImage& logo) { ui->LogoImage1->setPicture(logo); };
    hooks.logoUnavailable = [this](const QString&) {
        ui->LogoImage1->clear();
        TLogoErrDlg notice(this);
        notice.exec();
    };
    hooks.selectSoundFile = [this](const QString&, const QString& fileName) { selectSoundFile(fileName); };
    hooks.closeSerialPort = [this] {
        if (m_services.comPort && m_services.comPort->isOpen())
            m_services.comPort->close();
    };
    hooks.onTopChanged = [this] {
        TVzdyNavrchuDlg notice(this);
        if (notice.exec() == QDialog::Accepted)
            callHook(m_hooks.closeMainWindow);
    };
    hooks.writeRestingValue = [this](quint8 value) {
        TSmallPort* port = m_services.parallelPort;
        if (!port || !port->Opened())
            return;
        port->setPortBase(PortBase::fromChoice(m_settings.PoSpusteni.Port, m_settings.PoSpusteni.Base1));
        port->WritePort(port->portBase(), value);
    };
}

void TNastavDlg::readSettingsFile() {
    readSettingsFileKeys();
    finishReadingSettingsFile();
}

void TNastavDlg::readSettingsFileKeys() {
    SerialParameters serial = m_services.comPort ? m_services.comPort->parameters() : SerialParameters();
    ReadSettingsFileKeys(folder(), m_settings, serial, m_settingsHooks);
    syncFromSettings();
}

void TNastavDlg::finishReadingSettingsFile() {
    FinishReadingSettingsFile(folder(), m_settings, m_settingsHooks);
}

// --- page "Testování", parallel port ---------------------------------------------------------------

void TNastavDlg::connectPortTester() {
    // The port base comes from a typed text, which may not be hexadecimal. The repeat timer's tick
    // reports its own failure (PortTester::OpakujCteniTimerTimer).
    using ErrorBoundary::guardedSlot;
    connect(ui->btn_Port, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::btn_PortClick));
    connect(ui->CtiPort, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::CtiPortClick));
    connect(ui->UlozPort, &QPushButton::clicked, this, guardedSlot(this, &TNastavDlg::UlozPortClick));
    const std::pair<QRadioButton*, int> choices[] = {{ui->LPT1, 1}, {ui->LPT2, 2}, {ui->LPTxx, 3}};
    for (const auto& [radio, choice] : choices)
        connect(radio, &QRadioButton::clicked, this,
                guardedSlot([this, choice = choice] { TestPortClick(choice); }));
    if (!m_portTester)
        return;
    // Reading, writing and opening use the test page's choice; its third takes the start page's base.
    m_portTester->setBaseSource(
        [this] { return PortBase::fromChoice(testPortChoice(), ui->LPTxx_BASE->text()); });
    connect(ui->OpakujBox, &QCheckBox::toggled, m_portTester, &PortTester::setRepeat);
    // Any edit of the field counts as a change, also typing the 50 that is shown already, which the
    // spin box itself does not report.
    auto applyInterval = [this] { m_portTester->setRepeatInterval(ui->SpinEdit1->value()); };
    connect(ui->SpinEdit1, &QSpinBox::valueChanged, m_portTester, applyInterval);
    connect(ui->SpinEdit1->findChild<QLineEdit*>(), &QLineEdit::textEdited, m_portTester, applyInterval);
    connect(m_portTester, &PortTester::repeatStopped, this, [this] { ui->OpakujBox->setChecked(false); });
    connect(m_portTester, &PortTester::stateRead, this,
            [this](const PortTester::Reading& reading) { showPortState(reading.data, reading.status); });
}

int TNastavDlg::testPortChoice() const {
    if (ui->LPT2->isChecked())
        return 2;
    if (ui->LPTxx->isChecked())
        return 3;
    return 1;
}

void TNastavDlg::btn_PortClick() {
    if (m_portTester)
        ui->btn_Port->setText(m_portTester->togglePort());
}

void TNastavDlg::CtiPortClick() {
    if (m_portTester)
        m_portTester->readState();
}

void TNastavDlg::UlozPortClick() {
    if (m_portTester)
        m_portTester->writeValue(ui->LPTValue->value());
}

void TNastavDlg::TestPortClick(int choice) {
    if (m_services.parallelPort)
        m_services.parallelPort->setPortBase(PortBase::fromChoice(choice, ui->LPTxx_Base1->text()));
}

void TNastavDlg::showPortState(quint8 data, quint8 status) {
    QCheckBox* dataBits[] = {ui->Bit0, ui->Bit1, ui->Bit2, ui->Bit3, ui->Bit4, ui->Bit5, ui->Bit6, ui->Bit7};
    for (int bit = 0; bit < 8; ++bit)
        dataBits[bit]->setChecked((data >> bit) & 1);
    QCheckBox* statusBits[] = {ui->Error, ui->Select, ui->PE, ui->Ask, ui->Busy};
    for (int bit = 3; bit <= 7; ++bit)
        statusBits[bit - 3]->setChecked((status >> bit) & 1);
}

void TNastavDlg::showWebAddress() {
    const QString address = m_hooks.webAddress ? m_hooks.webAddress(m_settings.Web.Port) : QString();
    ui->WebAdresa->setText(m_settings.Web.Pouzit ? address : QString());
}
