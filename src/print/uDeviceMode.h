#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The settings a print queue is driven with, kept by the program itself: the paper, copies and
// colour fields a print job sets, the queue's page-size key, orientation and resolution, and the
// options chosen in the printer properties dialog (each reaches the queue as -o KEY=VALUE).
// It is stored as "DeviceMode" and fits a queue whose make-and-model it names.
struct TDeviceMode {
    static constexpr std::int32_t kVersion = 1;
    // Reads beyond this size are refused: a stored record is a few hundred bytes.
    static constexpr int kMaxStoredSize = 64 * 1024;
    static constexpr int kMaxFormName = 31;

    enum TField : std::uint32_t {
        fPaperSize = 0x2,
        fPaperLength = 0x4,
        fPaperWidth = 0x8,
        fCopies = 0x100,
        fColor = 0x800,
        fFormName = 0x10000,
    };
    static constexpr std::int32_t kPaperUser = 256;
    static constexpr std::int32_t kColorMonochrome = 1;
    static constexpr std::int32_t kColorColor = 2;

    QString QueueName;
    QString MakeAndModel;
    std::uint32_t Fields = 0;
    std::int32_t PaperSize = 0;
    std::int32_t PaperWidth = 0;  // tenths of a millimetre
    std::int32_t PaperLength = 0; // tenths of a millimetre
    QString FormName;
    std::int32_t Copies = 1;
    std::int32_t Color = kColorColor;
    QString PageSizeKey;
    std::int32_t Orientation = 0; // 0 portrait, 1 landscape
    std::int32_t Resolution = 0;  // dots per inch; 0: the queue's choice
    std::vector<std::pair<QString, QString>> Options;

    bool Has(TField field) const { return (Fields & field) != 0; }
    // The value of a queue option; empty when it was not chosen.
    QString Option(const QString& key) const;
    void SetOption(const QString& key, const QString& value);

    QByteArray Serialize() const;
    // Nothing when the bytes are not a complete record of this version (damaged, foreign, or
    // larger than kMaxStoredSize).
    static std::optional<TDeviceMode> Deserialize(const QByteArray& bytes);

    friend bool operator==(const TDeviceMode&, const TDeviceMode&) = default;
};
