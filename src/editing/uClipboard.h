#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;
class QMimeData;

// The clipboard the page view's Cut, Copy and Paste use. The widgets layer installs the
// system clipboard; tests and the command line use the process's own one (the default).
class TClipboardService {
public:
    virtual ~TClipboardService() = default;
    // What the clipboard holds now; nullptr when it holds nothing. Valid until the next change.
    virtual const QMimeData* Data() const = 0;
    // Replaces the content.
    virtual void SetData(std::unique_ptr<QMimeData> data) = 0;
    // The formats offered, as last seen: asking the owner of the system clipboard waits on it,
    // so menus test what was cached when the clipboard last changed.
    virtual bool HasFormat(const QString& format) const = 0;
};

// A clipboard inside the process.
class TMemoryClipboard : public TClipboardService {
public:
    TMemoryClipboard();
    ~TMemoryClipboard() override;
    const QMimeData* Data() const override { return data_.get(); }
    void SetData(std::unique_ptr<QMimeData> data) override;
    bool HasFormat(const QString& format) const override;

private:
    std::unique_ptr<QMimeData> data_;
};

// The installed clipboard, or the process's own when none is installed.
TClipboardService& Clipboard();
// Installs the clipboard (not owned; nullptr: the process's own) and returns the one before.
TClipboardService* SetClipboardService(TClipboardService* service);

// Puts the whole stream on the clipboard under the format (the stream is read from its start and
// left at its start), together with what `beside` offers other programs. Raises "Nicht genug
// Speicher für die Zwischenablage." when the bytes cannot be held.
void CopyStreamToClipboard(const QString& format, QIODevice& stream, std::unique_ptr<QMimeData> beside = {});
// Appends the bytes the clipboard holds under the format to the stream. Raises
// "CopyStreamFromClipboard: get no global handle from clipboard!" when the format is absent and
// "CopyStreamFromClipboard: could not lock global handle obtained from clipboard!" when the
// clipboard offers the format but its owner delivers nothing.
void CopyStreamFromClipboard(const QString& format, QIODevice& stream);
