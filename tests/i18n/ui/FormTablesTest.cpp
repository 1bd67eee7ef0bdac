// The language tables against the forms: the German table equals the template of every form and
// every registered text, and in English no visible text of any form is still German.
#include "app/ui/uFormList.h"
#include "i18n/ulocalize.h"
#include "platform/uVXRegIniFile.h"
#include "support/GuiTest.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
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

TEST_F(FormTables, NoVisibleTextOfAnyFormIsStillGermanInEnglish) {
    TMyMemIniFile german;
    TMyMemIniFile english;
    ASSERT_TRUE(Localizer().LoadTable(kLanguageGerman, german));
    ASSERT_TRUE(Localizer().LoadTable(kLanguageEnglish, english));
    // German values that English does not share: what an English window must not show.
    QSet<QString> germanOnly;
    QSet<QString> englishValues;
    for (const TMyMemIniFile* table : {&english, &german}) {
        QStringList sections;
        table->ReadSections(sections);
        for (const QString& section : sections) {
            QStringList lines;
            table->ReadSectionValues(section, lines);
            for (const QString& line : lines) {
                const QString value = TLocalizer::Unescape(line.mid(line.indexOf(u'=') + 1));
                if (table == &english)
                    englishValues.insert(value);
                else if (!englishValues.contains(value))
                    germanOnly.insert(value);
            }
        }
    }
    // The main window chooses the start language from the setting.
    VXRegIniFile().WriteInteger(QString(), QStringLiteral("Sprache"), kLanguageEnglish);
    SetCurrentLanguage(kLanguageEnglish);
    for (const TFormEntry& form : AllForms()) {
        std::unique_ptr<QWidget> widget = form.Create(nullptr);
        QStringList german;
        for (const QString& text : visibleTexts(widget.get()))
            if (germanOnly.contains(text))
                german << text;
        german.removeDuplicates();
        EXPECT_TRUE(german.isEmpty()) << form.Section << " still shows:\n"
                                      << german.join(u'\n').toStdString();
    }
}

} // namespace
