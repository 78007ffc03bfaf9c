// The password that guards printing and the choice of printer: only the MD5 digest of
// the typed text is ever kept or compared.
#pragma once

#include "fw/fwwin.h"

// The MD5 digest of the typed text, 32 lower-case hexadecimal digits.
CString ComputePasswordDigest(const CString& typed);

// Whether the digest of a typed password matches the stored one.  Stored digests come
// in either letter case, so the hex digits are compared without regard to case.  An
// empty typed digest (the dialog was cancelled) never matches.
BOOL PasswordDigestMatches(const CString& typedDigest, const CString& storedDigest);

// The dialog "Password Protection": on OK it keeps the digest of the typed text; after
// Cancel the digest stays empty.
class CPasswordDlg : public CDialog
{
public:
    explicit CPasswordDlg(CWnd* parent = nullptr);

    CString GetDigest() const { return m_strDigest; }

    CString m_strPassword; // the typed text, exchanged with the edit box
    CString m_strDigest;   // lower-case hex MD5 of the typed text after OK

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    CBrush m_brush;
};
