#include "app/ui/FMainform.h"
#include "app/ui/uMasterPrompts.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/ui/uPageTemplateListview.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "support/TempHome.h"

#include <QBuffer>
#include <QMimeData>
#include <QTabWidget>

#include <gtest/gtest.h>

using TestSupport::TempHome;

namespace {

// Answers nothing: these tests never ask the user.
class SilentPrompts : public TMasterPrompts {
public:
    TAnswer AskYesNoCancel(QWidget*, const QString&) override { return TAnswer::No; }
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    QString OpenProjectFileName(QWidget*) override { return {}; }
    QString SaveProjectFileName(QWidget*, const QString&) override { return {}; }
    void ShowError(QWidget*, const QString&) override {}
    void Print(QWidget*, TFBDocument&) override {}
    void SaveAsPdf(QWidget*, TFBDocument&) override {}
    void ShowPrinterSetup(QWidget*) override {}
    void ShowAbout(QWidget*) override {}
    void Beep() override {}
};

QStringList names(const TPageTemplateListview& list) {
    QStringList result;
    for (int i = 0; i < list.count(); ++i)
        result << list.Template(i)->Name;
    return result;
}

class LayoutListInMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        master = std::make_unique<TMaster>(&prompts);
        master->SetNewProjectWizard([this](TFBDocument& document) {
            return CreateProductDocument(document, productCode, 2031) ? 1 : 2;
        });
        list = master->findChild<TPageTemplateListview*>(QStringLiteral("lvLayouts"));
        tabs = master->findChild<QTabWidget*>(QStringLiteral("PageControlLeft"));
        ASSERT_NE(list, nullptr);
        ASSERT_NE(tabs, nullptr);
    }
    bool layoutsTabVisible() const { return tabs->isTabVisible(tabs->indexOf(list->parentWidget())); }

    TempHome home;
    SilentPrompts prompts;
    std::unique_ptr<TMaster> master;
    TPageTemplateListview* list = nullptr;
    QTabWidget* tabs = nullptr;
    int productCode = 31;
};

} // namespace

TEST(LayoutList, ShowsNamesPreviewsAndStyleColours) {
    TPageTemplateListview list(nullptr);
    TFBLayoutTypen types;
    types.Include(TFBLayoutTyp::ltPhotoBook85Randlos);
    list.Build(types, 5, false);
    ASSERT_EQ(list.count(), 21);
    EXPECT_EQ(list.item(0)->text(), "Tradition A");
    EXPECT_EQ(list.item(5)->text(), "Horizon A");
    EXPECT_EQ(list.Template(0)->ID, "TraditionR1");
    EXPECT_EQ(list.Template(21), nullptr);
    EXPECT_EQ(list.item(0)->background().color(), QColor(0xE0, 0xFF, 0xE0));
    const QImage icon = list.item(0)->icon().pixmap(TPageTemplateListview::ThumbnailSize).toImage();
    ASSERT_FALSE(icon.isNull());
    // Style colour around the preview, the white page in the middle.
    EXPECT_EQ(QColor(icon.pixel(2, 2)), QColor(0xE0, 0xFF, 0xE0));
    EXPECT_EQ(QColor(icon.pixel(40, 12)), QColor(Qt::white));

    list.Build(types, 5, true);
    EXPECT_EQ(list.count(), 5);
}

TEST(LayoutList, DragCarriesTheLayoutInItsStreamForm) {
    TPageTemplateListview list(nullptr);
    list.Build(TFBLayoutTypen::All(), 0, false);
    // A drag asks the list's model for the formats and the data of the dragged items.
    QAbstractItemModel* model = list.model();
    EXPECT_EQ(model->mimeTypes(), QStringList{"VXPageTemplate"});
    std::unique_ptr<QMimeData> data(model->mimeData({model->index(6, 0)}));
    ASSERT_NE(data, nullptr);
    QByteArray payload = data->data(QStringLiteral("VXPageTemplate"));
    QBuffer buffer(&payload);
    buffer.open(QIODevice::ReadOnly);
    TFBPageTemplate dropped;
    dropped.LoadFromStream(buffer);
    EXPECT_EQ(dropped.Name, "Tradition C");
    EXPECT_EQ(dropped.Frames.Count(), 3);
    EXPECT_FLOAT_EQ(dropped.Width, 163.5f);
    EXPECT_EQ(buffer.bytesAvailable(), 0);
}

TEST_F(LayoutListInMainWindow, StartsWithTheEmptyDocumentWithoutLayouts) {
    const TFBDocument& document = master->Document();
    ASSERT_EQ(document.Pages.Count(), 1);
    EXPECT_EQ(document.Pages.Items(0)->Pictures.Count(), 1);
    EXPECT_EQ(document.PrintSetting, 10);
    EXPECT_TRUE(document.Dokumentname.isEmpty());
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(layoutsTabVisible());
}

TEST_F(LayoutListInMainWindow, NewProductFillsTheListAndCloseEmptiesIt) {
    master->BtnAlbumNeuClick();
    EXPECT_EQ(master->Document().Pages.Count(), 32);
    ASSERT_EQ(list->count(), 16);
    EXPECT_EQ(names(*list).mid(0, 6), (QStringList{"Tradition A", "Tradition B", "Tradition C", "Tradition D",
                                                   "Tradition Panorama", "Horizon A"}));
    // Captions longer than the thumbnail are shortened with an ellipsis.
    EXPECT_EQ(list->item(0)->text(), "Tradition A");
    const bool fits = list->fontMetrics().horizontalAdvance(QStringLiteral("Tradition Panorama")) <=
                      TPageTemplateListview::ThumbnailSize;
    EXPECT_EQ(list->item(4)->text().endsWith(QChar(0x2026)), !fits) << list->item(4)->text().toStdString();
    EXPECT_EQ(list->item(4)->toolTip(), "Tradition Panorama");
    EXPECT_TRUE(layoutsTabVisible());

    productCode = 0; // the wizard then creates nothing
    master->BtnSchliessenClick();
    EXPECT_EQ(master->Document().Pages.Count(), 1);
    EXPECT_EQ(master->Document().PrintSetting, 10);
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(layoutsTabVisible());
}

TEST_F(LayoutListInMainWindow, CalendarCoverListsTheCoverLayouts) {
    productCode = 61;
    master->BtnAlbumNeuClick();
    EXPECT_EQ(names(*list), (QStringList{"Layout 1", "Layout 2", "Layout 3", "Layout 4"}));
    EXPECT_EQ(list->Template(3)->ID, "KalA4Lay1Stil4");
    Multicaster().ViewSelected(nullptr, 12);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->Template(0)->ID, "KalA4Deckblatt1");
    Multicaster().ViewSelected(nullptr, 3);
    EXPECT_EQ(list->count(), 4);
}
