#include "platform/uPlatformTexts.h"

#include <cstring>

namespace {

struct TQtText {
    const char* Source;
    const char* Key;
};

constexpr TQtText kShortcutTexts[] = {
    {"Backspace", "XSmkcBkSp"}, {"Tab", "XSmkcTab"},     {"Esc", "XSmkcEsc"},   {"Return", "XSmkcEnter"},
    {"Enter", "XSmkcEnter"},    {"Space", "XSmkcSpace"}, {"PgUp", "XSmkcPgUp"}, {"PgDown", "XSmkcPgDn"},
    {"End", "XSmkcEnd"},        {"Home", "XSmkcHome"},   {"Left", "XSmkcLeft"}, {"Up", "XSmkcUp"},
    {"Right", "XSmkcRight"},    {"Down", "XSmkcDown"},   {"Ins", "XSmkcIns"},   {"Del", "XSmkcDel"},
    {"Shift", "XSmkcShift"},    {"Ctrl", "XSmkcCtrl"},   {"Alt", "XSmkcAlt"},
};

constexpr TQtText kButtonTexts[] = {
    {"OK", "IDS_mbOK"},
    {"&OK", "IDS_mbOK"},
    {"&Yes", "IDS_mbYes"},
    {"&No", "IDS_mbNo"},
    {"Cancel", "IDS_mbCancel"},
    {"&Cancel", "IDS_mbCancel"},
    {"Help", "IDS_mbHelp"},
    {"Abort", "IDS_mbAbort"},
    {"Retry", "IDS_mbRetry"},
    {"Ignore", "IDS_mbIgnore"},
    {"Yes to &All", "IDS_mbYesToAll"},
    {"N&o to All", "IDS_mbNoToAll"},
};

template <std::size_t N>
const char* find(const TQtText (&table)[N], const char* source) {
    for (const TQtText& text : table) {
        if (std::strcmp(text.Source, source) == 0)
            return text.Key;
    }
    return nullptr;
}

} // namespace

TPlatformTexts::TPlatformTexts(Lookup lookup, QObject* parent)
    : QTranslator(parent), lookup_(std::move(lookup)) {
    setObjectName(QStringLiteral("PlatformTexts"));
}

const char* TPlatformTexts::KeyOf(const char* context, const char* sourceText) {
    if (!context || !sourceText)
        return nullptr;
    if (std::strcmp(context, "QShortcut") == 0)
        return find(kShortcutTexts, sourceText);
    if (std::strcmp(context, "QPlatformTheme") == 0 || std::strcmp(context, "QGnomeTheme") == 0)
        return find(kButtonTexts, sourceText);
    return nullptr;
}

QString TPlatformTexts::translate(const char* context, const char* sourceText, const char*, int) const {
    const char* key = KeyOf(context, sourceText);
    if (!key || !lookup_)
        return QString();
    QString text = lookup_(QString::fromLatin1(key));
    // The tables write modifiers as "Strg+"; Qt puts the "+" between the keys itself.
    if (std::strcmp(context, "QShortcut") == 0 && text.size() > 1 && text.endsWith(QLatin1Char('+')))
        text.chop(1);
    return text;
}
