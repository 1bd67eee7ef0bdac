// Test entry point for core tests: a QGuiApplication on the offscreen platform, so fonts,
// images and painters work without a display.
#include "i18n/uCoreTexts.h"
#include "i18n/ulocalize.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    SetCoreTextsRegistration(RegisterCoreTexts);
    Localizer().SetUiLanguages(
        [] { return QStringList{QStringLiteral("de-DE")}; }); // the desktop of the tests
    SetCurrentLanguage(kLanguageGerman);
    const int result = RUN_ALL_TESTS();
    // A text the code looks up by wording that nobody registered is missing from the language
    // tables (tests of the fallback use sections of their own).
    const QStringList unregistered =
        Localizer().UnregisteredKeys().filter(QRegularExpression(QStringLiteral("^\\[Default\\] ")));
    for (const QString& key : unregistered)
        std::fprintf(stderr, "Unregistered text looked up: %s\n", key.toUtf8().constData());
    return unregistered.isEmpty() ? result : 1;
}
