// A test helper for the program's end-to-end drag: writes a design holding one image
// layer to the path in SL_VIEW_DESIGN_OUT.  Without that variable it does nothing.
#include "app/home/PanelManager.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

TEST(ViewDesignHelper, WritesADesignWithOneImageLayer)
{
    const char* out = getenv("SL_VIEW_DESIGN_OUT");
    if (out == NULL || *out == 0)
        GTEST_SKIP() << "SL_VIEW_DESIGN_OUT names no file";
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput in;
    Gdiplus::GdiplusStartup(&token, &in, nullptr);
    {
        GetGlobalObjectC(); // the document's host
        CFrostwellDoc* doc = new CFrostwellDoc;
        doc->m_bAutoDelete = FALSE;
        Gdiplus::Bitmap bitmap(300, 200, PixelFormat32bppARGB);
        {
            Gdiplus::Graphics g(&bitmap);
            g.Clear(Gdiplus::Color(255, 200, 40, 40));
        }
        CImageLayer* layer = new CImageLayer;
        layer->SetBitmap(&bitmap);
        CSize area = GetPaperLayout()->GetPrintableRect();
        layer->SetPlacement(CRect(0, 0, area.cx, area.cy), area.cx, area.cy);
        layer->CentreInArea();
        doc->GetImageList()->Add(layer);
        EXPECT_TRUE(doc->OnSaveDocument(out));
        delete doc;
    }
    Gdiplus::GdiplusShutdown(token);
}

} // namespace
