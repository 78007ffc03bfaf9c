// The item outline templates that the catalogue names are bitmap resources of the program.
#include <gtest/gtest.h>

#include <set>

#include "fw/fw.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/tests/PaperTestUtil.h"

using namespace Gdiplus;

namespace {

class PaperTemplates : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { FillPaperCatalogues(); }
};

bool IsBlack(Bitmap& b, int x, int y)
{
    Color c;
    b.GetPixel(x, y, &c);
    return c.GetR() == 0 && c.GetG() == 0 && c.GetB() == 0;
}

TEST_F(PaperTemplates, EveryTemplateIsAMaskInItsItemsProportions)
{
    std::set<int> seen;
    CPaperLayoutList* list = GetGlobalObjectA()->GetLayoutList();
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const CPaperLayout* l = list->GetNext(pos);
        const int id = l->GetTemplateBitmap();
        if (id == 0)
            continue;
        SCOPED_TRACE(testing::Message() << "layout " << l->GetId() << " template " << id);
        seen.insert(id);
        Bitmap* b = Bitmap::FromResource(GetModuleHandle(NULL), (const WCHAR*)MAKEINTRESOURCEW(id));
        ASSERT_TRUE(b != NULL);
        ASSERT_EQ(Ok, b->GetLastStatus());
        const int w = (int)b->GetWidth(), h = (int)b->GetHeight();
        // 150 pixels per inch of the item (layouts sharing a template differ by a few pixels).
        EXPECT_NEAR(l->GetItemSize().Width / l->GetItemSize().Height, (double)w / h, 0.03);
        EXPECT_GT(w, 100);
        // The shape shows through in the middle; the corners are outside it.
        EXPECT_TRUE(IsBlack(*b, w / 2, h / 2));
        EXPECT_FALSE(IsBlack(*b, 0, 0));
        EXPECT_FALSE(IsBlack(*b, w - 1, 0));
        EXPECT_FALSE(IsBlack(*b, 0, h - 1));
        EXPECT_FALSE(IsBlack(*b, w - 1, h - 1));
        delete b;
    }
    delete list;
    EXPECT_EQ(19u, seen.size());
}

} // namespace

#include "base/TextTable.h"
#include "model/paper/PaperSize.h"

namespace {

TEST_F(PaperTemplates, EveryNameHasATextInEveryLanguage)
{
    for (const char* language : {"english", "french", "dutch", "portugese", "greek"}) {
        SCOPED_TRACE(language);
        CTextTable table;
        ASSERT_TRUE(table.Load(CString(language) + ".ini"));
        CPaperLayoutList* layouts = GetGlobalObjectA()->GetLayoutList();
        for (POSITION pos = layouts->GetHeadPosition(); pos;) {
            const CPaperLayout* l = layouts->GetNext(pos);
            EXPECT_FALSE(table.Lookup(l->GetName()).IsEmpty()) << l->GetName();
        }
        delete layouts;
        CPaperSizeList* sizes = GetGlobalObjectB()->GetAll();
        for (POSITION pos = sizes->GetHeadPosition(); pos;) {
            const CPaperSize* s = sizes->GetNext(pos);
            EXPECT_FALSE(table.Lookup(s->GetName()).IsEmpty()) << s->GetName();
        }
        delete sizes;
        EXPECT_STREQ("papers", table.Lookup("IDS_PAPER_DIR"));
    }
}

} // namespace
