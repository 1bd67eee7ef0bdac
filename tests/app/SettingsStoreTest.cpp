#include "platform/uVXRegIniFile.h"

#include "platform/Exception.h"
#include "support/TempHome.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QLocale>
#include <QSettings>

#include <gtest/gtest.h>

using TestSupport::TempHome;
using TestSupport::writeFile;

namespace {

// Restores the default locale when a test has changed it.
struct LocaleGuard {
    QLocale saved;
    ~LocaleGuard() { QLocale::setDefault(saved); }
};

} // namespace

TEST(SettingsStore, UserFileFollowsXdgConfigHome) {
    TempHome home;
    EXPECT_EQ(VXRegIniFile().FileName(), home.settingsFile());
    VXRegIniFile().WriteString(QString(), QStringLiteral("BaseDir"), QStringLiteral("/home/u/Bilder"));
    EXPECT_TRUE(QFile::exists(home.settingsFile()));

    TempHome other;
    EXPECT_EQ(VXRegIniFile().ReadString(QString(), QStringLiteral("BaseDir"), QStringLiteral("-")),
              QStringLiteral("-"));
}

TEST(SettingsStore, ValuesKeepTheirKindsAndSectionPaths) {
    TempHome home;
    TVXRegIniFile store;
    const QString printer = QStringLiteral("Druckeinstellung\\Fotobuch 8:5\\Foto-Drucker");
    store.WriteString(QString(), QStringLiteral("Version"), QStringLiteral("1.00.0000.0000"));
    store.WriteString(QStringLiteral("Druckeinstellung\\Fotobuch 8:5"), QStringLiteral("Drucker"),
                      QStringLiteral("@Foto, \"Drucker\" ä"));
    store.WriteInteger(QStringLiteral("Master"), QStringLiteral("Left"), -50);
    store.WriteFloat(printer, QStringLiteral("RandlosverschiebungY"), 0.75);
    const QByteArray device("\x00\x01\xFFmode\n", 8);
    store.WriteBinary(QStringLiteral("Druckeinstellung\\Fotobuch 8:5"), QStringLiteral("DeviceMode"),
                      device.size(), device.constData());

    // A second store object on the same file sees everything at once: nothing is cached.
    const TVXRegIniFile reader;
    EXPECT_EQ(reader.ReadString(QString(), QStringLiteral("Version"), QString()),
              QStringLiteral("1.00.0000.0000"));
    EXPECT_EQ(
        reader.ReadString(QStringLiteral("Druckeinstellung\\Fotobuch 8:5"), QStringLiteral("Drucker"), {}),
        QStringLiteral("@Foto, \"Drucker\" ä"));
    EXPECT_EQ(reader.ReadInteger(QStringLiteral("Master"), QStringLiteral("Left"), 0), -50);
    EXPECT_DOUBLE_EQ(reader.ReadFloat(printer, QStringLiteral("RandlosverschiebungY"), 9.0), 0.75);
    EXPECT_EQ(
        reader.GetDataSize(QStringLiteral("Druckeinstellung\\Fotobuch 8:5"), QStringLiteral("DeviceMode")),
        8);
    char buffer[16] = {};
    EXPECT_EQ(reader.ReadBinary(QStringLiteral("Druckeinstellung\\Fotobuch 8:5"),
                                QStringLiteral("DeviceMode"), sizeof buffer, buffer),
              8);
    EXPECT_EQ(QByteArray(buffer, 8), device);
    EXPECT_EQ(reader.ReadBinary(QStringLiteral("Druckeinstellung\\Fotobuch 8:5"),
                                QStringLiteral("DeviceMode"), 3, buffer),
              3);

    // The file keeps the root key and the section separators as groups.
    const QSettings raw(home.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Software/Tessaro/Albumorix/Master/Left")).toInt(), -50);
    EXPECT_EQ(
        raw.value(QStringLiteral("Software/Tessaro/Albumorix/Druckeinstellung/Fotobuch 8:5/Foto-Drucker/"
                                 "RandlosverschiebungY"))
            .toString(),
        QStringLiteral("0,75"));
    EXPECT_EQ(raw.value(QStringLiteral("Software/Tessaro/Albumorix/Version")).toString(),
              QStringLiteral("1.00.0000.0000"));
}

TEST(SettingsStore, MissingValuesGiveTheDefault) {
    TempHome home;
    TVXRegIniFile store;
    EXPECT_EQ(store.ReadString(QStringLiteral("Nirgends"), QStringLiteral("X"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(store.ReadInteger(QString(), QStringLiteral("Sprache"), -99), -99);
    EXPECT_DOUBLE_EQ(store.ReadFloat(QString(), QStringLiteral("F"), -3.5), -3.5);
    EXPECT_EQ(store.GetDataSize(QStringLiteral("Druckeinstellung\\A"), QStringLiteral("DeviceMode")), -1);
    char buffer[4] = {'k', 'e', 'e', 'p'};
    EXPECT_EQ(
        store.ReadBinary(QStringLiteral("Druckeinstellung\\A"), QStringLiteral("DeviceMode"), 4, buffer), 0);
    EXPECT_EQ(QByteArray(buffer, 4), QByteArray("keep"));
    // Reading creates no file.
    EXPECT_FALSE(QFile::exists(home.settingsFile()));
}

TEST(SettingsStore, IntegersThatAreNoNumbersGiveTheDefault) {
    TempHome home;
    TVXRegIniFile store;
    store.WriteString(QString(), QStringLiteral("Sprache"), QStringLiteral("deutsch"));
    EXPECT_EQ(store.ReadInteger(QString(), QStringLiteral("Sprache"), -99), -99);
    store.WriteString(QString(), QStringLiteral("Sprache"), QStringLiteral("99999999999"));
    EXPECT_EQ(store.ReadInteger(QString(), QStringLiteral("Sprache"), -99), -99);
    store.WriteString(QString(), QStringLiteral("Sprache"), QStringLiteral(" 7 "));
    EXPECT_EQ(store.ReadInteger(QString(), QStringLiteral("Sprache"), -99), 7);
}

TEST(SettingsStore, FloatsAreStoredWithDecimalCommaWhateverTheLocale) {
    TempHome home;
    LocaleGuard guard;
    TVXRegIniFile store;
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German)}) {
        QLocale::setDefault(locale);
        store.WriteFloat(QStringLiteral("Druckeinstellung\\X\\P"), QStringLiteral("RandlosverschiebungY"),
                         -1.2);
        EXPECT_EQ(store.ReadString(QStringLiteral("Druckeinstellung\\X\\P"),
                                   QStringLiteral("RandlosverschiebungY"), QString()),
                  QStringLiteral("-1,2"));
        EXPECT_DOUBLE_EQ(store.ReadFloat(QStringLiteral("Druckeinstellung\\X\\P"),
                                         QStringLiteral("RandlosverschiebungY"), 0),
                         -1.2);
    }
    store.WriteFloat(QString(), QStringLiteral("Ganz"), 3.0);
    EXPECT_EQ(store.ReadString(QString(), QStringLiteral("Ganz"), QString()), QStringLiteral("3"));
    store.WriteFloat(QString(), QStringLiteral("Klein"), 1.5e-7);
    EXPECT_DOUBLE_EQ(store.ReadFloat(QString(), QStringLiteral("Klein"), 0), 1.5e-7);
}

TEST(SettingsStore, FloatTextsThatAreNoNumbersGiveTheDefault) {
    TempHome home;
    TVXRegIniFile store;
    for (const char* text : {"abc", "", "1.5", "1,2,3", "nan", "inf", "1,5x"}) {
        store.WriteString(QString(), QStringLiteral("F"), QString::fromLatin1(text));
        EXPECT_DOUBLE_EQ(store.ReadFloat(QString(), QStringLiteral("F"), 4.25), 4.25) << text;
    }
    store.WriteString(QString(), QStringLiteral("F"), QStringLiteral(" 2,5E3 "));
    EXPECT_DOUBLE_EQ(store.ReadFloat(QString(), QStringLiteral("F"), 0), 2500.0);
}

TEST(SettingsStore, HandEditedFloatWithUnquotedCommaStillReads) {
    // An INI line "X=-1,2" without quotes reads back as a list from the INI parser; the store must
    // still see the text "-1,2".
    TempHome home;
    TVXRegIniFile store(home.path() + QStringLiteral("/edited.ini"));
    writeFile(store.FileName(),
              "[Software]\nTessaro\\Albumorix\\Druckeinstellung\\A\\B\\RandlosverschiebungY=-1,2\n");
    EXPECT_DOUBLE_EQ(
        store.ReadFloat(QStringLiteral("Druckeinstellung\\A\\B"), QStringLiteral("RandlosverschiebungY"), 0),
        -1.2);
}

TEST(SettingsStore, DeleteValueRemovesOnlyThatValue) {
    TempHome home;
    TVXRegIniFile store;
    store.WriteInteger(QStringLiteral("Master"), QStringLiteral("Left"), 1);
    store.WriteInteger(QStringLiteral("Master"), QStringLiteral("Top"), 2);
    store.DeleteValue(QStringLiteral("Master"), QStringLiteral("Left"));
    store.DeleteValue(QStringLiteral("Master"), QStringLiteral("Nie"));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Master"), QStringLiteral("Left"), -1), -1);
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Master"), QStringLiteral("Top"), -1), 2);
}

TEST(SettingsStore, WriteFailureReachesTheCaller) {
    TempHome home;
    // The config folder is a plain file, so the settings file cannot be created.
    writeFile(home.configFolder(), "no folder");
    TVXRegIniFile store;
    EXPECT_THROW(store.WriteString(QString(), QStringLiteral("BaseDir"), QStringLiteral("/x")), Exception);
    EXPECT_EQ(store.ReadString(QString(), QStringLiteral("BaseDir"), QStringLiteral("d")),
              QStringLiteral("d"));
}
