#pragma once

#include <QString>

// The program's name and version, known to every layer (print jobs and PDF files carry them).
namespace ProgramInfo {

// The program's title, used in the window caption, the file type's description, dialogs and
// print job names.
QString ApplicationTitle(); // "Tintaro Print Kit"
// The version string shown by the splash and the about window.
QString ProgramVersion(); // "2.00"

} // namespace ProgramInfo
