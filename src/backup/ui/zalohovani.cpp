#include "backup/ui/zalohovani.h"

#include "backup/ArchiveLayout.h"
#include "backup/BackupChoices.h"
#include "backup/BackupRecord.h"
#include "backup/ui/ukonceni.h"
#include "base/ErrorBoundary.h"
#include "base/Hooks.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// An option group: a titled box of radio buttons whose ids are their positions.
QGroupBox* optionGroup(const char* name, const QString& title, const QStringList& captions, int columns,
                       QButtonGroup*& group, QWidget* parent) {
    auto* box = named(new QGroupBox(title, parent), name);
    auto* grid = new QGridLayout(box);
    group = new QButtonGroup(box);
    const int rows = int((captions.size() + columns - 1) / columns);
    for (int i = 0; i < captions.size(); ++i) {
        auto* option = new QRadioButton(captions[i], box);
        option->setObjectName(QString::fromLatin1(name) + QString::number(i));
        group->addButton(option, i);
        grid->addWidget(option, i % rows, i / rows);
    }
    return box;
}

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
    : QDialog(parent), m_dataFolder(QDir::cleanPath(dataFolder)), m_ukonceni(ukonceni) {
    setObjectName(QStringLiteral("ZalohujFrm"));
    setWindowTitle(QStringLiteral("Zálohování"));
    setModal(true);

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
        go = ask(QStringLiteral("Please insert disk %1 and click OK to continue.").arg(disk), true);
    };

    m_pages = named(new QTabWidget(this), "PageControl1");
    m_pages->addTab(buildBackupPage(), QStringLiteral("Zálohovat"));
    m_pages->addTab(buildRestorePage(), QStringLiteral("Obnovit"));
    m_progress = named(new QProgressBar(this), "ProgressBar1");
    m_progress->setRange(0, 100);
    m_progress->setVisible(false);
    m_status = named(new QLabel(this), "Label1");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_progress, 1);
    bottom->addWidget(m_status, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(bottom);
    resize(720, 620);
}

TZalohujFrm::~TZalohujFrm() = default;

QWidget* TZalohujFrm::buildBackupPage() {
    auto* page = named(new QWidget, "TabSheet1");
    auto* sets = named(new QGroupBox(QStringLiteral("Vyberte soubory"), page), "GroupBox1");
    auto* setsLayout = new QVBoxLayout(sets);
    const char* names[] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"};
    const QString captions[] = {
        QStringLiteral("Nastavení programu"), QStringLiteral("Nastavení stavu motokár"),
        QStringLiteral("Tabulky nejlepších dvaceti"), QStringLiteral("Výsledky jízd")};
    for (int i = 0; i < 4; ++i) {
        m_sets[i] = named(new QCheckBox(captions[i], sets), names[i]);
        setsLayout->addWidget(m_sets[i]);
        connect(m_sets[i], &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    }

    auto* level = optionGroup("rgCompressionLevel", QStringLiteral("Typ komprese"),
                              {QStringLiteral("Rychlá"), QStringLiteral("Základní"),
                               QStringLiteral("Maximální"), QStringLiteral("Bez komprese")},
                              1, m_level, page);
    m_level->button(2)->setChecked(true);
    m_saveFileId = named(new QCheckBox(QStringLiteral("Uložit ID souboru"), page), "CbSaveFileID");
    m_saveFileId->setChecked(true);
    auto* mode = optionGroup("rgBackupMode", QStringLiteral("Typ zálohy"),
                             {QStringLiteral("Vše"), QStringLiteral("Přírůstková")}, 1, m_backupMode, page);
    m_backupMode->button(0)->setChecked(true);
    m_title = named(new QLineEdit(QStringLiteral("záloha tarvolin"), page), "EdBackupTitle");
    m_sources = named(new QListWidget(page), "FileListBox");

    auto* made = named(new QGroupBox(QStringLiteral("Vytvořené zálohy"), page), "GroupBox2");
    m_backupFolder = named(new QLineEdit(made), "DirectoryListBox2");
    auto* browse = named(new QPushButton(QStringLiteral("..."), made), "DriveComboBox2");
    m_backupFiles = named(new QListWidget(made), "FileListBox2");
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_backupFolder, 1);
    folderRow->addWidget(browse);
    auto* madeLayout = new QVBoxLayout(made);
    madeLayout->addLayout(folderRow);
    madeLayout->addWidget(m_backupFiles);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 24);
    connect(browse, &QPushButton::clicked, this, [this] { chooseFolder(m_backupFolder); });
    connect(m_backupFolder, &QLineEdit::editingFinished, this, [this] { readFileLists(); });
    connect(m_backupFiles, &QListWidget::itemClicked, this,
            ErrorBoundary::guardedSlot([this] { FileListBox1Click(); }));

    m_newName = named(new QLineEdit(QStringLiteral("zalohatarvolin"), page), "Novysoubor");
    connect(m_newName, &QLineEdit::textEdited, this, [this] { NovysouborChange(); });
    m_backupButton = named(new QPushButton(QStringLiteral("Zálohovat !"), page), "ZalohovatBtn");
    auto* close = named(new QPushButton(QStringLiteral("Zavřít"), page), "BtnCancel");
    connect(m_backupButton, &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot([this] { ZalohovatBtnClick(); }));
    connect(close, &QPushButton::clicked, this, [this] { BtnCancelClick(); });

    auto* left = new QVBoxLayout;
    left->addWidget(sets);
    left->addWidget(level);
    left->addWidget(m_saveFileId);
    left->addWidget(mode);
    left->addWidget(named(new QLabel(QStringLiteral("Popis zálohy:"), page), "Label2"));
    left->addWidget(m_title);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(m_sources, 1);
    right->addWidget(made, 3);
    right->addWidget(named(new QLabel(QStringLiteral("Nový soubor:"), page), "Label3"));
    right->addWidget(m_newName);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_backupButton);
    buttons->addWidget(close);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right, 1);
    return page;
}

QWidget* TZalohujFrm::buildRestorePage() {
    auto* page = named(new QWidget, "TabSheet2");
    m_restoreFolder = named(new QLineEdit(page), "DirectoryListBox1");
    auto* browse = named(new QPushButton(QStringLiteral("..."), page), "DriveComboBox1");
    m_archives = named(new QListWidget(page), "FileListBox1");
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 24);
    connect(browse, &QPushButton::clicked, this, [this] { chooseFolder(m_restoreFolder); });
    connect(m_restoreFolder, &QLineEdit::editingFinished, this, [this] { readFileLists(); });
    connect(m_archives, &QListWidget::itemClicked, this,
            ErrorBoundary::guardedSlot([this] { FileListBox1Click(); }));
    connect(m_archives, &QListWidget::itemSelectionChanged, this, [this] {
        if (selectedIn(m_archives).isEmpty())
            clearListing();
    });

    m_archiveTitle = named(new QLineEdit(page), "Edit2");
    m_archiveTitle->setReadOnly(true);
    m_archiveSummary = named(new QLineEdit(page), "Edit1");
    m_archiveSummary->setReadOnly(true);
    m_archiveFiles = named(new QPlainTextEdit(page), "MeFiles");
    m_archiveFiles->setReadOnly(true);
    m_archiveFiles->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_archiveFiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_archiveFiles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* mode =
        optionGroup("rgRestoreMode", QStringLiteral("Mod obnovení"),
                    {QStringLiteral("Obnovit vše"), QStringLiteral("Nepřepisovat"), QStringLiteral("Nikdy"),
                     QStringLiteral("Pokud existuje"), QStringLiteral("Pokud neexistuje")},
                    2, m_restoreMode, page);
    m_restoreMode->button(0)->setChecked(true);
    for (QAbstractButton* option : m_restoreMode->buttons())
        option->setToolTip(BackupChoices::modeHint(m_restoreMode->id(option)));

    auto* where = named(new QGroupBox(QStringLiteral("Obnovit kam"), page), "GroupBox3");
    m_originalPlace =
        named(new QRadioButton(QStringLiteral("Na původní místo (přepsat soubory)"), where), "rbOrigpath");
    m_otherPlace = named(new QRadioButton(QStringLiteral("Jinam:"), where), "rbOtherPath");
    m_targetPath = named(new QLineEdit(where), "EdPath");
    m_fullPath = named(new QCheckBox(QStringLiteral("Zachovat celou cestu"), where), "CbFullPath");
    m_originalPlace->setChecked(true);
    m_targetPath->setEnabled(false);
    m_fullPath->setEnabled(false);
    connect(m_originalPlace, &QRadioButton::toggled, this, [this] { rbOrigpathClick(); });
    auto* whereLayout = new QGridLayout(where);
    whereLayout->addWidget(m_originalPlace, 0, 0, 1, 2);
    whereLayout->addWidget(m_otherPlace, 1, 0);
    whereLayout->addWidget(m_targetPath, 1, 1);
    whereLayout->addWidget(m_fullPath, 2, 1);

    m_restoreButton = named(new QPushButton(QStringLiteral("Obnovit !"), page), "ObnovitBtn");
    auto* close = named(new QPushButton(QStringLiteral("Zavřít"), page), "Button6");
    connect(m_restoreButton, &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot([this] { ObnovitBtnClick(); }));
    connect(close, &QPushButton::clicked, this, [this] { BtnCancelClick(); });

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_restoreFolder, 1);
    folderRow->addWidget(browse);
    auto* left = new QVBoxLayout;
    left->addLayout(folderRow);
    left->addWidget(m_archives, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(named(new QLabel(QStringLiteral("Popis:"), page), "Label4"));
    right->addWidget(m_archiveTitle);
    right->addWidget(named(new QLabel(QStringLiteral("Obsah zálohy:"), page), "Label5"));
    right->addWidget(m_archiveSummary);
    right->addWidget(m_archiveFiles, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restoreButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top, 1);
    layout->addWidget(mode);
    layout->addWidget(where);
    layout->addLayout(buttons);
    return page;
}

void TZalohujFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    ErrorBoundary::guarded([this] { FormActivate(); });
}

void TZalohujFrm::FormActivate() {
    m_pages->setCurrentIndex(0);
    // The archives' folder is made when it is missing, so that a backup can go there at once.
    const QString folder = m_dataFolder + QStringLiteral("/zaloha");
    QDir().mkpath(folder);
    m_backupFolder->setText(folder);
    m_restoreFolder->setText(folder);
    m_targetPath->setText(m_dataFolder);
    for (QCheckBox* set : m_sets) {
        const QSignalBlocker quiet(set);
        set->setChecked(true);
    }
    CheckBox1Click();
    readFileLists();
}

void TZalohujFrm::CheckBox1Click() {
    m_sources->clear();
    m_sources->addItems(
        BackupChoices::sources(m_dataFolder, {m_sets[0]->isChecked(), m_sets[1]->isChecked(),
                                              m_sets[2]->isChecked(), m_sets[3]->isChecked()}));
}

void TZalohujFrm::NovysouborChange() {
    m_backupFiles->clearSelection();
    m_backupFiles->setCurrentItem(nullptr);
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
    fill(m_backupFiles, m_backupFolder->text(), {});
    fill(m_archives, m_restoreFolder->text(), {QStringLiteral("*.bck")});
    // The listing of an archive that is gone (or no longer selected) goes with it.
    if (selectedIn(m_archives).isEmpty())
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
        for (int i = 0; i < m_sources->count(); ++i)
            list << m_sources->item(i)->text();
        return list;
    }();
    if (sources.isEmpty()) {
        showMessage(QStringLiteral("Vyberte soubory k zalohování!"));
        return;
    }
    const QString folder = QDir::cleanPath(m_backupFolder->text());
    const QString archive = BackupChoices::archivePath(folder, selectedIn(m_backupFiles), m_newName->text());
    // No drive here splits archives over floppies: one volume of any size.
    m_backup.setMaxSize(0);
    m_backup.setBackupTitle(m_title->text());
    m_backup.setBackupMode(m_backupMode->checkedId() == 1 ? bmIncremental : bmAll);
    m_backup.setCompressionLevel(BackupChoices::levelOfOption(m_level->checkedId()));
    m_backup.setSaveFileID(m_saveFileId->isChecked());
    m_status->setText(QStringLiteral("Připravuji data čekejte"));
    m_status->repaint();
    QDir().mkpath(folder);
    bool done = false;
    {
        const ButtonsOff working(m_backupButton, m_restoreButton);
        done = m_backup.BackupFiles(sources, archive);
    }
    // An unfinished backup is never put in place: the previous archive of that name stays as it was.
    const QString unfinished =
        QStringLiteral("Záloha nebyla dokončena, předchozí záloha zůstala beze změny.");
    if (!done)
        m_status->setText(unfinished);
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
        m_progress->setValue(percent);
        m_progress->setVisible(true);
        m_status->setText(fileName);
    } else {
        m_progress->setVisible(false);
        m_status->setText(QStringLiteral("Dokončeno"));
    }
    m_progress->repaint();
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
    m_archiveFiles->clear();
    const QString selected = selectedIn(m_archives);
    QStringList lines;
    const QString title =
        selected.isEmpty()
            ? QString()
            : m_backup.ReadArchiveInfo(m_restoreFolder->text() + QLatin1Char('/') + selected, &lines);
    m_archiveTitle->setText(title);
    // An archive that ends early (a backup broken off by an older version, a copy cut short) is
    // never shown as a normal one.
    const bool damaged = !selected.isEmpty() &&
                         !ArchiveLayout::read(m_restoreFolder->text() + QLatin1Char('/') + selected).whole();
    if (title.isEmpty() && !damaged) {
        m_archiveSummary->clear();
        return;
    }
    m_archiveSummary->setText(damaged ? QStringLiteral("Poškozená záloha: soubor končí předčasně!")
                                      : BackupChoices::summary(m_backup.FileCount(), m_backup.TotalSize()));
    QStringList shown;
    for (const QString& line : lines)
        shown << BackupChoices::listingLine(line);
    m_archiveFiles->setPlainText(shown.isEmpty() ? QStringLiteral("Neznámý archiv!")
                                                 : shown.join(QLatin1Char('\n')));
}

void TZalohujFrm::clearListing() {
    m_archiveTitle->clear();
    m_archiveSummary->clear();
    m_archiveFiles->clear();
}

void TZalohujFrm::rbOrigpathClick() {
    const bool elsewhere = m_otherPlace->isChecked();
    m_targetPath->setEnabled(elsewhere);
    m_fullPath->setEnabled(elsewhere);
}

void TZalohujFrm::ObnovitBtnClick() {
    if (m_hooks.raceRunning && m_hooks.raceRunning()) {
        showMessage(QStringLiteral("Během závodu nelze obnovit zálohu. Nejdříve závod zastavte."));
        return;
    }
    m_backup.setRestoreMode(BackupChoices::modeOfOption(m_restoreMode->checkedId()));
    QString target;
    if (m_otherPlace->isChecked()) {
        target = m_targetPath->text();
        if (target.trimmed().isEmpty()) {
            showMessage(QStringLiteral("Zadejte cílovou cestu!"));
            return;
        }
    }
    m_backup.setRestoreFullPath(m_fullPath->isEnabled() && m_fullPath->isChecked());
    const QString selected = selectedIn(m_archives);
    bool done = false;
    QString raised;
    if (!selected.isEmpty()) {
        const ButtonsOff working(m_backupButton, m_restoreButton);
        try {
            done = m_backup.RestoreArchive(m_restoreFolder->text() + QLatin1Char('/') + selected, target);
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
