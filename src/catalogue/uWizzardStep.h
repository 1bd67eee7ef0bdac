#pragma once

#include <QDate>
#include <QString>

#include <memory>
#include <vector>

// One choice of the new-project wizard and the choices it opens. A step owns its children; a final
// choice (no children) names the product code to create, and a year choice the calendar's year.
class TWizzardStep {
public:
    TWizzardStep() = default;
    TWizzardStep(const TWizzardStep&) = delete;
    TWizzardStep& operator=(const TWizzardStep&) = delete;

    TWizzardStep* Parent = nullptr;
    QString Caption; // the text of this choice in the list
    QString Heading; // shown above the list while this step's children are listed
    int ProductCode = 0;
    QString Picture; // the preview resource shown while this choice is selected
    QString Year;    // decimal text; empty unless a year choice

    // Appends a new child with this step as its parent.
    TWizzardStep& AddChild();
    int ChildCount() const { return static_cast<int>(children_.size()); }
    // nullptr for an index outside the list.
    TWizzardStep* Child(int index) const;
    // -1 when the step is not a child of this one.
    int IndexOfChild(const TWizzardStep* step) const;
    bool HasChildren() const { return !children_.empty(); }
    // This step and all below it.
    int CountAll() const;

private:
    std::vector<std::unique_ptr<TWizzardStep>> children_;
};

// The wizard's own section of the language tables, and the edition section of its product names.
inline constexpr const char* kWizardSection = "TDateiNeuDlg";
inline constexpr const char* kWizardEditionSection = "Varenko";

// Registers every text the wizard looks up, in its own section, the general one and the edition's.
// Building the tree does it too, so no lookup of the tree goes unregistered.
void RegisterWizardTexts();

// The first of the five calendar years offered on the given day: the day's year, kept where all
// five years lie within the catalogue's range of calendar years.
int FirstWizardYear(const QDate& today);

// The whole tree of choices as offered on the given day (the calendar years follow that day).
std::unique_ptr<TWizzardStep> BuildWizardTree(const QDate& today);

// Every final step's picture with the product code it was made from, in tree order, each name
// once: the previews the program carries.
struct TWizardPicture {
    QString Picture;
    int ProductCode = 0;
};
std::vector<TWizardPicture> WizardPictures(const TWizzardStep& root);
