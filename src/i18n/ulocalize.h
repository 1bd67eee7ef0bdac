#pragma once

#include "document/uMyMemIniFile.h"
#include "i18n/uLanguageIndexes.h"

#include <QImage>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

// Translation of the program's texts. Every user-visible text is written in German in the code and
// in the forms; the one process-wide localizer holds the loaded language table and translates
// texts looked up by their German wording, the texts of the forms and the platform's own texts.

// Sections of the language tables: the general one, one per form (named after its class) and one
// per distributor edition. Keys compare without regard to case.
inline constexpr const char* kDefaultSection = "Default";
inline constexpr const char* kLocalizerSection = "Localizer";
inline constexpr const char* kNoDefaultText = "kein Defaultwert definiert";
// A stored value that reads like this counts as missing.
inline constexpr const char* kNotFoundMarker = "VX2001 kein String";

// What the localizer asks of the user interface: messages, the wait cursor and translating the
// forms that exist. Without a host (command line, core tests) messages go to the trace.
class ILocalizerHost {
public:
    virtual ~ILocalizerHost() = default;
    virtual void ShowMessage(const QString& text) = 0;
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    virtual void TranslateOpenForms() = 0;
};

// Bold, italic and underline glyphs of the rich-text toolbar.
enum class TGlyph { Bold = 0, Italic = 1, Underline = 2 };

class TLocalizer {
public:
    static TLocalizer& instance();

    // --- Lookups: the translated text with "#13#"/"#10#" turned into CR/LF.
    // The value in the table; else the registered source text; else the fallback.
    QString ReadText(const QString& section, const QString& key, const QString& fallback) const;
    // ReadText with the fallback "kein Defaultwert definiert"; a key nobody registered is traced
    // and counted.
    QString TranslateText(const QString& section, const QString& key) const;
    // The table's own value of a form's component property, without fallbacks.
    bool TableText(const QString& section, const QString& key, QString& value) const;

    // --- Registration of source texts (the German defaults); values are stored escaped.
    void RegisterText(const QString& section, const QString& key, const QString& value);
    bool IsRegistered(const QString& section, const QString& key) const;
    // Keys that cannot serve as keys of a table, one line each ("[Section] key: reason").
    QStringList RegistrationProblems() const;
    int UnregisteredLookups() const;
    QStringList UnregisteredKeys() const; // "[Section] key", each once

    // --- Languages.
    int Language() const { return language_; }
    std::uint32_t Available() const { return available_; }
    // Offered (in Available) and its table present.
    bool IsAvailable(int index) const;
    // Switches to an offered language and translates the open forms. False when refused (with a
    // message); an Exception when the table cannot be read, keeping the previous language.
    bool SetLanguage(int index);
    // The stored "Sprache" setting or else the desktop's language; errors are swallowed.
    void ChooseStartLanguage();
    void SetAvailable(std::uint32_t mask);
    // The language the desktop asks for: the first entry of the user's interface languages.
    static int LanguageOfLocale(const QString& localeName);
    static QString CodeOf(int index);
    // The index of a table code ("eng") or ISO code ("en", "en-GB"); -1 when unknown.
    static int IndexOfCode(const QString& code);
    QImage Glyph(TGlyph glyph) const;

    // --- Tables. The table of index i: the resource ":/LANG/" + (100 + i).
    const TMyMemIniFile& Texts() const { return texts_; }
    const TMyMemIniFile& Sources() const { return sources_; }
    // Reads a table into a store; false when it cannot be read.
    bool LoadTable(int index, TMyMemIniFile& into) const;
    bool HasTable(int index) const;
    QString TablePath(int index) const;

    // --- Template writing ("/RESWRITE"): forms are collected instead of translated.
    bool ResWrite() const { return resWrite_; }
    void SetResWrite(bool on, const QString& templatePath);
    // A form's text in template mode: written into the table under the form's section.
    void CollectText(const QString& section, const QString& key, const QString& value);
    // The registered texts merged into the template file; throws Exception when it cannot be saved.
    void WriteTemplate();
    // The template of all registered texts (what the German table holds for them).
    void BuildTemplate(TMyMemIniFile& into) const;

    // --- Wiring.
    void SetHost(ILocalizerHost* host) { host_ = host; }
    ILocalizerHost* Host() const { return host_; }
    // Tests: tables from a folder of files named 100, 101, ... instead of the resources; the
    // desktop's interface languages; a language set without the table's side effects.
    void SetTableFolder(const QString& folder) { tableFolder_ = folder; }
    void SetUiLanguages(std::function<QStringList()> languages) { uiLanguages_ = std::move(languages); }
    void ForceLanguage(int index);
    // Called whenever a language is loaded (the platform texts follow it).
    void SetLanguageChanged(std::function<void()> handler) { languageChanged_ = std::move(handler); }

    static QString Escape(const QString& text);
    static QString Unescape(const QString& text);

private:
    TLocalizer();
    void registerOwnTexts();
    void message(const QString& text) const;

    mutable QMutex mutex_;
    int language_ = kLanguageGerman;
    std::uint32_t available_ = kInitialAvailable;
    TMyMemIniFile texts_;
    TMyMemIniFile sources_;
    bool resWrite_ = false;
    QString templatePath_;
    mutable QImage glyphs_[3];
    mutable int glyphsLanguage_ = -1;
    mutable int unregistered_ = 0;
    mutable QStringList unregisteredKeys_;
    QStringList problems_;
    ILocalizerHost* host_ = nullptr;
    QString tableFolder_;
    std::function<QStringList()> uiLanguages_;
    std::function<void()> languageChanged_;
};

inline TLocalizer& Localizer() {
    return TLocalizer::instance();
}

// The registration of every core unit's texts (one explicit list, see uCoreTexts): the program,
// the command-line tool and the test programs hand it over at start; it runs at once.
void SetCoreTextsRegistration(void (*registration)());

// Shorthands of the lookups and registrations above.
// TranslateText of the general section, key = the German text.
QString Translate(const QString& german);
QString TranslateText(const QString& section, const QString& key);
QString ReadText(const QString& section, const QString& key, const QString& fallback);
void RegisterText(const QString& german);
void RegisterText(const QString& section, const QString& key, const QString& value);
// Registers a text of a distributor edition in the section of that edition (key = value = text).
void RegisterEditionText(const QString& edition, const QString& text);
bool IsTextRegistered(const QString& section, const QString& key);

// The language of the user interface as the localizer's language index.
int CurrentLanguage();
// Sets the index and loads its table when there is one, without messages (tests, tintaro-cli).
void SetCurrentLanguage(int index);
