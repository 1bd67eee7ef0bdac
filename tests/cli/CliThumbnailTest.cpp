#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/uFileAssociation.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;

namespace {

// The Exec value of a key file split into words the way the desktop does it: the key file's
// backslash escapes first, then double-quoted words with their own escapes.
QStringList execWords(const QByteArray& entry) {
    QString exec;
    for (const QByteArray& line : entry.split('\n'))
        if (line.startsWith("Exec="))
            exec = QString::fromUtf8(line.mid(5)).replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    QStringList words;
    QString word;
    bool quoted = false, inWord = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted && c == u'\\' && i + 1 < exec.size()) {
            word += exec[++i];
        } else if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == u' ' && !quoted) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

// Runs the thumbnailer entry's Exec line with %i, %o and %s filled in.
int runExec(const QByteArray& entry, const QString& in, const QString& out, int size) {
    QStringList words = execWords(entry);
    if (words.isEmpty())
        return -1;
    for (QString& w : words)
        w.replace(QStringLiteral("%i"), in)
            .replace(QStringLiteral("%o"), out)
            .replace(QStringLiteral("%s"), QString::number(size));
    QProcess process;
    process.start(words.takeFirst(), words);
    if (!process.waitForFinished(60000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

class CliThumbnail : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        FileAssociation::TAssociation association;
        association.extension = QStringLiteral("fbp");
        association.thumbnailerProgram = QStringLiteral(TINTARO_CLI_PATH);
        entry = FileAssociation::ThumbnailerEntryText(association);
        ASSERT_FALSE(entry.isEmpty());
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    QByteArray entry;
};

} // namespace

// Every product the wizard offers, through the entry a file manager reads: a PNG of the first view
// that fits the size asked for, its longer side exactly that size.
TEST_F(CliThumbnail, ExecLineDrawsTheCoverOfEveryWizardProductWithinTheSize) {
    int products = 0;
    for (const int code : ProductCodes()) {
        if (!IsWizardProduct(code))
            continue;
        SCOPED_TRACE(code);
        ++products;
        TFBDocument document;
        ASSERT_TRUE(CreateProductDocument(document, code, 2031));
        const QString file = path(QStringLiteral("p%1.fbp").arg(code));
        SaveDocumentToFile(document, file);
        const QString png = path(QStringLiteral("p%1.png").arg(code));
        const int size = code % 2 == 0 ? 128 : 256;
        ASSERT_EQ(runExec(entry, file, png, size), 0);
        QImage thumb;
        ASSERT_TRUE(thumb.load(png, "png"));
        EXPECT_LE(thumb.width(), size);
        EXPECT_LE(thumb.height(), size);
        EXPECT_EQ(std::max(thumb.width(), thumb.height()), size);
        EXPECT_GT(std::min(thumb.width(), thumb.height()), size / 4);
    }
    EXPECT_GT(products, 10);
}

// A photo on the cover shows in the thumbnail (drawn from its preview), and the default size is 256.
TEST_F(CliThumbnail, PhotoOnTheFirstPageShowsAtTheDefaultSize) {
    const QString file = path(QStringLiteral("book.fbp"));
    ASSERT_EQ(
        runCli({QStringLiteral("new"), QStringLiteral("--product"), QStringLiteral("11"), file}).exitCode, 0);
    QImage red(1600, 1200, QImage::Format_RGB32);
    red.fill(QColor(220, 10, 10));
    ASSERT_TRUE(red.save(path(QStringLiteral("red.jpg")), "jpg", 90));
    const auto placed =
        runCli({QStringLiteral("place"), file, QStringLiteral("--page"), QStringLiteral("0"),
                QStringLiteral("--frame"), QStringLiteral("0"), path(QStringLiteral("red.jpg"))});
    ASSERT_EQ(placed.exitCode, 0) << placed.err.constData();

    const auto made = runCli({QStringLiteral("thumbnail"), file, path(QStringLiteral("t.png"))});
    ASSERT_EQ(made.exitCode, 0) << made.err.constData();
    QImage thumb;
    ASSERT_TRUE(thumb.load(path(QStringLiteral("t.png")), "png"));
    EXPECT_EQ(std::max(thumb.width(), thumb.height()), 256);
    EXPECT_EQ(made.out, QStringLiteral("%1 x %2\n").arg(thumb.width()).arg(thumb.height()).toUtf8());
    int redPixels = 0;
    for (int y = 0; y < thumb.height(); ++y)
        for (int x = 0; x < thumb.width(); ++x) {
            const QColor c = thumb.pixelColor(x, y);
            redPixels += c.red() > 180 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_GT(redPixels, thumb.width() * thumb.height() / 20);
}

// Damaged and hostile files: exit code 2 quickly, one line on stderr, no output file at all.
TEST_F(CliThumbnail, DamagedFilesGiveExitCodeTwoAndNoOutput) {
    const QString good = path(QStringLiteral("good.fbp"));
    ASSERT_EQ(
        runCli({QStringLiteral("new"), QStringLiteral("--product"), QStringLiteral("1"), good}).exitCode, 0);
    const QByteArray bytes = readFile(good);
    ASSERT_GT(bytes.size(), 200);
    QByteArray truncated = bytes.left(bytes.size() / 2);
    QByteArray scrambled = bytes;
    for (qsizetype i = 64; i < scrambled.size(); i += 7)
        scrambled[i] = char(scrambled[i] ^ 0x5A);
    // The first item claims 2 GB (its size field follows the file header, marker, section and key).
    QByteArray huge = bytes;
    const QByteArray claim("\xFF\xFF\xFF\x7F", 4);
    huge.replace(20 + 4 + 128 + 32, 4, claim);
    const QList<QByteArray> damaged{QByteArray(), QByteArray("not a project"), truncated, scrambled, huge};
    for (int i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        const QString file = path(QStringLiteral("bad%1.fbp").arg(i));
        TestSupport::writeFile(file, damaged[i]);
        const QString png = path(QStringLiteral("bad%1.png").arg(i));
        QElapsedTimer timer;
        timer.start();
        const int rc = runExec(entry, file, png, 128);
        // A scrambled file may still hold a readable document; then it has a thumbnail.
        if (rc == 0 && i == 3)
            continue;
        EXPECT_EQ(rc, 2);
        EXPECT_FALSE(QFile::exists(png));
        EXPECT_LT(timer.elapsed(), 30000);
    }
    const auto missing = runCli(
        {QStringLiteral("thumbnail"), path(QStringLiteral("none.fbp")), path(QStringLiteral("n.png"))});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err.count('\n'), 1);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("n.png"))));
    const auto badSize = runCli({QStringLiteral("thumbnail"), good, path(QStringLiteral("s.png")),
                                 QStringLiteral("--size"), QStringLiteral("0")});
    EXPECT_EQ(badSize.exitCode, 2);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("s.png"))));
}
