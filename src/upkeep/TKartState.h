#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// One recurring service task of a kart: watched or not, due after every so many driven hours.
struct KartTask {
    bool enabled = false;
    int intervalHours = 0; // 0..999999
    QString text;          // at most 60 characters
};

// One kart's upkeep record. Times are whole minutes; the driven time is kept as its engine time text
// ("12:5" for 12 h 5 min), as the window shows it and the file stores it.
class TKartState {
public:
    static constexpr int MaxHours = 999999;
    static constexpr int MaxTaskText = 60;

    int initialHours = 0;   // 0..999999
    int initialMinutes = 0; // 0..60; 60 turns into 0 with one hour added
    QString driven = QStringLiteral("0:0");
    std::array<KartTask, 4> tasks;
    bool refuelWarning = false; // "Tankuj nádrž každých"
    int consumption = 1;        // decilitres per hour, 1..100
    int tank = 1;               // litres, 1..999
    int margin = 1;             // decilitres, 1..999

    // Brings every value into its range, as a load does.
    void clamp();
    // Initial minutes above 59 become 0 and the hours grow by one.
    void carryInitialMinutes();

    // The driven time in minutes; throws ConversionError when its text is no engine time text.
    qint64 drivenMinutes() const;
    qint64 totalMinutes() const;
    QString totalText() const;
    // Fuel in tenths of a decilitre, cut and not rounded: (minutes × consumption) div 6.
    qint64 fuelSinceZeroingTenths() const;
    qint64 fuelTotalTenths() const;
    // "7,5" for 75 tenths.
    static QString fuelText(qint64 tenths);

    // The zeroing: the driven time is taken over by the initial state (minutes carried into hours), so
    // the total stays the same, and the driven time becomes "0:0". Returns the driven minutes zeroed.
    qint64 zero();

    // Part of the reminders: whether the tank needs filling, and the text of the tasks that are due
    // (each ended by CR but the fourth's).
    bool needsFuel() const;
    QString dueTasksText() const;
};
