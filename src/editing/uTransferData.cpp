#include "editing/uTransferData.h"

#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uDataFile.h"
#include "document/uFBColor.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "platform/Exception.h"
#include "platform/uCodepage.h"
#include "platform/uImaging.h"
#include "render/uRTFParser.h"

#include <QBuffer>
#include <QList>
#include <QMimeData>
#include <QUrl>

namespace {

QStringList splitLines(const QByteArray& bytes) {
    QStringList lines;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines << QString::fromUtf8(line);
    }
    return lines;
}

// The decimal text of a non-negative number; nothing for anything else (signs, spaces, hex).
std::optional<int> readDecimal(const QByteArray& bytes) {
    QByteArray text = bytes;
    // Text payloads of other programs may end with a line break or a terminating zero.
    while (!text.isEmpty() && (text.endsWith('\0') || text.endsWith('\n') || text.endsWith('\r')))
        text.chop(1);
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    return text.toInt();
}

// A text element's rich text as plain text for other programs.
QString plainText(const QByteArray& rtf) {
    QByteArray ansi;
    TRTFParser parser;
    parser.OnText = [&ansi](TRTFParser&, const QByteArray& text) { ansi += text; };
    parser.OnControl = [&ansi](TRTFParser&, const QByteArray& word, bool, int) {
        if (word == "par" || word == "line")
            ansi += '\n';
        else if (word == "tab")
            ansi += '\t';
    };
    try {
        parser.Parse(rtf);
    } catch (const RTFParseException&) {
        // What was read before the damage is still the text.
    }
    while (ansi.endsWith('\n'))
        ansi.chop(1);
    return Codepage::fromAnsi(ansi);
}

} // namespace

namespace Transfer {

QByteArray FileListBytes(const QStringList& paths) {
    return paths.join(QStringLiteral("\r\n")).toUtf8();
}

QStringList ParseFileList(const QByteArray& bytes) {
    return splitLines(bytes);
}

void PutFileList(QMimeData& data, const QStringList& paths) {
    data.setData(TransferFormat::FileList, FileListBytes(paths));
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
}

bool OffersFiles(const QMimeData& data) {
    if (data.hasFormat(TransferFormat::FileList))
        return true;
    if (!data.hasUrls())
        return false;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            return true;
    return false;
}

QStringList DroppedFiles(const QMimeData& data) {
    if (data.hasFormat(TransferFormat::FileList))
        return ParseFileList(data.data(TransferFormat::FileList));
    QStringList paths;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths << url.toLocalFile();
    return paths;
}

void PutClipart(QMimeData& data, const QStringList& paths) {
    data.setData(TransferFormat::Clipart, FileListBytes(paths));
}

QString DroppedClipart(const QMimeData& data) {
    const QStringList paths = ParseFileList(data.data(TransferFormat::Clipart));
    return paths.isEmpty() ? QString() : paths.first();
}

int FramePosition(const TFBDocument& document, const TFBPictureElement& frame) {
    int position = 0;
    for (const TFBPage* page : document.Pages)
        for (int i = 0; i < page->Pictures.Count(); ++i, ++position)
            if (page->Picture(i) == &frame)
                return position;
    return -1;
}

TFBPictureElement* FrameAtPosition(const TFBDocument& document, int position) {
    if (position < 0)
        return nullptr;
    for (const TFBPage* page : document.Pages) {
        if (position < page->Pictures.Count())
            return page->Picture(position);
        position -= page->Pictures.Count();
    }
    return nullptr;
}

QByteArray PicBytes(const TFBDocument& document, const TFBPictureElement& frame) {
    return QByteArray::number(FramePosition(document, frame));
}

TFBPictureElement* ReadPic(const TFBDocument& document, const QByteArray& bytes) {
    const std::optional<int> position = readDecimal(bytes);
    return position ? FrameAtPosition(document, *position) : nullptr;
}

QByteArray ViewBytes(int view) {
    return QByteArray::number(view);
}

int ReadView(const TFBDocument& document, const QByteArray& bytes) {
    const std::optional<int> view = readDecimal(bytes);
    return view && *view < document.ViewCount() ? *view : -1;
}

QByteArray TemplateBytes(const TFBPageTemplate& layout) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    layout.SaveToStream(buffer);
    return bytes;
}

std::unique_ptr<TFBPageTemplate> ReadTemplate(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    auto layout = std::make_unique<TFBPageTemplate>();
    try {
        layout->LoadFromStream(buffer);
    } catch (const Exception&) {
        return nullptr;
    }
    if (!buffer.atEnd())
        return nullptr;
    return layout;
}

QByteArray ColorBytes(const TFBColor& colour) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    colour.SaveToStream(buffer);
    return bytes;
}

std::optional<TFBColor> ReadColor(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TFBColor colour;
    try {
        colour.LoadFromStream(buffer);
    } catch (const Exception&) {
        return std::nullopt;
    }
    if (!buffer.atEnd() || colour.Color > 0xFFFFFF)
        return std::nullopt;
    return colour;
}

TCopied CopyElement(const TFBElement& element) {
    TCopied copied;
    copied.ClassName = element.ClassName();
    copied.Format = ClipboardFormatOf(copied.ClassName);
    QBuffer buffer(&copied.Bytes);
    buffer.open(QIODevice::ReadWrite);
    TMemoryDataFile file(buffer);
    element.SaveWithPicture(file, ClipboardSection);
    return copied;
}

void PutCopied(QMimeData& data, const TCopied& copied, const TFBElement& element) {
    data.setData(copied.Format, copied.Bytes);
    if (const auto* frame = dynamic_cast<const TFBPictureElement*>(&element)) {
        const QImage picture = frame->GetBitmap();
        if (!picture.isNull())
            data.setData(QStringLiteral("image/png"), Imaging::EncodePng(picture));
    } else if (const auto* text = dynamic_cast<const TFBTextElement*>(&element)) {
        data.setText(plainText(text->RTF()));
        data.setData(QStringLiteral("text/rtf"), text->RTF());
    }
}

std::optional<TClipContent> InspectClipboard(const QByteArray& bytes) {
    if (bytes.size() < TCustomDataFile::kHeaderSize)
        return std::nullopt;
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    if (!file.HasValidHeader())
        return std::nullopt;
    const QString section = ClipboardSection;
    TClipContent content;
    try {
        content.ClassName = file.ReadString(section, QStringLiteral("Classname"), QString());
        if (content.ClassName.isEmpty())
            return std::nullopt;
        content.IsLeftPage = file.ReadBool(section, QStringLiteral("IsLeftPage"), true);
        QByteArray picture;
        if (file.ReadBuffer(section, QStringLiteral("File"), picture) >= 0) {
            // A header that tells a size is what a picture needs to be shown; the pixels are
            // decoded when the frame is first drawn.
            content.PictureOk = Imaging::ProbeSize(picture).has_value();
        }
    } catch (const Exception&) {
        return std::nullopt;
    }
    return content;
}

QString ClipboardFormatOf(const QString& className) {
    return className == QLatin1String("TFBPictureElement") ? TransferFormat::ClipPic
                                                           : TransferFormat::ClipData;
}

} // namespace Transfer
