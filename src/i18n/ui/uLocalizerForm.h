#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QWidget>

// The base of every form. A form class has Q_OBJECT (its class name is its section in the
// language tables) and ends its constructor with Localize(): RegisterTexts, the localizer's
// TranslateForm and AfterTranslate, in this order. After a language switch the localizer
// translates every existing form again and calls its AfterTranslate.
//
// Its components are translated by name (objectName): "<name>.Caption" is the window title of the
// form, the text of a button, label or action, the title of a group box or menu and the tab text
// of a tab page; "<name>.Hint" the tooltip; "<name>.Text" a line edit's text; "<name>.Items<N>"
// and "<name>.Lines<N>" the items of a combo box or list and the lines of a memo;
// "<name>.Columns<N>" the header of a tree or table. Each translation starts from the texts the
// form was built with, so a missing key shows German.
class TLocalizerFormBase {
public:
    virtual ~TLocalizerFormBase() = default;
    // Registers the texts the form looks up by wording (TranslateText with the form's section).
    virtual void RegisterTexts() {}
    // Refreshes the texts the form builds in code; runs after every translation.
    virtual void AfterTranslate() {}
    // The section of the form: its class name.
    QString Section() const;

protected:
    explicit TLocalizerFormBase(QObject* self) : self_(self) {}
    void Localize();
    // TranslateText in the form's section.
    QString Tr(const char* german) const;
    void RegisterText(const char* german) const;

private:
    QObject* self_;
};

class TLocalizerForm : public QWidget, public TLocalizerFormBase {
    Q_OBJECT
public:
    explicit TLocalizerForm(QWidget* parent = nullptr, Qt::WindowFlags flags = {})
        : QWidget(parent, flags), TLocalizerFormBase(this) {}
};

class TLocalizerDialog : public QDialog, public TLocalizerFormBase {
    Q_OBJECT
public:
    explicit TLocalizerDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {})
        : QDialog(parent, flags), TLocalizerFormBase(this) {}
};

class TLocalizerMainWindow : public QMainWindow, public TLocalizerFormBase {
    Q_OBJECT
public:
    explicit TLocalizerMainWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {})
        : QMainWindow(parent, flags), TLocalizerFormBase(this) {}
};

namespace LocalizerForms {
// Translates the form (or, in template mode, collects its texts) with its own section, and its
// nested forms with theirs; then its AfterTranslate.
void TranslateForm(QObject* form);
// Applies the texts of the section to the object and everything it owns.
void TranslateComponent(QObject* component, const QString& section);
// The top-level widget's forms: the widget itself when it is one, else the forms inside it.
void TranslateTree(QWidget* topLevel);
// Widgets that keep their texts, with everything inside them: marked by their owner (lists whose
// items are data, labels that show the document).
void KeepUntranslated(QObject* object);
} // namespace LocalizerForms
