#include "app/files/FilesDlg.h"

#include "app/files/DesignFileRoad.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "fw/fwselect.h"
#include "fw/fwwait.h"
#include "model/design/FrostwellDoc.h"
#include "model/gfx/ImageEncoders.h"
#include "res/file_res.h"
#include "res/ui_res.h"
#include "ui/FileDlgEx.h"
#include "ui/MessageDlg.h"
#include "ui/Skin.h"

namespace {

// The snapshot's save dialog: JPEG files only.
const char kJpegFilter[] = "JPEG\0*.JPG\0";
const int kThumbnailSide = 115;
const int kSnapshotQuality = 80;

} // namespace

BEGIN_MESSAGE_MAP(CFilesDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_FILES_SAVE_AS, &CFilesDlg::OnSaveAs)
    ON_BN_CLICKED(IDC_FILES_SNAPSHOT, &CFilesDlg::OnSnapshot)
    ON_COMMAND(ID_FILES_OPEN_MODE, &CFilesDlg::OnOpenMode)
    ON_COMMAND(ID_FILES_SAVE_MODE, &CFilesDlg::OnSaveMode)
END_MESSAGE_MAP()

CFilesDlg::CFilesDlg(CWnd* parent) : CDialog(IDD_FILES, parent) {}

void CFilesDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_FILES_SAVE_AS, m_btnSaveAs);
    DDX_Control(dx, IDC_FILES_SNAPSHOT, m_btnSnapshot);
    DDX_Control(dx, IDOK, m_btnOK);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
}

BOOL CFilesDlg::OnInitDialog()
{
    // The pane is made before the dialog's own controls are bound: it browses designs from
    // the folder of the last open or save.
    m_wndFile.SetSaveMode(FALSE);
    m_wndFile.SetThumbnailMode(0);
    m_wndFile.SetThumbnailSize(kThumbnailSide, kThumbnailSide);
    m_wndFile.SetFolder(GetDataFolder("SAVE_DIR"));
    m_wndFile.Create("CStatic", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_FILES_PANE);

    CDialog::OnInitDialog();

    m_helpTips.LoadHelpFile("tips.txt");
    m_helpTips.CreateTooltip(this, &m_tooltip);
    m_wndFile.ApplySkin(&m_helpTips);

    CRect client;
    GetClientRect(&client);
    client.DeflateRect(10, 10, 10, 55);
    m_wndFile.MoveWindow(&client, TRUE);

    SetupSkinButton(m_btnSaveAs, "49", "FILE_SAVEAS", IDB_SKIN_SAVE_AS);
    SetupSkinButton(m_btnSnapshot, "50", "FILE_SNAPSHOT", IDB_SKIN_SNAPSHOT);
    m_btnOK.SetWindowText(GetLangText("OK"));
    m_btnCancel.SetWindowText(GetLangText("CANCEL"));
    m_helpTips.AddHelpTool(this, &m_btnOK, "FILE_OK");
    m_helpTips.AddHelpTool(this, &m_btnCancel, "FILE_CANCEL");

    switch (m_nMode) {
    case kSaveToPath:
        SetupSave();
        break;
    case kSaveAs:
        SetupSaveAs();
        break;
    default:
        m_btnSaveAs.ShowWindow(SW_HIDE);
        m_btnSnapshot.ShowWindow(SW_HIDE);
        SetupOpen();
        break;
    }
    return TRUE;
}

void CFilesDlg::SetupSkinButton(CSkinButton& button, LPCTSTR captionKey, LPCTSTR helpKey, UINT bitmapId)
{
    m_helpTips.AddHelpTool(this, &button, helpKey);
    for (int slot = 0; slot < kSkinSlots; slot += 2) {
        button.SetColor(slot, kSkinPaleYellow, FALSE);
        button.SetColor(slot + 1, kSkinBlack, FALSE);
    }
    button.SetWindowText(GetLangText(captionKey));
    button.SetAlign(kAlignImageLeft, TRUE);
    button.SetBitmaps(bitmapId, kSkinPaleYellow, 0, 0);
}

void CFilesDlg::SetupOpen()
{
    m_wndFile.ShowWindow(SW_SHOW);
    m_wndFile.SetSaveMode(FALSE);
    m_wndFile.ShowControls = 0;
    m_wndFile.RecalcLayout();
    Finish(kOpen, "51");
}

void CFilesDlg::SetupSave()
{
    if (m_pDoc != nullptr)
        m_pDoc->RebuildFrames();
    m_wndFile.ShowWindow(SW_SHOW);
    m_wndFile.SetSaveMode(TRUE);
    m_wndFile.ShowControls = 0;
    m_wndFile.RecalcLayout();
    Finish(kSaveToPath, "52");
}

void CFilesDlg::SetupSaveAs()
{
    if (m_pDoc != nullptr)
        m_pDoc->RebuildFrames();
    m_wndFile.ShowWindow(SW_SHOW);
    m_wndFile.SetSaveMode(TRUE);
    m_wndFile.ShowControls = 1;
    m_wndFile.RecalcLayout();
    m_btnSaveAs.ShowWindow(SW_HIDE);
    m_btnSnapshot.ShowWindow(SW_HIDE);
    Finish(kSaveAs, "53");
}

void CFilesDlg::Finish(int mode, LPCTSTR titleKey)
{
    SetWindowText(GetLangText(titleKey));
    Invalidate(TRUE);
    m_nMode = mode;
}

BOOL CFilesDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST && m_tooltip.GetSafeHwnd() != nullptr)
        m_tooltip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

void CFilesDlg::OnOK()
{
    // The typed or picked name becomes the pane's path (a design name when saving).
    const BOOL named = m_wndFile.OnSaveOK();
    CString path;
    if (m_nMode == kSaveToPath)
        path = m_pDoc != nullptr ? m_pDoc->GetDesignPath() : CString();
    else if (named)
        path = m_wndFile.GetSelectedPath();
    if (path.IsEmpty() || m_pDoc == nullptr)
        return;
    SetDataFolder("SAVE_DIR", m_wndFile.GetFolder());

    const BOOL save = m_nMode != kOpen;
    CString message;
    BOOL done = FALSE;
    {
        CWaitCursor wait;
        m_wndFile.StopProgress();
        done = RunDesignFileWorker(m_pDoc, save, path, message, [this] { m_wndFile.StepProgress(); });
        m_wndFile.FinishProgress();
    }
    // The pane paints no background of its own: the dialog paints where the bar was.
    CRect pane;
    m_wndFile.GetWindowRect(&pane);
    ScreenToClient(&pane);
    RedrawWindow(&pane, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (!save) {
        // A failed open leaves the design as it was; the dialog ends either way.
        if (done)
            m_pDoc->SelectCurrentImage(path);
        else
            ShowDesignFileMessage(message);
        EndDialog(IDOK);
        return;
    }
    if (!done) {
        // Nothing was saved: the design keeps its title, path and changes, and the user
        // may choose another place or cancel.
        ShowDesignFileMessage(message);
        return;
    }
    m_pDoc->DeselectAndUpdate(path);
    EndDialog(IDOK);
}

CString CFilesDlg::SnapshotPath(const CString& chosenPath, const CString& title)
{
    const int slash = chosenPath.ReverseFind('\\');
    const CString folder = slash >= 0 ? chosenPath.Left(slash) : CString();
    const int dot = title.ReverseFind('.');
    const CString name = dot >= 0 ? title.Left(dot) : title;
    CString file;
    file.Format("%s\\%s.jpg", (LPCTSTR)folder, (LPCTSTR)name);
    return file;
}

void CFilesDlg::OnSnapshot()
{
    Gdiplus::Bitmap* image = m_pDoc != nullptr ? m_pDoc->GetSheetImage() : nullptr;
    if (image == nullptr)
        return;
    CFileDlgEx dialog(FALSE, nullptr, nullptr, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, kJpegFilter, this);
    if (dialog.DoModal() != IDOK)
        return;
    const CString confirmed = dialog.GetPathName();
    const CString file = SnapshotPath(confirmed, dialog.GetFileTitle());
    // The dialog asked about the name it showed; the name written may be another one.
    if (file.CompareNoCase(confirmed) != 0 && ::GetFileAttributes(file) != INVALID_FILE_ATTRIBUTES) {
        CMessageDlg ask(this);
        ask.SetYesNo(TRUE);
        ask.m_bShowCancel = TRUE;
        ask.m_message = GetLangText("SNAPSHOT_REPLACE");
        ask.m_message.Replace("%s", file);
        if (ask.DoModal() != IDOK)
            return;
    }
    BOOL written = FALSE;
    {
        CWaitCursor wait;
        written = SaveImageToFile(image, CStringW(file), L"image/jpeg", kSnapshotQuality) ? TRUE : FALSE;
    }
    if (!written)
        ShowLangMessage("SNAPSHOT_NOT_SAVED");
}

HBRUSH CFilesDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    dc->SetTextColor(kSkinBlack);
    dc->SetBkColor(kSkinWhite);
    if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_LISTBOX)
        return CDialog::OnCtlColor(dc, wnd, ctlColor);
    return SkinPaleYellowBrush();
}

CRect CFilesDlg::PreviewArea(const CRect& client)
{
    CRect area = client;
    area.DeflateRect(70, 10, 70, 100);
    return area;
}

CRect CFilesDlg::PreviewRect(const CRect& area, int w, int h)
{
    if (w <= 0 || h <= 0)
        return CRect(0, 0, 0, 0);
    const double areaW = area.Width();
    const double areaH = area.Height();
    double scale;
    if (w <= h) {
        scale = areaH / h;
        if (areaW < w * scale)
            scale = areaW / w;
    } else {
        scale = areaW / w;
        if (areaH < h * scale)
            scale = areaH / h;
    }
    const int drawW = (int)(w * scale);
    const int drawH = (int)(h * scale);
    const int left = area.left + (int)((areaW - drawW) / 2);
    const int top = area.top + (int)((areaH - drawH) / 2);
    return CRect(left, top, left + drawW, top + drawH);
}

void CFilesDlg::OnPaint()
{
    CPaintDC dc(this);
    if (m_nMode == kSaveToPath)
        DrawPreview(&dc);
}

void CFilesDlg::DrawPreview(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    const CRect area = PreviewArea(client);
    CFont font;
    LOGFONT lf = {};
    lf.lfHeight = -::MulDiv(10, dc->GetDeviceCaps(LOGPIXELSY), 72);
    lf.lfWeight = FW_BOLD;
    lstrcpy(lf.lfFaceName, "Arial");
    font.CreateFontIndirect(&lf);
    CSelectGuard selectFont(dc, &font);
    dc->SetTextColor(kSkinBlack);

    Gdiplus::Bitmap* image = m_pDoc != nullptr ? m_pDoc->GetSheetImage() : nullptr;
    if (image == nullptr || image->GetWidth() == 0 || image->GetHeight() == 0) {
        CPen pen(PS_SOLID, 1, kSkinBlack);
        CSelectGuard selectPen(dc, &pen);
        CSelectGuard selectBrush(dc->GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
        dc->Rectangle(&area);
        dc->SetBkMode(TRANSPARENT);
        CRect text = area;
        dc->DrawText("Preview Not Available", &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    const CRect place = PreviewRect(area, (int)image->GetWidth(), (int)image->GetHeight());
    {
        Gdiplus::Graphics graphics(dc->GetSafeHdc());
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.DrawImage(image, place.left, place.top, place.Width(), place.Height());
    }
    dc->SetBkMode(TRANSPARENT);
    const CString path = m_pDoc->GetDesignPath();
    CRect text(area.left, area.bottom + 10, area.right, area.bottom + 10 + 2 * (-lf.lfHeight));
    dc->DrawText(path, &text, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_PATH_ELLIPSIS);
}
