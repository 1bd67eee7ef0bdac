#pragma once

// The clipart the program brings along: about twenty pictures (frames, corners, hearts, stars,
// ribbons, balloons, a sun, snowflakes) that are put into the user's clipart folder the first time
// the designer finds that folder missing. A user's own files are never overwritten.

#include <QString>

namespace ClipartStarterSet {

// $XDG_DATA_HOME/Tessaro/Albumorix/Clipart: where the clipart browser starts when no folder was
// stored.
QString Folder();

// Writes the set as PNG pictures with alpha into Folder() when that folder does not exist yet.
// Returns how many pictures were written (0 when the folder existed or could not be made).
int InstallIfMissing();

// The longer side of an installed picture, in pixels.
constexpr int kSide = 600;

} // namespace ClipartStarterSet
