#include "document/uMyMemIniFile.h"

#include "platform/Exception.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void load(TMyMemIniFile& ini, const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ini.LoadFromStream(buffer);
}

QByteArray saved(const TMyMemIniFile& ini) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ini.SaveToStream(buffer);
    return buffer.data();
}

QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (QChar ch : text) {
        const char hi = char(ch.unicode() >> 8), lo = char(ch.unicode() & 0xFF);
        bytes.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    }
    return bytes;
}

} // namespace

TEST(MemIniFile, WritingANameAgainReplacesItsLineWhateverTheCase) {
    TMyMemIniFile ini;
    ini.WriteString(QStringLiteral("Farben"), QStringLiteral("Color"), QStringLiteral("rot"));
    ini.WriteString(QStringLiteral("farben"), QStringLiteral("color"), QStringLiteral("blau"));
    QStringList lines;
    ini.ReadSectionValues(QStringLiteral("FARBEN"), lines);
    EXPECT_EQ(lines, QStringList{QStringLiteral("color=blau")});
    EXPECT_EQ(ini.ReadString(QStringLiteral("Farben"), QStringLiteral("COLOR"), {}), QStringLiteral("blau"));
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList{QStringLiteral("Farben")});

    ini.WriteString(QStringLiteral("Farben"), QStringLiteral("Gleich"), QStringLiteral("a=b"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Farben"), QStringLiteral("gleich"), {}), QStringLiteral("a=b"));
    ini.DeleteKey(QStringLiteral("Farben"), QStringLiteral("COLOR"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Farben"), QStringLiteral("Color"), QStringLiteral("-")),
              QStringLiteral("-"));
    ini.EraseSection(QStringLiteral("FARBEN"));
    ini.ReadSections(sections);
    EXPECT_TRUE(sections.isEmpty());
}

TEST(MemIniFile, LinesAreParsedAsTheyStand) {
    TMyMemIniFile ini;
    load(ini, "vorher=verloren\r\n[Texte]\r\n; Kommentar\r\n\r\nKey = Value\rName=Wert\nNurText\n"
              " [KeinAbschnitt]\n[Zweiter]\r\na=1\r\n[texte]\r\nb=2=3");
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{QStringLiteral("Texte"), QStringLiteral("Zweiter")}));
    QStringList lines;
    ini.ReadSectionValues(QStringLiteral("Texte"), lines);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Key = Value"), QStringLiteral("Name=Wert"),
                                  QStringLiteral("NurText"), QStringLiteral(" [KeinAbschnitt]"),
                                  QStringLiteral("b=2=3")}));
    // Blanks around "=" belong to the name and the value.
    EXPECT_EQ(ini.ReadString(QStringLiteral("Texte"), QStringLiteral("Key"), QStringLiteral("-")),
              QStringLiteral("-"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Texte"), QStringLiteral("Key "), {}), QStringLiteral(" Value"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Texte"), QStringLiteral("b"), {}), QStringLiteral("2=3"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Texte"), QStringLiteral("NurText"), QStringLiteral("-")),
              QStringLiteral("-"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Fehlt"), QStringLiteral("a"), QStringLiteral("-")),
              QStringLiteral("-"));
    ini.ReadSection(QStringLiteral("TEXTE"), lines);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Key "), QStringLiteral("Name"), QString(), QString(),
                                  QStringLiteral("b")}));
    ini.ReadSection(QStringLiteral("Fehlt"), lines);
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_TRUE(ini.SectionExists(QStringLiteral("zweiter")));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("zweiter"), QStringLiteral("A")));
}

TEST(MemIniFile, ReadsUtf16WithByteOrderMarkAndAnsiOtherwise) {
    const QString text = QStringLiteral(u"[Deutsch]\r\nGrüße=Straße €\r\nPolnisch=Łódź\r\n");
    for (bool bigEndian : {false, true}) {
        TMyMemIniFile ini;
        load(ini, utf16(text, bigEndian) + "x"); // an odd last byte is no character
        EXPECT_EQ(ini.ReadString(QStringLiteral("deutsch"), QStringLiteral("GRÜßE"), {}),
                  QStringLiteral("Straße €"));
        // Held in the 8-bit code page: what it lacks becomes '?'.
        EXPECT_EQ(ini.ReadString(QStringLiteral("Deutsch"), QStringLiteral("Polnisch"), {}),
                  QStringLiteral("?ód?"));
    }
    TMyMemIniFile ansi;
    load(ansi, "[S]\nk=Gr\xFC\xDF"
               "e \x80\n");
    EXPECT_EQ(ansi.ReadString(QStringLiteral("S"), QStringLiteral("k"), {}), QStringLiteral("Grüße €"));

    // Loading starts from the stream's position and replaces the store.
    QBuffer buffer;
    buffer.setData("[A]\na=1\n[B]\nb=2\n");
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(8);
    ansi.LoadFromStream(buffer);
    QStringList sections;
    ansi.ReadSections(sections);
    EXPECT_EQ(sections, QStringList{QStringLiteral("B")});
}

TEST(MemIniFile, MergeAddsToExistingAndNewSections) {
    TMyMemIniFile ini;
    ini.WriteString(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("1"));
    QBuffer buffer;
    buffer.setData("[a]\ny=2\n[C]\nz=\xE4\n");
    buffer.open(QIODevice::ReadOnly);
    ini.MergeFromAnsiStream(buffer);
    EXPECT_EQ(saved(ini), QByteArray("[A]\r\nx=1\r\ny=2\r\n\r\n[C]\r\nz=\xE4\r\n\r\n"));
}

TEST(MemIniFile, SavesAnsiWithCrLfAndLoadsItBack) {
    TMyMemIniFile ini;
    ini.WriteString(QStringLiteral("Übersicht"), QStringLiteral("Größe"), QStringLiteral("groß €"));
    ini.WriteString(QStringLiteral("Leer"), QStringLiteral("a"), QString());
    ini.DeleteKey(QStringLiteral("Leer"), QStringLiteral("a"));
    const QByteArray expected("[\xDC"
                              "bersicht]\r\nGr\xF6\xDF"
                              "e=gro\xDF \x80\r\n\r\n[Leer]\r\n\r\n");
    EXPECT_EQ(saved(ini), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.ini"));
    ini.SaveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected);

    TMyMemIniFile again;
    again.LoadFromFile(path);
    EXPECT_EQ(again.ReadString(QStringLiteral("übersicht"), QStringLiteral("größe"), {}),
              QStringLiteral("groß €"));
    // A missing file gives an empty store; an unwritable path raises.
    again.LoadFromFile(dir.filePath(QStringLiteral("fehlt.ini")));
    QStringList sections;
    again.ReadSections(sections);
    EXPECT_TRUE(sections.isEmpty());
    EXPECT_THROW(ini.SaveToFile(dir.filePath(QStringLiteral("kein/ordner.ini"))), Exception);
}

TEST(MemIniFile, TypedValuesAreTextOnTop) {
    TMyMemIniFile ini;
    ini.WriteInteger(QStringLiteral("S"), QStringLiteral("i"), -42);
    ini.WriteBool(QStringLiteral("S"), QStringLiteral("b"), true);
    ini.WriteFloat(QStringLiteral("S"), QStringLiteral("f"), 0.1);
    ini.WriteString(QStringLiteral("S"), QStringLiteral("hex"), QStringLiteral("0xFF"));
    ini.WriteString(QStringLiteral("S"), QStringLiteral("bad"), QStringLiteral("12a"));
    ini.WriteString(QStringLiteral("S"), QStringLiteral("komma"), QStringLiteral("2,5"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("i"), {}), QStringLiteral("-42"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("i"), 0), -42);
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("b"), {}), QStringLiteral("1"));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("b"), false));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("i"), false));
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("S"), QStringLiteral("f"), 0), 0.1);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("hex"), 0), 255);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("bad"), 7), 7);
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("S"), QStringLiteral("komma"), 0), 2.5);
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("fehlt"), false));
}
