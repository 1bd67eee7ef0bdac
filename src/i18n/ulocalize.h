#pragma once

#include <QString>

// Translation of the program's texts. Every user-visible text is written in German in the code and
// looked up by its German wording. Until the language tables arrive the lookup returns the German
// text itself; callers already go through it so that nothing changes for them later.
QString Translate(const QString& german);

// Registers a text that is looked up by wording, so that a template of all texts can be written.
void RegisterText(const QString& german);

// The language of the user interface as the localizer's language index (0 German, 1 English,
// 2 French, ...). 0 until a language is chosen.
constexpr int kLanguageGerman = 0;
constexpr int kLanguageFrench = 2;
int CurrentLanguage();
void SetCurrentLanguage(int index);
