// The localizer: lookups with their fallbacks, the start language, switching and its failures,
// template writing, the glyph rows, Qt's own texts and the shipped tables.
#include "i18n/uGlyphSheet.h"
#include "i18n/uTableCheck.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uVXRegIniFile.h"
#include "support/TempHome.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray utf16Table(const QString& text) {
    QByteArray bytes("\xFF\xFE");
    for (const QChar ch : text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

// Tables of a test in a folder of their own; the localizer reads them instead of the resources
// while the object lives and returns to German afterwards.
class TestTables {
public:
    TestTables() { Localizer().SetTableFolder(dir_.path()); }
    ~TestTables() {
        Localizer().SetTableFolder(QString());
        Localizer().SetUiLanguages([] { return QStringList{QStringLiteral("de-DE")}; });
        Localizer().SetAvailable(kInitialAvailable);
        Localizer().SetResWrite(false, QString());
        SetCurrentLanguage(kLanguageGerman);
    }
    void Write(int index, const QString& text) {
        QFile file(dir_.path() + u'/' + QString::number(100 + index));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(utf16Table(text));
    }
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

TEST(Localizer, LookupsFallBackFromTableToRegisteredTextToMarker) {
    TestTables tables;
    RegisterText(QStringLiteral("TProbeForm"), QStringLiteral("Zwei Zeilen"), QStringLiteral("Eins\r\nZwei"));
    RegisterText(QStringLiteral("TProbeForm"), QStringLiteral("Nur deutsch"), QStringLiteral("Nur deutsch"));
    RegisterText(QStringLiteral("TProbeForm"), QStringLiteral("Markiert"), QStringLiteral("Markiert"));
    tables.Write(
        1, QStringLiteral("[TProbeForm]\r\nzwei zeilen=One#13##10#Two\r\nMarkiert=VX2001 kein String\r\n"
                          "meInfo.Lines0=First\r\n"));
    SetCurrentLanguage(kLanguageEnglish);
    const QString section = QStringLiteral("TProbeForm");
    EXPECT_EQ(TranslateText(section, QStringLiteral("Zwei Zeilen")), QStringLiteral("One\r\nTwo"));
    EXPECT_EQ(TranslateText(section, QStringLiteral("Nur deutsch")), QStringLiteral("Nur deutsch"));
    EXPECT_EQ(TranslateText(section, QStringLiteral("Markiert")), QStringLiteral("Markiert"));
    const int before = Localizer().UnregisteredLookups();
    EXPECT_EQ(TranslateText(section, QStringLiteral("Niemand")), QString::fromLatin1(kNoDefaultText));
    EXPECT_EQ(Localizer().UnregisteredLookups(), before + 1);
    QString value;
    EXPECT_TRUE(Localizer().TableText(section, QStringLiteral("meInfo.Lines0"), value));
    EXPECT_EQ(value, QStringLiteral("First"));
    EXPECT_FALSE(Localizer().TableText(section, QStringLiteral("Nur deutsch"), value));
    // The registered value is stored escaped, as a table would hold it.
    EXPECT_EQ(Localizer().Sources().ReadString(section, QStringLiteral("Zwei Zeilen"), QString()),
              QStringLiteral("Eins#13##10#Zwei"));
}

TEST(Localizer, KeysUnfitForATableAreReported) {
    const QString section = QStringLiteral("TUnfitForm");
    RegisterText(section, QStringLiteral("Gut"), QStringLiteral("Gut"));
    for (const QString& key :
         {QStringLiteral("a=b"), QStringLiteral("Zeile\nZwei"), QStringLiteral(";Kommentar"),
          QStringLiteral("[Abschnitt]"), QString(), QStringLiteral("GUT")})
        RegisterText(section, key, QStringLiteral("x"));
    const QStringList problems = Localizer().RegistrationProblems().filter(QStringLiteral("[TUnfitForm]"));
    EXPECT_EQ(problems.size(), 6) << problems.join(u'\n').toStdString();
    EXPECT_FALSE(IsTextRegistered(section, QStringLiteral("a=b")));
}

TEST(Localizer, StartLanguageFollowsSettingThenDesktop) {
    TestSupport::TempHome home;
    TestTables tables;
    for (int index : {0, 1, 2, 9})
        tables.Write(index, QStringLiteral("[Default]\r\nFertig=%1\r\n").arg(index));
    const auto start = [](const QString& locale) {
        Localizer().SetUiLanguages([locale] { return QStringList{locale}; });
        SetCurrentLanguage(kLanguageGerman);
        Localizer().ChooseStartLanguage();
        return CurrentLanguage();
    };
    EXPECT_EQ(start(QStringLiteral("fr-FR")), kLanguageFrench);
    EXPECT_EQ(start(QStringLiteral("nl")), kLanguageDutch);
    EXPECT_EQ(start(QStringLiteral("pl-PL")), kLanguageEnglish); // Polish is not offered
    EXPECT_EQ(start(QStringLiteral("C")), kLanguageEnglish);
    EXPECT_EQ(start(QStringLiteral("xx-YY")), kLanguageEnglish);
    EXPECT_EQ(Translate(QStringLiteral("Fertig")), QStringLiteral("1"));

    const auto stored = [&](const QString& value) {
        VXRegIniFile().WriteString(QString(), QStringLiteral("Sprache"), value);
        return start(QStringLiteral("fr-FR"));
    };
    EXPECT_EQ(stored(QStringLiteral("6")), kLanguageEnglish);
    EXPECT_EQ(stored(QStringLiteral("-5")), kLanguageEnglish);
    EXPECT_EQ(stored(QStringLiteral("40")), kLanguageEnglish);
    EXPECT_EQ(stored(QStringLiteral("9")), kLanguageDutch);
    EXPECT_EQ(stored(QStringLiteral("deutsch")), kLanguageFrench); // no number: as if unset

    // Italian is offered but has no table here: nothing changes.
    VXRegIniFile().WriteString(QString(), QStringLiteral("Sprache"), QStringLiteral("-99"));
    EXPECT_EQ(start(QStringLiteral("it-IT")), kLanguageGerman);
    // Without Dutch on offer the current Dutch is replaced by the start language.
    Localizer().SetUiLanguages([] { return QStringList{QStringLiteral("fr-FR")}; });
    SetCurrentLanguage(kLanguageDutch);
    Localizer().SetAvailable(0x7);
    EXPECT_EQ(CurrentLanguage(), kLanguageFrench);
}

TEST(Localizer, SwitchRefusesUnavailableAndTemplateModeAndKeepsLanguageOnFailedLoad) {
    TestTables tables;
    tables.Write(0, QStringLiteral("[Default]\r\nFertig=Fertig\r\n"));
    tables.Write(1, QStringLiteral("[Default]\r\nFertig=Done\r\n"));
    // A table that exists but cannot be read.
    ASSERT_TRUE(QDir(tables.Path()).mkdir(QStringLiteral("102")));
    ASSERT_TRUE(Localizer().SetLanguage(kLanguageEnglish));
    EXPECT_EQ(Translate(QStringLiteral("Fertig")), QStringLiteral("Done"));

    try {
        Localizer().SetLanguage(kLanguageFrench);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Die Sprache wird nicht unterstützt: fra"));
    }
    EXPECT_EQ(CurrentLanguage(), kLanguageEnglish);
    EXPECT_EQ(Translate(QStringLiteral("Fertig")), QStringLiteral("Done"));

    EXPECT_FALSE(Localizer().SetLanguage(kLanguagePolish));  // not offered
    EXPECT_FALSE(Localizer().SetLanguage(kLanguageItalian)); // offered, no table
    EXPECT_FALSE(Localizer().SetLanguage(40));
    Localizer().SetResWrite(true, tables.Path() + QStringLiteral("/t.txt"));
    EXPECT_FALSE(Localizer().SetLanguage(kLanguageGerman));
    EXPECT_EQ(CurrentLanguage(), kLanguageEnglish);
}

TEST(Localizer, DamagedTablesLoadByTheStoresRules) {
    TestTables tables;
    QFile odd(tables.Path() + QStringLiteral("/101"));
    ASSERT_TRUE(odd.open(QIODevice::WriteOnly));
    odd.write(utf16Table(QStringLiteral("[Default]\r\nFertig=A\r\nFertig=B\r\nX=\0Y")) + "\x41");
    odd.close();
    ASSERT_TRUE(Localizer().SetLanguage(kLanguageEnglish));
    EXPECT_EQ(Translate(QStringLiteral("Fertig")), QStringLiteral("A")); // the first of a name wins
    QFile noBom(tables.Path() + QStringLiteral("/101"));
    ASSERT_TRUE(noBom.open(QIODevice::WriteOnly | QIODevice::Truncate));
    noBom.write("[Default]\r\nFertig=Erledigt\xE9\r\n");
    noBom.close();
    ASSERT_TRUE(Localizer().SetLanguage(kLanguageEnglish));
    EXPECT_EQ(Translate(QStringLiteral("Fertig")), QStringLiteral("Erledigt\u00E9")); // read as Windows-1252
}

TEST(Localizer, TemplateMergesIntoTheOldFileAndFailsWithoutTouchingIt) {
    TestTables tables;
    const QString path = tables.Path() + QStringLiteral("/tintaro.txt");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("[TAlt]\r\nalt=bleibt\r\n[Default]\r\nFertig=veraltet\r\n");
    }
    Localizer().SetResWrite(true, path);
    Localizer().CollectText(QStringLiteral("TProbeDlg"), QStringLiteral("lblName.Caption"),
                            QStringLiteral("Name\r\nzwei"));
    Localizer().WriteTemplate();
    TMyMemIniFile written;
    written.LoadFromFile(path);
    EXPECT_EQ(written.ReadString(QStringLiteral("TAlt"), QStringLiteral("alt"), QString()),
              QStringLiteral("bleibt"));
    EXPECT_EQ(written.ReadString(QStringLiteral("Default"), QStringLiteral("Fertig"), QString()),
              QStringLiteral("Fertig"));
    EXPECT_EQ(written.ReadString(QStringLiteral("TProbeDlg"), QStringLiteral("lblName.Caption"), QString()),
              QStringLiteral("Name#13##10#zwei"));
    EXPECT_EQ(written.ReadString(QStringLiteral("Default"), QStringLiteral("Marz"), QString()),
              QStringLiteral("März"));
    const QByteArray bytes = TestSupport::readFile(path);
    EXPECT_TRUE(bytes.contains("M\xE4rz")) << "Windows-1252";
    EXPECT_TRUE(bytes.contains("\r\n"));

    // A folder that cannot be written: an error, the old file as it was.
    QFile::setPermissions(tables.Path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (!QFileInfo(tables.Path()).isWritable()) {
        EXPECT_THROW(Localizer().WriteTemplate(), Exception);
        EXPECT_EQ(TestSupport::readFile(path), bytes);
    }
    QFile::setPermissions(tables.Path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(Localizer, GlyphRowsShowTheInitialsOfEachLanguage) {
    EXPECT_EQ(GlyphSheet().size(), QSize(48, 288));
    EXPECT_EQ(GlyphLettersOf(kLanguageGerman), QStringLiteral("FKU"));
    EXPECT_EQ(GlyphLettersOf(kLanguageDutch), QStringLiteral("VCO"));
    EXPECT_EQ(GlyphLettersOf(10), QStringLiteral("BIU"));
    EXPECT_EQ(GlyphRowOf(kLanguageDanish), kLanguageGerman);
    EXPECT_EQ(GlyphRowOf(20), kLanguageEnglish);
    EXPECT_EQ(GlyphRowOf(kLanguageSpanish), kLanguageSpanish);
    const auto cell = [](int row, int column) { return GlyphSheet().copy(16 * column, 16 * row, 16, 16); };
    EXPECT_NE(cell(kLanguageGerman, 0), cell(kLanguageEnglish, 0));  // F and B
    EXPECT_EQ(cell(kLanguageEnglish, 0), cell(10, 0));               // both B
    EXPECT_EQ(cell(kLanguageGerman, 2), cell(kLanguageEnglish, 2));  // both U
    EXPECT_NE(cell(kLanguageEnglish, 0), cell(kLanguageEnglish, 1)); // bold B, italic I
    // Every cell holds a drawn letter.
    for (int row = 0; row < kGlyphRows; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_FALSE(cell(row, column).isNull() ||
                         cell(row, column) == QImage(16, 16, QImage::Format_ARGB32));
    SetCurrentLanguage(kLanguageDanish);
    EXPECT_EQ(Localizer().Glyph(TGlyph::Bold), cell(kLanguageGerman, 0));
    SetCurrentLanguage(kLanguageGerman);
}

TEST(Localizer, QtShortcutNamesAndButtonsFollowTheLanguage) {
    SetCurrentLanguage(kLanguageGerman);
    EXPECT_EQ(QKeySequence(QStringLiteral("Ctrl+S")).toString(QKeySequence::NativeText),
              QStringLiteral("Strg+S"));
    EXPECT_EQ(QKeySequence(Qt::SHIFT | Qt::Key_Delete).toString(QKeySequence::NativeText),
              QStringLiteral("Umsch+Entf"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
    EXPECT_EQ(QCoreApplication::translate("QGnomeTheme", "&Cancel"), QStringLiteral("Abbrechen"));
    SetCurrentLanguage(kLanguageEnglish);
    EXPECT_EQ(QKeySequence(QStringLiteral("Ctrl+S")).toString(QKeySequence::NativeText),
              QStringLiteral("Ctrl+S"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    SetCurrentLanguage(kLanguageGerman);
}

TEST(LanguageTables, ShippedTablesAgreeWithEachOtherAndTheRegisteredTexts) {
    const TTableCheckResult result = CheckLanguageTables(Localizer(), false);
    EXPECT_TRUE(result.Problems.isEmpty()) << result.Problems.join(u'\n').toStdString();
    EXPECT_EQ(result.Tables, 8);
    for (int index : kShippedLanguages)
        EXPECT_TRUE(Localizer().HasTable(index)) << TLocalizer::CodeOf(index).toStdString();
    EXPECT_TRUE(Localizer().RegistrationProblems().filter(QStringLiteral("[Default]")).isEmpty())
        << Localizer().RegistrationProblems().join(u'\n').toStdString();
    EXPECT_EQ(FormatSpecifiers(QStringLiteral("%d von %.1f%% und %1, %s")),
              (QStringList{QStringLiteral("%d"), QStringLiteral("%.1f"), QStringLiteral("%1"),
                           QStringLiteral("%s")}));
}

TEST(LanguageTables, CodesAndLocalesMapToIndexes) {
    EXPECT_EQ(TLocalizer::IndexOfCode(QStringLiteral("eng")), kLanguageEnglish);
    EXPECT_EQ(TLocalizer::IndexOfCode(QStringLiteral("en")), kLanguageEnglish);
    EXPECT_EQ(TLocalizer::IndexOfCode(QStringLiteral("pt_BR")), kLanguagePortuguese);
    EXPECT_EQ(TLocalizer::IndexOfCode(QStringLiteral("DAN")), kLanguageDanish);
    EXPECT_EQ(TLocalizer::IndexOfCode(QStringLiteral("hr")), 11); // the first with its primary id
    EXPECT_EQ(TLocalizer::IndexOfCode(QStringLiteral("zz")), -1);
    EXPECT_EQ(TLocalizer::IndexOfCode(QStringLiteral("C")), -1);
}

} // namespace
