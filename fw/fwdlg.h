// Dialogs from numbered templates (modal through the layer's own loop, or modeless),
// data exchange, and the common dialogs.
#pragma once
#include "fw/fwapp.h"
#include <commdlg.h>
#include <string>

class CDialog;

// One data exchange run between a dialog's members and its controls.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate; // TRUE: controls -> members
    CWnd* m_pDlgWnd;
    HWND m_idLastControl = nullptr;
    // The control's handle (a missing control is a programming error: resource exception).
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }
    // Puts the focus on the last prepared control and ends the run (CUserException).
    [[noreturn]] void Fail();
};

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modal: -1 when the template is missing or the window could not be made.
    virtual INT_PTR DoModal();
    // Modeless, with the given parent (NULL: the main window).
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    // Modal: ends the loop with nResult; modeless: hides the dialog.
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void NextDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl) { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, (WPARAM)FwGetSafeHwnd(pWndCtrl), 1); }
    void SetDefID(UINT nID) { ::SendMessage(m_hWnd, DM_SETDEFID, nID, 0); }
    DWORD GetDefID() const { return (DWORD)::SendMessage(m_hWnd, DM_GETDEFID, 0, 0); }
    BOOL MapDialogRect(LPRECT r) const { return ::MapDialogRect(m_hWnd, r); }
    BOOL IsDialogMessage(LPMSG lpMsg) { return ::IsDialogMessage(m_hWnd, lpMsg); }

    LPCTSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;
    BOOL m_bModal = FALSE;

    DECLARE_MESSAGE_MAP()
protected:
    // The owner of a modal run: the given parent, else the main window's last active popup.
    HWND PreModal();
    void PostModal();
    BOOL CreateFromTemplate(LPCTSTR lpszTemplateName, HWND hWndParent);
    virtual BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd);
    LRESULT HandleInitDialog(WPARAM, LPARAM);
    HWND m_hWndTop = nullptr; // the owner disabled for the modal run
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
};

// Data exchange routines.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Slider(CDataExchange* pDX, int nIDC, int& value);
void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

// Common dialogs: the system dialog, with the object attached to its window so that a
// derived class's map, data exchange and template controls work as in any dialog.
class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd) : CDialog((UINT)0, pParentWnd) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;

protected:
    // Runs the system dialog with this object hooked to its window.
    template <class F> INT_PTR RunSystemDialog(F run);
};

// Hook procedure given to every common dialog (the object's map does the work).
UINT_PTR CALLBACK FwCommDlgHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CPrintDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                          PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    ~CPrintDialog() override;
    INT_PTR DoModal() override;

    PRINTDLG& m_pd;
    // Printer DC from the dialog's DEVNAMES/DEVMODE (the caller owns it).
    HDC CreatePrinterDC();
    HDC GetPrinterDC() const { return m_pd.hDC; }
    BOOL GetDefaults();
    int GetCopies() const;
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    BOOL PrintCollate() const { return (m_pd.Flags & PD_COLLATE) != 0; }
    int GetFromPage() const { return m_pd.nFromPage; }
    int GetToPage() const { return m_pd.nToPage; }
    LPDEVMODE GetDevMode() const; // locked; call GlobalUnlock(m_pd.hDevMode) when done
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;
    // Gives the dialog copies of the printer's DEVNAMES and DEVMODE, which it then owns
    // (whatever the system dialog reallocates them to) and frees with itself.
    void TakeCopiesOf(HGLOBAL hDevNames, HGLOBAL hDevMode);

private:
    void FreeOwnedHandles();
    PRINTDLG m_pdActual;
    BOOL m_bOwnsHandles = FALSE;
};

class CColorDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF c) { m_cc.rgbResult = c; }
    static COLORREF* PASCAL GetSavedCustomColors();
    CHOOSECOLOR m_cc;
};

class CFileDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);
    INT_PTR DoModal() override;
    CString GetPathName() const { return CString(m_szFileName); }
    CString GetFileName() const;
    CString GetFileExt() const;
    OPENFILENAME m_ofn;

private:
    BOOL m_bOpenFileDialog;
    char m_szFileName[MAX_PATH] = {};
    char m_szFileTitle[MAX_PATH] = {};
    std::string m_filter;
    CString m_strDefExt;
};
