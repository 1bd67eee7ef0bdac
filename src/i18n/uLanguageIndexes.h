#pragma once

#include <array>
#include <cstdint>

// The localizer's language indexes: positions in the fixed table of 22 languages. The table of
// index i is the resource ":/LANG/" + (100 + i); the "Sprache" setting stores the index.
constexpr int kLanguageGerman = 0;
constexpr int kLanguageEnglish = 1;
constexpr int kLanguageFrench = 2;
constexpr int kLanguageItalian = 3;
constexpr int kLanguageSpanish = 4;
constexpr int kLanguagePortuguese = 5;
constexpr int kLanguagePolish = 6;
constexpr int kLanguageDutch = 9;
constexpr int kLanguageDanish = 18;
constexpr int kLanguageCount = 22;
// The "Sprache" value of a user who never chose: the desktop's language decides.
constexpr int kLanguageUnset = -99;

// One row of the language table: the three-letter code and the platform's primary language id.
struct TLangData {
    const char* Code;
    int PrimaryId;
};

inline constexpr std::array<TLangData, kLanguageCount> kLanguages{{
    {"deu", 0x07}, {"eng", 0x09}, {"fra", 0x0C}, {"ita", 0x10}, {"spa", 0x0A}, {"por", 0x16},
    {"pol", 0x15}, {"ung", 0x0E}, {"cze", 0x05}, {"ned", 0x13}, {"fin", 0x0B}, {"cro", 0x1A},
    {"ser", 0x1A}, {"rum", 0x18}, {"gre", 0x08}, {"rus", 0x19}, {"swe", 0x1D}, {"nor", 0x14},
    {"dan", 0x06}, {"slo", 0x24}, {"slk", 0x1B}, {"trk", 0x1F},
}};

// The offered languages when the localizer is created ({0, 1, 2, 3, 4, 5, 9, 18}) and what the
// designer offers (the same without Portuguese, whose table ships all the same).
constexpr std::uint32_t kInitialAvailable = 0x4023F;
constexpr std::uint32_t kDesignerAvailable = 0x4021F;
// The eight languages that ship a table, in the order of their indexes.
inline constexpr std::array<int, 8> kShippedLanguages{kLanguageGerman,  kLanguageEnglish, kLanguageFrench,
                                                      kLanguageItalian, kLanguageSpanish, kLanguagePortuguese,
                                                      kLanguageDutch,   kLanguageDanish};
