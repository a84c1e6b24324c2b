#include "timing/LapList.h"
#include "base/UserError.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(LapList, AppendSelectsTheNewEntryAndTellsTheWidget) {
    LapList list;
    QSignalSpy appended(&list, &LapList::entryAppended);
    QSignalSpy selected(&list, &LapList::selectionChanged);
    list.appendAndSelect(QStringLiteral("00:41:100"));
    list.appendAndSelect(QStringLiteral("00:40:900"));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.entry(1), QStringLiteral("00:40:900"));
    EXPECT_EQ(list.selectedIndex(), 1);
    ASSERT_EQ(appended.count(), 2);
    EXPECT_EQ(appended.at(1).at(0).toInt(), 1);
    EXPECT_EQ(selected.last().at(0).toInt(), 1);
}

TEST(LapList, DeleteSelectedWithNothingSelectedLeavesTheList) {
    LapList list;
    list.setEntries({QStringLiteral("a"), QStringLiteral("b")});
    ASSERT_EQ(list.selectedIndex(), -1);
    QSignalSpy removed(&list, &LapList::entryRemoved);
    list.deleteSelected();
    EXPECT_EQ(list.entries(), QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(removed.count(), 0);

    list.setSelectedIndex(0);
    list.deleteSelected();
    EXPECT_EQ(list.entries(), QStringList({QStringLiteral("b")}));
    EXPECT_EQ(list.selectedIndex(), -1);
    list.deleteSelected();
    EXPECT_EQ(list.count(), 1);
}

TEST(LapList, SelectionFollowsRemovalsBeforeIt) {
    LapList list;
    for (const char* lap : {"00:10:000", "00:50:000", "00:40:000"})
        list.appendAndSelect(QString::fromLatin1(lap));
    list.removeFirst();
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(list.entry(list.selectedIndex()), QStringLiteral("00:40:000"));
    list.setSelectedIndex(7);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST(LapList, RemoveFirstOfAnEmptyListKeepsItEmpty) {
    LapList list;
    list.removeFirst();
    EXPECT_EQ(list.count(), 0);
}

TEST(LapList, RemoveBelowKeepsTheBoundaryAndTheOrder) {
    LapList list;
    list.setEntries({QStringLiteral("00:45:000"), QStringLiteral("00:30:000"), QStringLiteral("01:10:000")});
    list.removeBelow(30000);
    EXPECT_EQ(list.entries(), QStringList({QStringLiteral("00:45:000"), QStringLiteral("00:30:000"),
                                           QStringLiteral("01:10:000")}));
}

TEST(LapList, AShortLapIsAddedToTheLapAfterItAndAShortLastLapIsDropped) {
    // A ghost pulse split a 13.1 s lap into 2.5 s and 10.6 s: the lap is 13.1 s again, not a record
    // of 10.6 s. Two ghost passes in a row make one lap of three pieces.
    LapList list;
    list.setEntries({QStringLiteral("00:40:000"), QStringLiteral("00:02:500"), QStringLiteral("00:10:600"),
                     QStringLiteral("00:03:000"), QStringLiteral("00:04:000"), QStringLiteral("00:35:000"),
                     QStringLiteral("00:05:000")});
    list.removeBelow(12000);
    EXPECT_EQ(list.entries(), QStringList({QStringLiteral("00:40:000"), QStringLiteral("00:13:100"),
                                           QStringLiteral("00:42:000")}));
}

TEST(LapList, RemoveBelowPassesOverAStrayText) {
    LapList list;
    list.setEntries({QStringLiteral("00:05:000"), QStringLiteral("poznámka"), QStringLiteral("00:45:000")});
    list.removeBelow(30000);
    EXPECT_EQ(list.entries(), QStringList({QStringLiteral("poznámka"), QStringLiteral("00:50:000")}));
}

TEST(LapList, ClearAndLoadResetTheWidget) {
    LapList list;
    list.appendAndSelect(QStringLiteral("00:10:000"));
    QSignalSpy reset(&list, &LapList::entriesReset);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
    list.setEntries({QStringLiteral("x")});
    EXPECT_EQ(reset.count(), 2);
    EXPECT_EQ(list.entries(), QStringList({QStringLiteral("x")}));
}
