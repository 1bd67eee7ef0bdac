#pragma once

#include <QImage>
#include <QSize>

class TFBDocument;

// The wizard's preview pictures, made from the real products: the catalogue builds the product,
// every frame gets one of a few sample photos painted in code, and the document drawer draws a
// typical view of it on a neutral background.

// The view a preview shows: a calendar's January page; else the first view where two pages pair
// up; else the first view.
int PreviewView(const TFBDocument& document);

// A sample photo of the given size: a landscape with sky, sun, hills and water whose colours vary
// with the index, so neighbouring frames differ. The same index and size give the same pixels.
QImage SamplePhoto(int index, QSize size);

// Puts a sample photo into every picture frame of the document. Frames share a handful of
// pictures (a landscape and a portrait one per colour variant), so large books stay cheap.
void FillWithSamplePhotos(TFBDocument& document);

// The preview of the product: the chosen view drawn undistorted and centred on a neutral
// background that fills the whole size (so a size other than 4:3 letterboxes the view).
// A code the catalogue does not know gives a null image.
QImage RenderProductPreview(int productCode, int year, QSize size);

// Sizes a preview may have on either side.
constexpr int kMinPreviewSide = 16;
constexpr int kMaxPreviewSide = 4000;
