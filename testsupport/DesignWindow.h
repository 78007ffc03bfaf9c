// The program's real windows for the tests of its panels and hosts: a frame with the design
// view (which makes the home panel) over a document, the frame the application's main
// window, the panel switcher holding the document. Header only: it uses the program's own
// classes, which the lower floors' tests do not link.
//
// A suite derives its fixture from DesignWindowTest, optionally naming its own document and
// view classes (counting updates, modified marks); it is closed again after each test.
#pragma once
#include "app/home/PanelManager.h"
#include "app/view/FrostwellView.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "res/app_res.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "ui/MenuWnd.h"

#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

// A test design's image: one layer of width x height pixels of the colour (200, 40, 40),
// centred in the current frame's area.
inline CImageLayer* AddImageLayer(CFrostwellDoc* doc, int width = 300, int height = 200)
{
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&bitmap);
        g.Clear(Gdiplus::Color(255, 200, 40, 40));
    }
    CImageLayer* layer = new CImageLayer;
    layer->SetBitmap(&bitmap);
    doc->GetImageList()->Add(layer);
    doc->RelayoutDesign();
    layer->CentreInArea();
    return layer;
}

class DesignWindowTest : public ::testing::Test
{
protected:
    // The classes the document template makes.
    virtual CRuntimeClass* DocClass() const { return RUNTIME_CLASS(CFrostwellDoc); }
    virtual CRuntimeClass* ViewClass() const { return RUNTIME_CLASS(CFrostwellView); }

    // The client size of the frame at the start, as a person's screen would give it.
    virtual CSize ClientSize() const { return CSize(1200, 900); }

    void SetUp() override
    {
        EnsureTestApp();
        LoadLanguageFile("english");
        SetSetting("FIRSTRUN", "0");
        m_template = new CSingleDocTemplate(IDR_MAINFRAME, DocClass(), RUNTIME_CLASS(CFrameWnd), ViewClass());
        doc = static_cast<CFrostwellDoc*>(m_template->OpenDocumentFile(NULL, TRUE));
        ASSERT_NE(nullptr, doc);
        POSITION pos = doc->GetFirstViewPosition();
        view = static_cast<CFrostwellView*>(doc->GetNextView(pos));
        frame = view->GetParentFrame();
        AfxGetApp()->m_pMainWnd = frame;
        ResizeClient(ClientSize().cx, ClientSize().cy);
        frame->ShowWindow(SW_SHOW);
        PumpPending();
    }
    void TearDown() override
    {
        GetGlobalObjectC()->SetHostMaker(nullptr);
        if (doc != NULL)
            doc->SetModifiedFlag(FALSE);
        AfxGetApp()->m_pMainWnd = NULL;
        if (frame != NULL && ::IsWindow(frame->GetSafeHwnd()))
            frame->SendMessage(WM_CLOSE);
        PumpPending();
        delete m_template;
    }
    void ResizeClient(int width, int height)
    {
        CRect r(0, 0, width, height);
        ::AdjustWindowRectEx(&r, frame->GetStyle(), FALSE, frame->GetExStyle());
        frame->SetWindowPos(NULL, 0, 0, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The home panel the view made in its home host.
    CWnd* Home() const { return view->GetHomeHost()->GetHostedDialog(); }

    CFrostwellDoc* doc = nullptr;
    CFrostwellView* view = nullptr;
    CFrameWnd* frame = nullptr;
    CSingleDocTemplate* m_template = nullptr;
};
