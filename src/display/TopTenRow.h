#pragma once

#include <QString>

// One row of a top-ten list as the live page shows it: the first ten rows of a best-twenty table.
struct TopTenRow {
    QString rank;
    QString name;
    QString time;
};
