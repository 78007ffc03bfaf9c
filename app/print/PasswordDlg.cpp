#include "app/print/PasswordDlg.h"

#include "base/TextTable.h"
#include "digest/hash_calculator.h"
#include "res/print_res.h"
#include "ui/Skin.h"

CString ComputePasswordDigest(const CString& typed)
{
    CHashCalculator calculator;
    calculator.SetAlgorithm(CHashCalculator::AlgMD5);
    calculator.SetSource(CHashCalculator::SourceText);
    calculator.SetText(typed);
    calculator.SetOutputFormat(CHashCalculator::LowerHex);
    return calculator.Compute();
}

BOOL PasswordDigestMatches(const CString& typedDigest, const CString& storedDigest)
{
    if (typedDigest.IsEmpty())
        return FALSE;
    return typedDigest.CompareNoCase(storedDigest) == 0;
}

// --- The dialog ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPasswordDlg, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CPasswordDlg::CPasswordDlg(CWnd* parent) : CDialog(IDD_PASSWORD, parent) { m_brush.CreateSolidBrush(kSkinPaleYellow); }

void CPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PASSWORD_EDIT, m_strPassword);
}

BOOL CPasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_PASSWORD_TEXT, GetLangText("127"));
    SetWindowText(GetLangText("128"));
    SetDlgItemText(IDOK, GetLangText("OK"));
    return TRUE;
}

void CPasswordDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strDigest = ComputePasswordDigest(m_strPassword);
    EndDialog(IDOK);
}

HBRUSH CPasswordDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_LISTBOX || ctlColor == CTLCOLOR_BTN)
        return CDialog::OnCtlColor(dc, wnd, ctlColor);
    dc->SetBkMode(TRANSPARENT);
    return (HBRUSH)m_brush.GetSafeHandle();
}
