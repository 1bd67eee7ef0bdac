#include "editing/uClipboard.h"

#include "platform/Exception.h"

#include <QIODevice>
#include <QMimeData>

#include <new>
#include <utility>

namespace {

TClipboardService* g_installed = nullptr;

TMemoryClipboard& own() {
    static TMemoryClipboard clipboard;
    return clipboard;
}

} // namespace

TMemoryClipboard::TMemoryClipboard() = default;
TMemoryClipboard::~TMemoryClipboard() = default;

void TMemoryClipboard::SetData(std::unique_ptr<QMimeData> data) {
    data_ = std::move(data);
}

bool TMemoryClipboard::HasFormat(const QString& format) const {
    return data_ && data_->hasFormat(format);
}

TClipboardService& Clipboard() {
    return g_installed ? *g_installed : own();
}

TClipboardService* SetClipboardService(TClipboardService* service) {
    return std::exchange(g_installed, service);
}

void CopyStreamToClipboard(const QString& format, QIODevice& stream, std::unique_ptr<QMimeData> beside) {
    auto data = beside ? std::move(beside) : std::make_unique<QMimeData>();
    try {
        stream.seek(0);
        const QByteArray bytes = stream.readAll();
        stream.seek(0);
        data->setData(format, bytes);
    } catch (const std::bad_alloc&) {
        throw Exception(QStringLiteral("Nicht genug Speicher für die Zwischenablage."));
    }
    Clipboard().SetData(std::move(data));
}

void CopyStreamFromClipboard(const QString& format, QIODevice& stream) {
    TClipboardService& clipboard = Clipboard();
    const QMimeData* data = clipboard.Data();
    if (!data || !data->hasFormat(format))
        throw Exception(QStringLiteral("CopyStreamFromClipboard: get no global handle from clipboard!"));
    const QByteArray bytes = data->data(format);
    if (bytes.isEmpty())
        throw Exception(
            QStringLiteral("CopyStreamFromClipboard: could not lock global handle obtained from clipboard!"));
    stream.write(bytes);
}
