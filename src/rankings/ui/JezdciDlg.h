#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>

class DriverNames;
class QCheckBox;
class QLabel;
class QLineEdit;
class QStringListModel;
struct TSettings;

// Whether text can be stored in the station's windows-1250 files as it is, and holds no TAB or line
// break (which would split a best-twenty row or a names file line).
bool fitsWindows1250(const QString& text);

// The drivers' window "Jezdci": a name field per kart, with the names of both best-twenty tables and
// of kept races offered as the operator types, and the box "Žena" per kart (the same choice as the
// main window's boxes). Not modal: it stays open while a race runs. A name that the station's files
// cannot hold is refused in the field with a hint.
class TJezdciDlg : public QDialog {
    Q_OBJECT

public:
    TJezdciDlg(DriverNames& names, TSettings& settings, const QString& dataFolder, QWidget* parent = nullptr);

    // Shows the window (or brings it to the front) with fresh name suggestions.
    void showDrivers();
    // The names offered for completion: both tables' names and those of kept races, each once.
    QStringList suggestions() const;

private:
    void nameEdited(int kart, const QString& text);
    void showNames();

    DriverNames& m_names;
    TSettings& m_settings;
    QString m_dataFolder;
    std::array<QLineEdit*, 4> m_fields{};
    std::array<QCheckBox*, 4> m_women{};
    QCheckBox* m_clear = nullptr;
    QLabel* m_hint = nullptr;
    QStringListModel* m_suggestions = nullptr;
};
