// tintaro-cli edit IN OUT [--undo-budget BYTES] STEP...: loads IN, runs the steps one after the
// other through the same edit functions the editing windows use, with undo and redo between
// them, and saves the result as OUT. Pages (P), picture frames (F) and text or clipart elements
// (I) are counted from 0. Each step prints one line: its number, its word and the state of the
// undo history; undo and redo also name the record and the place they returned to. A step that
// cannot be done ends the run with exit code 2 and one line on stderr; OUT is not written.
#include "calendar/uKalender.h"
#include "calendar/uKalenderEigenschaften.h"
#include "calendar/uKalenderStart.h"
#include "calendar/uKalenderTageTabelle.h"
#include "catalogue/uFotobuchPageTemplate.h"
#include "cli/CliCommand.h"
#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uDocumentEdits.h"
#include "editing/uPagesStrip.h"
#include "editing/uUndo.h"
#include "platform/Exception.h"

#include <QBuffer>
#include <QFileInfo>

#include <cmath>
#include <functional>
#include <optional>

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli edit IN OUT [--undo-budget BYTES] STEP...");

const char* const kStepHelp =
    "steps: view V | select pic|kalender|sizeable P I | select none | "
    "picture P F FILE | colour P F 0xBBGGRR | remove-picture P F | "
    "rotate P F left|right | filter P F invert|cancel | zoom P F Z [merge] | "
    "pan P F OX OY | swap P F P2 F2 | insert-view V SOURCE | insert-view-after V | move-view FROM TO | "
    "drag-view S G | "
    "delete-view V | toggle-orientation V | layout P ID | insert-text P | insert-clipart P FILE X Y | "
    "delete-element P I | size-element P I W H ANGLE | move-element P I X Y [P2] | "
    "calendar-look P I KEY VALUE [all] | calendar-start YEAR MONTH | "
    "calendar-props P I KEY=VALUE [all] | calendar-year +1|-1 | calendar-month M | "
    "compute-holidays YEAR | birthday DD.MM.YYYY TEXT | "
    "undo | redo | drop-last";

// The view and selection of the run, as the main window would hold them.
class TCliUIState : public TUndoUIState {
public:
    int CurrentView() const override { return view; }
    TFBElement* SelectedElement() const override { return selected; }
    void ShowPlace(int v, TFBElement* element) override {
        view = v;
        selected = element;
    }

    int view = 0;
    TFBElement* selected = nullptr;
};

// The lightness filter's dialog stands in as a choice made beforehand: invert or cancel.
class TCliFilterHost : public TPictureFilterHost {
public:
    std::optional<QImage> RunFilter(TPictureFilterKind, const QImage& picture, int) override {
        if (!invert)
            return std::nullopt;
        QImage result = picture.convertToFormat(QImage::Format_RGB32);
        result.invertPixels();
        return result;
    }
    bool invert = false;
};

// One step word with its arguments.
struct TStep {
    QString word;
    QStringList args;
};

struct TStepForm {
    const char* word;
    int required;
    // The optional last argument, if the next token is one.
    std::function<bool(const QString&)> optional;
};

bool isNumber(const QString& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

const QList<TStepForm>& stepForms() {
    static const QList<TStepForm> forms = {
        {"view", 1, {}},
        {"select", 1, {}}, // "none" or a kind followed by P I (checked when run)
        {"picture", 3, {}},
        {"colour", 3, {}},
        {"remove-picture", 2, {}},
        {"rotate", 3, {}},
        {"filter", 3, {}},
        {"zoom", 3, [](const QString& t) { return t == QLatin1String("merge"); }},
        {"pan", 4, {}},
        {"swap", 4, {}},
        {"insert-view", 2, {}},
        {"insert-view-after", 1, {}},
        {"move-view", 2, {}},
        {"drag-view", 2, {}},
        {"delete-view", 1, {}},
        {"toggle-orientation", 1, {}},
        {"layout", 2, {}},
        {"insert-text", 1, {}},
        {"insert-clipart", 4, {}},
        {"delete-element", 2, {}},
        {"size-element", 5, {}},
        {"move-element", 4, isNumber},
        {"calendar-look", 4, [](const QString& t) { return t == QLatin1String("all"); }},
        {"calendar-start", 2, {}},
        {"calendar-props", 3, [](const QString& t) { return t == QLatin1String("all"); }},
        {"calendar-year", 1, {}},
        {"calendar-month", 1, {}},
        {"compute-holidays", 1, {}},
        {"birthday", 2, {}},
        {"undo", 0, {}},
        {"redo", 0, {}},
        {"drop-last", 0, {}},
    };
    return forms;
}

QList<TStep> parseSteps(const QStringList& tokens) {
    QList<TStep> steps;
    qsizetype i = 0;
    while (i < tokens.size()) {
        const QString word = tokens[i++];
        const TStepForm* form = nullptr;
        for (const TStepForm& f : stepForms())
            if (word == QLatin1String(f.word))
                form = &f;
        if (!form)
            throw CliUsageError(
                QStringLiteral("unknown step \"%1\"; %2").arg(word, QLatin1String(kStepHelp)));
        int count = form->required;
        if (word == QLatin1String("select") && i < tokens.size() && tokens[i] != QLatin1String("none"))
            count = 3;
        if (i + count > tokens.size())
            throw CliUsageError(QStringLiteral("step \"%1\" needs %2 arguments; %3")
                                    .arg(word)
                                    .arg(count)
                                    .arg(QLatin1String(kStepHelp)));
        TStep step{word, tokens.mid(i, count)};
        i += count;
        if (form->optional && i < tokens.size() && form->optional(tokens[i]))
            step.args << tokens[i++];
        steps << step;
    }
    if (steps.isEmpty())
        throw CliUsageError(QStringLiteral("no steps given; %1").arg(QLatin1String(kStepHelp)));
    return steps;
}

float parseFloat(const QString& text, const QString& what) {
    bool ok = false;
    const float value = text.toFloat(&ok);
    if (!ok || !std::isfinite(value))
        throw CliUsageError(QStringLiteral("%1 must be a number, not \"%2\"").arg(what, text));
    return value;
}

// The calendar settings with one number or flag changed, through the stored form so that every
// key a project keeps can be named.
void changeKey(const TKalenderData& source, const QString& key, const QString& value, TKalenderData& target) {
    const QString section = QString::fromLatin1(TKalenderDataSnapshot::kSection);
    QByteArray sourceBytes;
    QBuffer sourceBuffer(&sourceBytes);
    sourceBuffer.open(QIODevice::ReadWrite);
    TMemoryDataFile from(sourceBuffer);
    source.Save(from, section);
    from.BuildCache();

    QByteArray targetBytes;
    QBuffer targetBuffer(&targetBytes);
    targetBuffer.open(QIODevice::ReadWrite);
    TMemoryDataFile to(targetBuffer);
    bool found = false;
    for (const TDataFileCacheItem& item : from.CacheItems()) {
        const bool match = !found && item.Section.compare(section, Qt::CaseInsensitive) == 0 &&
                           item.Key.compare(key, Qt::CaseInsensitive) == 0;
        if (match && item.Size == 1) {
            if (value != QLatin1String("true") && value != QLatin1String("false"))
                throw CliUsageError(
                    QStringLiteral("%1 is a flag: true or false, not \"%2\"").arg(key, value));
            to.WriteBool(item.Section, item.Key, value == QLatin1String("true"));
        } else if (match && item.Size == 4) {
            to.WriteInteger(item.Section, item.Key, Cli::parseInt(value, key));
        } else if (match && item.Size == 8) {
            to.WriteFloat(item.Section, item.Key, parseFloat(value, key));
        } else {
            QByteArray data;
            from.ReadBuffer(item.Section, item.Key, data);
            to.WriteBuffer(item.Section, item.Key, data);
            continue;
        }
        found = true;
    }
    if (!found)
        throw CliUsageError(QStringLiteral("\"%1\" is no number or flag of the calendar settings").arg(key));
    to.BuildCache();
    target.Load(to, section);
}

class TEditRun {
public:
    TEditRun(TFBDocument& document, QTextStream& out) : document_(document), out_(out) {
        UndoManager().SetUIState(&ui_);
        TBildmanager::Instance().SetFilterHost(&filters_);
    }
    ~TEditRun() {
        UndoManager().SetUIState(nullptr);
        TBildmanager::Instance().SetFilterHost(nullptr);
    }

    void run(int number, const TStep& step) {
        number_ = number;
        step_ = &step;
        const QString& w = step.word;
        if (w == QLatin1String("undo") || w == QLatin1String("redo")) {
            ui_.selected = nullptr; // undo clears the selection first, as the window does
            const TUndoOutcome outcome =
                w == QLatin1String("undo") ? UndoManager().Undo(document_) : UndoManager().Redo(document_);
            out_ << number << ' ' << w << ' ';
            if (!outcome.Done) {
                out_ << "nothing";
            } else {
                out_ << outcome.ClassName << " view=" << outcome.Place.ViewIndex << " focus=";
                if (outcome.Place.HasFocusedElement)
                    out_ << outcome.Place.Focustyp << ':' << outcome.Place.PageIndex << ':'
                         << outcome.Place.ElementIndex;
                else
                    out_ << "none";
            }
            out_ << ' ' << state() << '\n';
            return;
        }
        detail_.clear();
        edit(w);
        out_ << number << ' ' << w << ' ' << state() << '\n';
        if (!detail_.isEmpty())
            out_ << detail_ << '\n';
    }

private:
    QString state() const {
        return QStringLiteral("records=%1 redo=%2 bytes=%3")
            .arg(UndoManager().Count())
            .arg(UndoManager().RedoCount())
            .arg(UndoManager().Bytes());
    }

    [[noreturn]] void fail(const QString& message) const {
        throw CliUsageError(QStringLiteral("step %1 (%2): %3").arg(number_).arg(step_->word, message));
    }

    const QString& arg(int i) const { return step_->args[i]; }
    int intArg(int i, const char* what) const { return Cli::parseInt(arg(i), QString::fromLatin1(what)); }
    float floatArg(int i, const char* what) const { return parseFloat(arg(i), QString::fromLatin1(what)); }

    TFBPage* page(int i) const {
        const int p = intArg(i, "P");
        if (p < 0 || p >= document_.Pages.Count())
            fail(QStringLiteral("page %1 does not exist (the project has %2 pages)")
                     .arg(p)
                     .arg(document_.Pages.Count()));
        return document_.Pages.Items(p);
    }
    // The element of page args[i] at index args[i + 1] of one of the page's lists.
    TFBElement* listed(int i, TFBElementList TFBPage::*list, const char* kind, const char* letter) const {
        TFBPage* p = page(i);
        const int e = intArg(i + 1, letter);
        const TFBElementList& elements = p->*list;
        if (e < 0 || e >= elements.Count())
            fail(QStringLiteral("%1 %2 does not exist on page %3 (it has %4)")
                     .arg(QLatin1String(kind))
                     .arg(e)
                     .arg(p->PageIndex())
                     .arg(elements.Count()));
        return elements.Items(e);
    }
    TFBPictureElement* frame(int i) const {
        return static_cast<TFBPictureElement*>(listed(i, &TFBPage::Pictures, "picture frame", "F"));
    }
    TFBPictureElement* frameWithPicture(int i) const {
        TFBPictureElement* f = frame(i);
        if (!f->HasPicture())
            fail(QStringLiteral("picture frame %1 of page %2 shows no picture").arg(arg(i + 1), arg(i)));
        return f;
    }
    TFBElement* sizeable(int i) const { return listed(i, &TFBPage::Sizeables, "element", "I"); }
    TFBKalenderElement* calendar(int i) const {
        return static_cast<TFBKalenderElement*>(listed(i, &TFBPage::Calendars, "calendar", "I"));
    }
    int view(int i) const {
        const int v = intArg(i, "V");
        if (v < 0 || v >= document_.ViewCount())
            fail(QStringLiteral("view %1 does not exist (the project has %2 views)")
                     .arg(v)
                     .arg(document_.ViewCount()));
        return v;
    }
    QString pictureFile(int i) const {
        Cli::requireFile(arg(i), QStringLiteral("picture"));
        return QFileInfo(arg(i)).absoluteFilePath();
    }
    void requireDecoded(int ref, int i) const {
        const TBildManagerListItem* entry = TBildmanager::Instance().Find(ref);
        if (!entry || entry->PicWidth <= 0 || entry->PicHeight <= 0)
            fail(QStringLiteral("picture could not be decoded: %1").arg(arg(i)));
    }
    void select(TFBElement* element) {
        ui_.selected = element;
        if (element && element->Page)
            ui_.view = element->Page->ViewIndex();
    }

    void edit(const QString& w) {
        try {
            editStep(w);
        } catch (const Exception& e) {
            fail(e.message());
        }
    }

    void editStep(const QString& w) {
        if (w == QLatin1String("view")) {
            ui_.view = view(0);
            ui_.selected = nullptr;
        } else if (w == QLatin1String("select")) {
            if (arg(0) == QLatin1String("none")) {
                ui_.selected = nullptr;
            } else if (arg(0) == QLatin1String("pic")) {
                select(frame(1));
            } else if (arg(0) == QLatin1String("kalender")) {
                select(calendar(1));
            } else if (arg(0) == QLatin1String("sizeable")) {
                select(sizeable(1));
            } else {
                fail(QStringLiteral("select takes pic, kalender, sizeable or none, not \"%1\"").arg(arg(0)));
            }
        } else if (w == QLatin1String("picture")) {
            TFBPictureElement* f = frame(0);
            const QString file = pictureFile(2);
            DocumentEdits::InsertPicture(*f, file);
            requireDecoded(f->RefIndex, 2);
        } else if (w == QLatin1String("colour")) {
            TFBPictureElement* f = frame(0);
            QString text = arg(2);
            if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
                text = text.mid(2);
            bool ok = false;
            const uint colour = text.toUInt(&ok, 16);
            if (!ok || text.isEmpty() || colour > 0xFFFFFF)
                fail(QStringLiteral("colour must be 0xBBGGRR, not \"%1\"").arg(arg(2)));
            DocumentEdits::FillColour(*f, int32_t(colour));
        } else if (w == QLatin1String("remove-picture")) {
            DocumentEdits::RemovePicture(*frameWithPicture(0));
        } else if (w == QLatin1String("rotate")) {
            TFBPictureElement* f = frameWithPicture(0);
            if (arg(2) != QLatin1String("left") && arg(2) != QLatin1String("right"))
                fail(QStringLiteral("rotate takes left or right, not \"%1\"").arg(arg(2)));
            DocumentEdits::RotatePicture(*f, arg(2) == QLatin1String("left") ? 2 : 0);
        } else if (w == QLatin1String("filter")) {
            TFBPictureElement* f = frameWithPicture(0);
            if (arg(2) != QLatin1String("invert") && arg(2) != QLatin1String("cancel"))
                fail(QStringLiteral("filter takes invert or cancel, not \"%1\"").arg(arg(2)));
            filters_.invert = arg(2) == QLatin1String("invert");
            DocumentEdits::FilterPicture(*f, TPictureFilterKind::HKIG);
        } else if (w == QLatin1String("zoom")) {
            TFBPictureElement* f = frameWithPicture(0);
            DocumentEdits::ZoomPicture(*f, floatArg(2, "Z"), step_->args.size() > 3);
        } else if (w == QLatin1String("pan")) {
            TFBPictureElement* f = frameWithPicture(0);
            DocumentEdits::PanPicture(*f, floatArg(2, "OX"), floatArg(3, "OY"));
        } else if (w == QLatin1String("swap")) {
            TFBPictureElement* target = frame(0);
            TFBPictureElement* source = frameWithPicture(2);
            if (target == source)
                fail(QStringLiteral("a picture cannot be swapped with itself"));
            DocumentEdits::SwapPictures(*target, *source);
        } else if (w == QLatin1String("insert-view")) {
            const int v = intArg(0, "V");
            const int source = view(1);
            if (!document_.CanInsertView(source) || (v != source && v != source + 1))
                fail(QStringLiteral("no page can be inserted at view %1 from view %2").arg(v).arg(source));
            DocumentEdits::InsertView(document_, v, source);
        } else if (w == QLatin1String("insert-view-after")) {
            // The pages panel's menu entry: its rule and its edit.
            const int v = view(0);
            if (!PagesRules::MenuState(document_, v).InsertAfter)
                fail(QStringLiteral("no page can be inserted after view %1").arg(v));
            PagesRules::InsertViewAfter(document_, v);
            ui_.view = v + 1;
            ui_.selected = nullptr;
        } else if (w == QLatin1String("drag-view")) {
            // A view's label dropped on a gap of the pages panel.
            const int source = view(0);
            const int gap = intArg(1, "G");
            if (PagesRules::MoveDestination(document_, source, gap) < 0)
                fail(QStringLiteral("view %1 cannot be dropped on gap %2").arg(source).arg(gap));
            ui_.selected = nullptr;
            const int destination = PagesRules::MoveViewToGap(document_, source, gap);
            ui_.view = destination;
            detail_ = QStringLiteral("view %1 is now view %2").arg(source).arg(destination);
        } else if (w == QLatin1String("move-view")) {
            const int from = view(0);
            const int to = view(1);
            DocumentEdits::MoveView(document_, from, to);
        } else if (w == QLatin1String("delete-view")) {
            const int v = view(0);
            if (!document_.CanDeleteView(v))
                fail(QStringLiteral("view %1 cannot be deleted").arg(v));
            ui_.selected = nullptr;
            DocumentEdits::DeleteView(document_, v);
        } else if (w == QLatin1String("layout")) {
            TFBPage* p = page(0);
            const TFBPageTemplate* layout = FindPageTemplate(arg(1));
            if (!layout)
                fail(QStringLiteral("no layout with the ID \"%1\" (see tintaro-cli layouts)").arg(arg(1)));
            ui_.selected = nullptr;
            DocumentEdits::ApplyLayout(document_, *p, *layout);
        } else if (w == QLatin1String("toggle-orientation")) {
            const int v = view(0);
            ui_.view = v;
            ui_.selected = nullptr;
            detail_ = QStringLiteral("orientation %1").arg(DocumentEdits::ToggleOrientation(document_, v));
        } else if (w == QLatin1String("insert-text")) {
            TFBPage* p = page(0);
            TFBTextElement* text = DocumentEdits::InsertTextElement(*p);
            select(text);
            detail_ =
                QStringLiteral("text element %1 on page %2").arg(text->IndexInList()).arg(p->PageIndex());
        } else if (w == QLatin1String("insert-clipart")) {
            TFBPage* p = page(0);
            const QString file = pictureFile(1);
            TFBClipartElement* clipart =
                DocumentEdits::InsertClipart(*p, file, floatArg(2, "X"), floatArg(3, "Y"));
            requireDecoded(clipart->RefIndex, 1);
            select(clipart);
        } else if (w == QLatin1String("delete-element")) {
            TFBElement* element = sizeable(0);
            if (ui_.selected == element)
                ui_.selected = nullptr;
            DocumentEdits::DeleteElement(*element);
        } else if (w == QLatin1String("size-element")) {
            TFBElement* element = sizeable(0);
            const float width = floatArg(2, "W");
            const float height = floatArg(3, "H");
            if (width <= 0 || height <= 0)
                fail(QStringLiteral("width and height must be above 0"));
            DocumentEdits::SizeElement(*element, width, height, floatArg(4, "ANGLE"));
        } else if (w == QLatin1String("move-element")) {
            TFBElement* element = sizeable(0);
            TFBPage* target = step_->args.size() > 4 ? page(4) : nullptr;
            DocumentEdits::MoveElement(*element, floatArg(2, "X"), floatArg(3, "Y"), target);
        } else if (w == QLatin1String("calendar-look")) {
            TFBKalenderElement* c = calendar(0);
            TKalenderData look;
            changeKey(*c->Data, arg(2), arg(3), look);
            if (step_->args.size() > 4)
                DocumentEdits::SetCalendarLookForAll(document_, *c, look);
            else
                DocumentEdits::SetCalendarLook(*c, look);
        } else if (w == QLatin1String("calendar-start")) {
            const int year = intArg(0, "YEAR");
            const int month = intArg(1, "MONTH");
            if (month < 1 || month > 12)
                fail(QStringLiteral("month must be 1 to 12, not %1").arg(month));
            DocumentEdits::SetCalendarStart(document_, year, month);
        } else if (w == QLatin1String("calendar-props")) {
            // As the properties dialog applies: OK (or "OK für alle" with all).
            TFBKalenderElement* c = calendar(0);
            const qsizetype eq = arg(2).indexOf(u'=');
            if (eq <= 0)
                fail(QStringLiteral("KEY=VALUE expected, not \"%1\"").arg(arg(2)));
            const QLocale locale = KalenderZahlLocale();
            TKalenderPropWerte werte = TKalenderPropWerte::Show(*c->Data, locale);
            SetKalenderWertByKey(werte, arg(2).left(eq), arg(2).mid(eq + 1));
            ApplyKalenderEigenschaften(
                *c, werte, step_->args.size() > 3 ? TKalenderApply::All : TKalenderApply::One, locale);
        } else if (w == QLatin1String("calendar-year")) {
            // The calendar panel's year buttons.
            if (arg(0) != QLatin1String("+1") && arg(0) != QLatin1String("-1"))
                fail(QStringLiteral("+1 or -1 expected, not \"%1\"").arg(arg(0)));
            KalenderJahrSchritt(document_, arg(0) == QLatin1String("+1") ? 1 : -1);
        } else if (w == QLatin1String("calendar-month")) {
            const int month = intArg(0, "M");
            if (month < 1 || month > 12)
                fail(QStringLiteral("month must be 1 to 12, not %1").arg(month));
            KalenderErsterMonat(document_, month);
        } else if (w == QLatin1String("compute-holidays")) {
            const int year = intArg(0, "YEAR");
            if (year < kKalenderMinJahr || year > kKalenderMaxJahr)
                fail(QStringLiteral("YEAR must lie between %1 and %2")
                         .arg(kKalenderMinJahr)
                         .arg(kKalenderMaxJahr));
            TKalenderTageBearbeitung dialog(document_, year, 1);
            dialog.BerechneFeiertage();
        } else if (w == QLatin1String("birthday")) {
            // Typed into the day's birthday cell behind what it shows, then OK.
            const QDate date = QDate::fromString(arg(0), QStringLiteral("dd.MM.yyyy"));
            if (!date.isValid() || date.year() < kKalenderMinJahr || date.year() > kKalenderMaxJahr)
                fail(QStringLiteral("\"%1\" is no date DD.MM.YYYY between %2 and %3")
                         .arg(arg(0))
                         .arg(kKalenderMinJahr)
                         .arg(kKalenderMaxJahr));
            TKalenderTageBearbeitung dialog(document_, date.year(), date.month());
            TKalenderTageModel& table = dialog.Model();
            const int row = table.RowOfDate(date);
            const QString shown = table.CellText(row, TKalenderTageModel::GeburtstageColumn);
            if (!table.SetCellText(row, TKalenderTageModel::GeburtstageColumn,
                                   shown.isEmpty() ? arg(1) : shown + QStringLiteral(", ") + arg(1)))
                fail(QStringLiteral("the text holds characters a project cannot store"));
            dialog.Uebernehmen();
        } else if (w == QLatin1String("drop-last")) {
            UndoManager().DropLast();
        }
    }

    TFBDocument& document_;
    QTextStream& out_;
    TCliUIState ui_;
    // A line that follows the step's line (what the step made).
    QString detail_;
    TCliFilterHost filters_;
    int number_ = 0;
    const TStep* step_ = nullptr;
};

int runEdit(const QStringList& args, QTextStream& out) {
    if (args.size() < 3)
        throw CliUsageError(kUsage);
    const QString& in = args[0];
    const QString& target = args[1];
    qsizetype first = 2;
    std::optional<qint64> budget;
    if (args[2] == QLatin1String("--undo-budget")) {
        if (args.size() < 4)
            throw CliUsageError(QStringLiteral("--undo-budget needs a number of bytes; %1").arg(kUsage));
        bool ok = false;
        budget = args[3].toLongLong(&ok);
        if (!ok || *budget < 0)
            throw CliUsageError(
                QStringLiteral("--undo-budget must be a number of bytes, not \"%1\"").arg(args[3]));
        first = 4;
    }
    const QList<TStep> steps = parseSteps(args.mid(first));
    Cli::requireFile(in);

    TFBDocument document;
    LoadDocumentFromFile(document, in);
    TUndoManager& undo = UndoManager();
    undo.Clear();
    const qint64 previousBudget = undo.ByteBudget();
    if (budget)
        undo.SetByteBudget(*budget);
    struct TRestore {
        TUndoManager& undo;
        qint64 budget;
        ~TRestore() {
            undo.Clear();
            undo.SetByteBudget(budget);
        }
    } restore{undo, previousBudget};

    // The lines go out only when every step succeeded, so that a failing run prints one error.
    QString report;
    QTextStream lines(&report);
    {
        TEditRun run(document, lines);
        for (int i = 0; i < steps.size(); ++i)
            run.run(i + 1, steps[i]);
    }
    lines.flush();
    SaveDocumentToFile(document, target);
    out << report;
    return 0;
}

CliRegistration reg{
    CliCommand{QStringLiteral("edit"), QStringLiteral("edit IN OUT [--undo-budget BYTES] STEP..."),
               QStringLiteral("run undoable edit steps (with undo, redo) on IN, save as OUT"), runEdit}};

} // namespace
