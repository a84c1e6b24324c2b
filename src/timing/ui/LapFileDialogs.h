#pragma once

#include <QString>

class QFileDialog;
class QWidget;

// The save and open dialogs shared by the four karts' lap lists: one of each, so that both remember
// the folder last used. They start in the results folder and offer text files.
class LapFileDialogs {
public:
    explicit LapFileDialogs(QWidget* parent);
    ~LapFileDialogs();

    LapFileDialogs(const LapFileDialogs&) = delete;
    LapFileDialogs& operator=(const LapFileDialogs&) = delete;

    void setInitialDirectory(const QString& directory);

    // The chosen file, or an empty text when the operator cancels. The save dialog proposes "karaK"
    // and asks before overwriting; a name typed without an extension gets ".txt", so the open dialog's
    // proposal "karaK.txt" finds it.
    QString askSaveFile(int kart);
    QString askOpenFile(int kart);
    // The save dialog borrowed for a picture: the proposal in the folder, "obrázek (*.jpg)" as its
    // only type and ".jpg" for a name typed without one; its own type is put back afterwards.
    QString askSavePicture(const QString& proposal, const QString& folder);
    // The same for the lap chart's bitmap: the proposal where the dialog stands, "bitmapa (*.bmp)"
    // and ".bmp".
    QString askSaveBitmap(const QString& proposal);

    QFileDialog* saveDialog() const { return m_save; }
    QFileDialog* openDialog() const { return m_open; }

    static QString filter() { return QStringLiteral("textový soubor (*.txt)"); }
    static QString pictureFilter() { return QStringLiteral("obrázek (*.jpg)"); }
    static QString bitmapFilter() { return QStringLiteral("bitmapa (*.bmp)"); }

private:
    QString askSaveAs(const QString& proposal, const QString& type, const QString& suffix);

    QFileDialog* m_save;
    QFileDialog* m_open;
};
