#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uDocumentEdits.h"
#include "editing/uUndo.h"
#include "filters/uPictureFilter.h"
#include "support/PageElements.h"
#include "support/PictureSupport.h"

#include <gtest/gtest.h>

namespace {

// Confirms every dialog with the picture made black and white, or cancels.
class GreyingHost : public TPictureFilterHost {
public:
    std::optional<QImage> RunFilter(TPictureFilterKind, const QImage& picture, int angle) override {
        lastAngle = angle;
        if (!confirm)
            return std::nullopt;
        QImage result = picture.copy();
        FilterSWCol(result, 0, 0);
        return result;
    }
    bool confirm = true;
    int lastAngle = -1;
};

class FilterUndo : public ::testing::Test {
protected:
    void SetUp() override {
        UndoManager().Clear();
        TBildmanager::Instance().SetFilterHost(&host);
        TestSupport::addPages(document, 1);
        page = document.Pages.Items(0);
        a = TestSupport::placeElement<TFBPictureElement>(page, 30, 30, 40, 30);
        b = TestSupport::placeElement<TFBPictureElement>(page, 80, 30, 40, 30);
        a->SetRefIndex(TBildmanager::Instance().AddBitmap(PictureSupport::photo(64, 48, 2)));
        TBildmanager::Instance().Release(a->RefIndex);
        a->CanZoomAndTrack = true;
        b->CopyPictureFrom(*a);
        shared = a->RefIndex;
        original = a->GetBitmap();
    }
    void TearDown() override {
        TBildmanager::Instance().SetFilterHost(nullptr);
        UndoManager().Clear();
        document.Reset();
    }

    GreyingHost host;
    TFBDocument document;
    TFBPage* page = nullptr;
    TFBPictureElement* a = nullptr;
    TFBPictureElement* b = nullptr;
    int shared = -1;
    QImage original;
};

bool isGrey(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qGreen(p)) > 8 || std::abs(qGreen(p) - qBlue(p)) > 8)
                return false;
        }
    return true;
}

TEST_F(FilterUndo, FilterThenUndoRestoresTheSharedEntry) {
    const int before = UndoManager().Count();
    ASSERT_TRUE(DocumentEdits::FilterPicture(*a, TPictureFilterKind::SWCol));
    EXPECT_TRUE(document.Modified);
    EXPECT_EQ(UndoManager().Count(), before + 1);
    EXPECT_NE(a->RefIndex, shared);
    EXPECT_EQ(b->RefIndex, shared);
    EXPECT_TRUE(isGrey(a->GetBitmap()));
    EXPECT_FALSE(isGrey(b->GetBitmap()));
    EXPECT_TRUE(TBildmanager::Instance().Find(a->RefIndex)->FileName.startsWith(QStringLiteral("C ")));

    UndoManager().Undo(document);
    EXPECT_EQ(a->RefIndex, shared);
    EXPECT_EQ(TBildmanager::Instance().UseCount(shared), 2);
    EXPECT_EQ(a->GetBitmap(), original);
    EXPECT_EQ(b->GetBitmap(), original);
}

TEST_F(FilterUndo, CancelLeavesNoStepButKeepsThePrivateCopy) {
    host.confirm = false;
    const int before = UndoManager().Count();
    EXPECT_FALSE(DocumentEdits::FilterPicture(*a, TPictureFilterKind::HKIG));
    EXPECT_EQ(UndoManager().Count(), before);
    EXPECT_FALSE(document.Modified);
    // The copy was made before the dialog opened and stays.
    EXPECT_NE(a->RefIndex, shared);
    EXPECT_EQ(a->GetBitmap(), original);
    EXPECT_EQ(b->GetBitmap(), original);
}

} // namespace
