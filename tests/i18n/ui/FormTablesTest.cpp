// The language tables against the forms: the German table equals the template of every form and
// every registered text, and in no other language is a visible text of any form still German.
#include "app/ui/uFormList.h"
#include "i18n/ui/uLocalizerForm.h"
#include "i18n/ulocalize.h"
#include "platform/uVXRegIniFile.h"
#include "support/GuiTest.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class FormTables : public TestSupport::GuiTest {
protected:
    void TearDown() override {
        Localizer().SetResWrite(false, QString());
        SetCurrentLanguage(kLanguageGerman);
        GuiTest::TearDown();
    }
};

QStringList entriesOf(const TMyMemIniFile& table) {
    QStringList entries;
    QStringList sections;
    table.ReadSections(sections);
    for (const QString& section : sections) {
        QStringList lines;
        table.ReadSectionValues(section, lines);
        for (const QString& line : lines)
            entries << QLatin1Char('[') + section + QStringLiteral("] ") + line;
    }
    return entries;
}

TEST_F(FormTables, GermanTableEqualsTheTemplateOfAllFormsAndTexts) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/tintaro.txt");
    Localizer().SetResWrite(true, path);
    for (const TFormEntry& form : AllForms()) {
        std::unique_ptr<QWidget> widget = form.Create(nullptr);
        EXPECT_TRUE(widget) << form.Section;
    }
    Localizer().WriteTemplate();
    if (const QByteArray out = qgetenv("TINTARO_WRITE_TEMPLATE"); !out.isEmpty())
        QFile::copy(path, QString::fromLocal8Bit(out)); // to bring deu.txt up to date
    TMyMemIniFile written;
    written.LoadFromFile(path);
    TMyMemIniFile german;
    ASSERT_TRUE(Localizer().LoadTable(kLanguageGerman, german));
    const QStringList templ = entriesOf(written);
    const QStringList table = entriesOf(german);
    const QSet<QString> inTemplate(templ.begin(), templ.end());
    const QSet<QString> inTable(table.begin(), table.end());
    QStringList missing;
    for (const QString& entry : templ)
        if (!inTable.contains(entry))
            missing << entry;
    QStringList extra;
    for (const QString& entry : table)
        if (!inTemplate.contains(entry))
            extra << entry;
    EXPECT_TRUE(missing.isEmpty()) << "not in deu.txt:\n" << missing.join(u'\n').toStdString();
    EXPECT_TRUE(extra.isEmpty()) << "in deu.txt but no form or registration has it:\n"
                                 << extra.join(u'\n').toStdString();
}

// Every text a user can see on the widget and inside it.
QStringList visibleTexts(QObject* object) {
    QStringList texts;
    if (auto* action = qobject_cast<QAction*>(object)) {
        texts << action->text() << action->iconText() << action->toolTip();
    } else if (auto* widget = qobject_cast<QWidget*>(object)) {
        texts << widget->toolTip();
        if (widget->isWindow())
            texts << widget->windowTitle();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            texts << box->title();
        else if (auto* menu = qobject_cast<QMenu*>(widget))
            texts << menu->title();
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        else if (auto* list = qobject_cast<QListWidget*>(widget))
            for (int i = 0; i < list->count(); ++i)
                texts << list->item(i)->text();
        else if (auto* tree = qobject_cast<QTreeWidget*>(widget))
            for (int i = 0; i < tree->columnCount(); ++i)
                texts << tree->headerItem()->text(i);
        if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
    }
    for (QObject* child : object->children())
        texts << visibleTexts(child);
    return texts;
}

TEST_F(FormTables, NoVisibleTextOfAnyFormIsStillGermanInAnyLanguage) {
    TMyMemIniFile german;
    ASSERT_TRUE(Localizer().LoadTable(kLanguageGerman, german));
    for (int index : kShippedLanguages) {
        if (index == kLanguageGerman)
            continue;
        const QString code = TLocalizer::CodeOf(index);
        TMyMemIniFile translated;
        ASSERT_TRUE(Localizer().LoadTable(index, translated)) << code.toStdString();
        // German values the language does not share: what its windows must not show.
        QSet<QString> germanOnly;
        QSet<QString> translatedValues;
        for (const TMyMemIniFile* table : {&translated, &german}) {
            QStringList sections;
            table->ReadSections(sections);
            for (const QString& section : sections) {
                QStringList lines;
                table->ReadSectionValues(section, lines);
                for (const QString& line : lines) {
                    const QString value = TLocalizer::Unescape(line.mid(line.indexOf(u'=') + 1));
                    if (table == &translated)
                        translatedValues.insert(value);
                    else if (!translatedValues.contains(value))
                        germanOnly.insert(value);
                }
            }
        }
        // The main window chooses the start language from the setting.
        VXRegIniFile().WriteInteger(QString(), QStringLiteral("Sprache"), index);
        for (const TFormEntry& form : AllForms()) {
            SetCurrentLanguage(index);
            std::unique_ptr<QWidget> widget = form.Create(nullptr);
            // The main window offers only the designer's languages and starts Portuguese in English;
            // the table is shown all the same once forced.
            if (CurrentLanguage() != index) {
                SetCurrentLanguage(index);
                LocalizerForms::TranslateTree(widget.get());
            }
            QStringList left;
            for (const QString& text : visibleTexts(widget.get()))
                if (germanOnly.contains(text))
                    left << text;
            left.removeDuplicates();
            EXPECT_TRUE(left.isEmpty()) << code.toStdString() << ": " << form.Section << " still shows:\n"
                                        << left.join(u'\n').toStdString();
        }
    }
}

// The letter after a single "&" ("&&" is a literal ampersand), lower case; null without one.
QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

// "&" letters used twice among texts shown together, as "letter: text, text" lines.
QStringList clashes(const QStringList& texts) {
    QHash<QChar, QStringList> byLetter;
    for (const QString& text : texts)
        if (const QChar letter = mnemonicOf(text); !letter.isNull())
            byLetter[letter] << text;
    QStringList found;
    for (auto it = byLetter.cbegin(); it != byLetter.cend(); ++it)
        if (it->size() > 1)
            found << QString(it.key()) + QStringLiteral(": ") + it->join(QStringLiteral(", "));
    return found;
}

// Menus, the menu bar and the controls of each window: within each, no mnemonic letter twice.
QStringList mnemonicClashes(QWidget* window) {
    QStringList found;
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        for (const QString& clash : clashes(texts))
            found << menu->objectName() + QStringLiteral(" ") + clash;
    }
    for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        QStringList texts;
        for (QAction* action : bar->actions())
            texts << action->text();
        for (const QString& clash : clashes(texts))
            found << QStringLiteral("menu bar ") + clash;
    }
    QList<QWidget*> windows{window};
    for (QWidget* child : window->findChildren<QWidget*>())
        if (child->isWindow() && !qobject_cast<QMenu*>(child))
            windows << child;
    for (QWidget* w : windows) {
        QStringList texts;
        for (QWidget* control : w->findChildren<QWidget*>()) {
            if (control->window() != w)
                continue;
            if (auto* button = qobject_cast<QAbstractButton*>(control))
                texts << button->text();
            else if (auto* label = qobject_cast<QLabel*>(control); label && label->buddy())
                texts << label->text();
            else if (auto* box = qobject_cast<QGroupBox*>(control))
                texts << box->title();
        }
        for (const QString& clash : clashes(texts))
            found << w->objectName() + QStringLiteral(" ") + clash;
    }
    return found;
}

TEST_F(FormTables, MnemonicsAreDistinctInEachMenuAndWindowInEveryLanguage) {
    for (int index : kShippedLanguages) {
        const QString code = TLocalizer::CodeOf(index);
        VXRegIniFile().WriteInteger(QString(), QStringLiteral("Sprache"), index);
        SetCurrentLanguage(index);
        for (const TFormEntry& form : AllForms()) {
            std::unique_ptr<QWidget> widget = form.Create(nullptr);
            const QStringList found = mnemonicClashes(widget.get());
            EXPECT_TRUE(found.isEmpty()) << code.toStdString() << ": " << form.Section << "\n"
                                         << found.join(u'\n').toStdString();
        }
    }
}

} // namespace
