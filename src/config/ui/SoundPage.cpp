#include "config/ui/SoundPage.h"

#include "base/ErrorBoundary.h"
#include "config/DataFolder.h"
#include "config/SettingsHooks.h"
#include "config/SoundPathText.h"
#include "config/TSettings.h"
#include "platform/SoundPlayback.h"
#include "platform/SoundPlayer.h"

#include "ui_SoundPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>

namespace {

constexpr int SoundPathRole = Qt::UserRole;

} // namespace

SoundPage::SoundPage(TSettings& settings, SoundPlayer* player, QString dataFolder, QWidget* parent)
    : SettingsPage(settings, parent), ui(std::make_unique<Ui::SoundPage>()), m_player(player),
      m_dataFolder(dataFolder.isEmpty() ? QCoreApplication::applicationDirPath() : std::move(dataFolder)) {
    ui->setupUi(this);
    ui->Cesta_Box->setHeaderHidden(true);
    ui->Cesta_Box->setRootIsDecorated(false);
    bindCheck(ui->ApplausBox, settings.Zvuk.Applaus);
    bindCheck(ui->HratZvukCheck, settings.Zvuk.Hrat);
    addLoader([this] { selectSoundFile(this->settings().Zvuk.jmeno); });

    using ErrorBoundary::guardedSlot;
    connect(ui->PlayButton2, &QPushButton::clicked, this, guardedSlot(this, &SoundPage::PlayButton2Click));
    connect(ui->Button2, &QPushButton::clicked, this, guardedSlot(this, &SoundPage::Button2Click));
    connect(ui->Cesta_Box, &QTreeWidget::currentItemChanged, this,
            guardedSlot(this, &SoundPage::Cesta_BoxChange));
}

SoundPage::~SoundPage() = default;

void SoundPage::fillSettingsHooks(SettingsHooks& hooks) {
    hooks.selectSoundFile = [this](const QString&, const QString& fileName) { selectSoundFile(fileName); };
}

QString SoundPage::soundFolder() const {
    return DataFolder(m_dataFolder).folderPath(QStringLiteral("zvuky"));
}

void SoundPage::fillSoundTree() {
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
        item->setData(0, SoundPathRole, file.absoluteFilePath());
    }
    ui->Adresar->clear();
}

bool SoundPage::selectSoundFile(const QString& fileName) {
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

void SoundPage::Cesta_BoxChange() {
    QTreeWidgetItem* item = ui->Cesta_Box->currentItem();
    if (!item)
        return;
    const QString path = item->data(0, SoundPathRole).toString();
    ui->Adresar->setText(SoundPathText(path));
    settings().Zvuk.jmeno = QFileInfo(path).fileName();
}

void SoundPage::PlayButton2Click() {
    if (!m_player)
        return;
    QTreeWidgetItem* item = ui->Cesta_Box->currentItem();
    SoundPlayback::play(*m_player, item ? item->data(0, SoundPathRole).toString() : QString());
}

void SoundPage::Button2Click() {
    if (m_player)
        m_player->close();
}
