#pragma once

#include <QImage>

class TFBDocument;

// The picture a file manager shows for a project: its first view (the cover of a book, the first
// page otherwise) drawn by the document drawer at preview quality, fitted into a square.
namespace ProjectThumbnail {

constexpr int kDefaultSide = 256;
constexpr int kMinSide = 16;
constexpr int kMaxSide = 2048;

// The view fitted into side x side pixels keeping its aspect (the longer side is `side`), on
// white, in Format_ARGB32. A null image when the document has no view or no area, or the side
// lies outside kMinSide ... kMaxSide.
QImage Render(TFBDocument& document, int side);

} // namespace ProjectThumbnail
