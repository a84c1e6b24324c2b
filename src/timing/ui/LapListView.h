#pragma once

#include <QListWidget>

class LapList;

// A kart's lap list on the main window, mirroring the race's LapList change by change. When the race
// appends a lap, the view selects it, scrolls to it and repaints at once, so the operator sees the
// lap even while the race keeps the main thread busy. The operator's selection goes back to the list.
class LapListView : public QListWidget {
    Q_OBJECT

public:
    explicit LapListView(QWidget* parent = nullptr);

    void bind(LapList* list);

    // Narrow and tall: a lap text is short, and four lists stand side by side.
    QSize sizeHint() const override { return QSize(150, 260); }
    LapList* lapList() const { return m_list; }

private:
    void onAppended(int index);
    void onRemoved(int index);
    void onReset();
    void onListSelection(int index);
    void onViewSelection(int row);

    LapList* m_list = nullptr;
    bool m_mirroring = false;
};
