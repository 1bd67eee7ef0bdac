#include "widgets/uColorChoices.h"

#include "document/uColorList.h"
#include "i18n/ulocalize.h"

namespace {

// The German text stands until a language table gives another; registering it lets the template
// of all texts list the key.
QString Caption(const char* key, const QString& german) {
    const QString section = QString::fromLatin1(kDefaultSection);
    const QString name = QString::fromLatin1(key);
    if (!IsTextRegistered(section, name))
        RegisterText(section, name, german);
    return ReadText(section, name, german);
}

} // namespace

const std::array<std::int32_t, 16>& StandardColors() {
    // Black, maroon, green, olive, navy, purple, teal, grey, silver, red, lime, yellow, blue,
    // fuchsia, aqua, white: the sixteen colours every palette of the platform knows by name.
    static const std::array<std::int32_t, 16> colors{
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
        0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    return colors;
}

std::vector<std::int32_t> CustomColorChoices() {
    const TColorList& list = TColorList::Instance();
    std::vector<std::int32_t> colors;
    colors.reserve(size_t(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        colors.push_back(list.Items(i));
    return colors;
}

QString NoColorCaption() {
    return Caption(kCaptionNoColorKey, QStringLiteral("Keine Farbe"));
}

QString MoreColorCaption() {
    return Caption(kCaptionMoreColorKey, QStringLiteral("Weitere Farben..."));
}
