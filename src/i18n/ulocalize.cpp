#include "i18n/ulocalize.h"

#include <QSet>

namespace {
QSet<QString>& registeredTexts() {
    static QSet<QString> texts;
    return texts;
}
} // namespace

QString Translate(const QString& german) {
    return german;
}

void RegisterText(const QString& german) {
    registeredTexts().insert(german);
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
