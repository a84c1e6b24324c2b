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
// ("12:5" for 12 h 5 min), as the window shows it and the file stores it, and the seconds driven
// beyond its whole minutes are kept beside it, so that short races add up to the second.
class TKartState {
public:
    static constexpr int MaxHours = 999999;
    static constexpr int MaxTaskText = 60;
    // The driven time stays within the hours of the other fields: 0:0 to 999999:59.
    static constexpr qint64 MaxDrivenMinutes = qint64(MaxHours) * 60 + 59;

    int initialHours = 0;   // 0..999999
    int initialMinutes = 0; // 0..60; 60 turns into 0 with one hour added
    QString driven = QStringLiteral("0:0");
    int drivenSeconds = 0; // 0..59, driven beyond the whole minutes of driven
    std::array<KartTask, 4> tasks;
    bool refuelWarning = false; // "Tankuj nádrž každých"
    int consumption = 1;        // decilitres per hour, 1..100
    int tank = 1;               // litres, 1..999
    int margin = 1;             // decilitres, 1..999

    // Brings every value into its range, as a load does.
    void clamp();
    // Initial minutes above 59 become 0 and the hours grow by one.
    void carryInitialMinutes();

    // The minutes of an engine time text, in 64 bits so that no absurd text wraps into a plausible
    // value; throws ConversionError when text is no engine time text (an empty text gives 0).
    static qint64 minutesOf(const QString& text);
    // The driven time in minutes; throws ConversionError when its text is no engine time text.
    qint64 drivenMinutes() const;
    // Adds a race's driving: whole minutes go into the driven time, the seconds beyond them wait for
    // the next race. The driven time stops at its bounds rather than wrap.
    void addDriven(qint64 seconds);
    qint64 totalMinutes() const;
    QString totalText() const;
    // Fuel in tenths of a decilitre, cut and not rounded: (minutes × consumption) div 6.
    qint64 fuelSinceZeroingTenths() const;
    qint64 fuelTotalTenths() const;
    // "7,5" for 75 tenths.
    static QString fuelText(qint64 tenths);

    // The zeroing: the driven time is taken over by the initial state (minutes carried into hours), so
    // the total stays the same, and the driven time becomes "0:0". The seconds beyond its minutes stay
    // to count on. Returns the driven minutes zeroed.
    qint64 zero();

    // Part of the reminders: whether the tank needs filling, and the text of the tasks that are due
    // (each ended by CR but the fourth's).
    bool needsFuel() const;
    QString dueTasksText() const;
};
