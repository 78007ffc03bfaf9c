// The drawer's images: bitmaps, icons, strips and image-list images in the text flow with
// their sizes, styles and shadows, the animation of strips, table backgrounds, and the
// loading of images from the program, files and libraries read as data.
// Rule kept: an image the text loads is released after use; a handle the text names is
// drawn only when the system confirms it is an image of that kind, and never released here.
#include "html/HtmlDrawer.h"
#include "html/DataModule.h"
#include <stdlib.h>

namespace {

// Images the text loaded, released at the end of the tag; handles named by the text stay.
struct LoadedImage
{
    ~LoadedImage()
    {
        if (bitmap && ownsBitmap)
            ::DeleteObject(bitmap);
        if (icon && ownsIcon)
            ::DestroyIcon(icon);
    }
    HBITMAP bitmap = nullptr;
    bool ownsBitmap = true;
    HICON icon = nullptr;
    bool ownsIcon = true;
};

bool IsBitmapHandle(UINT_PTR handle) { return handle && ::GetObjectType((HGDIOBJ)handle) == OBJ_BITMAP; }

bool IsIconHandle(UINT_PTR handle)
{
    ICONINFO info = {};
    if (!handle || !::GetIconInfo((HICON)handle, &info))
        return false;
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return true;
}

struct EffectName
{
    const char* name;
    int effect;
};
const EffectName kEffects[] = {
    {"transparent", -1}, {"solid", 0},      {"hgradient", 1}, {"vgradient", 2}, {"hcgradient", 3}, {"vcgradient", 4},
    {"3hgradient", 5},   {"3vgradient", 6}, {"noise", 7},     {"diagshade", 8}, {"hshade", 9},     {"vshade", 10},
    {"hbump", 11},       {"vbump", 12},     {"softbump", 13}, {"hardbump", 14}, {"metal", 15},
};

} // namespace

HBITMAP CPPHtmlDrawer::LoadBitmapFromResource(UINT id) const
{
    if (!id)
        return nullptr;
    return (HBITMAP)::LoadImage(FwGetResourceHandle(), MAKEINTRESOURCE((WORD)id), IMAGE_BITMAP, 0, 0,
                                LR_CREATEDIBSECTION);
}

HBITMAP CPPHtmlDrawer::LoadBitmapFromFile(LPCTSTR path) const
{
    if (!path || !*path)
        return nullptr;
    return (HBITMAP)::LoadImage(nullptr, path, IMAGE_BITMAP, 0, 0,
                                LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION);
}

HBITMAP CPPHtmlDrawer::LoadBitmapFromDll(UINT id, LPCTSTR dll) const
{
    if (!id)
        return nullptr;
    HtmlData::DataModule named(dll);
    const HMODULE module = (dll && *dll) ? named.handle : m_resourceModule;
    if (!module)
        return nullptr;
    return (HBITMAP)::LoadImage(module, MAKEINTRESOURCE((WORD)id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

HICON CPPHtmlDrawer::LoadIconFromResource(UINT id, int cx, int cy) const
{
    if (!id)
        return nullptr;
    return (HICON)::LoadImage(FwGetResourceHandle(), MAKEINTRESOURCE((WORD)id), IMAGE_ICON, cx, cy, 0);
}

HICON CPPHtmlDrawer::LoadIconFromFile(LPCTSTR path, int cx, int cy) const
{
    if (!path || !*path)
        return nullptr;
    return (HICON)::LoadImage(nullptr, path, IMAGE_ICON, cx, cy, LR_LOADFROMFILE);
}

HICON CPPHtmlDrawer::LoadIconFromDll(UINT id, int cx, int cy, LPCTSTR dll) const
{
    if (!id)
        return nullptr;
    HtmlData::DataModule named(dll);
    const HMODULE module = (dll && *dll) ? named.handle : m_resourceModule;
    if (!module)
        return nullptr;
    return (HICON)::LoadImage(module, MAKEINTRESOURCE((WORD)id), IMAGE_ICON, cx, cy, 0);
}

int CPPHtmlDrawer::GetBackgroundEffect(const CString& text, int def)
{
    if (text.IsEmpty())
        return def;
    for (const EffectName& e : kEffects)
        if (text == e.name)
            return e.effect;
    return GetLengthValue(text, def, FALSE);
}

BOOL CPPHtmlDrawer::IsPercentValue(const CString& text) { return !text.IsEmpty() && text[text.GetLength() - 1] == '%'; }

BOOL CPPHtmlDrawer::HasImageShadow(const ImageParams& params)
{
    const WORD shadow = CPPDrawManager::IMAGE_EFFECT_SHADOW | CPPDrawManager::IMAGE_EFFECT_SOFT_SHADOW;
    return ((params.style | params.hotStyle) & shadow) != 0;
}

WORD CPPHtmlDrawer::GetImageStyle(const CString& text) const
{
    WORD style = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        switch (text[i]) {
        case 'g':
            style |= CPPDrawManager::IMAGE_EFFECT_GRAY;
            break;
        case 'd':
            style |= CPPDrawManager::IMAGE_EFFECT_DARKER;
            break;
        case 'l':
            style |= CPPDrawManager::IMAGE_EFFECT_LIGHTER;
            break;
        case 's':
            if (m_shadowDx || m_shadowDy)
                style |=
                    m_shadowGradient ? CPPDrawManager::IMAGE_EFFECT_SOFT_SHADOW : CPPDrawManager::IMAGE_EFFECT_SHADOW;
            break;
        default:
            break;
        }
    }
    return style;
}

void CPPHtmlDrawer::GetImageParams(const CString& attributes, ImageParams& params)
{
    int pos = 0;
    CString name, value;
    while (HtmlTokens::GetTagAttributes(attributes, pos, name, value)) {
        if (name == "index") {
            params.index = GetLengthValue(value, 0, FALSE);
        } else if (name == "idres") {
            params.idres = (UINT)GetLengthValue(value, 0, FALSE);
        } else if (name == "iddll") {
            params.iddll = (UINT)GetLengthValue(value, 0, FALSE);
        } else if (name == "handle") {
            // A handle keeps all its bits: it is never narrowed through an int.
            params.handle = (UINT_PTR)strtoull(value, nullptr, 0);
        } else if (name == "file") {
            params.file = value;
        } else if (name == "srcdll") {
            params.srcdll = value;
        } else if (name == "mask") {
            params.mask = GetColorValue(value, 0);
            params.useMask = TRUE;
        } else if (name == "style") {
            params.style = params.hotStyle = GetImageStyle(value);
        } else if (name == "hotstyle") {
            params.hotStyle = GetImageStyle(value);
        } else if (name == "cx") {
            params.cx = GetLengthValue(value, 0, FALSE);
        } else if (name == "cy") {
            params.cy = GetLengthValue(value, 0, FALSE);
        } else if (name == "width") {
            params.width = value;
        } else if (name == "height") {
            params.height = value;
        } else if (name == "speed") {
            params.speed = GetLengthValue(value, 0, FALSE);
        }
    }
}

int CPPHtmlDrawer::GetImageSize(const CString& text, int base)
{
    if (text.IsEmpty())
        return base;
    if (IsPercentValue(text))
        return ::MulDiv(base, atoi(text.Left(text.GetLength() - 1)), 100);
    return GetLengthValue(text, base, FALSE);
}

void CPPHtmlDrawer::DrawImageTag(int code, const CString& attributes)
{
    ImageParams params;
    GetImageParams(attributes, params);

    LoadedImage image;
    HBITMAP strip = nullptr; // of an image strip: frames of cx x cy
    int frame = 0;
    SIZE own = {0, 0};       // the image's own size
    SIZE percentOf = {0, 0}; // what a percentage of "width" and "height" is taken of
    if (code == CPPHtmlDialect::TAG_BITMAP) {
        if (params.idres)
            image.bitmap = LoadBitmapFromResource(params.idres);
        else if (!params.file.IsEmpty())
            image.bitmap = LoadBitmapFromFile(params.file);
        else if (params.iddll)
            image.bitmap = LoadBitmapFromDll(params.iddll, params.srcdll);
        else if (IsBitmapHandle(params.handle)) {
            image.bitmap = (HBITMAP)params.handle;
            image.ownsBitmap = false;
        }
        own = percentOf = CPPDrawManager::GetSizeOfBitmap(image.bitmap);
    } else if (code == CPPHtmlDialect::TAG_ICON) {
        // Icons are loaded at the size asked for; a percentage is of the system's icon size.
        const SIZE system = {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
        const int cx = params.width.IsEmpty() ? 0 : GetImageSize(params.width, system.cx);
        const int cy = params.height.IsEmpty() ? 0 : GetImageSize(params.height, system.cy);
        if (params.idres)
            image.icon = LoadIconFromResource(params.idres, cx, cy);
        else if (!params.file.IsEmpty())
            image.icon = LoadIconFromFile(params.file, cx, cy);
        else if (params.iddll)
            image.icon = LoadIconFromDll(params.iddll, cx, cy, params.srcdll);
        else if (IsIconHandle(params.handle)) {
            image.icon = (HICON)params.handle;
            image.ownsIcon = false;
        }
        own = image.icon ? CPPDrawManager::GetSizeOfIcon(image.icon) : SIZE{0, 0};
        percentOf = image.icon ? system : SIZE{0, 0};
    } else if (params.idres || !params.file.IsEmpty() || params.iddll) {
        // A strip of frames: without a frame size it has no frames (and no image).
        if (params.cx > 0 && params.cy > 0) {
            if (params.idres)
                image.bitmap = LoadBitmapFromResource(params.idres);
            else if (!params.file.IsEmpty())
                image.bitmap = LoadBitmapFromFile(params.file);
            else
                image.bitmap = LoadBitmapFromDll(params.iddll, params.srcdll);
        }
        const SIZE size = CPPDrawManager::GetSizeOfBitmap(image.bitmap);
        const int frames = image.bitmap ? (size.cx / params.cx) * (size.cy / params.cy) : 0;
        // A frame outside the strip is no image, as an index outside the image list.
        if (params.index >= 0 && params.index < frames) {
            strip = image.bitmap;
            own = percentOf = SIZE{params.cx, params.cy};
            frame = params.index;
            if (params.speed) {
                // The strip's record in the list of this pass, by the order of the strips.
                ++m_animationNumber;
                if (m_measuring) {
                    Animation animation;
                    animation.frame = params.index;
                    animation.frameCount = frames;
                    animation.ticksPerFrame = params.speed;
                    m_animations.push_back(animation);
                } else if ((size_t)m_animationNumber < m_animations.size()) {
                    frame = m_animations[(size_t)m_animationNumber].frame;
                }
            }
        }
    } else if (m_imageList && params.index >= 0 && params.index < ImageList_GetImageCount(m_imageList)) {
        image.icon = ImageList_GetIcon(m_imageList, params.index, ILD_NORMAL);
        if (image.icon)
            own = percentOf = m_imageListSize;
    }
    if (own.cx <= 0 || own.cy <= 0)
        return; // nothing to draw, and the pen stays

    const int width = params.width.IsEmpty() ? own.cx : GetImageSize(params.width, percentOf.cx);
    const int height = params.height.IsEmpty() ? own.cy : GetImageSize(params.height, percentOf.cy);
    const bool shadow = HasImageShadow(params) != FALSE;
    int boxWidth = width, boxHeight = height;
    if (shadow && width && height) {
        boxWidth += m_shadowDx;
        boxHeight += m_shadowDy;
    }

    const int blockWidth = m_block.right - m_block.left;
    if (m_maxWidth && blockWidth != 0 && boxWidth > blockWidth - (m_pen.x - m_block.left)) {
        m_line.wrapped = TRUE;
        NewLine(1);
    }
    const int y = VerticalAlignImage(m_pen.y, boxHeight);
    // A line's alignment is that of its content, images as text: a centred picture on a line
    // of its own is centred.
    if (m_measuring)
        m_line.align = m_style.hAlign;
    if (!m_measuring && width > 0 && height > 0) {
        AddHotArea(m_pen.x, y, m_pen.x + boxWidth, y + boxHeight);
        const bool hot = m_style.linkKind != PPHtmlStyle::LINK_NONE && m_linkCounter == m_hoverLink;
        const WORD flags = hot ? params.hotStyle : params.style;
        const BOOL withShadow =
            (flags & (CPPDrawManager::IMAGE_EFFECT_SHADOW | CPPDrawManager::IMAGE_EFFECT_SOFT_SHADOW)) ? TRUE : FALSE;
        if (strip)
            m_drawManager.DrawImageList(m_hDC, m_pen.x, y, width, height, strip, frame, params.cx, params.cy,
                                        params.useMask, params.mask, flags, withShadow, m_shadowDx, m_shadowDy,
                                        m_shadowBlurX, m_shadowBlurY, m_shadowColor);
        else if (image.bitmap)
            m_drawManager.DrawBitmap(m_hDC, m_pen.x, y, width, height, image.bitmap, params.useMask, params.mask, flags,
                                     withShadow, m_shadowDx, m_shadowDy, m_shadowBlurX, m_shadowBlurY, m_shadowColor);
        else if (image.icon)
            m_drawManager.DrawIcon(m_hDC, m_pen.x, y, width, height, image.icon, flags, withShadow, m_shadowDx,
                                   m_shadowDy, m_shadowBlurX, m_shadowBlurY, m_shadowColor);
    }
    MovePen(m_pen.x, boxWidth);
}

void CPPHtmlDrawer::DrawBackgroundImage(HDC dc, int x, int y, int width, int height, const CString& attribute)
{
    if (!m_enabled || attribute.GetLength() < 6 || width <= 0 || height <= 0)
        return;
    int pos = 0;
    const CString kind = HtmlTokens::ReadToken(attribute, pos, " :");
    const int colon = attribute.Find(':', pos);
    if (colon < 0)
        return;
    pos = colon + 1;
    const CString value = HtmlTokens::ReadToken(attribute, pos, ";");
    CBitmap bitmap;
    if (kind == "idres")
        bitmap.Attach(LoadBitmapFromResource((UINT)GetLengthValue(value, 0, FALSE)));
    else if (kind == "iddll")
        bitmap.Attach(LoadBitmapFromDll((UINT)GetLengthValue(value, 0, FALSE), nullptr));
    else if (kind == "file")
        bitmap.Attach(LoadBitmapFromFile(value));
    const SIZE size = CPPDrawManager::GetSizeOfBitmap((HBITMAP)bitmap.GetSafeHandle());
    if (size.cx <= 0 || size.cy <= 0)
        return;
    CDC memory;
    if (!memory.Attach(::CreateCompatibleDC(dc)))
        return;
    CSelectGuard select(memory.GetSafeHdc(), bitmap.GetSafeHandle());
    if (select.Selected())
        m_drawManager.MultipleCopy(dc, x, y, width, height, memory.GetSafeHdc(), 0, 0, size.cx, size.cy);
}
