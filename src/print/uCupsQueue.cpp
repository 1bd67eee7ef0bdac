#include "print/uCupsQueue.h"

#include <QFile>
#include <QPageSize>

#include <cups/cups.h>
// The queue's PPD is where CUPS keeps the choices of a driver-based queue; its interface is marked
// as deprecated but is the one that lists them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

#include <cmath>

namespace {

constexpr double kPointMM = 25.4 / 72.0;

QString text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

// The dests of the server, freed on every path.
class TDests {
public:
    TDests() { count_ = cupsGetDests(&dests_); }
    ~TDests() { cupsFreeDests(count_, dests_); }
    TDests(const TDests&) = delete;
    TDests& operator=(const TDests&) = delete;
    int Count() const { return count_; }
    cups_dest_t* At(int i) const { return &dests_[i]; }
    cups_dest_t* Find(const QString& name) const {
        return cupsGetDest(name.toUtf8().constData(), nullptr, count_, dests_);
    }

private:
    cups_dest_t* dests_ = nullptr;
    int count_ = 0;
};

QString baseKey(const QString& key) {
    for (const char* suffix : {".Borderless", ".FullBleed", ".Fullbleed", "_borderless", ".borderless"})
        if (key.endsWith(QLatin1String(suffix)))
            return key.left(key.size() - static_cast<qsizetype>(qstrlen(suffix)));
    return key;
}

void readPpd(TCupsQueue& queue, const QString& name) {
    const char* file = cupsGetPPD(name.toUtf8().constData());
    if (!file)
        return;
    const QString path = QString::fromLocal8Bit(file);
    ppd_file_t* ppd = ppdOpenFile(file);
    if (ppd) {
        ppdMarkDefaults(ppd);
        queue.CustomSizes = ppd->variable_sizes != 0;
        for (const char* key : {"PageSize", "MediaType", "Resolution", "ColorModel"}) {
            ppd_option_t* option = ppdFindOption(ppd, key);
            if (!option)
                continue;
            TQueueOption o;
            o.Key = QString::fromLatin1(key);
            o.Text = text(option->text);
            o.Default = text(option->defchoice);
            for (int i = 0; i < option->num_choices; ++i) {
                o.Choices << text(option->choices[i].choice);
                o.ChoiceTexts << text(option->choices[i].text);
            }
            queue.Options.push_back(o);
            if (o.Key == QLatin1String("PageSize")) {
                queue.DefaultPageSize = o.Default;
                for (int i = 0; i < option->num_choices; ++i) {
                    const ppd_size_t* size = ppdPageSize(ppd, option->choices[i].choice);
                    if (!size)
                        continue;
                    const bool zero = size->left <= 0.5f && size->bottom <= 0.5f &&
                                      size->right >= size->width - 0.5f && size->top >= size->length - 0.5f;
                    queue.PageSizes.push_back(
                        TCupsPageSize{text(option->choices[i].choice), text(option->choices[i].text),
                                      size->width * kPointMM, size->length * kPointMM, zero});
                }
            }
        }
        ppdClose(ppd);
    }
    QFile::remove(path);
}

// Queues without a PPD (driverless ones) list their media through the destination information.
void readMedia(TCupsQueue& queue, cups_dest_t* dest) {
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    if (!info)
        return;
    const int count = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest, info, 0);
    TQueueOption option{QStringLiteral("PageSize"), QStringLiteral("Media"), {}, {}, {}};
    for (int i = 0; i < count; ++i) {
        cups_size_t size;
        if (!cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest, info, i, 0, &size))
            continue;
        const bool zero = size.left == 0 && size.right == 0 && size.top == 0 && size.bottom == 0;
        queue.PageSizes.push_back(
            TCupsPageSize{text(size.media), text(size.media), size.width / 100.0, size.length / 100.0, zero});
        option.Choices << text(size.media);
        option.ChoiceTexts << text(size.media);
    }
    cups_size_t def;
    if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &def))
        queue.DefaultPageSize = option.Default = text(def.media);
    if (!option.Choices.isEmpty())
        queue.Options.push_back(option);
    cupsFreeDestInfo(info);
}

} // namespace

std::vector<TPaperInfo> TCupsQueue::Papers() const {
    std::vector<TPaperInfo> papers;
    auto tenths = [](double mm) { return static_cast<std::int32_t>(std::lround(mm * 10)); };
    auto add = [&](const TCupsPageSize& s) {
        const QPageSize standard(QSizeF(s.WidthMM, s.HeightMM), QPageSize::Millimeter, QString(),
                                 QPageSize::FuzzyMatch);
        int number = standard.id() != QPageSize::Custom ? QPageSize::windowsId(standard.id()) : 0;
        if (number <= 0 || number > 256)
            number = 257 + static_cast<int>(papers.size());
        papers.push_back(TPaperInfo{s.Text.isEmpty() ? s.Key : s.Text, tenths(s.WidthMM), tenths(s.HeightMM),
                                    static_cast<std::uint16_t>(number), s.Key,
                                    s.ZeroMargins ? s.Key : QString()});
    };
    // Papers with margins come first; a zero-margin choice then joins the paper of its name or
    // of its size, or stands as a paper of its own.
    for (const TCupsPageSize& s : PageSizes)
        if (!s.ZeroMargins && baseKey(s.Key) == s.Key)
            add(s);
    for (const TCupsPageSize& s : PageSizes) {
        if (!s.ZeroMargins && baseKey(s.Key) == s.Key)
            continue;
        TPaperInfo* match = nullptr;
        for (TPaperInfo& p : papers)
            if (p.Key == baseKey(s.Key) ||
                (std::abs(p.Width - tenths(s.WidthMM)) < 2 && std::abs(p.Height - tenths(s.HeightMM)) < 2))
                if (!match)
                    match = &p;
        if (match) {
            if (match->BorderlessKey.isEmpty())
                match->BorderlessKey = s.Key;
        } else {
            add(s);
        }
    }
    return papers;
}

int TCupsQueue::HighestResolution() const {
    int best = 0;
    if (const TQueueOption* o = Option(QStringLiteral("Resolution")))
        for (const QString& choice : o->Choices) {
            // "600dpi", "1200x600dpi": the vertical resolution counts.
            QString c = choice;
            c.remove(QLatin1String("dpi"));
            const int y = c.section(u'x', -1).toInt();
            best = std::max(best, y);
        }
    return best;
}

const TQueueOption* TCupsQueue::Option(const QString& key) const {
    for (const TQueueOption& o : Options)
        if (o.Key == key)
            return &o;
    return nullptr;
}

namespace Cups {

QStringList QueueNames() {
    TDests dests;
    QStringList names;
    for (int i = 0; i < dests.Count(); ++i)
        if (!dests.At(i)->instance)
            names << text(dests.At(i)->name);
    return names;
}

QString DefaultQueue() {
    TDests dests;
    for (int i = 0; i < dests.Count(); ++i)
        if (dests.At(i)->is_default)
            return text(dests.At(i)->name);
    return dests.Count() > 0 ? text(dests.At(0)->name) : QString();
}

TCupsQueue Describe(const QString& name) {
    TCupsQueue queue;
    TDests dests;
    cups_dest_t* dest = dests.Find(name);
    if (!dest)
        return queue;
    queue.Exists = true;
    auto option = [&](const char* key) { return text(cupsGetOption(key, dest->num_options, dest->options)); };
    queue.Description =
        TQueueDescription{text(dest->name), option("printer-make-and-model"), option("printer-location"),
                          option("printer-info"), dest->is_default != 0};
    readPpd(queue, name);
    if (queue.PageSizes.empty())
        readMedia(queue, dest);
    return queue;
}

} // namespace Cups

#pragma GCC diagnostic pop
