#include "app/panels/images/ImageDlg.h"

#include "app/imaging/ImageEditDlg.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "res/images_res.h"
#include "res/ui_res.h"
#include "ui/MenuHostDlg.h"

#include <cmath>

namespace {

const PanelControl kImageControls[] = {
    {IDC_IMAGE_FIT, "IMAGE_FIT_BTN", "68", IDB_SKIN_FIT, "IMAGE_FIT_BTN"},
    {IDC_IMAGE_CENTRE, "IMAGE_CENTRE_BTN", "69", IDB_SKIN_CENTRE, "IMAGE_CENTRE_BTN"},
    {IDC_IMAGE_UP, "IMAGE_UPLAYER_BTN", "70", IDB_SKIN_LAYER_UP, "IMAGE_UPLAYER_BTN"},
    {IDC_IMAGE_DOWN, "IMAGE_DOWNLAYER_BTN", "BACK", IDB_SKIN_LAYER_DOWN, "IMAGE_DOWNLAYER_BTN"},
    {IDC_IMAGE_REMOVE, "IMAGE_TRASH_BTN", "REMOVE", IDB_SKIN_TRASH, "IMAGE_TRASH_BTN"},
    {IDC_IMAGE_EFFECTS, "IMAGE_EFFECTS_BTN", "71", IDB_SKIN_EFFECTS, "IMAGE_EFFECTS_BTN"},
    {IDC_IMAGE_REDEYE, "IMAGE_REDEYE_BTN", "72", IDB_SKIN_REDEYE, "IMAGE_REDEYE_BTN"},
    {IDC_IMAGE_CROP, "IMAGE_CROPPING_BTN", "73", IDB_SKIN_CROP, "IMAGE_CROPPING_BTN"},
    {IDC_IMAGE_SIZE, "IMAGE_SIZE_CTRL", nullptr, 0, "IMAGE_SIZE_CTRL"},
    {IDC_IMAGE_TRANS, "IMAGE_TRANS_CTRL", nullptr, 0, "IMAGE_TRANS_CTRL"},
    {IDC_IMAGE_ROTATION, "IMAGE_ROTATION_CTRL", nullptr, 0, "IMAGE_ROTATION_CTRL"},
    {IDC_IMAGE_ANGLE_LABEL, "IMAGE_ANGLE_LABEL", "25", 0, nullptr},
    {IDC_IMAGE_TRANS_LABEL, "IMAGE_TRANS_LABEL", "23", 0, nullptr},
    {IDC_IMAGE_SIZE_LABEL, "IMAGE_SIZE_LABEL", "41", 0, nullptr},
    {IDC_IMAGE_LAYOUT_LABEL, "IMAGE_LAYOUT_LABEL", "65", 0, nullptr},
    {IDC_IMAGE_LOOK_LABEL, "IMAGE_LOOK_LABEL", "66", 0, nullptr},
    {IDC_IMAGE_LAYERING_LABEL, "IMAGE_LAYERING_LABEL", "67", 0, nullptr},
};

// The skinned scroll bars' style: child, visible, horizontal with the skin's arrows.
const DWORD kBarStyle = 0x5000014E;

} // namespace

BEGIN_MESSAGE_MAP(CImageDlg, CSkinPanelDlg)
    ON_WM_HSCROLL()
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_LBN_SELCHANGE(IDC_IMAGE_PAGES, &CImageDlg::OnPageChosen)
    ON_BN_CLICKED(IDC_IMAGE_FIT, &CImageDlg::OnFit)
    ON_BN_CLICKED(IDC_IMAGE_CENTRE, &CImageDlg::OnCentre)
    ON_BN_CLICKED(IDC_IMAGE_UP, &CImageDlg::OnLayerUp)
    ON_BN_CLICKED(IDC_IMAGE_DOWN, &CImageDlg::OnLayerDown)
    ON_BN_CLICKED(IDC_IMAGE_REMOVE, &CImageDlg::OnRemove)
    ON_BN_CLICKED(IDC_IMAGE_EFFECTS, &CImageDlg::OnEffects)
    ON_BN_CLICKED(IDC_IMAGE_REDEYE, &CImageDlg::OnRedEye)
    ON_BN_CLICKED(IDC_IMAGE_CROP, &CImageDlg::OnCrop)
END_MESSAGE_MAP()

CImageDlg::CImageDlg() : CSkinPanelDlg(IDD_IMAGE_LAYER, nullptr) { SetControlTable(kImageControls); }

CImageLayer* CImageDlg::Layer() const { return m_pDoc != nullptr ? m_pDoc->GetSelectedImage() : nullptr; }

void CImageDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinPanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_IMAGE_REDEYE, m_btnRedEye);
    DDX_Control(pDX, IDC_IMAGE_CROP, m_btnCrop);
    DDX_Control(pDX, IDC_IMAGE_UP, m_btnUp);
    DDX_Control(pDX, IDC_IMAGE_DOWN, m_btnDown);
    DDX_Control(pDX, IDC_IMAGE_CENTRE, m_btnCentre);
    DDX_Control(pDX, IDC_IMAGE_FIT, m_btnFit);
    DDX_Control(pDX, IDC_IMAGE_EFFECTS, m_btnEffects);
    DDX_Control(pDX, IDC_IMAGE_REMOVE, m_btnRemove);
    DDX_Control(pDX, IDC_IMAGE_PAGES, m_pages);
    DDX_Control(pDX, IDC_IMAGE_ROTATION, m_rotation);
    DDX_Control(pDX, IDC_IMAGE_ANGLE_LABEL, m_lblAngle);
    DDX_Control(pDX, IDC_IMAGE_TRANS_LABEL, m_lblTransparency);
    DDX_Control(pDX, IDC_IMAGE_SIZE_LABEL, m_lblSize);
    DDX_Control(pDX, IDC_IMAGE_LOOK_LABEL, m_lblLook);
    DDX_Control(pDX, IDC_IMAGE_LAYOUT_LABEL, m_lblLayout);
    DDX_Control(pDX, IDC_IMAGE_LAYERING_LABEL, m_lblLayering);
    DDX_Control(pDX, IDC_IMAGE_SIZE_VALUE, m_sizeValue);
    DDX_Control(pDX, IDC_IMAGE_TRANS_VALUE, m_transValue);
}

BOOL CImageDlg::OnInitDialog()
{
    CSkinPanelDlg::OnInitDialog();
    m_pages.SetFont(&m_fontBold);
    SetControlColour(IDC_IMAGE_PAGES, kSkinCaptionWhite);
    const struct
    {
        const char* key;
        DWORD page;
    } pages[] = {{"63", IDD_IMAGE_LOAD_PAGE}, {"64", IDD_IMAGE_LAYER}};
    for (const auto& p : pages)
        m_pages.SetItemData(m_pages.AddString(GetLangText(p.key)), p.page);
    m_pages.SetCurSel(1);

    m_sizeBar.CreateFromStatic(kBarStyle, this, IDC_IMAGE_SIZE_PLACE, IDC_IMAGE_SIZE);
    m_sizeBar.SetScrollRange(10, 500, FALSE);
    m_sizeBar.SetScrollPos(0, FALSE);
    m_sizeBar.SetThumbColour(RGB(0, 0, 255));
    m_sizeBar.SetGreyMarks(TRUE);
    m_transBar.CreateFromStatic(kBarStyle, this, IDC_IMAGE_TRANS_PLACE, IDC_IMAGE_TRANS);
    m_transBar.SetScrollRange(1, 100, FALSE);
    m_transBar.SetScrollPos(0, FALSE);
    m_transBar.SetThumbColour(RGB(255, 0, 0));
    m_transBar.SetGreyMarks(TRUE);
    m_rotation.SetBackgroundColour(m_crPanel);
    m_rotation.SetKnobBitmap(IDB_SKIN_KNOB_ROTATE);
    m_rotation.SetRange(0, 359, FALSE);
    m_rotation.SetPos(0);

    // The bars store into the selected layer at once; the panel redraws (see OnHScroll).
    m_size.Bind(&m_sizeBar, &m_sizeValue, ValueControl::ScrollBar, 100.0f, kValuePercent, 10, 500, false);
    m_size.SetApply([this](float size) {
        if (CImageLayer* layer = Layer())
            layer->m_scale = size;
    });
    m_transparency.Bind(&m_transBar, &m_transValue, ValueControl::ScrollBar, 1.0f, kValuePercent, 1, 100, false);
    m_transparency.SetApply([this](float percent) {
        if (CImageLayer* layer = Layer())
            layer->m_transparency = (int)std::lround(percent);
    });
    SetupControls(); // buttons, captions and help bubbles, the bars' and the dial's included
    return TRUE;
}

void CImageDlg::OnActivate()
{
    if (m_pHost != nullptr)
        m_pHost->EnableFinish(TRUE);
    m_pages.SetCurSel(1);
    Refresh(true);
    if (m_pHost != nullptr) {
        m_pHost->EnableBack(TRUE);
        m_pHost->EnableNext(FALSE);
    }
    CSkinPanelDlg::OnActivate();
}

BOOL CImageDlg::OnPanelFinish()
{
    if (m_pDoc != nullptr) {
        m_pDoc->SetImageToolMode(FALSE);
        m_pDoc->SetRedrawFlag();
    }
    RedrawDocument();
    return TRUE;
}

void CImageDlg::RefreshFromSelection() { Refresh(false); }

void CImageDlg::Refresh(bool withLayering)
{
    if (CImageLayer* layer = Layer()) {
        m_rotation.SetPos((int)layer->m_angle);
        // Rounded to nearest by the bar: a stored 2.29 is 228.99998 in float.
        m_size.SetStored(layer->m_scale);
        m_transparency.SetStored((float)layer->m_transparency);
        CString text;
        text.Format("%0.0f%%", (double)layer->m_scale * 100.0);
        m_sizeValue.SetWindowText(text);
        if (withLayering)
            ShowDpi(layer);
        m_rotation.Invalidate();
        m_sizeBar.Invalidate();
        m_transBar.Invalidate();
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    if (withLayering)
        UpdateLayering();
}

void CImageDlg::ShowDpi(CImageLayer* layer)
{
    // No bitmap or no printed width: no resolution to show (and nothing to divide by).
    const int dpi = layer != nullptr ? layer->GetDpi() : 0;
    CString text;
    if (dpi > 0)
        text.Format("%d DPI", dpi);
    SetDlgItemText(IDC_IMAGE_DPI, text);
}

void CImageDlg::UpdateLayering()
{
    const int count = m_pDoc != nullptr ? m_pDoc->GetImageList()->CountInFrame(m_pDoc->GetCurrentFrame()) : 0;
    m_bCanReorder = count > 1;
    m_btnUp.EnableWindow(m_bCanReorder);
    m_btnDown.EnableWindow(m_bCanReorder);
    m_lblLayering.Invalidate();
}

void CImageDlg::RedrawDocument()
{
    if (m_pImageHost != nullptr)
        m_pImageHost->UpdateDocument();
}

void CImageDlg::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    const HWND from = bar != nullptr ? bar->GetSafeHwnd() : nullptr;
    const int position = (int)(short)pos;
    bool ours = false;
    if (from != nullptr && from == m_rotation.GetSafeHwnd()) {
        // The dial's own position: its end-of-drag notification carries none.
        if (CImageLayer* layer = Layer())
            layer->m_angle = (float)m_rotation.GetPos();
        m_rotation.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ours = true;
    } else if (m_size.OnScroll(from, code, position)) {
        // The bar's own text is "%d%%" of its position.
        if (CImageLayer* layer = Layer()) {
            layer->UpdatePrintSize(0.0f);
            ShowDpi(layer);
        }
        ours = true;
    } else if (m_transparency.OnScroll(from, code, position)) {
        ours = true;
    }
    if (ours) {
        // Applied once more 100 ms after the last move: a drag ends with one full redraw.
        SetTimer(kPanelApplyTimer, CValueBar::kDeferMs, nullptr);
    }
    RedrawDocument();
    Default();
}

void CImageDlg::OnTimer(UINT_PTR id)
{
    if (id != kPanelApplyTimer) {
        CSkinPanelDlg::OnTimer(id);
        return;
    }
    KillTimer(kPanelApplyTimer);
    // The moves changed the layer: the design is modified once the drag has settled.
    if (m_pDoc != nullptr && Layer() != nullptr)
        m_pDoc->SetModifiedFlag(TRUE);
    RedrawDocument();
}

HBRUSH CImageDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) { return CSkinPanelDlg::OnCtlColor(dc, wnd, ctlColor); }

void CImageDlg::OnPageChosen()
{
    UpdateData(TRUE);
    const int index = m_pages.GetCurSel();
    if (index >= 0 && m_pHost != nullptr)
        m_pHost->ShowPanelByIndex(index);
}

void CImageDlg::OnFit()
{
    CImageLayer* layer = Layer();
    if (layer == nullptr)
        return;
    // The corners as the layer stands now (its size and angle may have just changed).
    layer->UpdatePrintSize(0.0f);
    layer->FitToArea(); // skips a layer without bitmap or with an empty box or area
    layer->UpdatePrintSize(0.0f);
    Refresh(true);
    RedrawDocument();
    m_pDoc->SetModifiedFlag(TRUE);
}

void CImageDlg::OnCentre()
{
    CImageLayer* layer = Layer();
    if (layer == nullptr)
        return;
    layer->CentreInArea();
    layer->UpdatePrintSize(0.0f);
    RedrawDocument();
    // A moved layer is an edit: closing must ask to save it.
    m_pDoc->SetModifiedFlag(TRUE);
}

void CImageDlg::OnLayerUp()
{
    CImageLayer* layer = Layer();
    if (layer == nullptr)
        return;
    m_pDoc->GetImageList()->MoveForward(layer);
    RedrawDocument();
    m_pDoc->SetModifiedFlag(TRUE);
}

void CImageDlg::OnLayerDown()
{
    CImageLayer* layer = Layer();
    if (layer == nullptr)
        return;
    m_pDoc->GetImageList()->MoveBackward(layer);
    RedrawDocument();
    m_pDoc->SetModifiedFlag(TRUE);
}

void CImageDlg::OnRemove()
{
    CImageLayer* layer = Layer();
    if (layer == nullptr || !layer->m_loaded)
        return;
    CImageLayerList* list = m_pDoc->GetImageList();
    // Deselected first: the document must never point at the deleted layer.
    m_pDoc->SetSelectedLayerA(nullptr);
    list->Remove(layer);
    m_pDoc->SetSelectedLayerA(list->GetCurrent());
    RedrawDocument();
    // A removed layer is an edit: closing must ask to save it.
    m_pDoc->SetModifiedFlag(TRUE);
    if (m_pHost != nullptr)
        m_pHost->ShowPanelByIndex(0);
}

void CImageDlg::RunImageEdit(UINT templateId, int tool)
{
    CImageLayer* layer = Layer();
    if (layer == nullptr)
        return;
    Gdiplus::Bitmap* bitmap = layer->GetMasterBitmap();
    CImageEditDlg dialog(nullptr, templateId);
    dialog.SetMode(tool);
    dialog.SetImage(bitmap);
    dialog.SetImage(layer, bitmap != nullptr ? bitmap->GetHorizontalResolution() : 0.0f);
    dialog.DoModal();
    // Whatever the dialog answered: it may have changed the bitmap in place.
    RedrawDocument();
    m_pDoc->SetModifiedFlag(TRUE);
}
