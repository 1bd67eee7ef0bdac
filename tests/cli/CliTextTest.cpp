#include "support/PageElements.h"
#include "support/TestSupport.h"

#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "render/uRTFTextDocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;

namespace {

class CliText : public ::testing::Test {
protected:
    void SetUp() override {
        // Page 0 holds a text element and a clipart, page 1 nothing.
        TFBDocument doc;
        doc.Reset();
        TFBPage* first = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        TestSupport::placeElement<TFBTextElement>(first, 50, 40, 60, 20)->SetRTF("{\\rtf1 alt}");
        TestSupport::placeElement<TFBClipartElement>(first, 50, 80, 20, 20);
        project = dir.filePath(QStringLiteral("album.fbp"));
        SaveDocumentToFile(doc, project);
    }

    QByteArray storedRTF() {
        TFBDocument doc;
        LoadDocumentFromFile(doc, project);
        return static_cast<TFBTextElement*>(doc.Pages.Items(0)->Sizeables.Items(0))->RTF();
    }

    QTemporaryDir dir;
    QString project;
};

} // namespace

TEST_F(CliText, SetsTheTextInOneFontAndSavesInPlace) {
    const auto result =
        runCli({"text", project, "--page", "0", "--element", "0", "--plain",
                QStringLiteral("Gr\u00fc\u00dfe\n\u0141\u00f3d\u017a"), "--font", "Times New Roman", "--size",
                "24", "--bold", "--underline", "--color", "FF8000"});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    QTextDocument doc;
    ASSERT_TRUE(RTFText::ReadRTF(storedRTF(), doc).Complete);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Gr\u00fc\u00dfe\n\u0141\u00f3d\u017a"));
    const QTextCharFormat f = doc.lastBlock().begin().fragment().charFormat();
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman"));
    EXPECT_EQ(f.fontPointSize(), 24);
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_FALSE(f.fontItalic());
    EXPECT_TRUE(f.fontUnderline());
    EXPECT_EQ(f.foreground().color(), QColor(0xFF, 0x80, 0x00));

    // Without options the remembered defaults hold: Arial, 12 points.
    ASSERT_EQ(runCli({"text", project, "--page", "0", "--element", "0", "--plain", "Hallo"}).exitCode, 0);
    RTFText::ReadRTF(storedRTF(), doc);
    const QTextCharFormat plain = doc.begin().begin().fragment().charFormat();
    EXPECT_EQ(plain.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
    EXPECT_EQ(plain.fontPointSize(), 12);
}

TEST_F(CliText, RefusesWithOneLineAndLeavesTheFileAlone) {
    const QByteArray before = readFile(project);
    const QList<QStringList> refused = {
        {"text", project, "--page", "2", "--element", "0", "--plain", "x"},
        {"text", project, "--page", "1", "--element", "0", "--plain", "x"},
        {"text", project, "--page", "0", "--element", "1", "--plain", "x"},
        {"text", project, "--page", "0", "--element", "0"},
        {"text", project, "--page", "0", "--element", "0", "--plain", "x", "--size", "0"},
        {"text", project, "--page", "0", "--element", "0", "--plain", "x", "--size", "1639"},
        {"text", project, "--page", "0", "--element", "0", "--plain", "x", "--color", "red"},
    };
    for (const QStringList& args : refused) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
        EXPECT_EQ(readFile(project), before);
    }
    EXPECT_TRUE(runCli({"text", project, "--page", "0", "--element", "1", "--plain", "x"})
                    .err.contains("not a text element"));
}

TEST(CliRtf, NormalizeWritesTheEditorsText) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("in.rtf"));
    const QByteArray original = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Hallo \\b Welt\\b0\\u937?}";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(original);
    file.close();
    const auto result = runCli({"rtf", "normalize", path});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(result.out, RTFText::NormalizeRTF(original));
    EXPECT_NE(result.out.indexOf("\\b Welt\\b0\\u937?"), -1) << result.out.constData();

    file.open(QIODevice::WriteOnly);
    file.write("{\\rtf1 offen");
    file.close();
    const auto broken = runCli({"rtf", "normalize", path});
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_TRUE(broken.err.contains("Unmatched Brace"));
    EXPECT_EQ(runCli({"rtf", "normalize"}).exitCode, 2);
}
