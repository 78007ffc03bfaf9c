// The image layer panel in a host of the test's own (a menu-style host with a stand-in
// first page, over a real frame and view), driven as a person drives it: the bars and the
// dial moved, the buttons clicked, and what each does to the selected layer, the layer
// list and the document's modified flag; the redraws counted through the host.
#include "app/imaging/ImageEditDlg.h"
#include "app/panels/images/ImageDlg.h"
#include "app/view/FrostwellView.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "res/app_res.h"
#include "res/background_res.h"
#include "res/images_res.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "ui/MenuHostDlg.h"
#include "ui/Skin.h"
#include "ui/XScrollBar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace Gdiplus;

namespace {

class CountingImageDoc : public CFrostwellDoc
{
    DECLARE_DYNCREATE(CountingImageDoc)
public:
    void SetModifiedFlag(BOOL modified = TRUE) override
    {
        marked += modified ? 1 : 0;
        CFrostwellDoc::SetModifiedFlag(modified);
    }
    int marked = 0;
};
IMPLEMENT_DYNCREATE(CountingImageDoc, CFrostwellDoc)

// The imaging host as the panel sees it: a menu-style host whose first page stands in for
// the image load page; it counts the document redraws it is asked for, with their times.
class CTestImagingHost : public CMenuHostDlg, public CImagePanelHost
{
public:
    CTestImagingHost() : CMenuHostDlg(IDD_BACKGROUND_MENU, nullptr), m_loadPage(IDD_BACKGROUND_FILL, nullptr) {}
    void UpdateDocument() override
    {
        redraws.push_back(::GetTickCount());
        if (m_pDoc != nullptr) {
            m_pDoc->SetRedrawFlag();
            m_pDoc->UpdateAllViews(nullptr, 0);
        }
    }
    CSkinPanelDlg m_loadPage;
    CImageDlg m_imageDlg;
    std::vector<DWORD> redraws;

protected:
    BOOL OnInitDialog() override
    {
        SetPanelPlaceholder(kHostPlaceholder);
        CSkinPanelDlg* panels[] = {&m_loadPage, &m_imageDlg};
        for (CSkinPanelDlg* p : panels) {
            p->m_pDoc = m_pDoc;
            p->m_pHost = this;
            p->m_crPanel = kSkinBlue;
            p->m_crStaticText = kSkinTextYellow;
        }
        m_imageDlg.m_pImageHost = this;
        // A host creates a page from its id as template: the stand-in borrows another's.
        AddPanel(&m_loadPage, IDD_BACKGROUND_FILL);
        AddPanel(&m_imageDlg, IDD_IMAGE_LAYER);
        return CMenuHostDlg::OnInitDialog();
    }
};

// A w x h opaque bitmap at 100 pixels per inch.
Bitmap* Picture(int w, int h)
{
    Bitmap* b = new Bitmap(w, h, PixelFormat32bppARGB);
    b->SetResolution(100.0f, 100.0f);
    Graphics g(b);
    g.Clear(Color(255, 200, 40, 40));
    return b;
}

class ImagePanel : public DesignWindowTest
{
protected:
    CRuntimeClass* DocClass() const override { return RUNTIME_CLASS(CountingImageDoc); }
    void SetUp() override
    {
        EnsureTestApp();
        // The tips file of the tests' data folder ("root\help").
        m_oldRoot = GetSetting("root");
        m_oldHelp = GetSetting("path_help");
        char current[MAX_PATH];
        ::GetCurrentDirectory(MAX_PATH, current);
        SetSetting("root", current);
        SetSetting("path_help", "");
        DesignWindowTest::SetUp();
        cdoc = static_cast<CountingImageDoc*>(doc);
        host = new CTestImagingHost;
        host->m_pDoc = doc;
        host->SetMenuStyle();
        ASSERT_TRUE(host->Create(IDD_BACKGROUND_MENU, view));
        host->LayoutPanels();
        host->ShowWindow(SW_SHOW);
        ASSERT_TRUE(PumpPending(10000));
    }
    void TearDown() override
    {
        if (host != nullptr) {
            host->DestroyWindow();
            delete host;
        }
        DesignWindowTest::TearDown();
        SetSetting("root", m_oldRoot);
        SetSetting("path_help", m_oldHelp);
    }

    // A layer in the current frame, 4 x 3 inches of design area; with a w x h pixel bitmap
    // (100 per inch) unless w is 0.
    CImageLayer* AddLayer(int w, int h, bool select = true)
    {
        auto* layer = new CImageLayer;
        layer->SetPlacement(CRect(0, 0, 400, 300), 400, 300);
        if (w > 0) {
            std::unique_ptr<Bitmap> picture(Picture(w, h));
            layer->SetBitmap(picture.get());
            layer->m_loaded = true;
        }
        layer->m_scale = 1.0f;
        layer->m_transparency = 100;
        layer->SetCentre(1.0, 1.0);
        layer->UpdatePrintSize(0.0f);
        doc->GetImageList()->Add(layer);
        if (select)
            doc->SetSelectedLayerA(layer);
        return layer;
    }
    // The image page on show, refreshed from the selected layer.
    void ShowImagePage()
    {
        ASSERT_TRUE(host->ShowPanelByIndex(1));
        ASSERT_TRUE(PumpPending(10000));
        ASSERT_EQ(1, host->GetCurrentPanelIndex());
    }
    HWND Panel() const { return host->m_imageDlg.GetSafeHwnd(); }
    void Click(int id)
    {
        Press(Panel(), id);
        ASSERT_TRUE(PumpPending(10000));
    }
    // The skinned bar moved to pos as a drag moves it: its thumb, then its notification.
    void MoveBar(int id, int pos)
    {
        auto* bar = dynamic_cast<CXScrollBar*>(CWnd::FromHandlePermanent(::GetDlgItem(Panel(), id)));
        ASSERT_NE(nullptr, bar);
        bar->SetScrollPos(pos);
        SendScroll(Panel(), id, SB_THUMBTRACK, pos);
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(Panel(), id)) != FALSE; }

    CString m_oldRoot, m_oldHelp;
    CountingImageDoc* cdoc = nullptr;
    CTestImagingHost* host = nullptr;
};

} // namespace

TEST_F(ImagePanel, SetsUpPagesCaptionsAndBars)
{
    AddLayer(300, 150);
    ShowImagePage();
    const struct
    {
        int id;
        const char* key;
    } captions[] = {
        {IDC_IMAGE_ANGLE_LABEL, "25"},  {IDC_IMAGE_TRANS_LABEL, "23"}, {IDC_IMAGE_SIZE_LABEL, "41"},
        {IDC_IMAGE_LAYOUT_LABEL, "65"}, {IDC_IMAGE_LOOK_LABEL, "66"},  {IDC_IMAGE_LAYERING_LABEL, "67"},
    };
    for (const auto& c : captions) {
        EXPECT_FALSE(GetLangText(c.key).IsEmpty()) << c.key;
        EXPECT_EQ(GetLangText(c.key), ItemText(Panel(), c.id)) << c.key;
    }
    HWND list = ::GetDlgItem(Panel(), IDC_IMAGE_PAGES);
    ASSERT_EQ(2, (int)::SendMessage(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(30768, (int)::SendMessage(list, LB_GETITEMDATA, 0, 0));
    EXPECT_EQ(30769, (int)::SendMessage(list, LB_GETITEMDATA, 1, 0));
    EXPECT_EQ(1, (int)::SendMessage(list, LB_GETCURSEL, 0, 0));
    // A 300-pixel picture at 100 per inch printed at its size: 3 inches, 100 DPI.
    EXPECT_EQ(CString("100%"), ItemText(Panel(), IDC_IMAGE_SIZE_VALUE));
    EXPECT_EQ(CString("100%"), ItemText(Panel(), IDC_IMAGE_TRANS_VALUE));
    EXPECT_EQ(CString("100 DPI"), ItemText(Panel(), IDC_IMAGE_DPI));
    // Every skinned control's help text is in the tips file the panel loaded.
    const char* helpKeys[] = {"IMAGE_FIT_BTN",   "IMAGE_CENTRE_BTN",  "IMAGE_UPLAYER_BTN",  "IMAGE_DOWNLAYER_BTN",
                              "IMAGE_TRASH_BTN", "IMAGE_EFFECTS_BTN", "IMAGE_REDEYE_BTN",   "IMAGE_CROPPING_BTN",
                              "IMAGE_SIZE_CTRL", "IMAGE_TRANS_CTRL",  "IMAGE_ROTATION_CTRL"};
    for (const char* key : helpKeys)
        EXPECT_FALSE(host->m_imageDlg.HelpTips().GetHelpText(key).IsEmpty()) << key;
    EXPECT_TRUE(host->m_imageDlg.HelpTips().GetHelpText("IMAGE_NO_SUCH_KEY").IsEmpty());
    EXPECT_TRUE(SaveScreenshot(host->GetSafeHwnd(), "image_panel"));
}

TEST_F(ImagePanel, SizeBarStoresRoundedValueAndRefreshShowsIt)
{
    CImageLayer* layer = AddLayer(300, 150);
    ShowImagePage();
    MoveBar(IDC_IMAGE_SIZE, 250);
    EXPECT_FLOAT_EQ(2.5f, layer->m_scale);
    EXPECT_EQ(CString("250%"), ItemText(Panel(), IDC_IMAGE_SIZE_VALUE));
    EXPECT_EQ(CString("40 DPI"), ItemText(Panel(), IDC_IMAGE_DPI)); // 300 pixels over 7.5 inches

    // A refresh shows the stored size through the layer: 2.29 is 228.99998 in float and
    // must still read 229 on the bar and in the text.
    const struct
    {
        float size;
        const char* text;
        int position;
    } cases[] = {{2.5f, "250%", 250}, {2.29f, "229%", 229}, {0.1f, "10%", 10}};
    for (const auto& c : cases) {
        layer->m_scale = c.size;
        host->m_imageDlg.RefreshFromSelection();
        EXPECT_EQ(CString(c.text), ItemText(Panel(), IDC_IMAGE_SIZE_VALUE)) << c.size;
        auto* bar = dynamic_cast<CXScrollBar*>(CWnd::FromHandlePermanent(::GetDlgItem(Panel(), IDC_IMAGE_SIZE)));
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(c.position, bar->GetScrollPos()) << c.size;
    }

    MoveBar(IDC_IMAGE_TRANS, 40);
    EXPECT_EQ(40, layer->m_transparency);
    EXPECT_EQ(CString("40%"), ItemText(Panel(), IDC_IMAGE_TRANS_VALUE));
    SetSlider(Panel(), IDC_IMAGE_ROTATION, 30);
    EXPECT_FLOAT_EQ(30.0f, layer->m_angle);
}

TEST_F(ImagePanel, TenMovesRedrawOnceMoreAfterTheLast)
{
    CImageLayer* layer = AddLayer(300, 150);
    ShowImagePage();
    host->redraws.clear();
    cdoc->marked = 0;
    DWORD lastMove = 0;
    for (int i = 0; i < 10; ++i) {
        MoveBar(IDC_IMAGE_SIZE, 110 + 10 * i);
        lastMove = ::GetTickCount();
    }
    EXPECT_FLOAT_EQ(2.0f, layer->m_scale);
    ASSERT_EQ(10u, host->redraws.size()); // one per move, at once
    ASSERT_TRUE(PumpUntil([&] { return host->redraws.size() >= 11; }, 3000));
    // The timer may fire a tick early on this clock: allow the timer's granularity.
    EXPECT_GE(host->redraws[10] - lastMove, 90u);
    EXPECT_FALSE(PumpUntil([&] { return host->redraws.size() >= 12; }, 400)); // and only once
    EXPECT_EQ(11u, host->redraws.size());
    EXPECT_GE(cdoc->marked, 1); // the settled drag is an edit
}

TEST_F(ImagePanel, OneLayerInTheFrameDisablesUpAndDown)
{
    CImageLayer* first = AddLayer(300, 150);
    ShowImagePage();
    EXPECT_FALSE(Enabled(IDC_IMAGE_UP));
    EXPECT_FALSE(Enabled(IDC_IMAGE_DOWN));
    EXPECT_FALSE(host->m_imageDlg.CanReorder());

    // Positive control: a second layer enables both, and down moves the selected one back.
    CImageLayer* second = AddLayer(100, 100);
    host->m_imageDlg.OnActivate();
    EXPECT_TRUE(Enabled(IDC_IMAGE_UP));
    EXPECT_TRUE(Enabled(IDC_IMAGE_DOWN));
    cdoc->marked = 0;
    Click(IDC_IMAGE_DOWN);
    POSITION pos = doc->GetImageList()->GetHeadPosition();
    EXPECT_EQ(second, doc->GetImageList()->GetNext(pos).layer);
    EXPECT_EQ(first, doc->GetImageList()->GetNext(pos).layer);
    EXPECT_EQ(1, cdoc->marked);
    Click(IDC_IMAGE_UP);
    pos = doc->GetImageList()->GetHeadPosition();
    EXPECT_EQ(first, doc->GetImageList()->GetNext(pos).layer);
    EXPECT_EQ(2, cdoc->marked);
}

TEST_F(ImagePanel, FitTurnedLayerTouchesNearerSidesAndCentres)
{
    // 2 x 1 inches turned 45 degrees: the turned box is square, so the area's shorter
    // side (the nearer sides) limits it.
    CImageLayer* layer = AddLayer(200, 100);
    layer->m_angle = 45.0f;
    layer->UpdatePrintSize(0.0f);
    ShowImagePage();
    cdoc->marked = 0;
    Click(IDC_IMAGE_FIT);
    // The area as the view placed the layer (the design's own size).
    const double w = layer->m_areaWidth / 100.0, h = layer->m_areaHeight / 100.0;
    ASSERT_GT(w, 0.0);
    ASSERT_GT(h, 0.0);
    const double side = w < h ? w : h;
    const SizeF box = layer->GetExtent();
    EXPECT_NEAR(side, box.Height, 1e-3);
    EXPECT_NEAR(side, box.Width, 1e-3);
    EXPECT_NEAR(w / 2, layer->m_centreX, 1e-4);
    EXPECT_NEAR(h / 2, layer->m_centreY, 1e-4);
    if (w >= h) {
        EXPECT_NEAR(0.0, layer->m_boundsTop, 1e-3);
        EXPECT_NEAR(h, layer->m_boundsBottom, 1e-3);
    } else {
        EXPECT_NEAR(0.0, layer->m_boundsLeft, 1e-3);
        EXPECT_NEAR(w, layer->m_boundsRight, 1e-3);
    }
    EXPECT_EQ(1, cdoc->marked);
    EXPECT_TRUE(SaveScreenshot(host->GetSafeHwnd(), "image_panel_fitted"));
}

TEST_F(ImagePanel, LayerWithoutBitmapOrSizeIsSkipped)
{
    // No bitmap: Fit leaves scale and place alone, the DPI text stays empty, Remove does
    // nothing (it only removes a loaded layer).
    CImageLayer* bare = AddLayer(0, 0);
    bare->m_scale = 0.7f;
    ShowImagePage();
    EXPECT_EQ(CString(""), ItemText(Panel(), IDC_IMAGE_DPI));
    Click(IDC_IMAGE_FIT);
    EXPECT_FLOAT_EQ(0.7f, bare->m_scale);
    EXPECT_NEAR(1.0, bare->m_centreX, 1e-6);
    EXPECT_TRUE(std::isfinite(bare->m_scale));
    const int layers = doc->GetImageList()->GetCount();
    Click(IDC_IMAGE_REMOVE);
    EXPECT_EQ(layers, doc->GetImageList()->GetCount());
    EXPECT_EQ(bare, doc->GetSelectedImage());
    EXPECT_EQ(1, host->GetCurrentPanelIndex());

    // A zero size: the printed width is 0, nothing to divide by.
    CImageLayer* flat = AddLayer(300, 150);
    flat->m_scale = 0.0f;
    flat->UpdatePrintSize(0.0f);
    host->m_imageDlg.OnActivate();
    EXPECT_EQ(CString(""), ItemText(Panel(), IDC_IMAGE_DPI));
    Click(IDC_IMAGE_FIT);
    EXPECT_TRUE(std::isfinite(flat->m_scale));
    EXPECT_FLOAT_EQ(0.0f, flat->m_scale);
}

TEST_F(ImagePanel, RemoveAndCentreMarkTheDocumentModified)
{
    CImageLayer* below = AddLayer(100, 100);
    CImageLayer* layer = AddLayer(300, 150);
    ShowImagePage();
    doc->SetModifiedFlag(FALSE);
    cdoc->marked = 0;
    Click(IDC_IMAGE_CENTRE);
    EXPECT_NEAR(layer->m_areaWidth / 200.0, layer->m_centreX, 1e-4);
    EXPECT_NEAR(layer->m_areaHeight / 200.0, layer->m_centreY, 1e-4);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(1, cdoc->marked);

    doc->SetModifiedFlag(FALSE);
    const long live = CImageLayer::GetLiveCount();
    Click(IDC_IMAGE_REMOVE);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(1, doc->GetImageList()->GetCount());
    EXPECT_EQ(live - 1, CImageLayer::GetLiveCount());
    EXPECT_EQ(below, doc->GetSelectedImage());  // the list's current layer
    EXPECT_EQ(0, host->GetCurrentPanelIndex()); // the load page
}

TEST_F(ImagePanel, EditButtonsOpenTheEditDialogWithTheirTemplateAndTool)
{
    CImageLayer* layer = AddLayer(300, 150);
    ShowImagePage();
    const struct
    {
        int button;
        UINT templateId;
        int tool;
    } cases[] = {
        {IDC_IMAGE_EFFECTS, 30773, 2},
        {IDC_IMAGE_REDEYE, 247, 1},
        {IDC_IMAGE_CROP, 621, 0},
    };
    for (const auto& c : cases) {
        doc->SetModifiedFlag(FALSE);
        const int before = CImageEditDlg::LastRun().count;
        const size_t redraws = host->redraws.size();
        Click(c.button);
        const CImageEditDlg::Run& run = CImageEditDlg::LastRun();
        EXPECT_EQ(before + 1, run.count) << c.button;
        EXPECT_EQ(c.templateId, run.templateId) << c.button;
        EXPECT_EQ(c.tool, run.tool) << c.button;
        EXPECT_EQ(layer->GetMasterBitmap(), run.bitmap) << c.button;
        EXPECT_EQ(layer, run.layer) << c.button;
        EXPECT_FLOAT_EQ(100.0f, run.resolution) << c.button;
        // Cancelled, still redrawn and marked.
        EXPECT_TRUE(doc->IsModified()) << c.button;
        EXPECT_EQ(redraws + 1, host->redraws.size()) << c.button;
    }

    // Without a selected layer nothing opens (positive control above).
    doc->SetSelectedLayerA(nullptr);
    const int before = CImageEditDlg::LastRun().count;
    Click(IDC_IMAGE_EFFECTS);
    EXPECT_EQ(before, CImageEditDlg::LastRun().count);
}
