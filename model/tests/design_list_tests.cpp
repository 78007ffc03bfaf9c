// Image-layer and text-item lists: per-frame drawing in list order, hit tests,
// reordering and copying a frame.
#include "design_fixture.h"
#include "model/design/ImageLayerList.h"
#include "model/design/TextItemList.h"

using namespace Gdiplus;
using namespace design_test;

namespace {

ARGB Red(int, int) { return 0xFFFF0000; }
ARGB Blue(int, int) { return 0xFF0000FF; }
ARGB Green(int, int) { return 0xFF00FF00; }

// A 1 x 1 inch layer (150 x 150 pixels without resolution) of one colour at (cx, cy).
CImageLayer* Square(ARGB (*colour)(int, int), double cx, double cy, int frame)
{
    std::vector<BYTE> png = MakePng(150, 150, colour);
    CImageLayer* layer = new CImageLayer;
    layer->SetPlacement(CRect(0, 0, 192, 192), 200, 200);
    EXPECT_TRUE(layer->LoadFromMemory(&png[0], png.size()));
    layer->SetCentre(cx, cy);
    layer->UpdatePrintSize(0.0f);
    layer->m_frameIndex = frame;
    return layer;
}

std::vector<CImageLayer*> Order(const CImageLayerList& list)
{
    std::vector<CImageLayer*> v;
    POSITION pos = list.GetHeadPosition();
    while (pos)
        v.push_back(list.GetNext(pos).layer);
    return v;
}

} // namespace

TEST(DesignImageLayerList, DrawsAndHitsOnlyTheCurrentFrameInListOrder)
{
    CImageLayerList list;
    CImageLayer* first = Square(Red, 0.75, 0.75, 0);
    CImageLayer* second = Square(Green, 1.0, 1.0, 1);
    CImageLayer* third = Square(Blue, 1.25, 1.25, 0);
    list.Add(first);
    list.Add(second);
    list.Add(third);
    EXPECT_EQ(2, list.CountInFrame(0));
    EXPECT_EQ(third, list.GetCurrent());

    Canvas c(192, 192);
    list.DrawAll(&c.graphics, PointF(0, 0), 0);
    EXPECT_EQ(0xFFFF0000u, c.At(40, 40)); // only the first
    EXPECT_EQ(0xFF0000FFu, c.At(96, 96)); // both: the third lies on top
    EXPECT_EQ(0xFF0000FFu, c.At(160, 160));
    EXPECT_EQ(third, list.HitTest(96, 96, 96.0f));
    EXPECT_EQ(first, list.HitTest(40, 40, 96.0f));
    EXPECT_EQ(NULL, list.HitTest(180, 20, 96.0f));

    list.SetCurrentFrame(1);
    EXPECT_EQ(second, list.GetCurrent());
    EXPECT_EQ(second, list.HitTest(96, 96, 96.0f));
    EXPECT_EQ(second, list.GetNextInFrame(NULL));
}

TEST(DesignImageLayerList, MovingSwapsWithTheNeighbourOfAnyFrame)
{
    CImageLayerList list;
    CImageLayer* a = Square(Red, 1, 1, 0);
    CImageLayer* b = Square(Green, 1, 1, 1);
    CImageLayer* c = Square(Blue, 1, 1, 0);
    list.Add(a);
    list.Add(b);
    list.Add(c);
    const std::vector<CImageLayer*> start = {a, b, c};
    list.MoveForward(c); // already the tail
    EXPECT_EQ(start, Order(list));
    list.MoveBackward(a); // already the head
    EXPECT_EQ(start, Order(list));
    list.MoveForward(a);
    EXPECT_EQ((std::vector<CImageLayer*>{b, a, c}), Order(list));
    list.MoveBackward(c);
    EXPECT_EQ((std::vector<CImageLayer*>{b, c, a}), Order(list));
    EXPECT_EQ(a, list.GetCurrent());
}

TEST(DesignImageLayerList, AddRemoveAndCopyFrame)
{
    long live = CImageLayer::GetLiveCount();
    {
        CImageLayerList list;
        list.SetCurrentFrame(2);
        CImageLayer* a = Square(Red, 1, 1, -1); // takes the current frame
        list.Add(a);
        list.Add(Square(Green, 1, 1, 2));
        list.Add(Square(Blue, 1, 1, 0));
        list.Add(Square(Red, 1, 1, 1));
        EXPECT_EQ(2, list.CountInFrame(2));

        // Onto itself: the frame keeps its layers.
        list.CopyFrame(2, 2);
        EXPECT_EQ(2, list.CountInFrame(2));
        EXPECT_EQ(4, list.GetCount());

        // Frame 2 onto frame 1: frame 1's layer goes, copies of a and the green one follow
        // at the tail in their order.
        list.CopyFrame(2, 1);
        EXPECT_EQ(5, list.GetCount());
        EXPECT_EQ(2, list.CountInFrame(1));
        std::vector<CImageLayer*> order = Order(list);
        EXPECT_EQ(a, order[0]);
        EXPECT_EQ(1, order[3]->m_frameIndex);
        EXPECT_NE(a->GetMasterBitmap(), order[3]->GetMasterBitmap());
        Color px;
        order[4]->GetMasterBitmap()->GetPixel(0, 0, &px);
        EXPECT_EQ(0xFF00FF00u, px.GetValue());
        EXPECT_EQ(live + 5, CImageLayer::GetLiveCount());

        CImageLayer stranger;
        EXPECT_FALSE(list.Remove(&stranger));
        EXPECT_TRUE(list.Remove(a));
        EXPECT_EQ(4, list.GetCount());
        list.RemoveAll();
        EXPECT_EQ(0, list.GetCurrentFrame());
        EXPECT_EQ(live + 1, CImageLayer::GetLiveCount()); // the stranger
        list.Add(Square(Red, 1, 1, 0));
    }
    EXPECT_EQ(live, CImageLayer::GetLiveCount());
}

TEST(DesignTextItemList, FramesOrderAndCopies)
{
    long live = CTextItem::GetLiveCount();
    {
        CTextItemList list;
        CTextItem* a = new CTextItem;
        a->m_text = "A";
        a->m_bubbleKind = 1;
        a->m_fillColour[0] = 0x123456;
        list.AddPair(a); // frame -1: the current frame 0
        CTextItem* b = new CTextItem;
        b->m_frameIndex = 1;
        list.AddPair(b);
        CTextItem* c = new CTextItem;
        c->m_text = "C";
        list.AddPair(c);
        EXPECT_EQ(2, list.CountInFrame(0));
        EXPECT_EQ(b, list.GetNextAfter(a));
        EXPECT_EQ(a, list.GetNextAfter(c)); // the last: back to the first of the frame
        EXPECT_EQ(a, list.GetNextAfter(NULL));
        CTextItem stranger;
        EXPECT_EQ(NULL, list.GetNextAfter(&stranger));
        EXPECT_FALSE(list.Remove(&stranger));

        list.CopyFrame(0, 0); // onto itself: kept
        EXPECT_EQ(2, list.CountInFrame(0));
        list.CopyFrame(0, 1); // b goes, copies of a and c follow
        EXPECT_EQ(4, list.GetCount());
        EXPECT_EQ(live + 5, CTextItem::GetLiveCount());
        list.SetCurrentFrame(1);
        POSITION pos = list.GetHeadPosition();
        list.GetNext(pos);
        list.GetNext(pos);
        CTextItemPair copy = list.GetNext(pos);
        EXPECT_EQ(1, copy.frame);
        EXPECT_EQ(1, copy.item->m_frameIndex);
        EXPECT_EQ(CString("A"), copy.item->m_text);
        EXPECT_EQ(0x123456u, copy.item->m_fillColour[0]);
        EXPECT_EQ(0, copy.item->m_bubbleKind); // copies lose their speech bubble
        EXPECT_EQ(NULL, copy.item->GetFillImage());
        list.RemoveAll();
        EXPECT_EQ(live + 1, CTextItem::GetLiveCount());
        list.AddPair(new CTextItem);
    }
    EXPECT_EQ(live, CTextItem::GetLiveCount());
}
