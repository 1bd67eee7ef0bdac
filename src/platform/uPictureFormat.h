#pragma once

// Which decoder a picture file may reach. The program reads JPEG, PNG, BMP, TIFF and GIF only;
// the format is told from a file's first bytes, never from its name, and every other format is
// refused before any decoder sees the bytes.

#include <QByteArray>
#include <QString>

class QImageReader;

namespace Imaging {

// "jpeg", "png", "bmp", "tiff" or "gif" from the first bytes of a file; empty for anything else.
QByteArray FormatOf(const QByteArray& head);

// Makes a reader not yet used decode with the decoder of `format` (a FormatOf answer) and no other;
// with an empty format it reads nothing.
void BindReader(QImageReader& reader, const QByteArray& format);

// Whether the file's header is that of a picture in a format the program decodes.
bool IsPictureFile(const QString& path);

} // namespace Imaging
