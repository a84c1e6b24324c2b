#pragma once

// The main thread's event dispatcher, chosen before the application object is made.
namespace EventLoopChoice {

// Selects Qt's own UNIX dispatcher instead of the GLib one, unless the environment already names
// one (QT_NO_GLIB set, even empty, keeps GLib's). Every hand-over from a timer's worker wakes the
// main thread, and each pass through the GLib main context (prepare, query, poll, check, dispatch)
// costs more than Qt's plain poll loop.
void preferPlainUnixDispatcher();

} // namespace EventLoopChoice
