#pragma once

#include <QByteArray>

// Qt's standard dialogs (the file dialogs' dates and times) write by the operating system's locale,
// which Qt reads from the environment (LC_ALL, LC_TIME) once, while the application object is made;
// on a station set up in English they would show "9 Dec". For its lifetime this object makes that
// locale's dates Czech. At its end the environment is as it was, for the programs the station starts,
// and so is the C library's locale, which a locale that the system has not generated would otherwise
// have left at plain "C".
class CzechDialogDates {
public:
    CzechDialogDates();
    ~CzechDialogDates();
    CzechDialogDates(const CzechDialogDates&) = delete;
    CzechDialogDates& operator=(const CzechDialogDates&) = delete;

private:
    struct Saved {
        const char* name;
        bool set;
        QByteArray value;
    };
    Saved m_all;
    Saved m_time;
    Saved m_lang;
};
