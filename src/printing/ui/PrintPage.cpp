#include "printing/ui/PrintPage.h"

#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/SettingsHooks.h"
#include "config/TSettings.h"
#include "config/ui/LogoErr.h"

#include "ui_PrintPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>

PrintPage::PrintPage(TSettings& settings, QString dataFolder, QWidget* parent)
    : SettingsPage(settings, parent), ui(std::make_unique<Ui::PrintPage>()),
      m_dataFolder(dataFolder.isEmpty() ? QCoreApplication::applicationDirPath() : std::move(dataFolder)) {
    ui->setupUi(this);
    bindCheck(ui->CentrovatLOGO, settings.Tisk.Centrovat);
    bindSpin(ui->VelikostLOGA, settings.Tisk.Velikost);
    QLineEdit* texts[] = {ui->Text1, ui->Text2, ui->Text3, ui->Text4,
                          ui->Text5, ui->Text6, ui->Text7, ui->Text8};
    for (int i = 0; i < 8; ++i)
        bindEdit(texts[i], settings.Tisk.Text[i]);
    addLoader([this] {
        const QString& logo = this->settings().Tisk.Logo;
        ui->LogoImage1->loadPicture(logo.isEmpty() ? QString() : DataFolder(m_dataFolder).filePath(logo));
    });

    using ErrorBoundary::guardedSlot;
    connect(ui->Nacti1, &QPushButton::clicked, this, guardedSlot(this, &PrintPage::Nacti1Click));
    connect(ui->NahledBtn, &QPushButton::clicked, this,
            guardedSlot([this] { callHook(m_hooks.showResultsPreview); }));
}

PrintPage::~PrintPage() = default;

void PrintPage::fillSettingsHooks(SettingsHooks& hooks) {
    hooks.logoLoaded = [this](const QImage& logo) { ui->LogoImage1->setPicture(logo); };
    hooks.logoUnavailable = [this](const QString&) {
        ui->LogoImage1->clear();
        TLogoErrDlg notice(this);
        notice.exec();
    };
}

bool PrintPage::loadLogoPicture(const QString& path) {
    return ui->LogoImage1->loadPicture(path);
}

QImage PrintPage::logoPicture() const {
    return ui->LogoImage1->picture();
}

QString PrintPage::logoFolder() const {
    return DataFolder(m_dataFolder).folderPath(QStringLiteral("Logo"));
}

void PrintPage::Nacti1Click() {
    const QString& logo = settings().Tisk.Logo;
    const QFileInfo current(logo);
    const QString start =
        !logo.isEmpty() && current.absoluteDir().exists() ? current.absolutePath() : logoFolder();
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
    settings().Tisk.Logo = path;
    if (!loadLogoPicture(path))
        throw UserError(
            QStringLiteral("Soubor %1 není obrázek, který lze načíst.").arg(QDir::toNativeSeparators(path)));
}
