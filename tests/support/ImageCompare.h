#pragma once

#include <QAnyStringView>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

namespace TestSupport {

// Compares a drawn picture with the reference "<name>.png" in tests/data/images/.
//
// Two pixels differ when any of their four channels (alpha, red, green, blue, not premultiplied)
// differs by more than `tolerance`; the pictures match when they have the same size and at most
// `maxDifferentPixels` pixels differ. On a mismatch "<name>.actual.png", "<name>.expected.png" and
// "<name>.diff.png" (differing pixels red on a pale copy of the reference) go to
// build/test-images/, so the failure can be looked at.
//
// A missing reference fails, unless TINTARO_UPDATE_REFERENCES=1 is set: then the picture is
// written as the new reference and the comparison passes. Look at every new reference before
// committing it.
::testing::AssertionResult ImagesMatch(const QImage& actual, QAnyStringView name, int tolerance = 0,
                                       qsizetype maxDifferentPixels = 0);

// Where ImagesMatch reads references and writes its pictures; the helper's own tests point them at
// temporary folders. The previous folders come back when the object goes.
class ImageCompareFolders {
public:
    ImageCompareFolders(QString references, QString output);
    ~ImageCompareFolders();
    ImageCompareFolders(const ImageCompareFolders&) = delete;
    ImageCompareFolders& operator=(const ImageCompareFolders&) = delete;

    static QString References();
    static QString Output();

private:
    QString savedReferences_;
    QString savedOutput_;
};

} // namespace TestSupport
