#include "timing/ui/LapListView.h"

#include "timing/LapList.h"

LapListView::LapListView(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    // Opaque, so that the repaint at every lap paints the list alone and not the group box behind it,
    // whose styled frame costs far more than the list.
    setAutoFillBackground(true);
    connect(this, &QListWidget::currentRowChanged, this, &LapListView::onViewSelection);
}

void LapListView::bind(LapList* list) {
    if (m_list)
        disconnect(m_list, nullptr, this, nullptr);
    m_list = list;
    if (m_list) {
        connect(m_list, &LapList::entryAppended, this, &LapListView::onAppended);
        connect(m_list, &LapList::entryRemoved, this, &LapListView::onRemoved);
        connect(m_list, &LapList::entriesReset, this, &LapListView::onReset);
        connect(m_list, &LapList::selectionChanged, this, &LapListView::onListSelection);
    }
    onReset();
}

void LapListView::onAppended(int index) {
    const QSignalBlocker blocker(this);
    // The race selects the new entry right after; that selection scrolls and repaints.
    insertItem(index, m_list->entry(index));
}

void LapListView::onRemoved(int index) {
    const QSignalBlocker blocker(this);
    delete takeItem(index);
    onListSelection(m_list->selectedIndex());
}

void LapListView::onReset() {
    const QSignalBlocker blocker(this);
    clear();
    if (m_list) {
        addItems(m_list->entries());
        onListSelection(m_list->selectedIndex());
    }
}

void LapListView::onListSelection(int index) {
    const QSignalBlocker blocker(this);
    if (index < 0 || index >= count()) {
        setCurrentRow(-1);
        clearSelection();
    } else {
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        scrollToItem(item(index));
    }
    // The race holds the main thread between laps; paint now rather than at the next idle moment.
    if (isVisible())
        repaint();
}

void LapListView::onViewSelection(int row) {
    if (m_list && row != m_list->selectedIndex())
        m_list->setSelectedIndex(row);
}
