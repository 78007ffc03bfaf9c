#include "app/browser/ThumbnailButton.h"

#include "app/browser/ThumbListCtrl.h"
#include "base/Globals.h"
#include "fw/fwselect.h"
#include "model/gfx/ImageEncoders.h"
#include "model/thumbs/ThumbCache.h"
#include "ui/Skin.h"

#include <memory>
#include <set>

using namespace Gdiplus;

namespace {

const char kButtonClass[] = "CThumbnailButton";
// The window style the cells are made with.
const DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | 2;

std::set<const CThumbnailButton*>& LiveButtons()
{
    static std::set<const CThumbnailButton*> live;
    return live;
}

} // namespace

IMPLEMENT_DYNAMIC(CThumbnailButton, CWnd)

BEGIN_MESSAGE_MAP(CThumbnailButton, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CThumbnailButton::CThumbnailButton(LPCTSTR path, const CTime& written, int cellWidth, int cellHeight)
    : m_bHover(0), m_bPressed(0), m_nValue(0), m_nImageWidth(cellWidth - kImageMargin),
      m_nImageHeight(cellHeight - kImageMargin), m_strPath(path), m_pImage(nullptr), m_written(written), m_bTemplate(0),
      m_nResourceId(0), m_bSelected(0), m_nCellWidth(cellWidth), m_nCellHeight(cellHeight)
{
    if (!RegisterButtonClass())
        AfxThrowResourceException();
    m_strName = m_strPath.Mid(m_strPath.ReverseFind('\\') + 1);
    m_strName.MakeUpper();
    LiveButtons().insert(this);
}

CThumbnailButton::~CThumbnailButton()
{
    LiveButtons().erase(this);
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pImage;
}

CThumbnailButton* CThumbnailButton::FromPosted(WPARAM wParam)
{
    CThumbnailButton* button = reinterpret_cast<CThumbnailButton*>(wParam);
    return LiveButtons().count(button) != 0 ? button : nullptr;
}

BOOL RegisterWhiteGridClass(LPCTSTR name)
{
    WNDCLASS wc = {};
    const HINSTANCE instance = AfxGetInstanceHandle();
    if (::GetClassInfo(instance, name, &wc))
        return TRUE;
    wc = WNDCLASS();
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)::GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = name;
    return AfxRegisterClass(&wc);
}

BOOL CThumbnailButton::RegisterButtonClass() { return RegisterWhiteGridClass(kButtonClass); }

BOOL CThumbnailButton::Create(CWnd* parent, POINT position, UINT id)
{
    return CWnd::Create(kButtonClass, m_strName, kButtonStyle,
                        CRect(position.x, position.y, position.x + m_nCellWidth, position.y + m_nCellHeight), parent,
                        id);
}

void CThumbnailButton::SetSelected(BOOL selected)
{
    m_bSelected = selected ? 1 : 0;
    if (m_hWnd != nullptr)
        Invalidate();
}

BOOL CThumbnailButton::LoadImageByKind()
{
    CString lower = m_strPath;
    lower.MakeLower();
    const bool stored = lower.Find(".ktb") >= 0 || lower.Find(".pap") >= 0;
    m_bTemplate = !stored && lower.Find(".tpl") >= 0;
    BOOL shown = FALSE;
    delete m_pImage;
    m_pImage = nullptr;
    // Whatever the name says beyond ".ktb" or ".pap", such a file is read as a design file.
    const auto show = [&](Image* image) { shown = LoadThumbImage(image); };
    if (stored)
        ReadStoredThumbnail(m_strPath, show);
    else
        ReadImageFile(m_strPath, show);
    m_bTemplate = 0;
    if (m_hWnd != nullptr)
        Invalidate();
    return shown;
}

BOOL CThumbnailButton::SetResourceImage(UINT bitmapId, LPCTSTR name, int value)
{
    m_nResourceId = bitmapId;
    m_strName = name;
    m_nValue = value;
    BOOL shown = FALSE;
    if (HBITMAP resource = ::LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(bitmapId))) {
        std::unique_ptr<Bitmap> image(Bitmap::FromHBITMAP(resource, nullptr));
        if (image && image->GetLastStatus() == Ok)
            shown = LoadThumbImage(image.get());
        ::DeleteObject(resource);
    }
    if (m_hWnd != nullptr)
        Invalidate();
    return shown;
}

BOOL CThumbnailButton::SetImage(Image* image, LPCTSTR name, int value)
{
    m_strName = name;
    m_nValue = value;
    const BOOL shown = LoadThumbImage(image);
    if (m_hWnd != nullptr)
        Invalidate();
    return shown;
}

BOOL CThumbnailButton::LoadThumbImage(Image* image)
{
    delete m_pImage;
    m_pImage = nullptr;
    const bool darken = m_bTemplate != 0;
    m_bTemplate = 0;
    if (image == nullptr)
        return FALSE;
    const UINT w = image->GetWidth(), h = image->GetHeight();
    if (w == 0 || h == 0 || m_nImageWidth <= 0 || m_nImageHeight <= 0)
        return FALSE; // nothing to scale: shows nothing
    const float scale = w > h ? (float)m_nImageWidth / (float)w : (float)m_nImageHeight / (float)h;
    // Cut toward zero; a sliver keeps one pixel.
    int width = (int)((float)w * scale), height = (int)((float)h * scale);
    width = width < 1 ? 1 : width;
    height = height < 1 ? 1 : height;
    std::unique_ptr<Bitmap> scaled(new Bitmap(width, height, PixelFormat24bppRGB));
    if (scaled->GetLastStatus() != Ok)
        return FALSE;
    {
        Graphics graphics(scaled.get());
        graphics.Clear(Color(255, 255, 255, 255));
        graphics.SetInterpolationMode(InterpolationModeHighQualityBicubic);
        ImageAttributes attributes;
        if (darken)
            SetDimMatrix(&attributes);
        if (graphics.DrawImage(image, Rect(0, 0, width, height), 0, 0, (INT)w, (INT)h, UnitPixel, &attributes) != Ok)
            return FALSE;
    }
    m_pImage = scaled.release();
    return TRUE;
}

BOOL CThumbnailButton::SaveImageToStream(IStream* stream)
{
    if (stream == nullptr)
        return FALSE;
    const BOOL saved = m_pImage != nullptr && ::SaveImageToStream(m_pImage, stream, L"image/png", (int)kPngQuality);
    stream->Release();
    return saved;
}

void CThumbnailButton::PostToParent(UINT message)
{
    const HWND parent = ::GetParent(m_hWnd);
    if (parent != nullptr && ::IsWindow(parent))
        ::PostMessage(parent, message, (WPARAM)this, 0);
}

LRESULT CThumbnailButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        m_bPressed = 1;
        Invalidate();
        PostToParent(WM_THUMBNAIL_CHOSEN);
        return 0;
    case WM_LBUTTONUP:
        m_bPressed = 0;
        Invalidate();
        return 0;
    case WM_LBUTTONDBLCLK:
        PostToParent(0x3F2);
        return 0;
    case WM_RBUTTONDBLCLK:
        return 0;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

BOOL CThumbnailButton::OnEraseBkgnd(CDC*)
{
    return TRUE; // the paint fills the whole cell
}

void CThumbnailButton::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBrush white(kSkinWhite);
    dc.FillRect(&client, &white);
    if (m_bSelected) {
        CPen frame;
        frame.CreatePen(PS_SOLID, 2, kSkinGridSelection);
        CSelectGuard pen(&dc, &frame);
        CSelectGuard brush(dc.GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
        dc.Rectangle(&client);
    }
    if (m_pImage != nullptr) {
        const int imageW = (int)m_pImage->GetWidth(), imageH = (int)m_pImage->GetHeight();
        int x = (client.Width() - imageW) / 2, y = (m_nImageHeight - imageH) / 2;
        if (m_bPressed) {
            x += 2;
            y += 2;
        }
        Graphics graphics(dc.GetSafeHdc());
        graphics.DrawImage(m_pImage, x + 2, y + 2, imageW - 3, imageH - 4);
    }
    CFont font;
    font.CreateFont(kNameFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "");
    CSelectGuard selectFont(&dc, &font);
    const CString name = m_strName.Left(kNameMaxChars);
    const CString measured = name.Left(kNameCentredChars);
    SIZE extent = {};
    ::GetTextExtentPoint32(dc.GetSafeHdc(), measured, measured.GetLength(), &extent);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_bSelected ? kSkinGridSelection : kSkinBlack);
    dc.TextOut((client.Width() - extent.cx) / 2, client.bottom - kNameRise, name);
}
