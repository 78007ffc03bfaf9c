#include "app/wizard/DesignModeDlg.h"
#include "base/ComOwner.h"
#include "base/Globals.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "net/WebServiceClient.h"
#include "res/wizard_res.h"
#include "ui/ThumbItemDraw.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <cstring>

namespace {

const PanelControl kDesignModeControls[] = {
    {IDC_DESIGN_MODE_HELP, "HELP", nullptr, IDB_SKIN_HELP_BUTTON, "HELP"},
};

const int kThumbWidth = 140;
const int kThumbHeight = 120;

// Disables the page for the length of an exchange and marks it running.
class ExchangeScope
{
public:
    ExchangeScope(CWnd& page, bool& flag) : m_page(page), m_flag(flag)
    {
        m_flag = true;
        m_page.EnableWindow(FALSE);
    }
    ~ExchangeScope()
    {
        m_page.EnableWindow(TRUE);
        m_flag = false;
    }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    CWnd& m_page;
    bool& m_flag;
};

} // namespace

BEGIN_MESSAGE_MAP(CDesignModeDlg, CSkinPanelDlg)
    ON_BN_CLICKED(IDC_DESIGN_MODE_HELP, &CDesignModeDlg::OnHelpButton)
    ON_WM_PAINT()
    ON_MESSAGE(WM_THUMBNAIL_CHOSEN, &CDesignModeDlg::OnItemChosen)
END_MESSAGE_MAP()

CDesignModeDlg::CDesignModeDlg() : CSkinPanelDlg(IDD_DESIGN_MODE, nullptr) { SetControlTable(kDesignModeControls); }

CDesignModeDlg::~CDesignModeDlg() = default;

void CDesignModeDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinPanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DESIGN_MODE_CONTAINERS, m_containers);
    DDX_Control(pDX, IDC_DESIGN_MODE_HELP, m_help);
    DDX_Control(pDX, IDC_DESIGN_MODE_TITLE, m_title);
    DDX_Control(pDX, IDC_DESIGN_MODE_DESIGNS, m_designs);
}

BOOL CDesignModeDlg::OnInitDialog()
{
    CSkinPanelDlg::OnInitDialog();
    m_title.SetFont(&m_fontBold);
    SetupControls();
    m_tooltip.AddTool(&m_designs, "");
    m_tooltip.SetNotify(m_hWnd);
    m_designs.SetThumbnailSize(kThumbWidth, kThumbHeight);
    m_designs.CreateImageList();
    // After the image list, so that a height of 0 keeps the one made for the thumbnails.
    m_designs.SetIconSpacing(255, 0);
    FetchFromService();
    UpdateData(FALSE);
    UpdateData(FALSE);
    return TRUE;
}

void CDesignModeDlg::FetchFromService()
{
    if (m_bExchanging)
        return;
    ExchangeScope scope(*this, m_bExchanging);
    CWebServiceClient client;
    CMapStringToString params;
    client.SetDefaultEndpoint();
    client.BuildMethodCall("download.getContainers", params);
    // A service that cannot be reached is said once: the picture is not asked for then.
    const BOOL reached = client.PostDebug();
    CWebResultList results;
    client.ParseMethodResponse(results);
    CWebServiceClient::FillContainerCombo(results, m_containers, "parentid", "2", "name", "id");
    if (reached) {
        client.m_request.LoadFromText(nullptr);
        params.SetAt("string", "dezireze.rev");
        client.BuildMethodCall("download.getItem", params);
        if (client.Post())
            m_pImage.reset(PictureFromBytes(client.m_body.GetData(), client.m_body.GetLength()));
    }
    CWebServiceClient::ClearResults(results);
    Invalidate();
}

Gdiplus::Bitmap* CDesignModeDlg::PictureFromBytes(const BYTE* bytes, int length)
{
    if (bytes == nullptr || length <= 0)
        return nullptr;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)length);
    if (memory == nullptr)
        return nullptr;
    if (void* p = ::GlobalLock(memory)) {
        std::memcpy(p, bytes, (size_t)length);
        ::GlobalUnlock(memory);
    }
    ComOwner<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.Put()))) {
        ::GlobalFree(memory);
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Bitmap> loaded(Gdiplus::Bitmap::FromStream(stream));
    if (!loaded || loaded->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    // A copy of its own: GDI+ may keep reading a stream-made bitmap from its stream.
    const int width = (int)loaded->GetWidth(), height = (int)loaded->GetHeight();
    std::unique_ptr<Gdiplus::Bitmap> copy(new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB));
    if (copy->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    {
        Gdiplus::Graphics g(copy.get());
        if (g.DrawImage(loaded.get(), 0, 0, width, height) != Gdiplus::Ok)
            return nullptr;
    }
    return copy.release();
}

void CDesignModeDlg::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    {
        Gdiplus::Graphics g(dc);
        if (m_pImage)
            g.DrawImage(m_pImage.get(), 100, 100, 50, 20);
        Gdiplus::Pen white(Gdiplus::Color(255, 255, 255, 255), 1.0f);
        g.DrawRectangle(&white, 10, 10, 100, 100);
    }
    ::EndPaint(m_hWnd, &ps);
}

int CDesignModeDlg::OnPanelBack()
{
    UpdateData(TRUE);
    return 0;
}

int CDesignModeDlg::OnPanelNext()
{
    UpdateData(TRUE);
    return 0;
}

LRESULT CDesignModeDlg::OnItemChosen(WPARAM, LPARAM)
{
    m_nChosen = std::atoi(m_designs.GetChosenPath());
    ++m_nChoices;
    return 0;
}

BOOL CDesignModeDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr)
        return CSkinPanelDlg::OnNotify(wParam, lParam, pResult);
    if (header->code == NM_CUSTOMDRAW && header->idFrom == IDC_DESIGN_MODE_DESIGNS) {
        *pResult = DrawThumbListItem(reinterpret_cast<const NMLVCUSTOMDRAW*>(lParam), header->hwndFrom);
        return TRUE;
    }
    if (header->code != UDM_TOOLTIP_DISPLAY || header->hwndFrom != m_tooltip.GetSafeHwnd())
        return CSkinPanelDlg::OnNotify(wParam, lParam, pResult);
    auto* notify = reinterpret_cast<PPTooltipNotify*>(lParam);
    if (notify->hwndTool != m_designs.GetSafeHwnd() || notify->pt == nullptr)
        return CSkinPanelDlg::OnNotify(wParam, lParam, pResult);
    // The name of the paper layout whose number the item under the pointer holds.
    POINT client = *notify->pt;
    m_designs.ScreenToClient(&client);
    const int index = m_designs.HitTest(client);
    if (index < 0) {
        *pResult = -1;
        return TRUE;
    }
    const int id = std::atoi(m_designs.GetItemFileName(index));
    const CPaperLayout* layout = id >= 0 && id <= 0xFFFF ? GetGlobalObjectA()->Lookup((WORD)id) : nullptr;
    CString title, body, footer;
    m_helpTips.GetHelpParts(layout != nullptr ? CString(layout->GetName()) : CString(), title, body, footer);
    notify->ti->sTooltip = FormatBubbleHelp(title, body, footer, 0);
    *pResult = 0;
    return TRUE;
}
