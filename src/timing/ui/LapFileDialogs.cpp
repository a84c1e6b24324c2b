#include "timing/ui/LapFileDialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>

namespace {

QFileDialog* makeDialog(QWidget* parent, QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilter(LapFileDialogs::filter());
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    return dialog;
}

QString run(QFileDialog* dialog, const QString& proposal) {
    dialog->selectFile(proposal);
    const int result = dialog->exec();
    // A name typed and confirmed with Enter leaves the name completion's list open; it would stay
    // over the main window after the dialog has gone.
    for (QCompleter* completer : dialog->findChildren<QCompleter*>()) {
        if (completer->popup())
            completer->popup()->hide();
    }
    if (result != QDialog::Accepted)
        return QString();
    const QStringList files = dialog->selectedFiles();
    // Later dialogs open where this one ended.
    dialog->setDirectory(dialog->directory());
    return files.isEmpty() ? QString() : files.first();
}

} // namespace

LapFileDialogs::LapFileDialogs(QWidget* parent)
    : m_save(makeDialog(parent, QFileDialog::AcceptSave)),
      m_open(makeDialog(parent, QFileDialog::AcceptOpen)) {
    m_save->setObjectName(QStringLiteral("SaveDialog1"));
    m_open->setObjectName(QStringLiteral("OpenDialog1"));
}

LapFileDialogs::~LapFileDialogs() = default;

void LapFileDialogs::setInitialDirectory(const QString& directory) {
    m_save->setDirectory(directory);
    m_open->setDirectory(directory);
}

QString LapFileDialogs::askSaveFile(int kart) {
    return run(m_save, QStringLiteral("kara%1").arg(kart));
}

QString LapFileDialogs::askOpenFile(int kart) {
    return run(m_open, QStringLiteral("kara%1.txt").arg(kart));
}

QString LapFileDialogs::askSavePicture(const QString& proposal, const QString& folder) {
    m_save->setDirectory(folder);
    return askSaveAs(proposal, pictureFilter(), QStringLiteral("jpg"));
}

QString LapFileDialogs::askSaveBitmap(const QString& proposal) {
    return askSaveAs(proposal, bitmapFilter(), QStringLiteral("bmp"));
}

QString LapFileDialogs::askSaveAs(const QString& proposal, const QString& type, const QString& suffix) {
    m_save->setNameFilter(type);
    m_save->setDefaultSuffix(suffix);
    const QString path = run(m_save, proposal);
    m_save->setNameFilter(filter());
    m_save->setDefaultSuffix(QStringLiteral("txt"));
    return path;
}
