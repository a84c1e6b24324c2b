#pragma once

// The main thread's event dispatcher, chosen before the application object is made.
namespace EventLoopChoice {

// Selects Qt's own UNIX dispatcher instead of the GLib one, unless the environment already names
// one (QT_NO_GLIB set, even empty). The lap samplers hand the main thread about 2000 ticks a second,
// and each wake-up through the GLib main context (prepare, query, poll, check, dispatch over every
// source) costs noticeably more than Qt's plain poll loop: a third less CPU for a running race.
void preferPlainUnixDispatcher();

} // namespace EventLoopChoice
