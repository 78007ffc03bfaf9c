// The layers of a design drawn in their one order: which layers, which record, the
// hook between the steps, and the paper preview's cells keeping their exact pixels.
#include "model/design/DesignLayers.h"
#include "model/design/PaperPreview.h"
#include "model/tests/design_fixture.h"
#include "model/tests/rich_design.h"
#include "testsupport/Dump.h"
#include "testsupport/Pixels.h"

#include "base/Globals.h"
#include "model/gfx/LayerArrayDraw.h"
#include "model/paper/PaperLayoutMap.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Gdiplus;

namespace {

// A document on a copy of catalogue layout 10 (ten cells, one design each) with three
// frame records: the first holds every layer kind, the others a plain colour.
class LayersTest : public ::testing::Test
{
protected:
    void TearDown() override { m_doc.reset(); }
    void MakeDesign(int shape)
    {
        m_doc.reset(new CFrostwellDoc); // the document fills the catalogues
        SetMetric(FALSE);
        const CPaperLayout* layout = GetGlobalObjectA()->Lookup(10);
        ASSERT_NE(nullptr, layout);
        GetPaperLayout()->CopyFrom(*layout);
        GetPaperLayout()->SetOneDesignPerCell(1);
        GetPaperLayout()->SetShape(shape);
        CLayerArray* layers = m_doc->GetLayers();
        layers->Reset(3);
        CSize size = GetPaperLayout()->GetPrintableRect();
        CRect rect(0, 0, size.cx, size.cy);
        layers->SetRecordRects(rect, size.cx, size.cy);
        layers->SetCurrent(1);
        layers->SetBgColour1(RGB(0, 160, 0));
        layers->SetCurrent(2);
        layers->SetBgColour1(RGB(0, 0, 160));
        m_doc->SetCurrentFrameNoUpdate(0);
        rich_design::BuildRichDesign(m_doc.get(), 0, rect);
    }

    std::unique_ptr<CFrostwellDoc> m_doc;
};

} // namespace

namespace {

// A cell's design area as the preview drew it when it called each layer itself: clipped
// to the item's shape at the origin, every layer in its order, the edge and the outline.
void DrawReferenceArea(CFrostwellDoc* doc, Graphics* g, float width, float height)
{
    CLayerArray* layers = doc->GetLayers();
    if (layers->GetCurrent() < 0 || layers->GetCurrent() >= layers->GetCount())
        return;
    const float edge = layers->GetEdgeMargin();
    const BYTE round = GetPaperLayout()->IsRound() ? 1 : 0;
    doc->SetFixedDesignRect(TRUE);
    GraphicsPath outline;
    if (round)
        outline.AddEllipse(0.0f, 0.0f, width, height);
    else
        outline.AddRectangle(RectF(0.0f, 0.0f, width, height));
    g->SetClip(&outline);

    const PointF origin(0.0f, 0.0f);
    layers->DrawBackground(g, round, 0);
    doc->GetImageList()->DrawAll(g, origin, 0);
    layers->DrawFrameImage(g, origin, 0);
    layers->DrawFrames(g, round, origin, 0);
    doc->GetTextList()->DrawAll(g, origin);
    layers->DrawTemplateImage(g, origin, 0);
    layers->DrawLayoutOverlay(g, origin, 0, 0);

    g->ResetClip();
    if (edge > 0)
        StrokePathPrecise(g, &outline, edge, Color(0xFFFFFFFF), nullptr, PenAlignmentInset);
    StrokePathPrecise(g, &outline, 0.02f, Color(0xFF000000), nullptr, PenAlignmentInset);
    doc->SetFixedDesignRect(FALSE);
    doc->RelayoutDesign();
}

// Record `record`'s reference area in a cell's bitmap, as the preview makes one for it.
std::unique_ptr<Bitmap> ReferenceCell(CFrostwellDoc* doc, int record, SizeF cell)
{
    const int saved = doc->GetCurrentFrame();
    doc->SetCurrentFrameNoUpdate(record);
    doc->SetFixedDesignRectValue(CRect(0, 0, (int)(cell.Width * 96), (int)(cell.Height * 96)));
    std::unique_ptr<Bitmap> bitmap(
        new Bitmap((int)(cell.Width * 96 + 1), (int)(cell.Height * 96 + 1), PixelFormat32bppARGB));
    bitmap->SetResolution(96, 96);
    {
        Graphics g(bitmap.get());
        g.SetPageUnit(UnitInch);
        g.SetPageScale(1.0f);
        DrawWithCurrentStyle(&g, FALSE);
        DrawReferenceArea(doc, &g, cell.Width, cell.Height);
    }
    doc->SetCurrentFrameNoUpdate(saved);
    return bitmap;
}

} // namespace

// Each cell of the paper preview that has a frame record shows, pixel for pixel, that
// record's reference area; the cells past the records stay empty.
TEST_F(LayersTest, PaperPreviewCellsKeepTheirPixels)
{
    const int shapes[] = {CPaperLayout::kRectangle, CPaperLayout::kRound};
    std::vector<std::unique_ptr<Bitmap>> firstCells;
    for (int shape : shapes) {
        MakeDesign(shape);
        CPaperPreview preview;
        preview.SetDocument(m_doc.get());
        preview.LoadSettings();
        preview.SetOutputSize(793, 1122);
        preview.Draw(nullptr, 0, 0, FALSE);
        Bitmap* sheet = m_doc->GetSheetImage();
        ASSERT_NE(nullptr, sheet);
        DumpPng(*sheet, shape == CPaperLayout::kRound ? "layers_preview_round" : "layers_preview");
        const int records = m_doc->GetLayers()->GetCount();
        ASSERT_EQ(10, preview.GetCellCount());
        for (int i = 0; i < preview.GetCellCount(); ++i) {
            Bitmap* drawn = preview.GetCell(i)->design;
            if (i >= records) {
                EXPECT_EQ(nullptr, drawn) << "shape " << shape << ", cell " << i;
                continue;
            }
            std::unique_ptr<Bitmap> reference = ReferenceCell(m_doc.get(), i, GetPaperLayout()->GetPrintableSize());
            EXPECT_TRUE(SamePixels(drawn, reference.get())) << "shape " << shape << ", cell " << i;
            if (i == 0)
                firstCells.push_back(std::move(reference));
        }
        EXPECT_EQ(0, m_doc->GetLayers()->GetCurrent());
    }
    // The shapes differ in their cells: the comparisons saw the design.
    ASSERT_EQ(2u, firstCells.size());
    EXPECT_FALSE(SamePixels(firstCells[0].get(), firstCells[1].get()));
}

namespace {

// One inch square at 96 pixels per inch; each layer paints one opaque colour where the
// probes look: the background red, an image green at the centre, the frame image blue
// over everything, the band yellow at the edges, the text (and its bubble) cyan at the
// centre, the template grey over everything, the overlay orange on the left third.
const ARGB kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00, kCyan = 0xFF00FFFF,
           kGrey = 0xFF808080, kOrange = 0xFFFF8000;
const CPoint kCentre(48, 48), kEdge(3, 48), kLeft(10, 48), kRight(86, 48);

// The parts of a two-record design outside a document; the probe colours are record
// 0's.  Record 1 has a black background and a white image.
struct SmallDesign
{
    CLayerArray records;
    CImageLayerList images;
    CTextItemList texts;

    SmallDesign()
    {
        using rich_design::MakeBitmap;
        using rich_design::MakeFittedLayer;
        using rich_design::MakeLayer;
        const CRect rect(0, 0, 96, 96);
        const CSize area(100, 100);
        records.Reset(2);
        records.SetCurrent(1);
        records.SetBgColour1(RGB(0, 0, 0));
        records.SetCurrent(0);
        records.SetBgColour1(RGB(255, 0, 0));
        records.SetFrameStyle(1);
        records.SetFrameSize(0.4f); // a band of 0.1 inch
        records.SetFrameOpacity(1.0f);
        records.SetFrameColour1(RGB(255, 255, 0));
        records.SetFrameOutlineWidth(0.0f);
        auto solid = [](int w, int h, ARGB c) { return MakeBitmap(w, h, c, [](Graphics&) {}); };
        for (int frame : {0, 1}) {
            CImageLayer* image = MakeLayer(solid(40, 40, frame == 0 ? kGreen : 0xFFFFFFFF), frame, rect, area);
            image->CentreInArea();
            images.Add(image);
        }
        records.SetFrameImage(MakeFittedLayer(solid(50, 50, kBlue), 0, rect, area));
        records.SetTemplateImage(MakeFittedLayer(solid(50, 50, kGrey), 0, rect, area));
        records.SetLayoutOverlay(MakeFittedLayer(MakeBitmap(90, 90, 0,
                                                            [](Graphics& g) {
                                                                SolidBrush third{Color{kOrange}};
                                                                g.FillRectangle(&third, 0, 0, 30, 90);
                                                            }),
                                                 0, rect, area));
        records.SetRecordRects(rect, area.cx, area.cy);
        CTextItem* text = new CTextItem;
        text->m_text = "W";
        text->m_fontSize = 40;
        text->m_frameIndex = 0;
        text->SetPrintableSize(1.0f, 1.0f);
        text->m_position = PointF(0.5f, 0.5f);
        text->m_fillColour[0] = text->m_outlineColour[0] = text->m_bubbleFillColour = text->m_bubbleLineColour =
            RGB(0, 255, 255);
        text->m_bubbleKind = 1;
        text->m_bubbleTailPosition = 1;
        texts.AddPair(text);
    }
    DesignParts Parts()
    {
        DesignParts parts;
        parts.records = &records;
        parts.images = &images;
        parts.texts = &texts;
        return parts;
    }
};

const unsigned kUpToTexts = kLayerBackground | kLayerImages | kLayerFrameImage | kLayerFrames | kLayerTexts;

} // namespace

// Each layer covers the ones before it; a layer not named is not drawn; the options
// turn and dim the overlay and the template.
TEST(DesignLayers, OrderMaskAndOptions)
{
    SmallDesign design;
    const struct
    {
        const char* what;
        unsigned layers;
        int overlayTurn;
        bool dimTemplate, dimOverlay;
        CPoint at;
        ARGB colour;
    } cases[] = {
        {"background", kLayerBackground, 0, false, false, kCentre, kRed},
        {"image over the background", kLayerBackground | kLayerImages, 0, false, false, kCentre, kGreen},
        {"frame image over the image", kLayerBackground | kLayerImages | kLayerFrameImage, 0, false, false, kCentre,
         kBlue},
        {"band over the frame image", kUpToTexts & ~kLayerTexts, 0, false, false, kEdge, kYellow},
        {"text over the frame image", kUpToTexts, 0, false, false, kCentre, kCyan},
        {"template over the text", kUpToTexts | kLayerTemplate, 0, false, false, kCentre, kGrey},
        {"overlay over the template", kAllDesignLayers, 0, false, false, kLeft, kOrange},
        {"overlay only on its third", kAllDesignLayers, 0, false, false, kRight, kGrey},
        {"overlay turned", kAllDesignLayers, 180, false, false, kRight, kOrange},
        {"overlay turned away", kAllDesignLayers, 180, false, false, kLeft, kGrey},
        {"overlay dimmed", kAllDesignLayers, 0, false, true, kLeft, 0xFFB25900},
        {"template dimmed", kUpToTexts | kLayerTemplate, 0, true, false, kCentre, 0xFF595959},
        {"image alone", kLayerImages, 0, false, false, kCentre, kGreen},
        {"nothing around the image alone", kLayerImages, 0, false, false, kEdge, 0},
        {"no layer", 0, 0, false, false, kCentre, 0},
    };
    for (const auto& c : cases) {
        design_test::Canvas canvas(96, 96);
        DesignLayerOptions options;
        options.layers = c.layers;
        options.overlayTurn = c.overlayTurn;
        options.dimTemplate = c.dimTemplate;
        options.dimOverlay = c.dimOverlay;
        DrawDesignLayers(&canvas.graphics, design.Parts(), options);
        EXPECT_TRUE(design_test::ArgbNear(c.colour, canvas.At(c.at.x, c.at.y), 1)) << c.what;
    }
}

// The hook runs after every step, drawn or not, in the order of the layers, and sees
// what was drawn up to it.
TEST(DesignLayers, HookAfterEveryStep)
{
    SmallDesign design;
    const struct
    {
        unsigned layers;
        std::vector<ARGB> centre;
    } cases[] = {
        {kAllDesignLayers, {kRed, kGreen, kBlue, kBlue, kCyan, kGrey, kGrey}},
        {kLayerImages | kLayerTemplate, {0, kGreen, kGreen, kGreen, kGreen, kGrey, kGrey}},
    };
    for (const auto& c : cases) {
        design_test::Canvas canvas(96, 96);
        std::vector<DesignLayer> steps;
        std::vector<ARGB> seen;
        DesignLayerOptions options;
        options.layers = c.layers;
        options.afterStep = [&](DesignLayer step) {
            steps.push_back(step);
            seen.push_back(canvas.At(kCentre.x, kCentre.y));
        };
        DrawDesignLayers(&canvas.graphics, design.Parts(), options);
        EXPECT_EQ((std::vector<DesignLayer>{kLayerBackground, kLayerImages, kLayerFrameImage, kLayerFrames, kLayerTexts,
                                            kLayerTemplate, kLayerOverlay}),
                  steps);
        EXPECT_EQ(c.centre, seen) << std::hex << c.layers;
    }
}

// Another record is drawn for once and the current one stays; a record that does not
// exist draws nothing.
TEST(DesignLayers, NamedRecordIsDrawnAndTheCurrentOneStays)
{
    SmallDesign design;
    const struct
    {
        int record;
        ARGB centre, edge;
    } cases[] = {
        {DesignLayerOptions::kCurrentRecord, kGreen, kRed},
        {1, 0xFFFFFFFF, 0xFF000000},
        {0, kGreen, kRed},
        {2, 0, 0},
        {-5, kGreen, kRed}, // any negative record is the current one
    };
    for (const auto& c : cases) {
        design_test::Canvas canvas(96, 96);
        DesignLayerOptions options;
        options.layers = kLayerBackground | kLayerImages;
        options.record = c.record;
        DrawDesignLayers(&canvas.graphics, design.Parts(), options);
        EXPECT_EQ(c.centre, canvas.At(kCentre.x, kCentre.y)) << c.record;
        EXPECT_EQ(c.edge, canvas.At(kEdge.x, kEdge.y)) << c.record;
        EXPECT_EQ(0, design.records.GetCurrent()) << c.record;
        EXPECT_EQ(0, design.images.GetCurrentFrame()) << c.record;
        EXPECT_EQ(0, design.texts.GetCurrentFrame()) << c.record;
    }
}
