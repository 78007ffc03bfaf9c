// The layers of a design drawn in their one order: the paper preview's cells keep their
// exact pixels.
#include "model/design/PaperPreview.h"
#include "model/tests/design_fixture.h"
#include "model/tests/rich_design.h"

#include "base/Globals.h"
#include "model/paper/PaperLayoutMap.h"

#include <gtest/gtest.h>

#include <memory>

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

// The digests were taken from the cells as the preview drew them before its layers were
// drawn by the shared routine.
TEST_F(LayersTest, PaperPreviewCellsKeepTheirPixels)
{
    const struct
    {
        int shape;
        DWORD digest;
    } cases[] = {
        {CPaperLayout::kRectangle, 0x57E7A7B6},
        {CPaperLayout::kRound, 0xD2962EB5},
    };
    for (const auto& c : cases) {
        MakeDesign(c.shape);
        CPaperPreview preview;
        preview.SetDocument(m_doc.get());
        preview.LoadSettings();
        preview.SetOutputSize(793, 1122);
        preview.Draw(nullptr, 0, 0, FALSE);
        Bitmap* sheet = m_doc->GetSheetImage();
        ASSERT_NE(nullptr, sheet);
        design_test::Dump(*sheet, c.shape == CPaperLayout::kRound ? "layers_preview_round" : "layers_preview");
        const DWORD digest = rich_design::DigestOf(sheet);
        EXPECT_EQ(c.digest, digest) << "shape " << c.shape << ": 0x" << std::hex << digest;
        EXPECT_EQ(0, m_doc->GetLayers()->GetCurrent());
    }
}
