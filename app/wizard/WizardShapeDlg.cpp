#include "app/wizard/WizardShapeDlg.h"
#include "app/wizard/DesignWizardDlg.h"
#include "base/Globals.h"
#include "base/TextTable.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "res/ui_res.h"
#include "res/wizard_res.h"

#include <cstdlib>
#include <memory>

namespace {

const PanelControl kShapeControls[] = {
    {IDC_SHAPE_ICING, "DESIGN_WIZARD_ICING_BTN", "29", IDB_SKIN_ICING_SHEET, "DESIGN_WIZARD_ICING_BTN"},
    {IDC_SHAPE_SQUARE, "DESIGN_WIZARD_SQUARE_BTN", "30", IDB_SKIN_SQUARE, "DESIGN_WIZARD_SQUARE_BTN"},
    {IDC_SHAPE_CIRCLE, "DESIGN_WIZARD_CIRCLE_BTN", "31", IDB_SKIN_CIRCLE, "DESIGN_WIZARD_CIRCLE_BTN"},
    {IDC_SHAPE_RECTANGLE, "DESIGN_WIZARD_RECTANGLE_BTN", "32", IDB_SKIN_RECTANGLE, "DESIGN_WIZARD_RECTANGLE_BTN"},
    {IDC_SHAPE_OVAL, "DESIGN_WIZARD_OVAL_BTN", "33", IDB_SKIN_OVAL, "DESIGN_WIZARD_OVAL_BTN"},
    {IDC_SHAPE_CUSTOM, "DESIGN_WIZARD_CUSTOM_BTN", "34", IDB_SKIN_CUSTOM_MODE, "DESIGN_WIZARD_CUSTOM_BTN"},
    {IDC_SHAPE_TEMPLATE, "DESIGN_WIZARD_TEMPLATE_BTN", "35", IDB_SKIN_TEMPLATE_MODE, "DESIGN_WIZARD_TEMPLATE_BTN"},
    {IDC_SHAPE_INDIVIDUAL, "DESIGN_WIZARD_INDIVIDUAL_BTN", "37", IDB_SKIN_INDIVIDUAL, "DESIGN_WIZARD_INDIVIDUAL_BTN"},
    {IDC_SHAPE_OVERSIZED, "DESIGN_WIZARD_OVERSIZED_BTN", "160", IDB_SKIN_OVERSIZED, "DESIGN_WIZARD_OVERSIZED_BTN"},
};

const int kThumbWidth = 140;
const int kThumbHeight = 120;

// The number of a key text; a text that is no number gives 0.
int KeyNumber(const CString& text) { return std::atoi(text); }

const CPaperLayout* FindLayout(int id)
{
    return id >= 0 && id <= 0xFFFF ? GetGlobalObjectA()->Lookup((WORD)id) : nullptr;
}

} // namespace

BEGIN_MESSAGE_MAP(CWizardShapeDlg, CSkinPanelDlg)
    ON_BN_CLICKED(IDC_SHAPE_TEMPLATE, &CWizardShapeDlg::OnCatalogue)
    ON_BN_CLICKED(IDC_SHAPE_CUSTOM, &CWizardShapeDlg::OnCustom)
    ON_BN_CLICKED(IDC_SHAPE_SQUARE, &CWizardShapeDlg::OnSquare)
    ON_BN_CLICKED(IDC_SHAPE_CIRCLE, &CWizardShapeDlg::OnCircle)
    ON_BN_CLICKED(IDC_SHAPE_RECTANGLE, &CWizardShapeDlg::OnRectangle)
    ON_BN_CLICKED(IDC_SHAPE_OVAL, &CWizardShapeDlg::OnOval)
    ON_BN_CLICKED(IDC_SHAPE_ICING, &CWizardShapeDlg::OnIcing)
    ON_BN_CLICKED(IDC_SHAPE_INDIVIDUAL, &CWizardShapeDlg::OnIndividual)
    ON_BN_CLICKED(IDC_SHAPE_OVERSIZED, &CWizardShapeDlg::OnOversized)
    ON_MESSAGE(WM_THUMBNAIL_CHOSEN, &CWizardShapeDlg::OnItemChosen)
END_MESSAGE_MAP()

CWizardShapeDlg::CWizardShapeDlg() : CSkinPanelDlg(IDD_WIZARD_SHAPE, nullptr) { SetControlTable(kShapeControls); }

CDesignWizardDlg* CWizardShapeDlg::Wizard() const { return static_cast<CDesignWizardDlg*>(m_pHost); }

bool CWizardShapeDlg::IsListed(const CPaperLayout& layout)
{
    return !layout.IsCustom() && !(layout.IsSeries() && !layout.IsListed());
}

void CWizardShapeDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinPanelDlg::DoDataExchange(pDX);
    int i = 0;
    for (const PanelControl& c : kShapeControls)
        DDX_Control(pDX, c.id, m_buttons[i++]);
    DDX_Control(pDX, IDC_SHAPE_LAYOUTS, m_layouts);
    DDX_Control(pDX, IDC_SHAPE_PAPERS, m_papers);
    DDX_Control(pDX, IDC_SHAPE_LAYOUTS2, m_layouts2);
}

BOOL CWizardShapeDlg::OnInitDialog()
{
    CSkinPanelDlg::OnInitDialog();
    SetupControls();
    m_layouts2.EnableWindow(FALSE);
    FillLists();
    // The tips of the thumbnails are asked for when they show.
    for (CThumbListCtrl* list : {&m_layouts, &m_papers, &m_layouts2})
        m_tooltip.AddTool(list, "");
    m_tooltip.SetNotify(m_hWnd);
    m_buttons[5].ShowWindow(SW_HIDE); // the custom button
    UpdateData(FALSE);
    UpdateOptionButtons();
    ApplyVisibility();
    UpdateData(FALSE);
    return TRUE;
}

void CWizardShapeDlg::FillLists()
{
    for (CThumbListCtrl* list : {&m_layouts, &m_papers}) {
        list->SetThumbnailSize(kThumbWidth, kThumbHeight);
        list->CreateImageList();
        // After the image list: a height of 0 keeps the spacing the list made for the
        // thumbnails' height, where before it would keep the one of its default icons.
        list->SetIconSpacing(255, 0);
    }
    std::unique_ptr<CPaperLayoutList> layouts(GetGlobalObjectA()->GetLayoutList());
    for (POSITION pos = layouts->GetHeadPosition(); pos != nullptr;) {
        const CPaperLayout* layout = layouts->GetNext(pos);
        if (!IsListed(*layout))
            continue;
        m_layouts.AddItem((UINT)layout->GetPreviewBitmap(), GetLangText(layout->GetName()), layout->GetId());
        if (layout->GetId() == 2) {
            const int index = m_layouts.GetItemCount() - 1;
            m_layouts.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            m_nSelectedLayout = 2;
        }
    }
    std::unique_ptr<CPaperSizeList> papers(GetGlobalObjectB()->GetAll());
    for (POSITION pos = papers->GetHeadPosition(); pos != nullptr;) {
        const CPaperSize* paper = papers->GetNext(pos);
        m_papers.AddItem((UINT)paper->GetPreviewBitmap(), GetLangText(paper->GetName()), paper->GetId());
        // A4 portrait, as the wizard starts.
        if (paper->GetId() == 10) {
            m_papers.SetItemState(m_papers.GetItemCount() - 1, LVIS_SELECTED, LVIS_SELECTED);
            m_nSelectedPaper = 10;
        }
    }
}

void CWizardShapeDlg::ShowItem(int id, bool show)
{
    if (HWND h = ::GetDlgItem(m_hWnd, id))
        ::ShowWindow(h, show ? SW_SHOW : SW_HIDE);
}

void CWizardShapeDlg::ApplyVisibility()
{
    const CDesignWizardDlg* w = Wizard();
    const int mode = w->m_nShapeMode;
    ShowItem(IDC_SHAPE_LAYOUTS, mode == kShapeCatalogue);
    ShowItem(IDC_MARK_TEMPLATE, mode == kShapeCatalogue);
    ShowItem(IDC_SHAPE_PAPERS, mode == kShapeCustom);
    ShowItem(IDC_MARK_CUSTOM, mode == kShapeCustom);
    ShowItem(IDC_SHAPE_LAYOUTS2, mode == kShapeCatalogue2);
    static const struct
    {
        int button, mark, layoutId;
    } shapes[] = {
        {IDC_SHAPE_SQUARE, IDC_MARK_SQUARE, 314},
        {IDC_SHAPE_CIRCLE, IDC_MARK_CIRCLE, 313},
        {IDC_SHAPE_RECTANGLE, IDC_MARK_RECTANGLE, 312},
        {IDC_SHAPE_OVAL, IDC_MARK_OVAL, 315},
    };
    for (const auto& s : shapes) {
        ShowItem(s.button, mode == kShapeCustom);
        ShowItem(s.mark, mode == kShapeCustom && w->m_nLayoutId == s.layoutId);
    }
}

void CWizardShapeDlg::UpdateOptionButtons()
{
    CDesignWizardDlg* w = Wizard();
    bool individualOffered = w->m_bMultiple != 0, oversizedOffered = false;
    if (const CPaperLayout* layout = FindLayout(m_nSelectedLayout)) {
        individualOffered = layout->IsMultiple() == 1;
        oversizedOffered = layout->IsA4() == 1;
    }
    m_bIndividualOffered = individualOffered ? 1 : 0;
    const int mode = w->m_nShapeMode;
    const bool catalogue = mode == kShapeCatalogue || mode == kShapeCatalogue2;
    ShowItem(IDC_SHAPE_INDIVIDUAL, catalogue);
    GetDlgItem(IDC_SHAPE_INDIVIDUAL)->EnableWindow(individualOffered);
    ShowItem(IDC_MARK_INDIVIDUAL, individualOffered && w->m_bIndividual && mode == kShapeCatalogue);
    ShowItem(IDC_SHAPE_OVERSIZED, catalogue);
    GetDlgItem(IDC_SHAPE_OVERSIZED)->EnableWindow(oversizedOffered);
    ShowItem(IDC_MARK_OVERSIZED, oversizedOffered && w->m_bOversized && mode == kShapeCatalogue);
    if (!individualOffered)
        w->m_bIndividual = 0;
    UpdateData(FALSE);
}

void CWizardShapeDlg::OnActivate()
{
    const int mode = Wizard()->m_nShapeMode;
    const bool custom = mode == kShapeCustom;
    m_pHost->EnableFinish(!custom);
    m_pHost->EnableNext(custom);
}

int CWizardShapeDlg::OnPanelBack()
{
    UpdateData(TRUE);
    return 0;
}

int CWizardShapeDlg::OnPanelNext()
{
    UpdateData(TRUE);
    Wizard()->m_nPaperSizeId = m_nSelectedPaper;
    return 0;
}

BOOL CWizardShapeDlg::OnPanelFinish()
{
    CDesignWizardDlg* w = Wizard();
    if (w->m_nShapeMode == kShapeCustom)
        return TRUE;
    w->m_nLayoutId = m_nSelectedLayout;
    if (const CPaperLayout* layout = FindLayout(m_nSelectedLayout))
        w->m_nItemCount = layout->GetItemCount();
    // A layout the catalogue lacks creates nothing, and the wizard stays open.
    const BOOL created = w->OnFinish();
    UpdateData(TRUE);
    return created;
}

void CWizardShapeDlg::OnCatalogue()
{
    m_nSelectedLayout = -1;
    Wizard()->m_nShapeMode = kShapeCatalogue;
    m_pHost->EnableFinish(TRUE);
    m_pHost->EnableNext(FALSE);
    UpdateOptionButtons();
    ApplyVisibility();
}

void CWizardShapeDlg::OnCustom()
{
    Wizard()->m_bIndividual = 0;
    Wizard()->m_nShapeMode = kShapeCustom;
    m_pHost->EnableFinish(FALSE);
    m_pHost->EnableNext(TRUE);
    UpdateOptionButtons();
    ApplyVisibility();
}

void CWizardShapeDlg::ChooseShape(int layoutId)
{
    Wizard()->m_nLayoutId = layoutId;
    ApplyVisibility();
}

void CWizardShapeDlg::OnIndividual()
{
    CDesignWizardDlg* w = Wizard();
    w->m_bIndividual = w->m_bIndividual != 1 ? 1 : 0;
    ShowItem(IDC_MARK_INDIVIDUAL, w->m_bIndividual != 0);
}

void CWizardShapeDlg::OnOversized()
{
    CDesignWizardDlg* w = Wizard();
    w->m_bOversized = w->m_bOversized != 1 ? 1 : 0;
    ShowItem(IDC_MARK_OVERSIZED, w->m_bOversized != 0);
}

LRESULT CWizardShapeDlg::OnItemChosen(WPARAM, LPARAM)
{
    const CThumbListCtrl& layouts = Wizard()->m_nShapeMode == kShapeCatalogue2 ? m_layouts2 : m_layouts;
    if (!layouts.GetChosenPath().IsEmpty())
        m_nSelectedLayout = KeyNumber(layouts.GetChosenPath());
    // A list nobody has chosen from yet keeps the paper size the page started with.
    if (!m_papers.GetChosenPath().IsEmpty())
        m_nSelectedPaper = KeyNumber(m_papers.GetChosenPath());
    UpdateOptionButtons();
    ++m_nSelectionCount;
    return 0;
}

BOOL CWizardShapeDlg::FillItemTip(CThumbListCtrl& list, bool paperSizes, POINT screen, CString& tip)
{
    POINT client = screen;
    list.ScreenToClient(&client);
    const int index = list.HitTest(client);
    if (index < 0)
        return FALSE;
    const int id = KeyNumber(list.GetItemFileName(index));
    CString name;
    if (paperSizes) {
        if (const CPaperSize* paper = id >= 0 && id <= 0xFFFF ? GetGlobalObjectB()->Lookup((WORD)id) : nullptr)
            name = paper->GetName();
    } else if (const CPaperLayout* layout = FindLayout(id)) {
        name = layout->GetName();
    }
    CString title, body, footer;
    m_helpTips.GetHelpParts(name, title, body, footer);
    tip = FormatBubbleHelp(title, body, footer, 0);
    return TRUE;
}

BOOL CWizardShapeDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr || header->code != UDM_TOOLTIP_DISPLAY || header->hwndFrom != m_tooltip.GetSafeHwnd())
        return CSkinPanelDlg::OnNotify(wParam, lParam, pResult);
    auto* notify = reinterpret_cast<PPTooltipNotify*>(lParam);
    struct
    {
        CThumbListCtrl* list;
        bool paperSizes;
    } lists[] = {{&m_layouts, false}, {&m_papers, true}, {&m_layouts2, false}};
    for (const auto& l : lists) {
        if (notify->hwndTool != l.list->GetSafeHwnd() || notify->pt == nullptr)
            continue;
        CString tip;
        if (!FillItemTip(*l.list, l.paperSizes, *notify->pt, tip)) {
            *pResult = -1;
            return TRUE;
        }
        notify->ti->sTooltip = tip;
        *pResult = 0;
        return TRUE;
    }
    return CSkinPanelDlg::OnNotify(wParam, lParam, pResult);
}
