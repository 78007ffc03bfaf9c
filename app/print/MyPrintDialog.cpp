#include "app/print/MyPrintDialog.h"

#include "base/KeyStore.h"
#include "res/print_res.h"
#include "ui/Skin.h"

IMPLEMENT_DYNAMIC(CMyPrintDialog, CPrintDialog)

BEGIN_MESSAGE_MAP(CMyPrintDialog, CPrintDialog)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CMyPrintDialog::CMyPrintDialog(BOOL printSetupOnly, BYTE outline, BYTE invert, int horizontalMm, int verticalMm,
                               CString printerName, DWORD flags, CWnd* parent)
    : CPrintDialog(printSetupOnly, flags, parent), m_outline(outline ? 1 : 0), m_invert(invert ? 1 : 0),
      m_printerName(printerName), m_horizontal(horizontalMm), m_vertical(verticalMm)
{
    m_brush.CreateSolidBrush(kSkinPaleYellow);
    m_pd.Flags |= PD_ENABLEPRINTTEMPLATE;
    m_pd.hInstance = AfxGetInstanceHandle();
    m_pd.lpPrintTemplateName = MAKEINTRESOURCE(IDD_PRINT_DIALOG);
}

void CMyPrintDialog::DoDataExchange(CDataExchange* pDX)
{
    CPrintDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_PRINT_OUTLINE, m_outline);
    DDX_Check(pDX, IDC_PRINT_INVERT, m_invert);
    DDX_Text(pDX, IDC_PRINT_PRINTER_NAME, m_printerName);
}

BOOL CMyPrintDialog::OnInitDialog()
{
    CPrintDialog::OnInitDialog();
    UpdateData(FALSE);

    CString language = GetSetting("language");
    if (language.CompareNoCase("dutch") == 0)
        SetDlgItemText(psh2, "Voorkeuren");
    else if (language.CompareNoCase("french") == 0)
        SetDlgItemText(psh2, "Pr\xE9"
                             "f\xE9"
                             "rences");

    // The bars take the place of their two placeholders.
    auto placeOf = [this](UINT id) {
        CRect rect;
        if (CWnd* place = GetDlgItem(id)) {
            place->GetWindowRect(&rect);
            ScreenToClient(&rect);
            place->ShowWindow(SW_HIDE);
        }
        return rect;
    };
    m_horizontalBar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, placeOf(IDC_PRINT_HBAR_PLACE), this, IDC_PRINT_HBAR);
    m_horizontalBar.SetScrollRange(-kHorizontalRange, kHorizontalRange, TRUE);
    m_horizontalBar.SetScrollPos(m_horizontal, TRUE);
    m_verticalBar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, placeOf(IDC_PRINT_VBAR_PLACE), this, IDC_PRINT_VBAR);
    m_verticalBar.SetScrollRange(-kVerticalRange, kVerticalRange, TRUE);
    m_verticalBar.SetScrollPos(m_vertical, TRUE);

    ShowAdjustment(IDC_PRINT_HADJUST_TEXT, m_horizontal);
    ShowAdjustment(IDC_PRINT_VADJUST_TEXT, m_vertical);
    UpdateData(TRUE);
    // The system places the dialog at the screen's corner; it belongs over the program.
    CenterWindow();
    return TRUE;
}

void CMyPrintDialog::ShowAdjustment(UINT id, int mm)
{
    CString text;
    text.Format("%dmm", mm);
    SetDlgItemText(id, text);
}

int CMyPrintDialog::ScrollTo(CScrollBar& bar, UINT code, UINT position)
{
    int low = 0, high = 0;
    bar.GetScrollRange(&low, &high);
    int pos = bar.GetScrollPos();
    switch (code) {
    case SB_LINELEFT:
        pos -= 1;
        break; // also SB_LINEUP
    case SB_LINERIGHT:
        pos += 1;
        break; // also SB_LINEDOWN
    case SB_PAGELEFT:
        pos -= 5;
        break;
    case SB_PAGERIGHT:
        pos += 5;
        break;
    case SB_LEFT:
        pos = low;
        break;
    case SB_RIGHT:
        pos = high;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = (short)position;
        break; // the range includes negatives
    default:
        break;
    }
    if (pos < low)
        pos = low;
    if (pos > high)
        pos = high;
    bar.SetScrollPos(pos, TRUE);
    return pos;
}

void CMyPrintDialog::OnHScroll(UINT code, UINT position, CScrollBar* bar)
{
    if (bar != nullptr && bar->GetSafeHwnd() == m_horizontalBar.GetSafeHwnd()) {
        m_horizontal = ScrollTo(m_horizontalBar, code, position);
        ShowAdjustment(IDC_PRINT_HADJUST_TEXT, m_horizontal);
    }
    CPrintDialog::OnHScroll(code, position, bar);
}

void CMyPrintDialog::OnVScroll(UINT code, UINT position, CScrollBar* bar)
{
    if (bar != nullptr && bar->GetSafeHwnd() == m_verticalBar.GetSafeHwnd()) {
        m_vertical = ScrollTo(m_verticalBar, code, position);
        ShowAdjustment(IDC_PRINT_VADJUST_TEXT, m_vertical);
    }
    CPrintDialog::OnVScroll(code, position, bar);
}

HBRUSH CMyPrintDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_LISTBOX || ctlColor == CTLCOLOR_BTN)
        return CPrintDialog::OnCtlColor(dc, wnd, ctlColor);
    dc->SetBkMode(TRANSPARENT);
    dc->SetBkColor(kSkinBlue);
    return (HBRUSH)m_brush.GetSafeHandle();
}
