#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QMimeData;
class TFBColor;
class TFBDocument;
class TFBElement;
class TFBPageTemplate;
class TFBPictureElement;

// The one place that builds and reads what drags and the clipboard carry between the page view,
// the pages panel, the side lists and the picture browser, and between two running designers.
// Builders make the payload a drag source or Copy hands out; readers check a payload completely
// before anybody changes the document, and say "no" (an empty result) rather than guess.
//
// Format names are the program's own and travel as MIME format names of QMimeData; X11 and
// Wayland carry them under these names, so a second designer reads what the first one wrote.
namespace TransferFormat {
// Picture files, UTF-8 paths one per line.
inline const QString FileList = QStringLiteral("VXFileList");
// What file managers drag: file:// URLs.
inline const QString UriList = QStringLiteral("text/uri-list");
inline const QString PageTemplate = QStringLiteral("VXPageTemplate");
inline const QString Color = QStringLiteral("VXColor");
// A picture frame of the running program: its position among the document's frames.
inline const QString Pic = QStringLiteral("VXPic");
// Clipart files, one per line (the first is used).
inline const QString Clipart = QStringLiteral("VXClipart");
// A view index of the pages panel.
inline const QString View = QStringLiteral("VXView");
// Clipboard: a text or clipart element, a picture frame's content, and a calendar (this one is
// never written).
inline const QString ClipData = QStringLiteral("CF_ZK_FotobuchData");
inline const QString ClipPic = QStringLiteral("CF_ZK_FotobuchPic");
inline const QString ClipKalender = QStringLiteral("CF_ZK_FotobuchKalender");
} // namespace TransferFormat

namespace Transfer {

// --- file lists ("VXFileList" beside "text/uri-list")
// The paths joined by "\r\n".
QByteArray FileListBytes(const QStringList& paths);
// One path a line; "\r\n" and "\n" both end a line; empty lines are left out.
QStringList ParseFileList(const QByteArray& bytes);
// Writes "VXFileList" and "text/uri-list" of the same files.
void PutFileList(QMimeData& data, const QStringList& paths);
// The format's data offers files: "VXFileList" (which wins), or local files among the URLs.
bool OffersFiles(const QMimeData& data);
// The dropped paths: "VXFileList" as written, else the local files of the URLs in their order
// (escapes decoded; URLs of other schemes are left out).
QStringList DroppedFiles(const QMimeData& data);

// --- clipart ("VXClipart")
void PutClipart(QMimeData& data, const QStringList& paths);
// The first path of the list; empty when there is none.
QString DroppedClipart(const QMimeData& data);

// --- picture frames ("VXPic")
// The frame's position among the document's frames in document order (NextPictureElement);
// -1 when it is none of them.
int FramePosition(const TFBDocument& document, const TFBPictureElement& frame);
// The frame at that position, or nullptr.
TFBPictureElement* FrameAtPosition(const TFBDocument& document, int position);
QByteArray PicBytes(const TFBDocument& document, const TFBPictureElement& frame);
// The frame the decimal text names, or nullptr for anything that names none of the document's.
TFBPictureElement* ReadPic(const TFBDocument& document, const QByteArray& bytes);

// --- views ("VXView")
QByteArray ViewBytes(int view);
// The view index, or -1 for text that is no view of the document.
int ReadView(const TFBDocument& document, const QByteArray& bytes);

// --- layouts ("VXPageTemplate") and colours ("VXColor"), in their stream forms
QByteArray TemplateBytes(const TFBPageTemplate& layout);
// nullptr for a short or damaged stream, or one with bytes left over.
std::unique_ptr<TFBPageTemplate> ReadTemplate(const QByteArray& bytes);
QByteArray ColorBytes(const TFBColor& colour);
// Nothing for a short or damaged stream, bytes left over, or a colour above 0xFFFFFF (negative
// colours are kept: the user picks the colour when it is dropped).
std::optional<TFBColor> ReadColor(const QByteArray& bytes);

// --- the clipboard container
// The section the copied element writes itself into.
inline const QString ClipboardSection = QStringLiteral("Clipboard");

// An element copied: the memory container with its transfer form under "Clipboard", and the
// clipboard format it goes under ("CF_ZK_FotobuchPic" for a frame, "CF_ZK_FotobuchData" else).
struct TCopied {
    QString Format;
    QString ClassName;
    QByteArray Bytes;
};
TCopied CopyElement(const TFBElement& element);
// Puts the copied element on data under its format, and for other programs the frame's picture
// as "image/png", or a text element's text as "text/plain" and "text/rtf".
void PutCopied(QMimeData& data, const TCopied& copied, const TFBElement& element);

// What a clipboard container holds, read without changing anything.
struct TClipContent {
    QString ClassName;
    bool IsLeftPage = true;
    // The picture it carries decodes (or it carries none).
    bool PictureOk = true;
};
// Nothing when the bytes are no container or "Clipboard" has no "Classname".
std::optional<TClipContent> InspectClipboard(const QByteArray& bytes);
// The format a container of this class goes under (for reading a saved container back).
QString ClipboardFormatOf(const QString& className);

} // namespace Transfer
