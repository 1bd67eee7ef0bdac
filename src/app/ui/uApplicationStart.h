#pragma once

// The designer's main block: trace, splash, main window, the project of the command line or the
// new-project wizard, then the message loop until the main window closes. Returns the exit code.
int RunApplication(int argc, char** argv);
