#include "document/uFotobuchDocument.h"
#include "render/uRTFDrawer.h"
#include "support/PageElements.h"

#include <gtest/gtest.h>

namespace {

struct TextPage {
    TFBDocument doc;
    TFBPage* page = nullptr;
    TFBTextElement* text = nullptr;

    TextPage() {
        page = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        text = TestSupport::placeElement<TFBTextElement>(page, 50, 40, 60, 20);
    }
};

} // namespace

TEST(TextElementDrawer, MadeFromTheTextAndRemadeAfterEveryChange) {
    TextPage p;
    p.text->SetRTF("{\\rtf1 Hallo Welt}");
    TRTFDrawer& first = TextElementDrawer(*p.text);
    EXPECT_EQ(first.TokenCount(), 3);
    // The same drawer serves every repaint until the text changes.
    EXPECT_EQ(&TextElementDrawer(*p.text), &first);

    p.text->Dirty = false;
    p.text->SetRTF("{\\rtf1 Neu}");
    // Setting the text marks the shadow image out of date and drops the laid-out text.
    EXPECT_TRUE(p.text->Dirty);
    EXPECT_EQ(TextElementDrawer(*p.text).TokenCount(), 1);

    // A change through the drawer itself marks the shadow too.
    p.text->Dirty = false;
    TextElementDrawer(*p.text).SetRTF("{a b}");
    EXPECT_TRUE(p.text->Dirty);
}

TEST(TextElementDrawer, UnreadableTextShowsWhatWasReadAndIsNotParsedAgain) {
    TextPage p;
    p.text->SetRTF("{\\rtf1 {Teil eins} Teil zwei}}}");
    TRTFDrawer* drawer = nullptr;
    EXPECT_NO_THROW(drawer = &TextElementDrawer(*p.text));
    EXPECT_EQ(drawer->TokenCount(), 7);
    EXPECT_EQ(&TextElementDrawer(*p.text), drawer);
}
