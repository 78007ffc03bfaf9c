// An owner-drawn combo box whose items are images: each item's data is a GDI+ bitmap that
// the caller keeps alive and frees.  Every item is as high as the largest image (plus a
// margin), and an image is drawn stretched over its item, faded when the control is
// disabled.  The combo box must be owner-drawn with variable heights.
//
// The rule it keeps: the control never frees an item's bitmap, and holds no strings of its
// own: adding or deleting text is refused.
#pragma once
#include "fw/fwwin.h"

#include <objidl.h>
#include <gdiplus.h>

class CImageComboBox : public CComboBox
{
public:
    CImageComboBox() = default;
    ~CImageComboBox() override = default;

    // The new item's index, or CB_ERR / CB_ERRSPACE.
    int AddImage(Gdiplus::Bitmap* bitmap);
    int InsertImage(int index, Gdiplus::Bitmap* bitmap);
    void RemoveImage(Gdiplus::Bitmap* bitmap);
    void SelectImage(Gdiplus::Bitmap* bitmap);

    // Text is refused: each returns CB_ERR and leaves the list as it is.
    virtual int AddString(LPCTSTR text);
    virtual int InsertString(int index, LPCTSTR text);
    virtual int DeleteString(UINT index);

    int GetMaxWidth() const { return m_nMaxWidth; }
    int GetMaxHeight() const { return m_nMaxHeight; }

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override;

private:
    void UpdateSize(int width, int height);
    void DrawContent(CDC& dc, const DRAWITEMSTRUCT& item, Gdiplus::Bitmap* bitmap);

    int m_nMaxWidth = 0;
    int m_nMaxHeight = 0;
};
