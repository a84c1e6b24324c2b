#include "rankings/ui/FtpPage.h"

#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "config/SettingsHooks.h"
#include "config/TSettings.h"
#include "rankings/FtpSend.h"

#include "ui_FtpPage.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

FtpPage::FtpPage(TSettings& settings, FtpSend* send, QWidget* parent)
    : SettingsPage(settings, parent), ui(std::make_unique<Ui::FtpPage>()), m_send(send) {
    ui->setupUi(this);
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

    QCheckBox* boxes[] = {ui->cbFtp1, ui->cbFtp2, ui->cbFtp3, ui->cbFtp4, ui->cbFtp5};
    for (int i = 0; i < 5; ++i)
        bindCheck(boxes[i], settings.Ftp.Posilat[i]);
    QLineEdit* files[] = {ui->FtpSoubor1, ui->FtpSoubor2, ui->FtpSoubor3, ui->FtpSoubor4};
    QLineEdit* dirs[] = {ui->FtpAdr1, ui->FtpAdr2, ui->FtpAdr3, ui->FtpAdr4};
    for (int i = 0; i < 4; ++i) {
        bindEdit(files[i], settings.Ftp.Soubor[i]);
        bindEdit(dirs[i], settings.Ftp.FtpAdr[i]);
    }
    bindEdit(ui->FtpHostitel, settings.Ftp.Hostitel);
    bindEdit(ui->FtpJmeno, settings.Ftp.Jmeno);
    bindEdit(ui->FtpHeslo, settings.Ftp.Heslo);
    bindCheck(ui->cbNoHesla, settings.Ftp.Hesla);
    bindCheck(ui->cbPasivni, settings.Ftp.Pasivni);
    bindCheck(ui->cbTLS, settings.Ftp.TLS);
    connectActions();
    connectFtpSend();
}

FtpPage::~FtpPage() = default;

void FtpPage::connectActions() {
    using ErrorBoundary::guardedSlot;
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
}

void FtpPage::fillSettingsHooks(SettingsHooks& hooks) {
    if (FtpSend* send = m_send)
        hooks.abortFtpTransfer = [send] { send->abort(); };
}

void FtpPage::pageShown() {
    callHook(m_hooks.ftpPageShown);
}

void FtpPage::btnFtpSouborClick(int entry) {
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

void FtpPage::connectFtpSend() {
    FtpSend* send = m_send;
    if (!send)
        return;
    m_hooks.ftpBoxClicked = [send](int box) { send->boxClicked(box); };
    m_hooks.ftpPageShown = [send] { send->pageShown(); };
    m_hooks.ftpSend = [this, send] { send->send(ui->FtpHeslo->text()); };
    m_hooks.ftpCancel = [send] { send->cancel(); };
    send->hooks().showError = [this](const QString& message) { showFtpError(message); };

    ui->btnPosliFtp->setEnabled(send->sendEnabled());
    ui->StateLabel->setText(send->stateText());
    ui->InfoLabel->setText(send->infoText());
    connect(send, &FtpSend::sendEnabledChanged, ui->btnPosliFtp, &QPushButton::setEnabled);
    connect(send, &FtpSend::confirmEnabledChanged, this, &FtpPage::confirmEnabledChanged);
    connect(send, &FtpSend::stateTextChanged, ui->StateLabel, &QLabel::setText);
    connect(send, &FtpSend::infoTextChanged, ui->InfoLabel, &QLabel::setText);
    connect(send, &FtpSend::boxesChanged, this, [this] {
        QCheckBox* boxes[] = {ui->cbFtp1, ui->cbFtp2, ui->cbFtp3, ui->cbFtp4, ui->cbFtp5};
        for (int i = 0; i < 5; ++i)
            boxes[i]->setChecked(settings().Ftp.Posilat[i]);
    });
    connect(send, &FtpSend::waitCursorChanged, this, [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

void FtpPage::showFtpError(const QString& message) {
    // The send waits for the operator to read it, as each step's result is taken in turn.
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), message, QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("FtpErrorMessage"));
    box.exec();
}
