#include "i18n/ui/uLocalizerUi.h"

#include "i18n/uCoreTexts.h"
#include "i18n/ui/uLocalizerForm.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>

namespace {

class TLocalizerHost : public ILocalizerHost {
public:
    void ShowMessage(const QString& text) override {
        QMessageBox::information(QApplication::activeWindow(),
                                 LocalizerUi::MessageCaption(LocalizerUi::TMessageType::Information), text);
    }
    void BeginWait() override { QApplication::setOverrideCursor(Qt::WaitCursor); }
    void EndWait() override { QApplication::restoreOverrideCursor(); }
    void TranslateOpenForms() override { LocalizerUi::TranslateOpenForms(); }
};

QStringList& quietMessages() {
    static QStringList messages;
    return messages;
}

class TQuietHost : public ILocalizerHost {
public:
    void ShowMessage(const QString& text) override { quietMessages().append(text); }
    void BeginWait() override {}
    void EndWait() override {}
    void TranslateOpenForms() override { LocalizerUi::TranslateOpenForms(); }
};

} // namespace

namespace LocalizerUi {

void Install(const QStringList& argumentsWithoutProgram) {
    SetCoreTextsRegistration(RegisterCoreTexts);
    static TLocalizerHost host;
    Localizer().SetHost(&host);
    if (argumentsWithoutProgram.value(0).compare(QLatin1String("/RESWRITE"), Qt::CaseInsensitive) == 0) {
        // The template lies beside the program and is named like it.
        const QFileInfo program(QCoreApplication::applicationFilePath());
        Localizer().SetResWrite(true, program.absolutePath() + u'/' + program.completeBaseName() +
                                          QStringLiteral(".txt"));
    }
}

void Shutdown() {
    try {
        Localizer().WriteTemplate();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
    }
    Localizer().SetHost(nullptr);
}

void TranslateOpenForms() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        LocalizerForms::TranslateTree(widget);
}

ILocalizerHost& QuietHost() {
    static TQuietHost host;
    return host;
}

QStringList QuietHostMessages() {
    return quietMessages();
}

QString MessageCaption(TMessageType type) {
    switch (type) {
    case TMessageType::Warning:
        return Translate(QStringLiteral("IDS_mtWarning"));
    case TMessageType::Error:
        return Translate(QStringLiteral("IDS_mtError"));
    case TMessageType::Information:
        return Translate(QStringLiteral("IDS_mtInformation"));
    case TMessageType::Confirmation:
        return Translate(QStringLiteral("IDS_mtConfimation"));
    }
    return {};
}

} // namespace LocalizerUi
