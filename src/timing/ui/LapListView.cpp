#include "timing/ui/LapListView.h"

#include <QItemSelectionModel>

LapListView::LapListView(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void LapListView::setModel(QAbstractItemModel* model) {
    disconnect(m_rowsInserted);
    QListView::setModel(model);
    if (model)
        m_rowsInserted =
            connect(model, &QAbstractItemModel::rowsInserted, this, &LapListView::onRowsInserted);
}

int LapListView::selectedRow() const {
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void LapListView::selectRow(int row) {
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void LapListView::onRowsInserted(const QModelIndex& parent, int, int last) {
    // Only an append is a new lap; a load fills the list at once and leaves no selection.
    if (parent.isValid() || last != model()->rowCount() - 1)
        return;
    selectRow(last);
    if (isVisible())
        repaint();
}
