#pragma once

// The scheduling priority of the whole process, chosen by the setting Ostatni/Priorita.
namespace ProcessPriority {

enum class Level { Normal = 0, Idle = 1, High = 2, RealTime = 3 };

// Applies the level coded as the settings store it: 0 normal, 1 idle, 2 high, 3 real-time, to every
// thread of the process. A thread that runs above or below the others (a timer's worker) keeps its
// distance from the class. Any other code changes nothing and gives false. Without the privilege a level
// needs (high, real-time, or going back up from idle) the process keeps what it has, quietly: the result is
// then false too.
bool apply(int code);

} // namespace ProcessPriority
