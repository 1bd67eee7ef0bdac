#pragma once

// Documents, their pictures and every drawing belong to the thread of the user interface; a worker
// gets copied bytes and hands its result back through a queued call. The picture store checks
// this at each public entry point: a call from another thread is traced once per entry point and
// counted (tests read the count); like the soft asserts, the program carries on.
namespace GuiThread {

// True on the thread that owns the application object, and always when no application object
// exists (the command-line tool before it creates one).
bool IsCurrent();

// Traces and counts a call from another thread; `entryPoint` names the function for the trace.
void Check(const char* entryPoint);

// Calls from other threads since start.
int Violations();

} // namespace GuiThread
