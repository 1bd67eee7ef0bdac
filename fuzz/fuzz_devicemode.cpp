// Reads arbitrary bytes as a stored "DeviceMode" record, as the print settings come back from the
// settings store: a record is refused or read, never a crash; one that was read writes back to a
// record that reads as the same settings, byte for byte stable from then on.
#include "print/uDeviceMode.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<TDeviceMode> mode = TDeviceMode::Deserialize(bytes);
    if (!mode)
        return 0;
    if (mode->FormName.size() > TDeviceMode::kMaxFormName)
        std::abort();
    const QByteArray written = mode->Serialize();
    const std::optional<TDeviceMode> again = TDeviceMode::Deserialize(written);
    if (!again || !(*again == *mode) || again->Serialize() != written)
        std::abort();
    return 0;
}
