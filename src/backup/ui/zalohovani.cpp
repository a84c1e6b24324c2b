#include "backup/ui/zalohovani.h"

#include "backup/ArchiveLayout.h"
#include "backup/BackupChoices.h"
#include "backup/BackupRecord.h"
#include "backup/ui/ukonceni.h"
#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "ui_zalohovani.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

// Both action buttons are off while an archive is being written or read: the window keeps serving
// events then, and a second operation must not start inside the first.
class ButtonsOff {
public:
    ButtonsOff(QPushButton* first, QPushButton* second) : m_first(first), m_second(second) {
        m_first->setEnabled(false);
        m_second->setEnabled(false);
    }
    ~ButtonsOff() {
        m_first->setEnabled(true);
        m_second->setEnabled(true);
    }
    ButtonsOff(const ButtonsOff&) = delete;
    ButtonsOff& operator=(const ButtonsOff&) = delete;

private:
    QPushButton* m_first;
    QPushButton* m_second;
};

} // namespace

TZalohujFrm::TZalohujFrm(const QString& dataFolder, TUkonceniDlg& ukonceni, QWidget* parent)
    : QDialog(parent), m_dataFolder(QDir::cleanPath(dataFolder)), m_ukonceni(ukonceni),
      ui(std::make_unique<Ui::ZalohujFrm>()) {

    m_backup.setBackupMode(bmIncremental);
    m_backup.setCompressionLevel(clFastest);
    m_backup.setRestoreMode(rmAll);
    m_backup.setMaxSize(0);
    m_backup.setSetArchiveFlag(true);
    m_backup.setRestoreFullPath(false);
    m_backup.setSaveFileID(false);
    m_backup.setDataFolder(m_dataFolder);
    m_backup.setRecordFile(BackupRecord::pathIn(m_dataFolder));
    m_backup.OnProgress = [this](const QString& name, int percent, bool& go) {
        Backupfile1Progress(name, percent, go);
    };
    m_backup.OnError = [this](int, const QString& text) { showMessage(text); };
    m_backup.OnNeedDisk = [this](quint16 disk, bool& go) {
        go = ask(QStringLiteral("Vložte disk %1 a klepněte na OK.").arg(disk), true);
    };

    ui->setupUi(this);
    ui->ProgressBar1->setVisible(false);
    m_sets = {ui->CheckBox1, ui->CheckBox2, ui->CheckBox3, ui->CheckBox4};
    m_level = optionGroup(QStringLiteral("rgCompressionLevel"));
    m_backupMode = optionGroup(QStringLiteral("rgBackupMode"));
    m_restoreMode = optionGroup(QStringLiteral("rgRestoreMode"));
    for (QAbstractButton* option : m_restoreMode->buttons())
        option->setToolTip(BackupChoices::modeHint(m_restoreMode->id(option)));
    for (QPushButton* browse : {ui->DriveComboBox1, ui->DriveComboBox2})
        browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 24);
    connectControls();
}

TZalohujFrm::~TZalohujFrm() = default;

QButtonGroup* TZalohujFrm::optionGroup(const QString& name) {
    auto* group = new QButtonGroup(this);
    for (int id = 0;; ++id) {
        auto* option = findChild<QRadioButton*>(name + QString::number(id));
        if (!option)
            return group;
        group->addButton(option, id);
    }
}

void TZalohujFrm::connectControls() {
    for (QCheckBox* set : m_sets)
        connect(set, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    connect(ui->DriveComboBox2, &QPushButton::clicked, this, [this] { chooseFolder(ui->DirectoryListBox2); });
    connect(ui->DirectoryListBox2, &QLineEdit::editingFinished, this, [this] { readFileLists(); });
    connect(ui->FileListBox2, &QListWidget::itemClicked, this,
            ErrorBoundary::guardedSlot([this] { FileListBox1Click(); }));
    connect(ui->Novysoubor, &QLineEdit::textEdited, this, [this] { NovysouborChange(); });
    connect(ui->ZalohovatBtn, &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot([this] { ZalohovatBtnClick(); }));
    for (QPushButton* close : {ui->BtnCancel, ui->Button6})
        connect(close, &QPushButton::clicked, this, [this] { BtnCancelClick(); });

    connect(ui->DriveComboBox1, &QPushButton::clicked, this, [this] { chooseFolder(ui->DirectoryListBox1); });
    connect(ui->DirectoryListBox1, &QLineEdit::editingFinished, this, [this] { readFileLists(); });
    connect(ui->FileListBox1, &QListWidget::itemClicked, this,
            ErrorBoundary::guardedSlot([this] { FileListBox1Click(); }));
    connect(ui->FileListBox1, &QListWidget::itemSelectionChanged, this, [this] {
        if (selectedIn(ui->FileListBox1).isEmpty())
            clearListing();
    });
    connect(ui->rbOrigpath, &QRadioButton::toggled, this, [this] { rbOrigpathClick(); });
    connect(ui->ObnovitBtn, &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot([this] { ObnovitBtnClick(); }));
}

void TZalohujFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    ErrorBoundary::guarded([this] { FormActivate(); });
}

void TZalohujFrm::FormActivate() {
    ui->PageControl1->setCurrentIndex(0);
    // The archives' folder is made when it is missing, so that a backup can go there at once.
    const QString folder = m_dataFolder + QStringLiteral("/zaloha");
    QDir().mkpath(folder);
    ui->DirectoryListBox2->setText(folder);
    ui->DirectoryListBox1->setText(folder);
    ui->EdPath->setText(m_dataFolder);
    for (QCheckBox* set : m_sets) {
        const QSignalBlocker quiet(set);
        set->setChecked(true);
    }
    CheckBox1Click();
    readFileLists();
}

void TZalohujFrm::CheckBox1Click() {
    ui->FileListBox->clear();
    ui->FileListBox->addItems(
        BackupChoices::sources(m_dataFolder, {m_sets[0]->isChecked(), m_sets[1]->isChecked(),
                                              m_sets[2]->isChecked(), m_sets[3]->isChecked()}));
}

void TZalohujFrm::NovysouborChange() {
    ui->FileListBox2->clearSelection();
    ui->FileListBox2->setCurrentItem(nullptr);
}

QString TZalohujFrm::selectedIn(QListWidget* list) const {
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

void TZalohujFrm::readFileLists() {
    const auto fill = [](QListWidget* list, const QString& folder, const QStringList& filters) {
        const QString kept =
            list->selectedItems().isEmpty() ? QString() : list->selectedItems().first()->text();
        list->clear();
        list->addItems(
            QDir(folder).entryList(filters, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase));
        const QList<QListWidgetItem*> again = list->findItems(kept, Qt::MatchExactly);
        if (!kept.isEmpty() && !again.isEmpty())
            list->setCurrentItem(again.first());
    };
    fill(ui->FileListBox2, ui->DirectoryListBox2->text(), {});
    fill(ui->FileListBox1, ui->DirectoryListBox1->text(), {QStringLiteral("*.bck")});
    // The listing of an archive that is gone (or no longer selected) goes with it.
    if (selectedIn(ui->FileListBox1).isEmpty())
        clearListing();
}

void TZalohujFrm::chooseFolder(QLineEdit* path) {
    const QString chosen =
        m_hooks.chooseFolder
            ? m_hooks.chooseFolder(path->text())
            : QFileDialog::getExistingDirectory(this, QStringLiteral("Vyberte složku"), path->text());
    if (chosen.isEmpty())
        return;
    path->setText(QDir::cleanPath(chosen));
    readFileLists();
}

void TZalohujFrm::ZalohovatBtnClick() {
    const QStringList sources = [this] {
        QStringList list;
        for (int i = 0; i < ui->FileListBox->count(); ++i)
            list << ui->FileListBox->item(i)->text();
        return list;
    }();
    if (sources.isEmpty()) {
        showMessage(QStringLiteral("Vyberte soubory k zalohování!"));
        return;
    }
    const QString folder = QDir::cleanPath(ui->DirectoryListBox2->text());
    const QString archive =
        BackupChoices::archivePath(folder, selectedIn(ui->FileListBox2), ui->Novysoubor->text());
    // No drive here splits archives over floppies: one volume of any size.
    m_backup.setMaxSize(0);
    m_backup.setBackupTitle(ui->EdBackupTitle->text());
    m_backup.setBackupMode(m_backupMode->checkedId() == 1 ? bmIncremental : bmAll);
    m_backup.setCompressionLevel(BackupChoices::levelOfOption(m_level->checkedId()));
    m_backup.setSaveFileID(ui->CbSaveFileID->isChecked());
    ui->Label1->setText(QStringLiteral("Připravuji data čekejte"));
    ui->Label1->repaint();
    QDir().mkpath(folder);
    bool done = false;
    {
        const ButtonsOff working(ui->ZalohovatBtn, ui->ObnovitBtn);
        done = m_backup.BackupFiles(sources, archive);
    }
    // An unfinished backup is never put in place: the previous archive of that name stays as it was.
    const QString unfinished =
        QStringLiteral("Záloha nebyla dokončena, předchozí záloha zůstala beze změny.");
    if (!done)
        ui->Label1->setText(unfinished);
    QString text = done
                       ? QStringLiteral("Záloha kompletní. Poměr komprese ") +
                             QString::number(m_backup.CompressionRatio()) + QStringLiteral(" %")
                       : QString(QStringLiteral("Nastala chyba vytvoření záložního souboru!\n") + unfinished);
    if (!m_backup.SkippedFiles().isEmpty())
        text += QStringLiteral("\nVynechané soubory (nejsou to běžné soubory):\n") +
                m_backup.SkippedFiles().join(QLatin1Char('\n'));
    showMessage(text);
    readFileLists();
}

void TZalohujFrm::Backupfile1Progress(const QString& fileName, int percent, bool&) {
    if (percent < 100) {
        ui->ProgressBar1->setValue(percent);
        ui->ProgressBar1->setVisible(true);
        ui->Label1->setText(fileName);
    } else {
        ui->ProgressBar1->setVisible(false);
        ui->Label1->setText(QStringLiteral("Dokončeno"));
    }
    ui->ProgressBar1->repaint();
}

void TZalohujFrm::BtnCancelClick() {
    if (m_backup.Busy()) {
        if (ask(QStringLiteral("Chcete přerušit zálohování !")))
            m_backup.Cancel();
        return;
    }
    QDialog::reject();
}

void TZalohujFrm::reject() {
    BtnCancelClick();
}

void TZalohujFrm::FileListBox1Click() {
    ui->MeFiles->clear();
    const QString selected = selectedIn(ui->FileListBox1);
    QStringList lines;
    const QString title =
        selected.isEmpty()
            ? QString()
            : m_backup.ReadArchiveInfo(ui->DirectoryListBox1->text() + QLatin1Char('/') + selected, &lines);
    ui->Edit2->setText(title);
    // An archive that ends early (a backup broken off by an older version, a copy cut short) is
    // never shown as a normal one.
    const bool damaged =
        !selected.isEmpty() &&
        !ArchiveLayout::read(ui->DirectoryListBox1->text() + QLatin1Char('/') + selected).whole();
    if (title.isEmpty() && !damaged) {
        ui->Edit1->clear();
        return;
    }
    ui->Edit1->setText(damaged ? QStringLiteral("Poškozená záloha: soubor končí předčasně!")
                               : BackupChoices::summary(m_backup.FileCount(), m_backup.TotalSize()));
    QStringList shown;
    for (const QString& line : lines)
        shown << BackupChoices::listingLine(line);
    ui->MeFiles->setPlainText(shown.isEmpty() ? QStringLiteral("Neznámý archiv!")
                                              : shown.join(QLatin1Char('\n')));
}

void TZalohujFrm::clearListing() {
    ui->Edit2->clear();
    ui->Edit1->clear();
    ui->MeFiles->clear();
}

void TZalohujFrm::rbOrigpathClick() {
    const bool elsewhere = ui->rbOtherPath->isChecked();
    ui->EdPath->setEnabled(elsewhere);
    ui->CbFullPath->setEnabled(elsewhere);
}

void TZalohujFrm::ObnovitBtnClick() {
    if (m_hooks.raceRunning && m_hooks.raceRunning()) {
        showMessage(QStringLiteral("Během závodu nelze obnovit zálohu. Nejdříve závod zastavte."));
        return;
    }
    m_backup.setRestoreMode(BackupChoices::modeOfOption(m_restoreMode->checkedId()));
    QString target;
    if (ui->rbOtherPath->isChecked()) {
        target = ui->EdPath->text();
        if (target.trimmed().isEmpty()) {
            showMessage(QStringLiteral("Zadejte cílovou cestu!"));
            return;
        }
    }
    m_backup.setRestoreFullPath(ui->CbFullPath->isEnabled() && ui->CbFullPath->isChecked());
    const QString selected = selectedIn(ui->FileListBox1);
    bool done = false;
    QString raised;
    if (!selected.isEmpty()) {
        const ButtonsOff working(ui->ZalohovatBtn, ui->ObnovitBtn);
        try {
            done =
                m_backup.RestoreArchive(ui->DirectoryListBox1->text() + QLatin1Char('/') + selected, target);
        } catch (const BackupError& error) {
            raised = error.message();
        }
    }
    // A raised error says all there is to say.
    if (!raised.isEmpty()) {
        showMessage(raised);
        return;
    }
    if (!done) {
        showMessage(QStringLiteral("Nastala chyba obnovy dat !"));
        return;
    }
    m_ukonceni.exec();
    QDialog::accept();
    callHook(m_hooks.restored);
}

void TZalohujFrm::showMessage(const QString& text) {
    if (m_hooks.message) {
        m_hooks.message(text);
        return;
    }
    QMessageBox::information(this, windowTitle(), text);
}

bool TZalohujFrm::ask(const QString& text, bool okCancel) {
    if (m_hooks.question)
        return m_hooks.question(text);
    if (okCancel)
        return QMessageBox::information(this, windowTitle(), text, QMessageBox::Ok | QMessageBox::Cancel) ==
               QMessageBox::Ok;
    QMessageBox box(QMessageBox::Question, windowTitle(), text, QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Ne"));
    return box.exec() == QMessageBox::Yes;
}
