#include "i18n/ulocalize.h"

#include <QHash>

namespace {
// Registered source texts by section and key, both folded to lower case for the lookup.
QHash<QString, QString>& registeredTexts() {
    static QHash<QString, QString> texts;
    return texts;
}

QString lookupKey(const QString& section, const QString& key) {
    return section.toLower() + QLatin1Char('\n') + key.toLower();
}
} // namespace

QString Translate(const QString& german) {
    return ReadText(QString::fromLatin1(kDefaultSection), german, german);
}

void RegisterText(const QString& german) {
    RegisterText(QString::fromLatin1(kDefaultSection), german, german);
}

void RegisterText(const QString& section, const QString& key, const QString& value) {
    registeredTexts().insert(lookupKey(section, key), value);
}

void RegisterEditionText(const QString& edition, const QString& text) {
    RegisterText(edition, text, text);
}

QString ReadText(const QString& section, const QString& key, const QString& fallback) {
    const auto it = registeredTexts().constFind(lookupKey(section, key));
    return it == registeredTexts().constEnd() ? fallback : *it;
}

QString TranslateText(const QString& section, const QString& key) {
    return ReadText(section, key, QString::fromLatin1(kNoDefaultText));
}

bool IsTextRegistered(const QString& section, const QString& key) {
    return registeredTexts().contains(lookupKey(section, key));
}

namespace {
int& currentLanguage() {
    static int language = kLanguageGerman;
    return language;
}
} // namespace

int CurrentLanguage() {
    return currentLanguage();
}

void SetCurrentLanguage(int index) {
    currentLanguage() = index;
}
