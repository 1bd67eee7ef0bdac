#pragma once

#include <QString>

// Translation of the program's texts. Every user-visible text is written in German in the code and
// looked up by its German wording. Until the language tables arrive the lookup returns the German
// text itself; callers already go through it so that nothing changes for them later.
QString Translate(const QString& german);

// Registers a text that is looked up by wording, so that a template of all texts can be written.
void RegisterText(const QString& german);

// Sections of the language tables: the general one, one per form (named after its class) and one
// per distributor edition. Keys compare without regard to case.
inline constexpr const char* kDefaultSection = "Default";
inline constexpr const char* kNoDefaultText = "kein Defaultwert definiert";

// Registers the source text of a key in any section: the value shown until a language table
// gives another. Registering a key again replaces its value.
void RegisterText(const QString& section, const QString& key, const QString& value);
// Registers a text of a distributor edition in the section of that edition (key = value = text).
void RegisterEditionText(const QString& edition, const QString& text);
// The text of the key in the section: from the language table once one is loaded, else the
// registered source text, else the fallback.
QString ReadText(const QString& section, const QString& key, const QString& fallback);
// ReadText with the fallback "kein Defaultwert definiert": what a form's looked-up texts show when
// nobody registered them.
QString TranslateText(const QString& section, const QString& key);
bool IsTextRegistered(const QString& section, const QString& key);

// The language of the user interface as the localizer's language index (0 German, 1 English,
// 2 French, ...). 0 until a language is chosen.
constexpr int kLanguageGerman = 0;
constexpr int kLanguageFrench = 2;
int CurrentLanguage();
void SetCurrentLanguage(int index);
