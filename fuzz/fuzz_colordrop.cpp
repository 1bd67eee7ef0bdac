// Feeds arbitrary bytes to the readers of colour data that can come from outside: a "VXColor" drop
// payload and the lines of "custcolo.dat". They must accept or raise Exception, never crash.
#include "document/uColorList.h"
#include "document/uFBColor.h"
#include "platform/Exception.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(input);
    buffer.open(QIODevice::ReadOnly);
    TFBColor color;
    try {
        color.LoadFromStream(buffer);
    } catch (const Exception&) {
    }
    int colours = 0;
    for (const QByteArray& line : input.split('\n')) {
        std::int32_t value = 0;
        colours += TextToColor(QString::fromLatin1(line), value) ? 1 : 0;
    }
    return colours < 0 || color.Name.size() > input.size() ? 1 : 0;
}
