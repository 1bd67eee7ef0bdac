#include "support/ImageCompare.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>
#include <string>

namespace TestSupport {

namespace {

QString& referenceFolder() {
    static QString folder = QStringLiteral(TINTARO_TEST_DATA "/images");
    return folder;
}

QString& outputFolder() {
    static QString folder = QStringLiteral(TINTARO_TEST_IMAGES_OUT);
    return folder;
}

bool updatingReferences() {
    const char* value = std::getenv("TINTARO_UPDATE_REFERENCES");
    return value && std::string(value) == "1";
}

int channelDistance(QRgb a, QRgb b) {
    const auto distance = [](int x, int y) { return x > y ? x - y : y - x; };
    int d = distance(qAlpha(a), qAlpha(b));
    d = std::max(d, distance(qRed(a), qRed(b)));
    d = std::max(d, distance(qGreen(a), qGreen(b)));
    return std::max(d, distance(qBlue(a), qBlue(b)));
}

// The differing pixels in red on a pale copy of the reference; outside the reference (a picture
// of another size) everything is red.
QImage differenceImage(const QImage& actual, const QImage& expected, int tolerance) {
    const int width = std::max(actual.width(), expected.width());
    const int height = std::max(actual.height(), expected.height());
    QImage diff(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(diff.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool inBoth =
                x < actual.width() && y < actual.height() && x < expected.width() && y < expected.height();
            if (inBoth && channelDistance(actual.pixel(x, y), expected.pixel(x, y)) <= tolerance) {
                const int grey = qGray(expected.pixel(x, y));
                const int pale = 192 + grey / 4;
                out[x] = qRgb(pale, pale, pale);
            } else {
                out[x] = qRgb(255, 0, 0);
            }
        }
    }
    return diff;
}

QString writeFailureImages(const QString& name, const QImage& actual, const QImage& expected, int tolerance) {
    const QString folder = outputFolder();
    if (!QDir().mkpath(folder))
        return QStringLiteral("(could not create %1)").arg(folder);
    const QString base = QDir(folder).filePath(name);
    QDir().mkpath(QFileInfo(base).path());
    const bool written =
        actual.save(base + QStringLiteral(".actual.png")) &&
        expected.save(base + QStringLiteral(".expected.png")) &&
        differenceImage(actual, expected, tolerance).save(base + QStringLiteral(".diff.png"));
    return written ? base + QStringLiteral(".{actual,expected,diff}.png")
                   : QStringLiteral("(could not write the pictures to %1)").arg(folder);
}

} // namespace

ImageCompareFolders::ImageCompareFolders(QString references, QString output)
    : savedReferences_(referenceFolder()), savedOutput_(outputFolder()) {
    referenceFolder() = std::move(references);
    outputFolder() = std::move(output);
}

ImageCompareFolders::~ImageCompareFolders() {
    referenceFolder() = savedReferences_;
    outputFolder() = savedOutput_;
}

QString ImageCompareFolders::References() {
    return referenceFolder();
}

QString ImageCompareFolders::Output() {
    return outputFolder();
}

::testing::AssertionResult ImagesMatch(const QImage& drawn, QAnyStringView nameView, int tolerance,
                                       qsizetype maxDifferentPixels) {
    const QString name = nameView.toString();
    if (drawn.isNull())
        return ::testing::AssertionFailure() << "the picture \"" << name.toStdString() << "\" is empty";
    const QImage actual = drawn.convertToFormat(QImage::Format_ARGB32);
    const QString referencePath = QDir(referenceFolder()).filePath(name + QStringLiteral(".png"));

    if (!QFileInfo::exists(referencePath)) {
        if (!updatingReferences())
            return ::testing::AssertionFailure()
                   << "no reference " << referencePath.toStdString()
                   << "; run with TINTARO_UPDATE_REFERENCES=1 to write it, then look at it";
        QDir().mkpath(QFileInfo(referencePath).path());
        if (!actual.save(referencePath))
            return ::testing::AssertionFailure() << "could not write " << referencePath.toStdString();
        return ::testing::AssertionSuccess() << "wrote the new reference " << referencePath.toStdString();
    }

    const QImage expected = QImage(referencePath).convertToFormat(QImage::Format_ARGB32);
    if (expected.isNull())
        return ::testing::AssertionFailure()
               << "the reference " << referencePath.toStdString() << " cannot be read";
    if (actual.size() != expected.size()) {
        const QString written = writeFailureImages(name, actual, expected, tolerance);
        return ::testing::AssertionFailure()
               << "\"" << name.toStdString() << "\" is " << actual.width() << "x" << actual.height()
               << ", the reference " << expected.width() << "x" << expected.height() << "; see "
               << written.toStdString();
    }

    qsizetype different = 0;
    int largest = 0;
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            const int distance = channelDistance(a[x], e[x]);
            largest = std::max(largest, distance);
            if (distance > tolerance)
                ++different;
        }
    }
    if (different <= maxDifferentPixels)
        return ::testing::AssertionSuccess();
    const QString written = writeFailureImages(name, actual, expected, tolerance);
    return ::testing::AssertionFailure()
           << "\"" << name.toStdString() << "\": " << different << " pixels differ by more than " << tolerance
           << " (at most " << maxDifferentPixels << " allowed, largest difference " << largest << "); see "
           << written.toStdString();
}

} // namespace TestSupport
