// Every undoable edit on a photo book (31), single prints (21) and a calendar (61): the edit and
// its undo give the document as it was before, a redo the document as it was after, and undoing
// the redo the one before again.
#include "calendar/uKalender.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uDocumentEdits.h"
#include "editing/uUndo.h"
#include "support/CanonicalForm.h"
#include "support/PictureSupport.h"
#include "support/SampleDocument.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The lightness filter's dialog, answering "invert".
class InvertingFilter : public TPictureFilterHost {
public:
    std::optional<QImage> RunFilter(TPictureFilterKind, const QImage& picture, int) override {
        QImage result = picture.convertToFormat(QImage::Format_RGB32);
        result.invertPixels();
        return result;
    }
};

struct Step {
    const char* name;
    // Makes the edit; false when it does not apply to the product.
    std::function<bool(TFBDocument&)> run;
};

class UndoRoundTrip : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        photo1 = PictureSupport::writeFile(dir.filePath(QStringLiteral("eins.jpg")),
                                           PictureSupport::jpeg(PictureSupport::photo(96, 64, 1)));
        photo2 = PictureSupport::writeFile(dir.filePath(QStringLiteral("zwei.jpg")),
                                           PictureSupport::jpeg(PictureSupport::photo(64, 96, 2)));
        photo3 = PictureSupport::writeFile(dir.filePath(QStringLiteral("drei.jpg")),
                                           PictureSupport::jpeg(PictureSupport::photo(80, 80, 3)));
        clipartFile = SampleDocument::writeClipartFile(dir.path());
        TBildmanager::Instance().SetFilterHost(&filter);
    }
    void TearDown() override {
        UndoManager().Clear();
        TBildmanager::Instance().SetFilterHost(nullptr);
        document.Reset();
    }

    // The product with pictures in its first frames (one photo shown twice, so that turning and
    // filtering make private copies), a colour area, a text element and a clipart element.
    void build() {
        document.Reset();
        ASSERT_TRUE(CreateProductDocument(document, GetParam(), 2026, WizardPageCount(GetParam())));
        frames.clear();
        for (const TFBPage* page : document.Pages)
            for (TFBElement* e : page->Pictures)
                frames.push_back(static_cast<TFBPictureElement*>(e));
        ASSERT_GE(frames.size(), 4u);
        frames[0]->SetPictureFile(photo1);
        frames[1]->SetPictureFile(photo2);
        frames[2]->SetColorFill(0x2050A0);
        frames[3]->SetPictureFile(photo1);
        first = document.Pages.Items(0);
        second = document.Pages.Items(1);
        text = TestSupport::placeElement<TFBTextElement>(first, 40, 50, 60, 20);
        text->SetRTF(QByteArrayLiteral("{\\rtf1\\ansi Hallo}"));
        clipart = static_cast<TFBClipartElement*>(
            second->Sizeables.Add(std::make_unique<TFBClipartElement>(second)));
        clipart->SetClipartFile(clipartFile);
        UndoManager().Clear();
    }

    TFBKalenderElement* firstCalendar() const {
        for (const TFBPage* page : document.Pages)
            if (page->Calendars.Count() > 0)
                return page->Calendar(0);
        return nullptr;
    }

    std::vector<Step> steps() {
        using E = TFBDocument&;
        return {
            {"picture", [this](E) { return DocumentEdits::InsertPicture(*frames[0], photo3), true; }},
            {"colour", [this](E) { return DocumentEdits::FillColour(*frames[0], 0x00CC8844), true; }},
            {"remove-picture", [this](E) { return DocumentEdits::RemovePicture(*frames[1]); }},
            {"remove-colour", [this](E) { return DocumentEdits::RemovePicture(*frames[2]); }},
            {"rotate-left", [this](E) { return DocumentEdits::RotatePicture(*frames[0], 2), true; }},
            {"rotate-half", [this](E) { return DocumentEdits::RotatePicture(*frames[1], 1), true; }},
            {"filter",
             [this](E) { return DocumentEdits::FilterPicture(*frames[3], TPictureFilterKind::HKIG); }},
            {"zoom", [this](E) { return DocumentEdits::ZoomPicture(*frames[0], 2.5f, false), true; }},
            {"zoom-merge", [this](E) { return DocumentEdits::ZoomPicture(*frames[1], 1.5f, true), true; }},
            {"pan", [this](E) { return DocumentEdits::PanPicture(*frames[0], 0.2f, 0.9f), true; }},
            {"swap", [this](E) { return DocumentEdits::SwapPictures(*frames[2], *frames[0]), true; }},
            {"copy", [this](E) { return DocumentEdits::CopyPicture(*frames[2], *frames[1]), true; }},
            {"insert-view",
             [](E d) { return d.CanInsertView(1) && (DocumentEdits::InsertView(d, 1, 1), true); }},
            {"insert-view-after",
             [](E d) { return d.CanInsertView(1) && (DocumentEdits::InsertView(d, 2, 1), true); }},
            {"move-view",
             [](E d) {
                 return !d.IsCalendar() && d.CanDeleteView(2) && (DocumentEdits::MoveView(d, 1, 2), true);
             }},
            {"delete-view",
             [](E d) { return d.CanDeleteView(1) && (DocumentEdits::DeleteView(d, 1), true); }},
            {"delete-view-with-pictures",
             [](E d) { return d.CanDeleteView(0) && (DocumentEdits::DeleteView(d, 0), true); }},
            {"layout",
             [this](E d) {
                 for (const TFBPageTemplate* layout : LayoutCatalogue()) {
                     if ((layout->LayoutTypen.Bits() & d.Layouttypen.Bits()) != 0 &&
                         layout->Frames.Count() != first->Pictures.Count()) {
                         DocumentEdits::ApplyLayout(d, *frames[0]->Page, *layout);
                         return true;
                     }
                 }
                 return false;
             }},
            {"insert-text", [this](E) { return DocumentEdits::InsertTextElement(*second) != nullptr; }},
            {"insert-clipart",
             [this](E) { return DocumentEdits::InsertClipart(*first, clipartFile, 30, 40) != nullptr; }},
            {"delete-text", [this](E) { return DocumentEdits::DeleteElement(*text), true; }},
            {"delete-clipart", [this](E) { return DocumentEdits::DeleteElement(*clipart), true; }},
            {"size-element", [this](E) { return DocumentEdits::SizeElement(*text, 70, 25, 15), true; }},
            {"move-element", [this](E) { return DocumentEdits::MoveElement(*text, 12, 34, nullptr), true; }},
            {"move-element-to-page",
             [this](E) { return DocumentEdits::MoveElement(*text, 12, 34, second), true; }},
            {"calendar-look",
             [this](E) {
                 TFBKalenderElement* calendar = firstCalendar();
                 if (!calendar)
                     return false;
                 TKalenderData look;
                 TKalenderDataSnapshot(*calendar->Data).RestoreTo(look);
                 look.ShowWochentage = !look.ShowWochentage;
                 look.FontHeight += 3;
                 DocumentEdits::SetCalendarLook(*calendar, look);
                 return true;
             }},
            {"calendar-look-all",
             [this](E d) {
                 TFBKalenderElement* calendar = firstCalendar();
                 if (!calendar)
                     return false;
                 TKalenderData look;
                 TKalenderDataSnapshot(*calendar->Data).RestoreTo(look);
                 look.Color = 0x00123456;
                 DocumentEdits::SetCalendarLookForAll(d, *calendar, look);
                 return true;
             }},
            {"calendar-start",
             [this](E d) { return firstCalendar() && (DocumentEdits::SetCalendarStart(d, 2031, 7), true); }},
        };
    }

    QTemporaryDir dir;
    QString photo1, photo2, photo3, clipartFile;
    InvertingFilter filter;
    TFBDocument document;
    std::vector<TFBPictureElement*> frames;
    TFBPage* first = nullptr;
    TFBPage* second = nullptr;
    TFBTextElement* text = nullptr;
    TFBClipartElement* clipart = nullptr;
};

TEST_P(UndoRoundTrip, UndoGivesTheDocumentBeforeAndRedoTheOneAfter) {
    int applied = 0;
    for (const Step& step : steps()) {
        SCOPED_TRACE(step.name);
        build();
        const QStringList before = TestSupport::canonicalForm(document);
        if (!step.run(document))
            continue;
        ++applied;
        const QStringList after = TestSupport::canonicalForm(document);
        ASSERT_NE(before, after) << "the edit changed nothing";
        ASSERT_EQ(UndoManager().Count(), 1);

        const TUndoOutcome undone = UndoManager().Undo(document);
        EXPECT_TRUE(undone.Restored);
        EXPECT_EQ(TestSupport::canonicalForm(document), before);
        ASSERT_EQ(UndoManager().RedoCount(), 1);

        const TUndoOutcome redone = UndoManager().Redo(document);
        EXPECT_TRUE(redone.Restored);
        EXPECT_EQ(TestSupport::canonicalForm(document), after);
        EXPECT_EQ(UndoManager().Count(), 1);

        UndoManager().Undo(document);
        EXPECT_EQ(TestSupport::canonicalForm(document), before);
    }
    // Each product has pages and frames enough for most edits.
    EXPECT_GE(applied, 20);
}

INSTANTIATE_TEST_SUITE_P(Products, UndoRoundTrip, ::testing::Values(31, 21, 61));

} // namespace
