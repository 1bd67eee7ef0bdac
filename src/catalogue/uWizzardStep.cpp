#include "catalogue/uWizzardStep.h"

#include "i18n/ulocalize.h"

#include <algorithm>

TWizzardStep& TWizzardStep::AddChild() {
    auto child = std::make_unique<TWizzardStep>();
    child->Parent = this;
    children_.push_back(std::move(child));
    return *children_.back();
}

TWizzardStep* TWizzardStep::Child(int index) const {
    if (index < 0 || index >= ChildCount())
        return nullptr;
    return children_[static_cast<size_t>(index)].get();
}

int TWizzardStep::IndexOfChild(const TWizzardStep* step) const {
    for (int i = 0; i < ChildCount(); ++i)
        if (children_[static_cast<size_t>(i)].get() == step)
            return i;
    return -1;
}

int TWizzardStep::CountAll() const {
    int count = 1;
    for (const auto& child : children_)
        count += child->CountAll();
    return count;
}

namespace {

// The catalogue makes calendars of the years 1700 ... 2500; the five offered years stay inside.
constexpr int kFirstCalendarYear = 1700;
constexpr int kLastCalendarYear = 2500;
constexpr int kOfferedYears = 5;

QString W(const char* text) {
    return TranslateText(QString::fromLatin1(kWizardSection), QString::fromUtf8(text));
}

QString D(const char* key) {
    return TranslateText(QString::fromLatin1(kDefaultSection), QString::fromUtf8(key));
}

TWizzardStep& addChoice(TWizzardStep& parent, const QString& caption, const char* picture, int code = 0,
                        const QString& heading = {}) {
    TWizzardStep& step = parent.AddChild();
    step.Caption = caption;
    step.Heading = heading;
    step.Picture = QString::fromLatin1(picture);
    step.ProductCode = code;
    return step;
}

QString layoutHeading(const QString& format) {
    return format + QStringLiteral(" - ") + W("Wählen Sie Ihr Grundlayout");
}

// A calendar family: its layouts, each with the five years under it.
void addCalendar(TWizzardStep& root, const QString& format, const char* picturePrefix, int layouts,
                 int firstCode, int firstYear) {
    const QByteArray first = QByteArray(picturePrefix) + "1";
    TWizzardStep& family = addChoice(root, format, first.constData(), 0, layoutHeading(format));
    for (int n = 1; n <= layouts; ++n) {
        const QByteArray picture = QByteArray(picturePrefix) + QByteArray::number(n);
        TWizzardStep& layout = addChoice(family, QStringLiteral("Layout %1").arg(n), picture.constData(), 0,
                                         W("Wählen Sie das gewünschte Jahr"));
        for (int y = firstYear; y < firstYear + kOfferedYears; ++y) {
            TWizzardStep& year =
                addChoice(layout, QString::number(y), picture.constData(), firstCode + n - 1);
            year.Year = QString::number(y);
        }
    }
}

} // namespace

void RegisterWizardTexts() {
    const QString wizard = QString::fromLatin1(kWizardSection);
    for (const char* text :
         {"OK", "Weiter", "Wählen Sie Ihr Format", "Wählen Sie Ihr Grundlayout", "Standard", "Fullsize",
          "Tradition", "Horizon", "Verticon", "Border", "Randlos", "Wählen Sie das gewünschte Jahr"})
        RegisterText(wizard, QString::fromUtf8(text), QString::fromUtf8(text));
    for (const char* text :
         {"Photo-Buch 10x15", "Photo-Buch A5", "Photo-Tischkalender A5", "Layout", "Photo-Kalender A4",
          "DIN A4", "10x15 cm", "13x18 cm", "A4 (10x15)", "A4 (9x13)", "Flaschenetiketten"})
        RegisterEditionText(QString::fromLatin1(kWizardEditionSection), QString::fromUtf8(text));
    const QString general = QString::fromLatin1(kDefaultSection);
    RegisterText(general, QStringLiteral("Kalender"), QStringLiteral("Kalender"));
    RegisterText(general, QStringLiteral("ID_10x15kurz"), QStringLiteral("10x15"));
}

int FirstWizardYear(const QDate& today) {
    return std::clamp(today.year(), kFirstCalendarYear, kLastCalendarYear - kOfferedYears + 1);
}

std::unique_ptr<TWizzardStep> BuildWizardTree(const QDate& today) {
    RegisterWizardTexts();
    auto root = std::make_unique<TWizzardStep>();
    root->Heading = W("Wählen Sie Ihr Format");

    const QString booklet = QStringLiteral("PocketBooklet 4:3");
    TWizzardStep& pocket = addChoice(*root, booklet, "WIZ_PHOTOBOOKLET", 0, layoutHeading(booklet));
    addChoice(pocket, W("Fullsize"), "WIZ_PHOTOBOOKLET", 1);
    addChoice(pocket, W("Border"), "WIZ_PHOTOBOOKLETBORDER", 2);

    addChoice(*root, QStringLiteral("PhotoBook 10x15"), "WIZ_PHOTOBOOK_4_6", 11);
    addChoice(*root, D("ID_10x15kurz") + QStringLiteral(" Singles"), "WIZ_10X15_SINGLES", 21);

    const QString book = QStringLiteral("PhotoBook 8:5");
    TWizzardStep& book85 = addChoice(*root, book, "WIZ_PHOTOBOOK_8_5_TRADITION", 0, layoutHeading(book));
    TWizzardStep& bordered = addChoice(book85, book, "WIZ_PHOTOBOOK_8_5_TRADITION", 0, layoutHeading(book));
    addChoice(bordered, W("Tradition"), "WIZ_PHOTOBOOK_8_5_TRADITION", 31);
    addChoice(bordered, W("Horizon"), "WIZ_PHOTOBOOK_8_5_HORIZON", 32);
    addChoice(bordered, W("Verticon"), "WIZ_PHOTOBOOK_8_5_VERTICON", 33);
    const QString borderless = book + QLatin1Char(' ') + W("Randlos");
    TWizzardStep& full =
        addChoice(book85, borderless, "WIZ_PHOTOBOOK_8_5_FULLSIZE_R", 0, layoutHeading(borderless));
    addChoice(full, W("Fullsize"), "WIZ_PHOTOBOOK_8_5_FULLSIZE_R", 44);
    addChoice(full, W("Tradition"), "WIZ_PHOTOBOOK_8_5_TRADITION_R", 41);
    addChoice(full, W("Horizon"), "WIZ_PHOTOBOOK_8_5_HORIZON_R", 42);
    addChoice(full, W("Verticon"), "WIZ_PHOTOBOOK_8_5_VERTICON_R", 43);

    const int firstYear = FirstWizardYear(today);
    const QString calendar = D("Kalender");
    addCalendar(*root, calendar + QStringLiteral(" A4"), "WIZ_KALENDER_A4_", 4, 61, firstYear);
    addCalendar(*root, calendar + QStringLiteral(" A5"), "WIZ_KALENDER_A5_", 3, 71, firstYear);
    addCalendar(*root, calendar + QLatin1Char(' ') + D("ID_10x15kurz"), "WIZ_KALENDER_A6_", 4, 141,
                firstYear);
    return root;
}

namespace {
void collectPictures(const TWizzardStep& step, std::vector<TWizardPicture>& pictures) {
    if (!step.HasChildren()) {
        const bool known = std::any_of(pictures.begin(), pictures.end(),
                                       [&](const TWizardPicture& p) { return p.Picture == step.Picture; });
        if (!known && !step.Picture.isEmpty())
            pictures.push_back({step.Picture, step.ProductCode});
        return;
    }
    for (int i = 0; i < step.ChildCount(); ++i)
        collectPictures(*step.Child(i), pictures);
}
} // namespace

std::vector<TWizardPicture> WizardPictures(const TWizzardStep& root) {
    std::vector<TWizardPicture> pictures;
    collectPictures(root, pictures);
    return pictures;
}
