#include "i18n/ui/uLocalizerForm.h"

#include "i18n/ulocalize.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr const char* kKeep = "tintaroKeepUntranslated";

// One text property: the table's value; a key the table lacks leaves the text as it is (the
// German table holds every text the form was built with, so switching back restores them, and
// texts the form fills in code have no key). In template mode the text is collected instead.
QString textFor(QObject* object, const QString& section, const char* property, const QString& current) {
    const QString key = object->objectName() + u'.' + QLatin1String(property);
    if (Localizer().ResWrite()) {
        if (!current.trimmed().isEmpty())
            Localizer().CollectText(section, key, current);
        return current;
    }
    QString value;
    return Localizer().TableText(section, key, value) ? value : current;
}

// A string list: each translation starts from the lines the form was built with (kept on the
// first one); lines N = 0, 1, ... replace or append until the first missing one. Without a first
// line the list is the form's data and stays as it is.
QStringList listFor(QObject* object, const QString& section, const char* property,
                    const QStringList& current) {
    const QString stem = object->objectName() + u'.' + QLatin1String(property);
    if (Localizer().ResWrite()) {
        for (qsizetype i = 0; i < current.size(); ++i) {
            if (!current[i].trimmed().isEmpty())
                Localizer().CollectText(section, stem + QString::number(i), current[i]);
        }
        return current;
    }
    QString value;
    if (!Localizer().TableText(section, stem + u'0', value))
        return current;
    const QByteArray kept = QByteArray("tintaroSource.") + property;
    if (!object->property(kept.constData()).isValid())
        object->setProperty(kept.constData(), current);
    QStringList lines = object->property(kept.constData()).toStringList();
    for (int n = 0; Localizer().TableText(section, stem + QString::number(n), value); ++n) {
        if (n < lines.size())
            lines[n] = value;
        else
            lines.append(value);
    }
    return lines;
}

// The string lists of Qt's own list widgets are form texts; a class of ours built on one (font
// boxes, colour lists) fills it with data and adds its texts to the mapping itself.
template <class Widget>
Widget* exactly(QWidget* widget) {
    return widget->metaObject() == &Widget::staticMetaObject ? static_cast<Widget*>(widget) : nullptr;
}

bool isForm(QObject* object) {
    return dynamic_cast<TLocalizerFormBase*>(object) != nullptr;
}

void applyTabTexts(QTabWidget* tabs, const QString& section) {
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget* page = tabs->widget(i);
        if (page->objectName().isEmpty())
            continue;
        tabs->setTabText(i, textFor(page, section, "Caption", tabs->tabText(i)));
        const QString tip = textFor(page, section, "Hint", tabs->tabToolTip(i));
        if (!tip.isEmpty())
            tabs->setTabToolTip(i, tip);
    }
}

// The mapping of the component kinds onto the table's properties.
void applyProperties(QObject* object, const QString& section, bool isTheForm) {
    if (object->objectName().isEmpty() || object->property(kKeep).toBool())
        return;
    if (auto* action = qobject_cast<QAction*>(object)) {
        if (action->isSeparator() || action->menu())
            return; // a menu's own action carries the menu's title
        action->setText(textFor(action, section, "Caption", action->text()));
        // A tool button showing the action carries its caption and hint under the button's name.
        for (QObject* shown : action->associatedObjects()) {
            if (auto* button = qobject_cast<QToolButton*>(shown); button && button->defaultAction() == action)
                return;
        }
        // Without a tooltip of its own an action shows its text without "&" and "...".
        QString plain = action->text();
        plain.remove(u'&');
        if (plain.endsWith(QLatin1String("...")))
            plain.chop(3);
        const bool ownTip = action->toolTip() != plain.trimmed();
        if (ownTip)
            action->setToolTip(textFor(action, section, "Hint", action->toolTip()));
        return;
    }
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return;
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        menu->setTitle(textFor(menu, section, "Caption", menu->title()));
    } else if (isTheForm || widget->isWindow()) {
        widget->setWindowTitle(
            textFor(widget, section, isTheForm ? "Caption" : "Title", widget->windowTitle()));
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        box->setTitle(textFor(box, section, "Caption", box->title()));
    } else if (auto* tool = qobject_cast<QToolButton*>(widget); tool && tool->defaultAction()) {
        QAction* action = tool->defaultAction();
        action->setIconText(textFor(tool, section, "Caption", action->iconText()));
        action->setToolTip(textFor(tool, section, "Hint", action->toolTip()));
        // Screen readers name an icon-only button by its hint.
        if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly || action->iconText().isEmpty())
            tool->setAccessibleName(action->toolTip());
        return;
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(textFor(button, section, "Caption", button->text()));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->pixmap().isNull())
            label->setText(textFor(label, section, "Caption", label->text()));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Numbers are the user's data, not texts of the form.
        static const QRegularExpression number(QStringLiteral("^[-+0-9.,\\s%]*$"));
        if (!number.match(edit->text()).hasMatch())
            edit->setText(textFor(edit, section, "Text", edit->text()));
    } else if (auto* combo = exactly<QComboBox>(widget)) {
        if (!combo->isEditable()) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            const QStringList translated = listFor(combo, section, "Items", items);
            for (int i = 0; i < translated.size(); ++i) {
                if (i < combo->count())
                    combo->setItemText(i, translated[i]);
                else
                    combo->addItem(translated[i]);
            }
            while (combo->count() > translated.size()) // appended for the previous language
                combo->removeItem(combo->count() - 1);
        }
    } else if (auto* list = exactly<QListWidget>(widget)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        const QStringList translated = listFor(list, section, "Items", items);
        for (int i = 0; i < translated.size(); ++i) {
            if (i < list->count())
                list->item(i)->setText(translated[i]);
            else
                list->addItem(translated[i]);
        }
        while (list->count() > translated.size())
            delete list->takeItem(list->count() - 1);
    } else if (auto* memo = exactly<QPlainTextEdit>(widget)) {
        if (memo->isReadOnly()) {
            const QStringList lines = listFor(memo, section, "Lines", memo->toPlainText().split(u'\n'));
            memo->setPlainText(lines.join(u'\n'));
        }
    } else if (auto* tree = exactly<QTreeWidget>(widget)) {
        if (QTreeWidgetItem* header = tree->headerItem()) {
            QStringList columns;
            for (int i = 0; i < header->columnCount(); ++i)
                columns << header->text(i);
            const QStringList translated = listFor(tree, section, "Columns", columns);
            for (int i = 0; i < header->columnCount() && i < translated.size(); ++i)
                header->setText(i, translated[i]);
        }
    } else if (auto* table = exactly<QTableWidget>(widget)) {
        QStringList columns;
        for (int i = 0; i < table->columnCount(); ++i)
            columns << (table->horizontalHeaderItem(i) ? table->horizontalHeaderItem(i)->text() : QString());
        const QStringList translated = listFor(table, section, "Columns", columns);
        for (int i = 0; i < table->columnCount() && i < translated.size(); ++i) {
            if (table->horizontalHeaderItem(i))
                table->horizontalHeaderItem(i)->setText(translated[i]);
        }
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(widget))
        applyTabTexts(tabs, section);
    const QString tip = textFor(widget, section, "Hint", widget->toolTip());
    if (!tip.isEmpty() || !widget->toolTip().isEmpty())
        widget->setToolTip(tip);
    if (auto* button = qobject_cast<QAbstractButton*>(widget);
        button && button->text().isEmpty() && !tip.isEmpty())
        button->setAccessibleName(tip);
}

} // namespace

QString TLocalizerFormBase::Section() const {
    return QString::fromLatin1(self_->metaObject()->className());
}

void TLocalizerFormBase::Localize() {
    RegisterTexts();
    LocalizerForms::TranslateForm(self_);
}

QString TLocalizerFormBase::Tr(const char* german) const {
    return TranslateText(Section(), QString::fromUtf8(german));
}

void TLocalizerFormBase::RegisterText(const char* german) const {
    ::RegisterText(Section(), QString::fromUtf8(german), QString::fromUtf8(german));
}

namespace LocalizerForms {

void TranslateComponent(QObject* component, const QString& section) {
    if (component->property(kKeep).toBool())
        return; // with everything inside it
    applyProperties(component, section, false);
    for (QObject* child : component->children()) {
        if (isForm(child))
            TranslateForm(child);
        else
            TranslateComponent(child, section);
    }
}

void TranslateForm(QObject* form) {
    auto* base = dynamic_cast<TLocalizerFormBase*>(form);
    const QString section = base ? base->Section() : QString::fromLatin1(form->metaObject()->className());
    applyProperties(form, section, true);
    for (QObject* child : form->children()) {
        if (isForm(child))
            TranslateForm(child);
        else
            TranslateComponent(child, section);
    }
    if (base && !Localizer().ResWrite())
        base->AfterTranslate();
}

void TranslateTree(QWidget* topLevel) {
    if (isForm(topLevel)) {
        TranslateForm(topLevel);
        return;
    }
    for (QObject* child : topLevel->children()) {
        if (auto* widget = qobject_cast<QWidget*>(child))
            TranslateTree(widget);
    }
}

void KeepUntranslated(QObject* object) {
    object->setProperty(kKeep, true);
}

} // namespace LocalizerForms
