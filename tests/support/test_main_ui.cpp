// Test entry point for widget tests: a QApplication on the offscreen platform with the splash
// wait shortened.
#include "i18n/uCoreTexts.h"
#include "i18n/ui/uLocalizerUi.h"
#include "i18n/ulocalize.h"

#include <QApplication>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("TINTARO_SPLASH_MS"))
        setenv("TINTARO_SPLASH_MS", "0", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    SetCoreTextsRegistration(RegisterCoreTexts);
    Localizer().SetUiLanguages(
        [] { return QStringList{QStringLiteral("de-DE")}; }); // the desktop of the tests
    // Switches translate the open windows; messages are kept, never shown modally.
    Localizer().SetHost(&LocalizerUi::QuietHost());
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
