#pragma once

#include <QString>

#include <functional>

class TCustomDataFile;

// Project files on disk: a container file with extension "fbp".
namespace ProjectFile {

// Opens the container on path for reading only and hands it to read; the container is closed
// afterwards, also when read raises. Raises when the file is missing or not a container.
void Read(const QString& path, const std::function<void(TCustomDataFile&)>& read);

// Writes a fresh container through write and only then puts it in place of path, so a failed
// write (full disk, an error while saving) leaves the previous file as it was. Raises
// "Die Datei ist schreibgeschützt" for an existing file without write permission.
void Write(const QString& path, const std::function<void(TCustomDataFile&)>& write);

} // namespace ProjectFile
