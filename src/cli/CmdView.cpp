// tintaro-cli view FILE --view V --size WxH [--dpr R] [--png OUT.png] [--save] [STEP...]: the page
// view on a W x H logical client without a window system. The steps run in order through the same
// code as the designer's mouse, wheel and keys; then one JSON line tells the view's state, --png
// writes what the window shows and --save saves the project in place when it was modified.
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uPageView.h"
#include "editing/uPageViewOffscreen.h"
#include "editing/uPageViewUndo.h"
#include "editing/uUndo.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>

#include <cmath>
#include <vector>

namespace {

const QString kUsage = QStringLiteral(
    "usage: tintaro-cli view FILE --view V --size WxH [--dpr R] [--png OUT.png] [--save] [STEP...]");

QString num(double v) {
    if (!std::isfinite(v))
        return QStringLiteral("null");
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QString pair(double a, double b) {
    return QStringLiteral("[%1,%2]").arg(num(a), num(b));
}

class TJson {
public:
    void add(const QString& name, const QString& json) { members_ << Cli::jsonString(name) + u':' + json; }
    QString text() const { return u'{' + members_.join(u',') + u'}'; }

private:
    QStringList members_;
};

// Numbers of a step's argument list: "X,Y" or "X,Y,D".
std::vector<double> numbers(const QString& text, int count, const QString& step) {
    const QStringList parts = text.split(u',');
    if (parts.size() != count)
        throw CliUsageError(QStringLiteral("bad step %1").arg(step));
    std::vector<double> values;
    for (const QString& p : parts) {
        bool ok = false;
        const double v = p.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v) || std::fabs(v) > 1e12)
            throw CliUsageError(QStringLiteral("bad step %1").arg(step));
        values.push_back(v);
    }
    return values;
}

int toInt(double v) {
    return static_cast<int>(std::lrint(v));
}

// One parsed step, checked before anything runs.
struct TStep {
    QString Kind;
    std::vector<double> Values;
    std::vector<std::pair<int, int>> Points;
    TPageViewKey Key = TPageViewKey::Escape;
    QString Text;
};

TStep parseStep(const QString& step) {
    TStep s;
    const int colon = step.indexOf(u':');
    s.Kind = colon < 0 ? step : step.left(colon);
    const QString arg = colon < 0 ? QString() : step.mid(colon + 1);
    if (s.Kind == QLatin1String("undo") && colon < 0)
        return s;
    if (colon < 0)
        throw CliUsageError(QStringLiteral("bad step %1").arg(step));
    if (s.Kind == QLatin1String("zoom")) {
        s.Values = numbers(arg, 1, step);
    } else if (s.Kind == QLatin1String("click") || s.Kind == QLatin1String("hover")) {
        s.Values = numbers(arg, 2, step);
    } else if (s.Kind == QLatin1String("drag") || s.Kind == QLatin1String("shift-drag") ||
               s.Kind == QLatin1String("middle-drag")) {
        const QStringList points = arg.split(u'/');
        if (points.size() < 2)
            throw CliUsageError(QStringLiteral("bad step %1 (a drag needs two points or more)").arg(step));
        for (const QString& p : points) {
            const std::vector<double> xy = numbers(p, 2, step);
            s.Points.emplace_back(toInt(xy[0]), toInt(xy[1]));
        }
    } else if (s.Kind == QLatin1String("wheel") || s.Kind == QLatin1String("ctrl-wheel")) {
        s.Values = numbers(arg, 3, step);
    } else if (s.Kind == QLatin1String("key")) {
        static const std::pair<const char*, TPageViewKey> keys[] = {
            {"Left", TPageViewKey::Left},    {"Right", TPageViewKey::Right},   {"Up", TPageViewKey::Up},
            {"Down", TPageViewKey::Down},    {"Delete", TPageViewKey::Delete}, {"Tab", TPageViewKey::Tab},
            {"Escape", TPageViewKey::Escape}};
        bool found = false;
        for (const auto& [name, key] : keys)
            if (arg == QLatin1String(name)) {
                s.Key = key;
                found = true;
            }
        if (!found)
            throw CliUsageError(QStringLiteral("unknown key %1").arg(arg));
    } else if (s.Kind == QLatin1String("text")) {
        s.Values = numbers(arg, 6, step);
    } else {
        throw CliUsageError(QStringLiteral("bad step %1").arg(step));
    }
    return s;
}

QString cursorName(int cursor) {
    if (cursor == crDefault)
        return QStringLiteral("\"default\"");
    if (cursor == crSizeAll)
        return QStringLiteral("\"size-all\"");
    return QString::number(cursor);
}

QString selectedJson(TFBElement* e) {
    if (!e || !e->Page)
        return QStringLiteral("null");
    TJson j;
    j.add(QStringLiteral("page"), QString::number(e->Page->PageIndex()));
    const char* list = dynamic_cast<TFBPictureElement*>(e)    ? "pictures"
                       : dynamic_cast<TFBKalenderElement*>(e) ? "calendars"
                                                              : "sizeables";
    j.add(QStringLiteral("list"), Cli::jsonString(QString::fromLatin1(list)));
    j.add(QStringLiteral("index"), QString::number(e->IndexInList()));
    j.add(QStringLiteral("CenterX"), num(e->CenterX));
    j.add(QStringLiteral("CenterY"), num(e->CenterY));
    j.add(QStringLiteral("Width"), num(e->Width));
    j.add(QStringLiteral("Height"), num(e->Height));
    j.add(QStringLiteral("Angle"), num(e->Angle));
    if (auto* frame = dynamic_cast<TFBPictureElement*>(e)) {
        j.add(QStringLiteral("Zoom"), num(frame->Zoom));
        j.add(QStringLiteral("OffsetX"), num(frame->OffsetX));
        j.add(QStringLiteral("OffsetY"), num(frame->OffsetY));
    }
    return j.text();
}

QString trackerJson(const TTracker& t) {
    if (!t.Visible)
        return QStringLiteral("null");
    TJson j;
    j.add(QStringLiteral("CenterX"), num(t.CenterX));
    j.add(QStringLiteral("CenterY"), num(t.CenterY));
    j.add(QStringLiteral("Width"), num(t.Width));
    j.add(QStringLiteral("Height"), num(t.Height));
    j.add(QStringLiteral("Angle"), num(t.Angle));
    return j.text();
}

void runStep(const TStep& s, TPageView& view, TOffscreenPageWindow& window, TFBDocument& document) {
    if (s.Kind == QLatin1String("zoom")) {
        view.SetZoom(static_cast<float>(s.Values[0]));
    } else if (s.Kind == QLatin1String("click")) {
        view.MousePress(toInt(s.Values[0]), toInt(s.Values[1]), pbLeft, 0);
        view.MouseRelease(toInt(s.Values[0]), toInt(s.Values[1]), pbLeft);
    } else if (s.Kind == QLatin1String("hover")) {
        view.MouseMove(toInt(s.Values[0]), toInt(s.Values[1]), 0, 0);
    } else if (s.Kind.endsWith(QLatin1String("drag"))) {
        const bool shift = s.Kind == QLatin1String("shift-drag");
        const int button = s.Kind == QLatin1String("middle-drag") ? pbMiddle : pbLeft;
        const int mods = shift ? pmShift : 0;
        view.MousePress(s.Points.front().first, s.Points.front().second, button, mods);
        for (size_t i = 1; i < s.Points.size(); ++i) {
            view.MouseMove(s.Points[i].first, s.Points[i].second, button, mods);
            window.UpdateNow();
        }
        view.MouseRelease(s.Points.back().first, s.Points.back().second, button);
    } else if (s.Kind == QLatin1String("wheel") || s.Kind == QLatin1String("ctrl-wheel")) {
        const double d = std::clamp(s.Values[2], -2e9, 2e9);
        view.Wheel(toInt(s.Values[0]), toInt(s.Values[1]), static_cast<int>(d),
                   s.Kind == QLatin1String("ctrl-wheel") ? pmCtrl : 0);
    } else if (s.Kind == QLatin1String("key")) {
        view.KeyPress(s.Key);
    } else if (s.Kind == QLatin1String("text")) {
        const int page = toInt(s.Values[0]);
        if (page < 0 || page >= document.Pages.Count())
            throw CliUsageError(QStringLiteral("page %1 does not exist (the project has %2 pages)")
                                    .arg(page)
                                    .arg(document.Pages.Count()));
        AddFixtureText(document.Pages.Items(page), static_cast<float>(s.Values[1]),
                       static_cast<float>(s.Values[2]), static_cast<float>(s.Values[3]),
                       static_cast<float>(s.Values[4]), static_cast<float>(s.Values[5]));
        view.RefreshElement(document.Pages.Items(page), nullptr);
    } else if (s.Kind == QLatin1String("undo")) {
        PageViewUndo::Undo(view);
    }
    window.UpdateNow();
}

int runView(const QStringList& args, QTextStream& out) {
    QString file, png;
    int viewIndex = -1, w = 0, h = 0;
    double dpr = 1;
    bool save = false;
    QStringList steps;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a value").arg(a));
            return args[++i];
        };
        if (a == QLatin1String("--view")) {
            viewIndex = Cli::parseInt(value(), a);
        } else if (a == QLatin1String("--size")) {
            const QString v = value();
            static const QRegularExpression size(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
            const auto m = size.match(v);
            if (!m.hasMatch())
                throw CliUsageError(QStringLiteral("--size must be WxH, for example 1200x800"));
            w = m.captured(1).toInt();
            h = m.captured(2).toInt();
            if (w < 100 || w > 4000 || h < 100 || h > 4000)
                throw CliUsageError(QStringLiteral("--size must lie between 100 and 4000 in each direction"));
        } else if (a == QLatin1String("--dpr")) {
            bool ok = false;
            dpr = value().toDouble(&ok);
            if (!ok || !(dpr >= 1 && dpr <= 3))
                throw CliUsageError(QStringLiteral("--dpr must lie between 1 and 3"));
        } else if (a == QLatin1String("--png")) {
            png = value();
        } else if (a == QLatin1String("--save")) {
            save = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1").arg(a));
        } else if (file.isEmpty()) {
            file = a;
        } else {
            steps << a;
        }
    }
    if (file.isEmpty() || viewIndex < 0 || w == 0)
        throw CliUsageError(kUsage);
    std::vector<TStep> parsed;
    for (const QString& s : steps)
        parsed.push_back(parseStep(s));
    Cli::requireFile(file);

    TFBDocument document;
    LoadDocumentFromFile(document, file);
    if (viewIndex >= document.ViewCount())
        throw CliUsageError(QStringLiteral("view %1 does not exist (the project has %2 views)")
                                .arg(viewIndex)
                                .arg(document.ViewCount()));
    document.Modified = false;
    TOffscreenPageWindow window;
    TPageView view(&document, &window);
    window.Attach(&view);
    PageViewUndo::Attach(&view);
    struct TDetach {
        TPageView* View;
        ~TDetach() { PageViewUndo::Detach(View); }
    } detach{&view};
    view.Resize(w, h, static_cast<float>(dpr));
    view.SetScreen(viewIndex);
    window.UpdateNow();
    for (const TStep& s : parsed)
        runStep(s, view, window, document);
    window.InvalidateAll();
    window.UpdateNow();

    if (!png.isEmpty()) {
        QImageWriter writer(png, "png");
        if (!writer.write(window.Screen()))
            throw CliUsageError(QStringLiteral("cannot write %1: %2").arg(png, writer.errorString()));
    }
    if (save && document.Modified)
        SaveDocumentToFile(document, file);

    TJson j;
    j.add(QStringLiteral("view"), QString::number(view.ViewIndex()));
    j.add(QStringLiteral("zoom"), num(view.Zoom()));
    j.add(QStringLiteral("fit"), num(view.Fit()));
    j.add(QStringLiteral("virtual"), pair(view.VirtualWidth(), view.VirtualHeight()));
    j.add(QStringLiteral("scroll"), pair(view.ScrollX(), view.ScrollY()));
    j.add(QStringLiteral("range"), pair(view.ScrollRangeX(), view.ScrollRangeY()));
    j.add(QStringLiteral("selected"), selectedJson(view.Selected()));
    j.add(QStringLiteral("tracker"), trackerJson(view.Tracker()));
    j.add(QStringLiteral("cursor"), cursorName(view.Cursor()));
    j.add(QStringLiteral("undo"), QString::number(UndoManager().Count()));
    j.add(QStringLiteral("modified"), document.Modified ? QStringLiteral("true") : QStringLiteral("false"));
    out << j.text() << '\n';
    return 0;
}

CliRegistration reg{CliCommand{
    QStringLiteral("view"),
    QStringLiteral("view FILE --view V --size WxH [--dpr R] [--png OUT.png] [--save] [STEP...]"),
    QStringLiteral(
        "drive the page view headless: zoom:Z click:X,Y hover:X,Y drag:X,Y/X,Y[/...] "
        "shift-drag:... middle-drag:... wheel:X,Y,D ctrl-wheel:X,Y,D key:K text:P,CX,CY,W,H,A undo"),
    runView}};

} // namespace
