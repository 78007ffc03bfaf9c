// The drawer's settings that reach beyond the text: tab size, image shadows, the resource
// module, the image list and the status-bar font.
#include "html/HtmlDrawer.h"
#include "html/DataModule.h"

void CPPHtmlDrawer::SetTabSize(int size)
{
    // Tab stops are found by division.
    m_tabSize = size < 1 ? 1 : (size > 0x7FFF ? 0x7FFF : size);
}

void CPPHtmlDrawer::SetImageShadow(int dx, int dy, int darkness, BOOL gradient, int blurX, int blurY)
{
    m_shadowDx = dx;
    m_shadowDy = dy;
    m_shadowDarkness = darkness < 0 ? 0 : (darkness > 100 ? 100 : darkness);
    m_shadowGradient = gradient;
    m_shadowBlurX = blurX;
    m_shadowBlurY = blurY;
    const int grey = ::MulDiv(255, 100 - m_shadowDarkness, 100);
    m_shadowColor = RGB(grey, grey, grey);
}

void CPPHtmlDrawer::SetResourceDll(LPCTSTR path, DWORD flags)
{
    // A module handed in by handle stays while it is set. Whatever flags the caller asks
    // for, a library named by a path is read as data: its code never runs.
    if (m_resourceModule && !m_ownsResourceModule)
        return;
    HMODULE module = HtmlData::LoadDataModule(path);
    SetResourceDllHandle(module);
    m_ownsResourceModule = module != nullptr;
}

void CPPHtmlDrawer::SetResourceDllHandle(HMODULE module)
{
    if (module && module == m_resourceModule)
        return;
    if (m_resourceModule && !m_ownsResourceModule) {
        // A module handed in stays until another module replaces it; it is never freed here.
        if (!module)
            return;
    } else if (m_resourceModule) {
        // An owned module is freed, and its handle is never kept after that.
        ::FreeLibrary(m_resourceModule);
    }
    m_resourceModule = module;
    m_ownsResourceModule = false;
}

void CPPHtmlDrawer::SetImageList(UINT bitmapId, int cx, int cy, int count, COLORREF mask)
{
    CBitmap bitmap;
    if (bitmapId)
        bitmap.Attach(::LoadBitmap(FwGetResourceHandle(), MAKEINTRESOURCE(bitmapId)));
    SetImageListFromBitmap((HBITMAP)bitmap.GetSafeHandle(), cx, cy, count, mask);
}

void CPPHtmlDrawer::SetImageListFromBitmap(HBITMAP bitmap, int cx, int cy, int count, COLORREF mask)
{
    if (m_imageList) {
        ImageList_Destroy(m_imageList);
        m_imageList = nullptr;
    }
    m_imageListSize = SIZE{0, 0};
    if (!bitmap || cx <= 0 || cy <= 0)
        return;
    ::InitCommonControls();
    m_imageList = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, count, 1);
    if (!m_imageList)
        return;
    ImageList_AddMasked(m_imageList, bitmap, mask);
    m_imageListSize = SIZE{cx, cy};
}

const LOGFONT* CPPHtmlDrawer::GetStatusFont()
{
    static LOGFONT font;
    NONCLIENTMETRICS metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return nullptr;
    font = metrics.lfStatusFont;
    return &font;
}
