#include "fw/fwselect.h"

CSelectGuard::CSelectGuard(HDC dc, HGDIOBJ object, bool deleteAfter) : m_dc(dc), m_object(object), m_delete(deleteAfter)
{
    if (dc == nullptr || object == nullptr)
        return;
    switch (::GetObjectType(object)) {
    case 0:          // not a GDI object
    case OBJ_REGION: // SelectObject would answer a region type, not a handle
        return;
    case OBJ_PAL:
        m_palette = true;
        m_previous = ::SelectPalette(dc, static_cast<HPALETTE>(object), FALSE);
        return;
    default:
        m_previous = ::SelectObject(dc, object);
        if (m_previous == HGDI_ERROR)
            m_previous = nullptr;
        return;
    }
}

CSelectGuard::CSelectGuard(CDC* dc, CGdiObject* object)
    : CSelectGuard(dc != nullptr ? dc->GetSafeHdc() : nullptr, object != nullptr ? object->GetSafeHandle() : nullptr)
{}

CSelectGuard::~CSelectGuard()
{
    if (m_previous != nullptr) {
        if (m_palette)
            ::SelectPalette(m_dc, static_cast<HPALETTE>(m_previous), FALSE);
        else
            ::SelectObject(m_dc, m_previous);
    }
    if (m_delete && m_object != nullptr)
        ::DeleteObject(m_object);
}
