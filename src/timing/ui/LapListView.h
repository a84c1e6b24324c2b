#pragma once

#include <QListView>

// A kart's lap list on the main window: one line per lap, single selection. When the race appends a
// lap at the end of the model, the view selects it, scrolls to it and repaints at once, so the operator
// sees the lap even while the race keeps the main thread busy.
class LapListView : public QListView {
    Q_OBJECT

public:
    explicit LapListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    // Row of the selected entry, or -1.
    int selectedRow() const;
    void selectRow(int row);

private:
    void onRowsInserted(const QModelIndex& parent, int first, int last);

    QMetaObject::Connection m_rowsInserted;
};
