#pragma once

#include <QTranslator>

#include <functional>

// Qt's own texts in the user's language: the names of shortcut keys (context "QShortcut"; Qt adds
// the "+" after a modifier itself) and the message-box buttons (contexts "QPlatformTheme" and,
// on GNOME desktops, "QGnomeTheme"). The lookup answers the language tables' keys ("XSmkcCtrl",
// "IDS_mbYes"); texts it has no key for are left to Qt.
class TPlatformTexts : public QTranslator {
public:
    using Lookup = std::function<QString(const QString& key)>;
    explicit TPlatformTexts(Lookup lookup, QObject* parent = nullptr);

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }

    // The table key of a Qt text, or nullptr when the tables have none.
    static const char* KeyOf(const char* context, const char* sourceText);

private:
    Lookup lookup_;
};
