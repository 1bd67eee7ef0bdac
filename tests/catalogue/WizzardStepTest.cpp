#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uWizzardStep.h"
#include "i18n/ulocalize.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QDate kNewYearsEve2025(2025, 12, 31);

// The step reached by the child indexes from the root (1-based, as the tree's rows are numbered).
const TWizzardStep* at(const TWizzardStep& root, std::initializer_list<int> path) {
    const TWizzardStep* step = &root;
    for (int n : path) {
        step = step->Child(n - 1);
        if (!step)
            return nullptr;
    }
    return step;
}

struct Row {
    std::initializer_list<int> Path;
    const char* Caption;
    const char* Heading;
    const char* Picture;
    int Code;
    int Children;
};

void expectRow(const TWizzardStep& root, const Row& row) {
    const TWizzardStep* step = at(root, row.Path);
    ASSERT_NE(step, nullptr) << row.Caption;
    EXPECT_EQ(step->Caption, QString::fromUtf8(row.Caption));
    EXPECT_EQ(step->Heading, QString::fromUtf8(row.Heading)) << row.Caption;
    EXPECT_EQ(step->Picture, QString::fromLatin1(row.Picture)) << row.Caption;
    EXPECT_EQ(step->ProductCode, row.Code) << row.Caption;
    EXPECT_EQ(step->ChildCount(), row.Children) << row.Caption;
    EXPECT_TRUE(step->Year.isEmpty()) << row.Caption;
}

void forEachStep(const TWizzardStep& step, const std::function<void(const TWizzardStep&)>& visit) {
    visit(step);
    for (int i = 0; i < step.ChildCount(); ++i)
        forEachStep(*step.Child(i), visit);
}

} // namespace

TEST(WizzardStep, ChildrenKnowTheirParentAndIndex) {
    TWizzardStep root;
    TWizzardStep& a = root.AddChild();
    TWizzardStep& b = root.AddChild();
    TWizzardStep other;
    EXPECT_EQ(root.ChildCount(), 2);
    EXPECT_EQ(a.Parent, &root);
    EXPECT_EQ(root.Child(1), &b);
    EXPECT_EQ(root.Child(2), nullptr);
    EXPECT_EQ(root.Child(-1), nullptr);
    EXPECT_EQ(root.IndexOfChild(&b), 1);
    EXPECT_EQ(root.IndexOfChild(&other), -1);
    EXPECT_EQ(root.IndexOfChild(nullptr), -1);
    EXPECT_EQ(root.CountAll(), 3);
}

TEST(WizardTree, EveryFormatAndLayoutRowAsTabled) {
    const auto root = BuildWizardTree(kNewYearsEve2025);
    const char* layout = " - Wählen Sie Ihr Grundlayout";
    const std::string b85 = std::string("PhotoBook 8:5") + layout;
    const std::string b85r = std::string("PhotoBook 8:5 Randlos") + layout;
    EXPECT_EQ(root->Caption, QString());
    EXPECT_EQ(root->Heading, QStringLiteral("Wählen Sie Ihr Format"));
    EXPECT_EQ(root->Parent, nullptr);
    EXPECT_EQ(root->ChildCount(), 7);
    const Row rows[] = {
        {{1},
         "PocketBooklet 4:3",
         "PocketBooklet 4:3 - Wählen Sie Ihr Grundlayout",
         "WIZ_PHOTOBOOKLET",
         0,
         2},
        {{1, 1}, "Fullsize", "", "WIZ_PHOTOBOOKLET", 1, 0},
        {{1, 2}, "Border", "", "WIZ_PHOTOBOOKLETBORDER", 2, 0},
        {{2}, "PhotoBook 10x15", "", "WIZ_PHOTOBOOK_4_6", 11, 0},
        {{3}, "10x15 Singles", "", "WIZ_10X15_SINGLES", 21, 0},
        {{4}, "PhotoBook 8:5", b85.c_str(), "WIZ_PHOTOBOOK_8_5_TRADITION", 0, 2},
        {{4, 1}, "PhotoBook 8:5", b85.c_str(), "WIZ_PHOTOBOOK_8_5_TRADITION", 0, 3},
        {{4, 1, 1}, "Tradition", "", "WIZ_PHOTOBOOK_8_5_TRADITION", 31, 0},
        {{4, 1, 2}, "Horizon", "", "WIZ_PHOTOBOOK_8_5_HORIZON", 32, 0},
        {{4, 1, 3}, "Verticon", "", "WIZ_PHOTOBOOK_8_5_VERTICON", 33, 0},
        {{4, 2}, "PhotoBook 8:5 Randlos", b85r.c_str(), "WIZ_PHOTOBOOK_8_5_FULLSIZE_R", 0, 4},
        {{4, 2, 1}, "Fullsize", "", "WIZ_PHOTOBOOK_8_5_FULLSIZE_R", 44, 0},
        {{4, 2, 2}, "Tradition", "", "WIZ_PHOTOBOOK_8_5_TRADITION_R", 41, 0},
        {{4, 2, 3}, "Horizon", "", "WIZ_PHOTOBOOK_8_5_HORIZON_R", 42, 0},
        {{4, 2, 4}, "Verticon", "", "WIZ_PHOTOBOOK_8_5_VERTICON_R", 43, 0},
        {{5}, "Kalender A4", "Kalender A4 - Wählen Sie Ihr Grundlayout", "WIZ_KALENDER_A4_1", 0, 4},
        {{6}, "Kalender A5", "Kalender A5 - Wählen Sie Ihr Grundlayout", "WIZ_KALENDER_A5_1", 0, 3},
        {{7}, "Kalender 10x15", "Kalender 10x15 - Wählen Sie Ihr Grundlayout", "WIZ_KALENDER_A6_1", 0, 4},
    };
    for (const Row& row : rows)
        expectRow(*root, row);
}

TEST(WizardTree, CalendarLayoutsOfferFiveYearsWithTheLayoutsCode) {
    const auto root = BuildWizardTree(kNewYearsEve2025);
    struct Family {
        int Index;
        const char* Prefix;
        int Layouts;
        int FirstCode;
    };
    for (const Family& f : {Family{5, "WIZ_KALENDER_A4_", 4, 61}, Family{6, "WIZ_KALENDER_A5_", 3, 71},
                            Family{7, "WIZ_KALENDER_A6_", 4, 141}}) {
        for (int n = 1; n <= f.Layouts; ++n) {
            const QString picture = QString::fromLatin1(f.Prefix) + QString::number(n);
            const TWizzardStep* layout = at(*root, {f.Index, n});
            ASSERT_NE(layout, nullptr);
            EXPECT_EQ(layout->Caption, QStringLiteral("Layout %1").arg(n));
            EXPECT_EQ(layout->Heading, QStringLiteral("Wählen Sie das gewünschte Jahr"));
            EXPECT_EQ(layout->Picture, picture);
            EXPECT_EQ(layout->ProductCode, 0);
            ASSERT_EQ(layout->ChildCount(), 5);
            for (int y = 0; y < 5; ++y) {
                const TWizzardStep* year = layout->Child(y);
                EXPECT_EQ(year->Caption, QString::number(2025 + y));
                EXPECT_EQ(year->Year, QString::number(2025 + y));
                EXPECT_EQ(year->Picture, picture);
                EXPECT_EQ(year->ProductCode, f.FirstCode + n - 1);
                EXPECT_TRUE(year->Heading.isEmpty());
                EXPECT_EQ(year->ChildCount(), 0);
            }
        }
    }
}

TEST(WizardTree, HoldsEightyFiveStepsAndEveryFinalChoiceIsAWizardProduct) {
    const auto root = BuildWizardTree(kNewYearsEve2025);
    EXPECT_EQ(root->CountAll(), 85);
    int finals = 0;
    forEachStep(*root, [&](const TWizzardStep& step) {
        for (int i = 0; i < step.ChildCount(); ++i)
            EXPECT_EQ(step.Child(i)->Parent, &step);
        if (&step != root.get()) {
            EXPECT_FALSE(step.Picture.isEmpty()) << step.Caption.toStdString();
        }
        if (!step.HasChildren()) {
            ++finals;
            EXPECT_TRUE(IsWizardProduct(step.ProductCode)) << step.ProductCode;
        }
    });
    EXPECT_EQ(finals, 11 + 11 * 5);
}

TEST(WizardTree, YearsFollowTheDayAndStayWithinTheCataloguesRange) {
    EXPECT_EQ(FirstWizardYear(QDate(2025, 1, 1)), 2025);
    EXPECT_EQ(FirstWizardYear(kNewYearsEve2025), 2025);
    EXPECT_EQ(FirstWizardYear(QDate(2026, 1, 1)), 2026);
    EXPECT_EQ(FirstWizardYear(QDate(2496, 6, 1)), 2496);
    EXPECT_EQ(FirstWizardYear(QDate(1650, 6, 1)), 1700);
    // After 2496 the five years would leave the range and come out as 2500 calendars.
    const auto late = BuildWizardTree(QDate(2499, 3, 15));
    const TWizzardStep* layout = at(*late, {6, 3});
    ASSERT_NE(layout, nullptr);
    ASSERT_EQ(layout->ChildCount(), 5);
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(layout->Child(y)->Year, QString::number(2496 + y));
}

TEST(WizardTree, EveryLookedUpTextIsRegisteredAndNoCaptionShowsAKey) {
    const auto root = BuildWizardTree(kNewYearsEve2025);
    const QString wizard = QString::fromLatin1(kWizardSection);
    for (const char* text :
         {"OK", "Weiter", "Wählen Sie Ihr Format", "Wählen Sie Ihr Grundlayout", "Standard", "Fullsize",
          "Tradition", "Horizon", "Verticon", "Border", "Randlos", "Wählen Sie das gewünschte Jahr"})
        EXPECT_TRUE(IsTextRegistered(wizard, QString::fromUtf8(text))) << text;
    EXPECT_EQ(TranslateText(QStringLiteral("Default"), QStringLiteral("ID_10x15kurz")),
              QStringLiteral("10x15"));
    EXPECT_EQ(TranslateText(QStringLiteral("default"), QStringLiteral("kalender")),
              QStringLiteral("Kalender"));
    EXPECT_TRUE(IsTextRegistered(QStringLiteral("Varenko"), QStringLiteral("Flaschenetiketten")));
    EXPECT_TRUE(IsTextRegistered(QStringLiteral("Varenko"), QStringLiteral("A4 (9x13)")));
    forEachStep(*root, [](const TWizzardStep& step) {
        for (const QString& text : {step.Caption, step.Heading}) {
            EXPECT_FALSE(text.contains(QLatin1String(kNoDefaultText))) << text.toStdString();
            EXPECT_FALSE(text.contains(QLatin1String("ID_"))) << text.toStdString();
        }
    });
}

TEST(WizardTree, PicturesAreNamedOnceEachWithTheCodeOfTheirFirstFinalChoice) {
    const auto root = BuildWizardTree(kNewYearsEve2025);
    const auto pictures = WizardPictures(*root);
    ASSERT_EQ(pictures.size(), 22u);
    EXPECT_EQ(pictures.front().Picture, QStringLiteral("WIZ_PHOTOBOOKLET"));
    EXPECT_EQ(pictures.front().ProductCode, 1);
    EXPECT_EQ(pictures.back().Picture, QStringLiteral("WIZ_KALENDER_A6_4"));
    EXPECT_EQ(pictures.back().ProductCode, 144);
    // Every picture any step shows is one of them.
    forEachStep(*root, [&](const TWizzardStep& step) {
        if (step.Picture.isEmpty())
            return;
        const bool listed = std::any_of(pictures.begin(), pictures.end(),
                                        [&](const TWizardPicture& p) { return p.Picture == step.Picture; });
        EXPECT_TRUE(listed) << step.Picture.toStdString();
    });
}

TEST(Localizer, SectionLookupsFallBackToTheRegisteredTextThenToTheMarker) {
    RegisterWizardTexts();
    RegisterText(QStringLiteral("TProbeDlg"), QStringLiteral("Probe"), QStringLiteral("Probetext"));
    EXPECT_EQ(TranslateText(QStringLiteral("tprobedlg"), QStringLiteral("PROBE")),
              QStringLiteral("Probetext"));
    EXPECT_EQ(TranslateText(QStringLiteral("TProbeDlg"), QStringLiteral("Unbekannt")),
              QString::fromLatin1(kNoDefaultText));
    EXPECT_EQ(ReadText(QStringLiteral("TOtherDlg"), QStringLiteral("Probe"), QStringLiteral("x")),
              QStringLiteral("x"));
    EXPECT_EQ(Translate(QStringLiteral("ID_10x15kurz")), QStringLiteral("10x15"));
}
