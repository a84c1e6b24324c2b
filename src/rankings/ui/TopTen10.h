#pragma once

#include "rankings/BestTwentyTables.h"
#include "rankings/TablePicture.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>

class LapFileDialogs;
class QMenu;
class QSpinBox;
class QTableWidget;
class TUpravDlg;

// Calls out of the best-twenty window into windows built after it; an empty member does nothing.
struct TopTenHooks {
    std::function<void()> showFtpSettings;  // the settings window on its page "Ftp klient"
    std::function<void()> showPrintPreview; // the best-twenty sheet's preview
};

// The window "Nejlepších dvacet časů": the men's list `TopTenList` and the women's `TopTenList1`,
// their context menus, the pictures of the tables and the way to the FTP page and the sheet. It
// reloads both tables from their files whenever it opens.
class TTopTen10Frm : public QDialog {
    Q_OBJECT

public:
    using Table = BestTwentyTables::Table;

    TTopTen10Frm(BestTwentyTables& tables, TUpravDlg& menEdit, TUpravDlg& womenEdit,
                 QWidget* parent = nullptr);

    TopTenHooks& hooks() { return m_hooks; }
    // The main window's save dialog, which the pictures borrow.
    void setSaveDialogs(LapFileDialogs* dialogs) { m_saveDialogs = dialogs; }
    void setDataFolder(const QString& folder) { m_dataFolder = folder; }

    // Loads both tables into the lists; names once the rows whose time is no lap time. Throws
    // UserError when a table file cannot be read.
    void FormActivate();
    // Shows the tables as they stand in memory.
    void showTables();

    QTableWidget* list(Table table) const { return m_lists[table]; }
    int quality(Table table) const;
    void setQuality(Table table, int percent);
    // The table's picture as its list shows it (selection and scroll position included), at the
    // list's size; the tables are loaded first when the window has not held them yet.
    QImage tablePicture(Table table);
    // The picture as a JPEG file at the table's quality; throws UserError when it cannot be written.
    void SaveTablePicture(Table table, const QString& path);
    // The two pictures the FTP upload sends, both qualities set to 15 (they stay so). No window is
    // shown: a window that is not open takes the tables from their files first, as its opening would.
    // Throws UserError when a table cannot be read or a picture cannot be written.
    void saveFtpPictures(const QString& menPath, const QString& womenPath);

    void btnUlozMuziClick();
    void BitBbtnUlozZenyClick();
    void editSelected(Table table);
    void deleteSelected(Table table);
    void moveSelected(Table table);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTableWidget* makeList(Table table);
    QMenu* makeMenu(Table table);
    void fillList(Table table);
    int selectedRow(Table table) const;
    TablePicture::View view(Table table) const;
    void savePictureAsked(Table table, const QString& proposal);

    BestTwentyTables& m_tables;
    std::array<TUpravDlg*, 2> m_edits;
    std::array<QTableWidget*, 2> m_lists{};
    std::array<QMenu*, 2> m_menus{};
    std::array<QSpinBox*, 2> m_qualities{};
    LapFileDialogs* m_saveDialogs = nullptr;
    QString m_dataFolder;
    TopTenHooks m_hooks;
    bool m_loaded = false;
};
