#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The custom colour table of the colour pop-ups: 32 slots of colours (0x00BBGGRR), -1 marking an
// empty slot. One process-wide table survives between sessions in "custcolo.dat" in the user data
// folder: read at its first use, written by Finalize at exit.
class TColorList {
public:
    static constexpr int SlotCount = 32;
    static constexpr std::int32_t Empty = -1;
    static constexpr const char* FileName = "custcolo.dat";

    // The process-wide table; its first use fills it from "custcolo.dat".
    static TColorList& Instance();
    // Writes the process-wide table back to the file it came from and frees it; does nothing when
    // the table was never used. Called once when the program ends.
    static void Finalize();

    // A table of empty slots.
    TColorList();

    int Count() const { return SlotCount; }
    std::int32_t Items(int index) const; // -1 for an index outside the table
    void SetItem(int index, std::int32_t color);
    void Clear();
    int UsedCount() const;

    // The slot that holds colour, else the first empty slot, else the preferred one; the slot gets
    // the colour and its index is returned (-1 when nothing could be placed).
    int AddColor(std::int32_t color, int preferredIndex);

    // Replaces the content with the dialog custom colours stored in the settings value "Colors" of
    // section: line i adds its colour with i as the preferred slot.
    void LoadFromSettings(const QString& section);
    // Replaces the content with the colours of a file, one per line ("$" and hexadecimal digits, a
    // number or a colour name such as "clRed"); other lines are skipped; at most 32 are taken.
    void LoadFromFile(const QString& path);
    // One line "$%.8x" per used slot in slot order; replaces the file. Raises Exception when the
    // file cannot be written.
    void SaveToFile(const QString& path) const;

private:
    std::array<std::int32_t, SlotCount> items_;
};

// The colour of each line of the colour dialog's settings text ("ColorA=" and six hexadecimal
// digits, one per line) in line order (any number of lines); nothing for a line without "=" and a
// hexadecimal number after it.
std::vector<std::optional<std::int32_t>> CustomColorLines(const QString& text);

// A colour in its text form: "$" and up to eight hexadecimal digits, "0x" and hexadecimal digits,
// a decimal number, or a colour name such as "clRed" (case does not matter). False for any other text.
bool TextToColor(const QString& text, std::int32_t& color);
