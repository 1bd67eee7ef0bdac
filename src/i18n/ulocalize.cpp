#include "i18n/ulocalize.h"

#include "i18n/uGlyphSheet.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "platform/uPlatformTexts.h"
#include "platform/uVXRegIniFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QPointer>

namespace {

QString defaultSection() {
    return QString::fromLatin1(kDefaultSection);
}

// The shortcut-key names, message captions and buttons and the access-violation message: keys of
// the general section with their German defaults.
struct TPlatformDefault {
    const char* Key;
    const char* German;
};
constexpr TPlatformDefault kPlatformDefaults[] = {
    {"XSmkcBkSp", "Rück"},
    {"XSmkcTab", "Tab"},
    {"XSmkcEsc", "Esc"},
    {"XSmkcEnter", "Enter"},
    {"XSmkcSpace", "Leertaste"},
    {"XSmkcPgUp", "BildAuf"},
    {"XSmkcPgDn", "BildAb"},
    {"XSmkcEnd", "Ende"},
    {"XSmkcHome", "Pos1"},
    {"XSmkcLeft", "Links"},
    {"XSmkcUp", "Nach oben"},
    {"XSmkcRight", "Rechts"},
    {"XSmkcDown", "Nach unten"},
    {"XSmkcIns", "Einfg"},
    {"XSmkcDel", "Entf"},
    {"XSmkcShift", "Umsch+"},
    {"XSmkcCtrl", "Strg+"},
    {"XSmkcAlt", "Alt+"},
    {"IDS_mtWarning", "Warnung"},
    {"IDS_mtError", "Fehler"},
    {"IDS_mtInformation", "Information"},
    {"IDS_mtConfimation", "Bestätigung"},
    {"IDS_mbYes", "&Ja"},
    {"IDS_mbNo", "&Nein"},
    {"IDS_mbOK", "OK"},
    {"IDS_mbCancel", "Abbrechen"},
    {"IDS_mbHelp", "&Hilfe"},
    {"IDS_mbAbort", "&Abbrechen"},
    {"IDS_mbRetry", "&Wiederholen"},
    {"IDS_mbIgnore", "&Ignorieren"},
    {"IDS_mbAll", "&Alle"},
    {"IDS_mbNoToAll", "N&ein für alle"},
    {"IDS_mbYesToAll", "Ja für a&lle"},
    {"XSModuleAccessViolation", "Zugriffsverletzung bei Adresse %p in Modul '%s'. %s von Adresse %p"},
};

// QLocale's languages as the platform's primary language ids.
int primaryIdOf(QLocale::Language language) {
    switch (language) {
    case QLocale::German:
        return 0x07;
    case QLocale::English:
        return 0x09;
    case QLocale::French:
        return 0x0C;
    case QLocale::Italian:
        return 0x10;
    case QLocale::Spanish:
        return 0x0A;
    case QLocale::Portuguese:
        return 0x16;
    case QLocale::Polish:
        return 0x15;
    case QLocale::Hungarian:
        return 0x0E;
    case QLocale::Czech:
        return 0x05;
    case QLocale::Dutch:
        return 0x13;
    case QLocale::Finnish:
        return 0x0B;
    case QLocale::Croatian:
    case QLocale::Serbian:
    case QLocale::Bosnian:
        return 0x1A;
    case QLocale::Romanian:
        return 0x18;
    case QLocale::Greek:
        return 0x08;
    case QLocale::Russian:
        return 0x19;
    case QLocale::Swedish:
        return 0x1D;
    case QLocale::NorwegianBokmal:
    case QLocale::NorwegianNynorsk:
        return 0x14;
    case QLocale::Danish:
        return 0x06;
    case QLocale::Slovenian:
        return 0x24;
    case QLocale::Slovak:
        return 0x1B;
    case QLocale::Turkish:
        return 0x1F;
    default:
        return -1;
    }
}

bool inMask(std::uint32_t mask, int index) {
    return index >= 0 && index <= 31 && (mask >> index) & 1u;
}

using TRegistration = void (*)();
TRegistration& coreRegistration() {
    static TRegistration registration = nullptr;
    return registration;
}

// Holds the wait cursor for the time of a switch.
class TWait {
public:
    explicit TWait(ILocalizerHost* host) : host_(host) {
        if (host_)
            host_->BeginWait();
    }
    ~TWait() {
        if (host_)
            host_->EndWait();
    }
    TWait(const TWait&) = delete;
    TWait& operator=(const TWait&) = delete;

private:
    ILocalizerHost* host_;
};

// Qt's shortcut names and buttons follow the loaded table. Installing the translator again tells
// every widget that the language changed.
void applyPlatformTexts() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    static QPointer<TPlatformTexts> texts;
    if (!texts)
        texts = new TPlatformTexts([](const QString& key) { return Translate(key); }, app);
    else
        QCoreApplication::removeTranslator(texts);
    QCoreApplication::installTranslator(texts);
}

} // namespace

TLocalizer& TLocalizer::instance() {
    static TLocalizer localizer;
    return localizer;
}

TLocalizer::TLocalizer() {
    registerOwnTexts();
}

void TLocalizer::registerOwnTexts() {
    for (const TPlatformDefault& d : kPlatformDefaults)
        RegisterText(defaultSection(), QString::fromLatin1(d.Key), QString::fromUtf8(d.German));
    RegisterText(QString::fromLatin1(kLocalizerSection), QStringLiteral("NoLanguageFile"),
                 QStringLiteral("Die Sprache wird nicht unterstützt"));
    for (const char* text : {"Sprachumschaltung nicht möglich, da Resourcenschreibmodus aktiviert ist",
                             "Ausgewählte Sprache steht nicht zur Verfügung"})
        RegisterText(defaultSection(), QString::fromUtf8(text), QString::fromUtf8(text));
}

QString TLocalizer::Escape(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\r'), QLatin1String("#13#"));
    out.replace(QLatin1Char('\n'), QLatin1String("#10#"));
    return out;
}

QString TLocalizer::Unescape(const QString& text) {
    if (!text.contains(QLatin1Char('#')))
        return text;
    QString out = text;
    out.replace(QLatin1String("#13#"), QLatin1String("\r"));
    out.replace(QLatin1String("#10#"), QLatin1String("\n"));
    return out;
}

QString TLocalizer::ReadText(const QString& section, const QString& key, const QString& fallback) const {
    const QString missing = QString::fromLatin1(kNotFoundMarker);
    QMutexLocker lock(&mutex_);
    const QString name = Escape(key);
    QString value = texts_.ReadString(section, name, missing);
    if (value == missing)
        value = sources_.ReadString(section, name, missing);
    if (value == missing)
        return fallback;
    return Unescape(value);
}

QString TLocalizer::TranslateText(const QString& section, const QString& key) const {
    if (!IsRegistered(section, key)) {
        QMutexLocker lock(&mutex_);
        ++unregistered_;
        const QString entry = QStringLiteral("[%1] %2").arg(section, key);
        if (!unregisteredKeys_.contains(entry))
            unregisteredKeys_.append(entry);
        // Traced, not printed: the command-line tool's stderr carries its one error line only.
        Debug().Trace(QStringLiteral("Localizer: unregistered text [%1] %2").arg(section, key));
    }
    return ReadText(section, key, QString::fromLatin1(kNoDefaultText));
}

bool TLocalizer::TableText(const QString& section, const QString& key, QString& value) const {
    const QString missing = QString::fromLatin1(kNotFoundMarker);
    QMutexLocker lock(&mutex_);
    const QString stored = texts_.ReadString(section, Escape(key), missing);
    if (stored == missing)
        return false;
    value = Unescape(stored);
    return true;
}

void TLocalizer::RegisterText(const QString& section, const QString& key, const QString& value) {
    QString reason;
    if (key.isEmpty())
        reason = QStringLiteral("empty key");
    else if (key.contains(QLatin1Char('=')))
        reason = QStringLiteral("\"=\" in the key");
    else if (key.contains(QLatin1Char('\r')) || key.contains(QLatin1Char('\n')))
        reason = QStringLiteral("line break in the key");
    else if (key.startsWith(QLatin1Char(';')) || key.startsWith(QLatin1Char('[')))
        reason = QStringLiteral("key starts with \"%1\"").arg(key.at(0));
    QMutexLocker lock(&mutex_);
    if (reason.isEmpty()) {
        QStringList names;
        sources_.ReadSection(section, names);
        for (const QString& name : names) {
            if (name != key && name.compare(key, Qt::CaseInsensitive) == 0) {
                reason = QStringLiteral("case variant of \"%1\"").arg(name);
                break;
            }
        }
    }
    if (!reason.isEmpty()) {
        const QString problem = QStringLiteral("[%1] %2: %3").arg(section, Escape(key), reason);
        if (!problems_.contains(problem))
            problems_.append(problem);
        Debug().Trace(QStringLiteral("Localizer: ") + problem);
        if (key.isEmpty() || key.contains(QLatin1Char('=')))
            return; // the store could not tell such a key from its value
    }
    sources_.WriteString(section, Escape(key), Escape(value));
}

bool TLocalizer::IsRegistered(const QString& section, const QString& key) const {
    const QString missing = QString::fromLatin1(kNotFoundMarker);
    QMutexLocker lock(&mutex_);
    return sources_.ReadString(section, Escape(key), missing) != missing;
}

QStringList TLocalizer::RegistrationProblems() const {
    QMutexLocker lock(&mutex_);
    return problems_;
}

QStringList TLocalizer::UnregisteredKeys() const {
    QMutexLocker lock(&mutex_);
    return unregisteredKeys_;
}

int TLocalizer::UnregisteredLookups() const {
    QMutexLocker lock(&mutex_);
    return unregistered_;
}

QString TLocalizer::CodeOf(int index) {
    if (index < 0 || index >= kLanguageCount)
        return QString();
    return QString::fromLatin1(kLanguages[static_cast<std::size_t>(index)].Code);
}

int TLocalizer::IndexOfCode(const QString& code) {
    for (int i = 0; i < kLanguageCount; ++i) {
        if (code.compare(CodeOf(i), Qt::CaseInsensitive) == 0)
            return i;
    }
    if (code.size() < 2 || !code.at(0).isLetter() ||
        code.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0)
        return -1;
    const QLocale locale(code);
    if (locale.language() == QLocale::C)
        return -1;
    const int id = primaryIdOf(locale.language());
    for (int i = 0; i < kLanguageCount; ++i) {
        if (kLanguages[static_cast<std::size_t>(i)].PrimaryId == id)
            return i;
    }
    return -1;
}

int TLocalizer::LanguageOfLocale(const QString& localeName) {
    const QString name = localeName.trimmed();
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return -1;
    const int id = primaryIdOf(QLocale(name).language());
    for (int i = 0; i < kLanguageCount; ++i) {
        if (kLanguages[static_cast<std::size_t>(i)].PrimaryId == id)
            return i;
    }
    return -1;
}

QString TLocalizer::TablePath(int index) const {
    const QString name = QString::number(100 + index);
    return tableFolder_.isEmpty() ? QStringLiteral(":/LANG/") + name : tableFolder_ + u'/' + name;
}

bool TLocalizer::HasTable(int index) const {
    if (index < 0 || index >= kLanguageCount)
        return false;
    return QFile::exists(TablePath(index));
}

bool TLocalizer::LoadTable(int index, TMyMemIniFile& into) const {
    if (!HasTable(index))
        return false;
    QFile file(TablePath(index));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    into.LoadFromStream(buffer);
    return true;
}

bool TLocalizer::IsAvailable(int index) const {
    return inMask(available_, index) && HasTable(index);
}

void TLocalizer::message(const QString& text) const {
    if (host_)
        host_->ShowMessage(text);
    else
        Debug().Trace(QStringLiteral("Localizer: ") + text);
}

bool TLocalizer::SetLanguage(int index) {
    TWait wait(host_);
    if (resWrite_) {
        message(Translate(
            QStringLiteral("Sprachumschaltung nicht möglich, da Resourcenschreibmodus aktiviert ist")));
        return false;
    }
    if (!IsAvailable(index)) {
        message(Translate(QStringLiteral("Ausgewählte Sprache steht nicht zur Verfügung")));
        return false;
    }
    // Read into a store of its own first: a table that cannot be read leaves the previous one.
    TMyMemIniFile table;
    if (!LoadTable(index, table)) {
        throw Exception(ReadText(QString::fromLatin1(kLocalizerSection), QStringLiteral("NoLanguageFile"),
                                 QString::fromLatin1(kNoDefaultText)) +
                        QStringLiteral(": ") + CodeOf(index));
    }
    {
        QMutexLocker lock(&mutex_);
        language_ = index;
        texts_ = std::move(table);
    }
    applyPlatformTexts();
    if (languageChanged_)
        languageChanged_();
    if (host_)
        host_->TranslateOpenForms();
    return true;
}

void TLocalizer::ForceLanguage(int index) {
    TMyMemIniFile table;
    LoadTable(index, table); // no table: the registered German texts show
    {
        QMutexLocker lock(&mutex_);
        language_ = index;
        texts_ = std::move(table);
    }
    applyPlatformTexts();
    if (languageChanged_)
        languageChanged_();
}

void TLocalizer::ChooseStartLanguage() {
    int index = VXRegIniFile().ReadInteger(QString(), QStringLiteral("Sprache"), kLanguageUnset);
    if (index == kLanguageUnset) {
        const QStringList languages = uiLanguages_ ? uiLanguages_() : QLocale::system().uiLanguages();
        index = LanguageOfLocale(languages.value(0));
        if (index < 0 || !inMask(available_, index))
            index = kLanguageEnglish;
        if (!IsAvailable(index))
            return;
    } else if (!inMask(available_, index)) {
        index = kLanguageEnglish;
    }
    try {
        SetLanguage(index);
    } catch (const Exception& e) {
        Debug().Trace(QStringLiteral("Localizer: ") + e.message());
    }
}

void TLocalizer::SetAvailable(std::uint32_t mask) {
    available_ = mask;
    if (!inMask(available_, language_))
        ChooseStartLanguage();
}

QImage TLocalizer::Glyph(TGlyph glyph) const {
    // Cut on first use: the sheet is drawn with fonts, which need the application object.
    QMutexLocker lock(&mutex_);
    if (glyphsLanguage_ != language_) {
        const QImage sheet = GlyphSheet();
        const int row = GlyphRowOf(language_);
        for (int i = 0; i < 3; ++i)
            glyphs_[i] = sheet.copy(16 * i, 16 * row, 16, 16);
        glyphsLanguage_ = language_;
    }
    return glyphs_[static_cast<int>(glyph)];
}

void TLocalizer::SetResWrite(bool on, const QString& templatePath) {
    resWrite_ = on;
    templatePath_ = templatePath;
    // The template holds what the forms and registrations of this run give, not a table loaded
    // before (the program starts this mode before any; a test may have loaded one).
    if (on) {
        QMutexLocker lock(&mutex_);
        texts_.Clear();
    }
}

void TLocalizer::CollectText(const QString& section, const QString& key, const QString& value) {
    QMutexLocker lock(&mutex_);
    texts_.WriteString(section, key, Escape(value));
}

void TLocalizer::BuildTemplate(TMyMemIniFile& into) const {
    QMutexLocker lock(&mutex_);
    QStringList sections;
    sources_.ReadSections(sections);
    for (const QString& section : sections) {
        QStringList names;
        sources_.ReadSection(section, names);
        for (const QString& name : names)
            into.WriteString(section, name, sources_.ReadString(section, name, QString()));
    }
}

void TLocalizer::WriteTemplate() {
    if (!resWrite_ || templatePath_.isEmpty())
        return;
    TMyMemIniFile collected;
    {
        QMutexLocker lock(&mutex_);
        collected = texts_;
    }
    BuildTemplate(collected);
    // The old template keeps what this run did not see; a file that cannot be read stops here.
    TMyMemIniFile file;
    file.LoadFromFile(templatePath_);
    QStringList sections;
    collected.ReadSections(sections);
    for (const QString& section : sections) {
        QStringList names;
        collected.ReadSection(section, names);
        for (const QString& name : names)
            file.WriteString(section, name, collected.ReadString(section, name, QString()));
    }
    file.SaveToFile(templatePath_);
}

void SetCoreTextsRegistration(void (*registration)()) {
    Localizer(); // created first, so the registration finds it
    coreRegistration() = registration;
    if (registration)
        registration();
}

QString Translate(const QString& german) {
    return Localizer().TranslateText(defaultSection(), german);
}

QString TranslateText(const QString& section, const QString& key) {
    return Localizer().TranslateText(section, key);
}

QString ReadText(const QString& section, const QString& key, const QString& fallback) {
    return Localizer().ReadText(section, key, fallback);
}

void RegisterText(const QString& german) {
    Localizer().RegisterText(defaultSection(), german, german);
}

void RegisterText(const QString& section, const QString& key, const QString& value) {
    Localizer().RegisterText(section, key, value);
}

void RegisterEditionText(const QString& edition, const QString& text) {
    Localizer().RegisterText(edition, text, text);
}

bool IsTextRegistered(const QString& section, const QString& key) {
    return Localizer().IsRegistered(section, key);
}

int CurrentLanguage() {
    return Localizer().Language();
}

void SetCurrentLanguage(int index) {
    Localizer().ForceLanguage(index);
}
