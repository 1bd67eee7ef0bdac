#include "print/uDeviceMode.h"

#include <cstring>

namespace {

constexpr char kTag[4] = {'T', 'D', 'M', 'R'};
constexpr std::int32_t kMaxOptions = 256;

class TWriter {
public:
    void Int(std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            bytes_.append(static_cast<char>((u >> (8 * i)) & 0xFF));
    }
    void Text(const QString& s) {
        const QByteArray utf8 = s.toUtf8();
        Int(static_cast<std::int32_t>(utf8.size()));
        bytes_.append(utf8);
    }
    QByteArray bytes_;
};

// Every read checks what is left, so a damaged record ends as "not a record", never as a huge
// allocation or a read past the end.
class TReader {
public:
    explicit TReader(const QByteArray& bytes) : bytes_(bytes) {}
    bool Int(std::int32_t& v) {
        if (bytes_.size() - pos_ < 4)
            return false;
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        pos_ += 4;
        v = static_cast<std::int32_t>(u);
        return true;
    }
    bool Text(QString& s) {
        std::int32_t n = 0;
        if (!Int(n) || n < 0 || n > bytes_.size() - pos_)
            return false;
        s = QString::fromUtf8(bytes_.constData() + pos_, n);
        pos_ += n;
        return true;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    qsizetype pos_ = 0;

private:
    const QByteArray& bytes_;
};

} // namespace

QString TDeviceMode::Option(const QString& key) const {
    for (const auto& [k, v] : Options)
        if (k == key)
            return v;
    return {};
}

void TDeviceMode::SetOption(const QString& key, const QString& value) {
    for (auto& [k, v] : Options)
        if (k == key) {
            v = value;
            return;
        }
    Options.emplace_back(key, value);
}

QByteArray TDeviceMode::Serialize() const {
    TWriter w;
    w.bytes_.append(kTag, sizeof kTag);
    w.Int(kVersion);
    w.Text(QueueName);
    w.Text(MakeAndModel);
    w.Int(static_cast<std::int32_t>(Fields));
    w.Int(PaperSize);
    w.Int(PaperWidth);
    w.Int(PaperLength);
    w.Text(FormName.left(kMaxFormName));
    w.Int(Copies);
    w.Int(Color);
    w.Text(PageSizeKey);
    w.Int(Orientation);
    w.Int(Resolution);
    w.Int(static_cast<std::int32_t>(Options.size()));
    for (const auto& [k, v] : Options) {
        w.Text(k);
        w.Text(v);
    }
    return w.bytes_;
}

std::optional<TDeviceMode> TDeviceMode::Deserialize(const QByteArray& bytes) {
    if (bytes.size() > kMaxStoredSize || bytes.size() < static_cast<qsizetype>(sizeof kTag) ||
        std::memcmp(bytes.constData(), kTag, sizeof kTag) != 0)
        return std::nullopt;
    TReader r(bytes);
    r.pos_ = sizeof kTag;
    TDeviceMode m;
    std::int32_t version = 0, fields = 0, options = 0;
    if (!r.Int(version) || version != kVersion)
        return std::nullopt;
    const bool ok = r.Text(m.QueueName) && r.Text(m.MakeAndModel) && r.Int(fields) && r.Int(m.PaperSize) &&
                    r.Int(m.PaperWidth) && r.Int(m.PaperLength) && r.Text(m.FormName) && r.Int(m.Copies) &&
                    r.Int(m.Color) && r.Text(m.PageSizeKey) && r.Int(m.Orientation) && r.Int(m.Resolution) &&
                    r.Int(options);
    if (!ok || options < 0 || options > kMaxOptions || m.FormName.size() > kMaxFormName)
        return std::nullopt;
    for (std::int32_t i = 0; i < options; ++i) {
        QString k, v;
        if (!r.Text(k) || !r.Text(v))
            return std::nullopt;
        m.Options.emplace_back(k, v);
    }
    if (!r.AtEnd())
        return std::nullopt;
    m.Fields = static_cast<std::uint32_t>(fields);
    return m;
}
