#pragma once

#include <QList>
#include <QString>

// One row of a top-ten list as the audience sees it.
struct TopTenRow {
    QString rank;
    QString name;
    QString time;
};

// The first ten rows of a best-twenty file ("TopDeset.ini", "TopDeset1.ini"), each line cut at its
// TABs into rank, name and time. A file that is not there yet (a fresh station) or holds fewer lines
// gives the rows it has. A file that is there but cannot be read throws UserError with the system's
// message.
QList<TopTenRow> readTopTen(const QString& path);
