#include "platform/CzechDialogDates.h"

#include <QtGlobal>

#include <clocale>

namespace {

void putBackVariable(const char* name, bool set, const QByteArray& value) {
    if (set)
        qputenv(name, value);
    else
        qunsetenv(name);
}

} // namespace

CzechDialogDates::CzechDialogDates()
    : m_all{"LC_ALL", qEnvironmentVariableIsSet("LC_ALL"), qgetenv("LC_ALL")},
      m_time{"LC_TIME", qEnvironmentVariableIsSet("LC_TIME"), qgetenv("LC_TIME")},
      m_lang{"LANG", qEnvironmentVariableIsSet("LANG"), qgetenv("LANG")} {
    // LC_ALL would win over LC_TIME: what it said for everything else passes to LANG meanwhile.
    if (m_all.set && !m_all.value.isEmpty()) {
        qputenv("LANG", m_all.value);
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "cs_CZ.UTF-8");
}

CzechDialogDates::~CzechDialogDates() {
    for (const Saved* saved : {&m_all, &m_time, &m_lang})
        putBackVariable(saved->name, saved->set, saved->value);
    std::setlocale(LC_ALL, "");
}
