#include "support/TestSupport.h"

#include "document/uDataFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;
using TestSupport::writeFile;

TEST(CliItems, ListsEveryItemInStreamOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("projekt.fbp"));
    {
        TDataFile file(path);
        file.WriteInteger(QStringLiteral("Doc"), QStringLiteral("DocVersion"), 5);
        file.WriteString(QStringLiteral("Doc/Pages/Page0/Piclist/Pic0"), QStringLiteral("Größe"),
                         QStringLiteral("x"));
        file.WriteInteger(QStringLiteral("Doc"), QStringLiteral("DocVersion"),
                          6); // duplicates are listed too
        file.WriteBuffer(QStringLiteral("Leer"), QString(), QByteArray());
    }
    const QByteArray before = readFile(path);
    const auto result = runCli({QStringLiteral("items"), path});
    EXPECT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(result.out, QByteArray("20\tDoc\tDocVersion\t4\n"
                                     "192\tDoc/Pages/Page0/Piclist/Pic0\tGr\xC3\xB6\xC3\x9F"
                                     "e\t2\n"
                                     "362\tDoc\tDocVersion\t4\n"
                                     "534\tLeer\t\t0\n"));
    EXPECT_TRUE(result.err.isEmpty());
    EXPECT_EQ(readFile(path), before); // listing changes nothing

    // A container without items lists nothing.
    const QString empty = dir.filePath(QStringLiteral("leer.fbp"));
    { TDataFile file(empty); }
    const auto none = runCli({QStringLiteral("items"), empty});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.isEmpty());
}

TEST(CliItems, InvalidContainersGiveExitCode2AndOneLine) {
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("text.txt"));
    writeFile(text, "Dies ist keine Projektdatei, sondern ein ganz gewöhnlicher Text.\n");
    const QString badMarker = dir.filePath(QStringLiteral("marker.fbp"));
    QByteArray damaged = QByteArray("VX DataFile\0\0\0\0\0\x01\0\0\0", 20) + QByteArray(168, '\0');
    damaged[20] = 2;
    writeFile(badMarker, damaged);

    for (const QString& path : {text, badMarker}) {
        const auto result = runCli({QStringLiteral("items"), path});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err, QByteArray("tintaro-cli: Invalid file format.\n"));
    }
    for (const QStringList& args :
         {QStringList{QStringLiteral("items")},
          QStringList{QStringLiteral("items"), dir.filePath(QStringLiteral("fehlt.fbp"))},
          QStringList{QStringLiteral("items"), dir.path()}}) {
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("fehlt.fbp")))); // never created
}
