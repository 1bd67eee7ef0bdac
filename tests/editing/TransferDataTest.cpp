// The payloads of drags and the clipboard: what the builders write and what the readers accept.
#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uDataFile.h"
#include "document/uFBColor.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uClipboard.h"
#include "editing/uTransferData.h"
#include "platform/Exception.h"
#include "support/PageElements.h"
#include "support/PictureSupport.h"

#include <QBuffer>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class TransferData : public ::testing::Test {
protected:
    void SetUp() override {
        doc.Reset();
        doc.ScreenMode = 1;
        doc.PageWidth = 216;
        doc.PageHeight = 135;
        TestSupport::addPages(doc, 3);
        for (int p = 0; p < 3; ++p)
            for (int i = 0; i < 2; ++i)
                TestSupport::placeElement<TFBPictureElement>(doc.Pages.Items(p), 50.f + 100 * i, 60, 80, 80);
    }
    void TearDown() override {
        doc.Reset();
        Clipboard().SetData(nullptr);
    }
    TFBDocument doc;
};

TEST_F(TransferData, FileListsTravelAsVXFileListAndAsUrls) {
    const QStringList paths = {QStringLiteral("/home/anna/Grüße 2024/Strand #1.jpg"),
                               QStringLiteral("/tmp/b.png")};
    EXPECT_EQ(Transfer::FileListBytes(paths), QByteArray("/home/anna/Gr\xC3\xBC\xC3\x9F"
                                                         "e 2024/Strand #1.jpg\r\n/tmp/b.png"));
    // Lines end with "\r\n" or "\n"; empty lines name nothing.
    EXPECT_EQ(Transfer::ParseFileList("/a.jpg\r\n/b.jpg\n\n/c.jpg\r\n"),
              (QStringList{QStringLiteral("/a.jpg"), QStringLiteral("/b.jpg"), QStringLiteral("/c.jpg")}));

    QMimeData ours;
    Transfer::PutFileList(ours, paths);
    ASSERT_TRUE(ours.hasFormat(TransferFormat::FileList));
    ASSERT_TRUE(ours.hasFormat(TransferFormat::UriList));
    EXPECT_EQ(ours.urls().value(0).toLocalFile(), paths[0]);
    EXPECT_EQ(Transfer::DroppedFiles(ours), paths);

    // A file manager's drag: escapes are decoded, other schemes left out.
    QMimeData foreign;
    foreign.setData(TransferFormat::UriList,
                    "https://example.org/x.jpg\r\n"
                    "file:///home/anna/Gr%C3%BC%C3%9Fe%202024/Strand%20%231.jpg\r\n");
    EXPECT_TRUE(Transfer::OffersFiles(foreign));
    EXPECT_EQ(Transfer::DroppedFiles(foreign), QStringList{paths[0]});
    // "VXFileList" wins over the URLs beside it.
    foreign.setData(TransferFormat::FileList, "/tmp/b.png");
    EXPECT_EQ(Transfer::DroppedFiles(foreign), QStringList{paths[1]});

    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/x.jpg"))});
    EXPECT_FALSE(Transfer::OffersFiles(remote));

    QMimeData clipart;
    Transfer::PutClipart(clipart, {QStringLiteral("/c/herz.png"), QStringLiteral("/c/stern.png")});
    EXPECT_EQ(Transfer::DroppedClipart(clipart), QStringLiteral("/c/herz.png"));
}

TEST_F(TransferData, FramesAreNamedByTheirPlaceInDocumentOrder) {
    TFBPictureElement* frame = doc.Pages.Items(1)->Picture(1);
    EXPECT_EQ(Transfer::PicBytes(doc, *frame), QByteArray("3"));
    EXPECT_EQ(Transfer::ReadPic(doc, "3"), frame);
    EXPECT_EQ(Transfer::ReadPic(doc, "0"), doc.Pages.Items(0)->Picture(0));
    // Walking with NextPictureElement gives the same order.
    const TFBPictureElement* walk = doc.Pages.Items(0)->Picture(0);
    for (int i = 0; i < 3; ++i)
        walk = walk->NextPictureElement();
    EXPECT_EQ(walk, frame);
    // Anything that names no frame of this document is nobody.
    for (const char* foreign : {"6", "-1", "", "1x", " 1", "0x1", "99999999999"})
        EXPECT_EQ(Transfer::ReadPic(doc, foreign), nullptr) << foreign;
    TFBPictureElement stray(nullptr);
    EXPECT_EQ(Transfer::FramePosition(doc, stray), -1);

    EXPECT_EQ(Transfer::ReadView(doc, Transfer::ViewBytes(1)), 1);
    EXPECT_EQ(Transfer::ReadView(doc, "2"), -1); // three pages in a book are two views
    EXPECT_EQ(Transfer::ReadView(doc, "-1"), -1);
}

TEST_F(TransferData, LayoutsAndColoursAreReadOnlyWhenWholeAndSound) {
    const TFBPageTemplate* layout = FindPageTemplate(QStringLiteral("Horizon1"));
    ASSERT_NE(layout, nullptr);
    const QByteArray bytes = Transfer::TemplateBytes(*layout);
    const std::unique_ptr<TFBPageTemplate> read = Transfer::ReadTemplate(bytes);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Name, layout->Name);
    EXPECT_EQ(read->Frames.Count(), layout->Frames.Count());
    EXPECT_EQ(Transfer::TemplateBytes(*read), bytes);
    EXPECT_EQ(Transfer::ReadTemplate(bytes.left(bytes.size() - 1)), nullptr);
    EXPECT_EQ(Transfer::ReadTemplate(bytes + '\0'), nullptr);
    EXPECT_EQ(Transfer::ReadTemplate(QByteArray()), nullptr);

    const QByteArray rot = Transfer::ColorBytes(TFBColor(QStringLiteral("rot"), 0x0000FF));
    EXPECT_EQ(rot, QByteArray("\x03\x00\x00\x00rot\xFF\x00\x00\x00", 11));
    ASSERT_TRUE(Transfer::ReadColor(rot).has_value());
    EXPECT_EQ(Transfer::ReadColor(rot)->Color, 0x0000FF);
    // A colour the user picks when it is dropped.
    EXPECT_EQ(Transfer::ReadColor(Transfer::ColorBytes(TFBColor(QStringLiteral("?"), -1)))->Color, -1);
    EXPECT_FALSE(Transfer::ReadColor(Transfer::ColorBytes(TFBColor(QStringLiteral("x"), 0x1000000))));
    EXPECT_FALSE(Transfer::ReadColor(rot.left(9)));
    EXPECT_FALSE(Transfer::ReadColor(rot + "x"));
    EXPECT_FALSE(Transfer::ReadColor(QByteArray("\xFF\xFF\xFF\x7F", 4)));
}

TEST_F(TransferData, CopiedElementsCarryTheirTransferFormUnderClipboard) {
    TFBPage* right = doc.Pages.Items(1);
    auto* text = TestSupport::placeElement<TFBTextElement>(right, 30, 40, 50, 20);
    text->SetRTF("{\\rtf1\\ansi Am Meer\\par Gr\\'fc\\'dfe}");
    const Transfer::TCopied copiedText = Transfer::CopyElement(*text);
    EXPECT_EQ(copiedText.Format, TransferFormat::ClipData);
    EXPECT_EQ(copiedText.ClassName, QStringLiteral("TFBTextElement"));
    const std::optional<Transfer::TClipContent> textContent = Transfer::InspectClipboard(copiedText.Bytes);
    ASSERT_TRUE(textContent.has_value());
    EXPECT_EQ(textContent->ClassName, QStringLiteral("TFBTextElement"));

    QByteArray bytes = copiedText.Bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    EXPECT_TRUE(file.FindItem(Transfer::ClipboardSection, QStringLiteral("IsLeftPage")));
    // Page 1 of a book is the left page of view 1.
    EXPECT_TRUE(textContent->IsLeftPage);
    EXPECT_FLOAT_EQ(float(file.ReadFloat(Transfer::ClipboardSection, QStringLiteral("CenterX"), 0)), 30.f);

    // Other programs get the text as text.
    QMimeData data;
    Transfer::PutCopied(data, copiedText, *text);
    EXPECT_EQ(data.text(), QStringLiteral("Am Meer\nGrüße"));
    EXPECT_EQ(data.data(QStringLiteral("text/rtf")), text->RTF());

    TFBPictureElement* frame = doc.Pages.Items(2)->Picture(0);
    frame->SetColorFill(0x3366CC);
    const Transfer::TCopied copiedFrame = Transfer::CopyElement(*frame);
    EXPECT_EQ(copiedFrame.Format, TransferFormat::ClipPic);
    QByteArray frameBytes = copiedFrame.Bytes;
    QBuffer frameBuffer(&frameBytes);
    frameBuffer.open(QIODevice::ReadOnly);
    TMemoryDataFile frameFile(frameBuffer);
    EXPECT_FALSE(frameFile.FindItem(Transfer::ClipboardSection, QStringLiteral("CenterX")));
    EXPECT_TRUE(frameFile.FindItem(Transfer::ClipboardSection, QStringLiteral("File")));
    QMimeData frameData;
    Transfer::PutCopied(frameData, copiedFrame, *frame);
    QImage png;
    ASSERT_TRUE(png.loadFromData(frameData.data(QStringLiteral("image/png")), "PNG"));
    EXPECT_EQ(png.size(), QSize(48, 48));
}

TEST_F(TransferData, ClipboardBytesThatHoldNoElementAreRefused) {
    EXPECT_FALSE(Transfer::InspectClipboard(QByteArray()));
    EXPECT_FALSE(Transfer::InspectClipboard(QByteArray(64, 'x')));
    // A container without "Classname" in "Clipboard".
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadWrite);
        TMemoryDataFile file(buffer);
        file.WriteString(QStringLiteral("Anderes"), QStringLiteral("Classname"),
                         QStringLiteral("TFBTextElement"));
    }
    EXPECT_FALSE(Transfer::InspectClipboard(bytes));
    // A frame whose picture bytes are no picture.
    QByteArray frameBytes;
    {
        QBuffer buffer(&frameBytes);
        buffer.open(QIODevice::ReadWrite);
        TMemoryDataFile file(buffer);
        file.WriteString(Transfer::ClipboardSection, QStringLiteral("Classname"),
                         QStringLiteral("TFBPictureElement"));
        file.WriteBuffer(Transfer::ClipboardSection, QStringLiteral("File"), QByteArray("kein Bild"));
    }
    const std::optional<Transfer::TClipContent> damaged = Transfer::InspectClipboard(frameBytes);
    ASSERT_TRUE(damaged.has_value());
    EXPECT_FALSE(damaged->PictureOk);
    // Cut short inside its items it still names its class but the picture is gone with the rest.
    EXPECT_FALSE(Transfer::InspectClipboard(frameBytes.left(10)));
}

TEST_F(TransferData, TheClipboardHelpersSayWhatIsMissing) {
    QBuffer in;
    in.setData("abc");
    in.open(QIODevice::ReadOnly);
    in.seek(2);
    CopyStreamToClipboard(TransferFormat::ClipData, in);
    EXPECT_EQ(in.pos(), 0);
    ASSERT_TRUE(Clipboard().HasFormat(TransferFormat::ClipData));

    QBuffer out;
    out.open(QIODevice::ReadWrite);
    out.write("x");
    CopyStreamFromClipboard(TransferFormat::ClipData, out);
    EXPECT_EQ(out.data(), QByteArray("xabc"));
    try {
        CopyStreamFromClipboard(TransferFormat::ClipPic, out);
        FAIL() << "no picture on the clipboard";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("CopyStreamFromClipboard: get no global handle from clipboard!"));
    }
    auto empty = std::make_unique<QMimeData>();
    empty->setData(TransferFormat::ClipPic, QByteArray());
    Clipboard().SetData(std::move(empty));
    try {
        CopyStreamFromClipboard(TransferFormat::ClipPic, out);
        FAIL() << "an owner that delivers nothing";
    } catch (const Exception& e) {
        EXPECT_EQ(
            e.message(),
            QStringLiteral("CopyStreamFromClipboard: could not lock global handle obtained from clipboard!"));
    }
}

} // namespace
