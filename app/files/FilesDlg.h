// The dialog "Files": opens a design (mode 0), saves it to its own path with a preview of
// the sheet (mode 1) or to a place the user chooses in the file browser pane (mode 2), and
// writes a JPEG snapshot of the sheet image.
//
// The rules it keeps:
// - the open or save runs on a worker while this thread waits, stepping the pane's progress
//   bar; the worker shows nothing, and its message is shown here once it has ended;
// - a failed save changes nothing of the document (title, path, modified flag) and keeps
//   the dialog open for another place or Cancel; IDOK after a save means it was saved;
// - a snapshot never overwrites a file the user did not confirm without asking first.
#pragma once
#include "app/browser/FileWnd.h"
#include "ui/HelpTipManager.h"
#include "ui/HoverButton.h"
#include "ui/PPToolTip.h"
#include "ui/SkinButton.h"

class CFrostwellDoc;

class CFilesDlg : public CDialog
{
public:
    enum Mode { kOpen = 0, kSaveToPath = 1, kSaveAs = 2 };

    explicit CFilesDlg(CWnd* parent = nullptr);

    // Before DoModal.
    void SetMode(int mode) { m_nMode = mode; }
    int GetMode() const { return m_nMode; }
    CFrostwellDoc* m_pDoc = nullptr;

    CFileWnd& GetPane() { return m_wndFile; }

    // The file a snapshot is written to: the chosen path's folder and the chosen title up
    // to its last dot (all of it without one), with ".jpg".
    static CString SnapshotPath(const CString& chosenPath, const CString& title);
    // Where the preview draws a w x h image in `area`: scaled to fit, keeping its aspect,
    // centred (whole pixels, truncated).  Empty for an image without size.
    static CRect PreviewRect(const CRect& area, int w, int h);
    // The preview's area in a client rectangle.
    static CRect PreviewArea(const CRect& client);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    void OnPaint();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnSaveAs() { SetupSaveAs(); }
    void OnSnapshot();
    void OnOpenMode() { SetupOpen(); }
    void OnSaveMode() { SetupSave(); }
    DECLARE_MESSAGE_MAP()

    // The three set-ups; each ends with the title of its mode.
    void SetupOpen();
    void SetupSave();
    void SetupSaveAs();
    void Finish(int mode, LPCTSTR titleKey);
    void SetupSkinButton(CSkinButton& button, LPCTSTR captionKey, LPCTSTR helpKey, UINT bitmapId);
    void DrawPreview(CDC* dc);

    CSkinButton m_btnSaveAs, m_btnSnapshot;
    CHoverButton m_btnOK, m_btnCancel;
    CFileWnd m_wndFile;
    int m_nMode = kOpen;
    CHelpTipManager m_helpTips;
    CPPToolTip m_tooltip;
};
