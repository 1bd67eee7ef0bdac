#include "document/uFBColor.h"

#include "document/uColorList.h"
#include "document/uStreamEncoding.h"
#include "platform/uVXRegIniFile.h"

#include <QStringList>

namespace {

TColorDialogService* g_dialog = nullptr;

const QString customColorsSection = QStringLiteral("CustomColors");
const QString customColorsValue = QStringLiteral("Colors");
constexpr std::int32_t white = 0xFFFFFF;

} // namespace

QColor ColorToQColor(std::int32_t color) {
    const auto c = std::uint32_t(color);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

std::int32_t QColorToColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return std::int32_t(std::uint32_t(rgb.red()) | std::uint32_t(rgb.green()) << 8 |
                        std::uint32_t(rgb.blue()) << 16);
}

bool TFBColor::GetColor(std::int32_t& colour) const {
    if (Color >= 0) {
        colour = Color;
        return true;
    }
    std::int32_t picked = white;
    if (PickColor(picked))
        colour = picked;
    return true;
}

void TFBColor::SaveToStream(QIODevice& stream) const {
    StreamWriteString(stream, Name);
    StreamWriteInt32(stream, Color);
}

void TFBColor::LoadFromStream(QIODevice& stream) {
    QString name = StreamReadString(stream);
    const std::int32_t color = StreamReadInt32(stream);
    Name = std::move(name);
    Color = color;
}

TColorDialogService* SetColorDialogService(TColorDialogService* service) {
    return std::exchange(g_dialog, service);
}

QString CustomColorsToText(const TColorDialogService::CustomColors& colors) {
    QStringList lines;
    for (int i = 0; i < TColorDialogService::CustomColorCount; ++i)
        lines << QString::asprintf("Color%c=%.6X", char('A' + i),
                                   std::uint32_t(colors[size_t(i)]) & 0xFFFFFFu);
    return lines.join(QLatin1Char('\n'));
}

TColorDialogService::CustomColors CustomColorsFromText(const QString& text) {
    TColorDialogService::CustomColors colors;
    colors.fill(white);
    const std::vector<std::optional<std::int32_t>> lines = CustomColorLines(text);
    for (size_t i = 0; i < lines.size() && i < colors.size(); ++i) {
        if (lines[i])
            colors[i] = *lines[i];
    }
    return colors;
}

bool PickColor(std::int32_t& colour) {
    TColorDialogService::CustomColors custom =
        CustomColorsFromText(VXRegIniFile().ReadString(customColorsSection, customColorsValue, QString()));
    TColorList::Instance().LoadFromSettings(customColorsSection);
    if (!g_dialog)
        return false;
    std::int32_t chosen = colour;
    if (!g_dialog->Execute(chosen, custom))
        return false;
    colour = chosen;
    VXRegIniFile().WriteString(customColorsSection, customColorsValue, CustomColorsToText(custom));
    TColorList::Instance().LoadFromSettings(customColorsSection);
    return true;
}
