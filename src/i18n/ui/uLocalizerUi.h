#pragma once

#include <QStringList>

class ILocalizerHost;

// The widgets side of the localizer: messages as message boxes, the wait cursor, and translating
// the forms that exist after a switch.
namespace LocalizerUi {

// Called once by the start-up before the main window exists: registers the core texts, installs
// the host and, when the first argument is "/RESWRITE", the template-writing mode.
void Install(const QStringList& argumentsWithoutProgram);
// At exit: in template-writing mode the template is written beside the program; a failure is
// one line on stderr.
void Shutdown();
// Translates every form that exists (what a language switch does after loading the table).
void TranslateOpenForms();
// A host for tests: messages are kept instead of shown, forms are translated as in the program.
ILocalizerHost& QuietHost();
QStringList QuietHostMessages();

// The caption of a typed message box ("Warnung", "Fehler", ...) in the current language.
enum class TMessageType { Warning, Error, Information, Confirmation };
QString MessageCaption(TMessageType type);

} // namespace LocalizerUi
