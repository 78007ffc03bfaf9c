#include "app/panels/background/BackgroundPickDlg.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/background/QuickLinks.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "fw/fwwait.h"
#include "fw/fwworker.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/design/ImageReplace.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "res/background_res.h"

#include <gdiplus.h>

using namespace Gdiplus;

BEGIN_MESSAGE_MAP(CBackgroundPickDlg, CSkinPanelDlg)
    ON_WM_PAINT()
    ON_LBN_SELCHANGE(IDC_QUICK_LINKS, &CBackgroundPickDlg::OnQuickLink)
    ON_BN_CLICKED(IDC_PICK_NEW, &CBackgroundPickDlg::OnNewClicked)
    ON_BN_CLICKED(IDC_PICK_DELETE, &CBackgroundPickDlg::OnDeleteClicked)
    ON_BN_CLICKED(IDC_PICK_CANCEL, &CBackgroundPickDlg::OnCancelClicked)
    ON_MESSAGE(WM_FILE_PICKED, &CBackgroundPickDlg::OnFilePicked)
END_MESSAGE_MAP()

CBackgroundPickDlg::CBackgroundPickDlg(const PickPanelTraits& traits)
    : CSkinPanelDlg(traits.templateId, nullptr), m_traits(traits)
{}

CBackgroundMenuDlg* CBackgroundPickDlg::Host() const { return static_cast<CBackgroundMenuDlg*>(m_pHost); }

CLayerArray* CBackgroundPickDlg::Layers() const { return m_pDoc->GetLayers(); }

BOOL CBackgroundPickDlg::IsBrowsing() const
{
    return m_browser.GetSafeHwnd() != nullptr && m_browser.IsWindowVisible();
}

void CBackgroundPickDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinPanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PICK_NEW, m_btnNew);
    DDX_Control(pDX, IDC_PICK_DELETE, m_btnDelete);
    DDX_Control(pDX, IDC_PICK_CANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_QUICK_LINKS, m_quickLinks);
}

BOOL CBackgroundPickDlg::OnInitDialog()
{
    // The pane exists before the base initialisation, so the control table reaches it too.
    m_browser.SetNotifyParent(TRUE);
    m_browser.SetSaveMode(FALSE);
    m_browser.SetThumbnailMode(m_traits.thumbnailMode);
    m_browser.SetFolder(GetDataFolder(m_traits.folderKey));
    m_browser.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), this, IDC_PICK_BROWSER);
    CSkinPanelDlg::OnInitDialog();
    FillQuickLinks(m_quickLinks, m_fontBoldCell, (int)m_traits.templateId, m_pDoc);
    SetControlColour(IDC_QUICK_LINKS, m_traits.quickLinkColour);
    return TRUE;
}

BOOL CBackgroundPickDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        OnCancel();
        return TRUE;
    }
    return CSkinPanelDlg::PreTranslateMessage(msg);
}

void CBackgroundPickDlg::PlaceBrowser()
{
    if (m_browser.GetSafeHwnd() == nullptr)
        return;
    CRect r;
    GetClientRect(&r);
    r.bottom -= m_traits.browserBottom;
    m_browser.MoveWindow(&r, TRUE);
}

void CBackgroundPickDlg::ShowBrowser(bool show, bool enable)
{
    if (m_browser.GetSafeHwnd() == nullptr)
        return;
    m_browser.ShowWindow(show ? SW_SHOW : SW_HIDE);
    m_browser.EnableWindow(enable ? TRUE : FALSE);
}

std::unique_ptr<CImageLayer> CBackgroundPickDlg::LoadPickedFile()
{
    const CString path = m_browser.GetSelectedPath();
    if (path.IsEmpty())
        return nullptr;
    // Where the new layer stands: the design rectangle, over the printable size.
    CImageLayer placement;
    const CSize printable = GetPaperLayout()->GetPrintableRect();
    placement.SetPlacement(m_pDoc->GetDesignRect(), printable.cx, printable.cy);

    std::unique_ptr<CImageLayer> loaded;
    m_browser.StopProgress();
    // The job touches only its own new layer; the document waits for the UI thread.
    const WorkerResult run =
        RunOnWorker([&] { loaded = LoadImageLayerFile(path, &placement); }, [&] { m_browser.StepProgress(); });
    m_browser.FinishProgress();
    if (run.outcome != WorkerOutcome::Done) {
        TRACE("picture panel: the load did not run (%s)\n", (LPCTSTR)run.error);
        return nullptr;
    }
    if (loaded)
        SetDataFolder(m_traits.folderKey, m_browser.GetFolder());
    return loaded;
}

void CBackgroundPickDlg::DesignChanged()
{
    m_pDoc->SetRedrawFlag();
    m_pDoc->SetModifiedFlag(TRUE);
    m_pDoc->UpdateAllViews(nullptr, 0);
}

LRESULT CBackgroundPickDlg::OnFilePicked(WPARAM, LPARAM)
{
    if (std::unique_ptr<CImageLayer> loaded = LoadPickedFile()) {
        StoreImage(std::move(loaded));
        DesignChanged();
    }
    AfterPick();
    InvalidatePreview();
    return 0;
}

void CBackgroundPickDlg::OnQuickLink()
{
    UpdateData(TRUE);
    JumpToQuickLink(m_quickLinks, m_pHost, m_pDoc);
}

bool CBackgroundPickDlg::FitPreview(const CRect& area, UINT width, UINT height, RectF* out)
{
    if (width == 0 || height == 0 || area.Width() <= 0 || area.Height() <= 0)
        return false;
    const float w = (float)width, h = (float)height;
    const float aw = (float)area.Width(), ah = (float)area.Height();
    float s;
    if (w > h) {
        s = aw / w;
        if (ah < h * s)
            s = ah / h;
    } else {
        s = ah / h;
        if (aw < w * s)
            s = aw / w;
    }
    out->X = (float)(int)(area.left + (aw - w * s) / 2);
    out->Y = (float)(int)(area.top + (ah - h * s) / 2);
    out->Width = (float)(int)(w * s);
    out->Height = (float)(int)(h * s);
    return true;
}

void CBackgroundPickDlg::DrawPreview(HDC dc, const CRect& area, Bitmap* bitmap)
{
    if (area.Width() <= 0 || area.Height() <= 0)
        return;
    Graphics g(dc);
    RectF fitted;
    if (bitmap != nullptr && FitPreview(area, bitmap->GetWidth(), bitmap->GetHeight(), &fitted)) {
        g.SetInterpolationMode(InterpolationModeHighQualityBicubic);
        // Mirrored edges: the scaled picture does not fade into nothing at its borders.
        ImageAttributes edges;
        edges.SetWrapMode(WrapModeTileFlipXY);
        g.DrawImage(bitmap, fitted, 0.0f, 0.0f, (REAL)bitmap->GetWidth(), (REAL)bitmap->GetHeight(), UnitPixel, &edges);
        return;
    }
    Color white, yellow;
    white.SetFromCOLORREF(kSkinWhite);
    yellow.SetFromCOLORREF(kSkinTextYellow);
    Pen outline(white, 1.0f);
    g.DrawRectangle(&outline, area.left, area.top, area.Width(), area.Height());
    const CString text = GetLangText("159");
    if (text.IsEmpty())
        return;
    const CStringW wide(text);
    Font font(L"Arial", 12.0f, FontStyleRegular, UnitPoint);
    SolidBrush brush(yellow);
    StringFormat format;
    format.SetAlignment(StringAlignmentCenter);
    format.SetLineAlignment(StringAlignmentCenter);
    const PointF centre((REAL)(area.left + area.right) / 2, (REAL)(area.top + area.bottom) / 2);
    g.DrawString(wide, wide.GetLength(), &font, centre, &format, &brush);
}

CRect CBackgroundPickDlg::PreviewArea() const
{
    CRect area;
    GetClientRect(&area);
    area.DeflateRect(m_traits.previewInsets.left, m_traits.previewInsets.top, m_traits.previewInsets.right,
                     m_traits.previewInsets.bottom);
    return area;
}

void CBackgroundPickDlg::InvalidatePreview()
{
    // The outline is drawn on the area's right and bottom edge too.
    CRect area = PreviewArea();
    area.InflateRect(0, 0, 1, 1);
    InvalidateRect(&area, TRUE);
}

void CBackgroundPickDlg::OnPaint()
{
    CPaintDC dc(this);
    if (IsBrowsing())
        return;
    CImageLayer* image = CurrentImage();
    DrawPreview(dc.GetSafeHdc(), PreviewArea(), image != nullptr ? PreviewBitmap(image) : nullptr);
}
