#pragma once

#include <functional>

// Runs one command of the user interface (a menu item, a button, a panel's handler). An Exception
// or std::exception escaping it is reported once: the wait cursor and the progress window are
// taken down first, so a failed command never leaves the window disabled or the hourglass up;
// the failure is traced under the command's name and shown through the progress output's error
// report (InfoAusgabe().Error). A Guarded inside another one reports its own failure, so the
// outer one sees a command that ran to its end.
//
// True when the command ran to its end, false when it failed.
bool Guarded(const char* name, const std::function<void()>& command);
