// One cell of the thumbnail grid: a small child window showing a file's image scaled into
// the cell and the file's name under it.  A press posts WM_USER+0x55 and a double click
// 0x3F2 to the parent, each with the button as wParam.
//
// The rules it keeps:
// - the button owns its image; an image without pixels is not scaled and shows nothing;
// - design and paper layout files are read through the design file's checked road, never
//   handed to the platform's storage code unchecked;
// - a button pointer taken from a posted message is used only through FromPosted, which
//   answers for buttons that still live (the grid may delete them before the post arrives).
#pragma once

#include "fw/fwwin.h"

// Registers (once) a window class of the grid: white background, arrow cursor, double clicks.
BOOL RegisterWhiteGridClass(LPCTSTR name);

class CThumbnailButton : public CWnd
{
    DECLARE_DYNAMIC(CThumbnailButton)
public:
    // The cell's frame and text (pixels).
    static constexpr int kImageMargin = 10; // the image area is the cell less this
    static constexpr int kNameFontHeight = 11;
    static constexpr int kNameMaxChars = 30;
    static constexpr int kNameCentredChars = 25;
    static constexpr int kNameRise = 12;
    static constexpr ULONG kPngQuality = 80;

    CThumbnailButton(LPCTSTR path, const CTime& written, int cellWidth, int cellHeight);
    ~CThumbnailButton() override;

    // A visible child window of the cell's size at `position`.
    BOOL Create(CWnd* parent, POINT position, UINT id);

    // Reads the file's image by its kind (designs and paper layouts: their "Thumbnail"
    // stream; templates darkened) and shows it.  FALSE when the file gives no image.
    BOOL LoadImageByKind();
    // Name, value and image from a bitmap resource or a given image.
    BOOL SetResourceImage(UINT bitmapId, LPCTSTR name, int value);
    BOOL SetImage(Gdiplus::Image* image, LPCTSTR name, int value);
    // Scales the image into the image area (white background, 24-bit); FALSE, with no image
    // kept, for an image without pixels.
    BOOL LoadThumbImage(Gdiplus::Image* image);
    // Writes the image as PNG (quality 80) into the stream and releases the stream, whose
    // reference the caller hands over.
    BOOL SaveImageToStream(IStream* stream);

    const CString& GetFileName() const { return m_strName; }
    const CString& GetPath() const { return m_strPath; }
    const CTime& GetWrittenTime() const { return m_written; }
    int GetValue() const { return m_nValue; }
    Gdiplus::Bitmap* GetImage() const { return m_pImage; }
    BOOL IsPressed() const { return m_bPressed; }
    void SetSelected(BOOL selected);
    BOOL IsSelected() const { return m_bSelected; }
    void StopMouseTracking() { m_bHover = 0; }

    // The live button a posted wParam names, or nullptr.
    static CThumbnailButton* FromPosted(WPARAM wParam);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    static BOOL RegisterButtonClass();
    void SetScaledImage(Gdiplus::Bitmap* image);
    void PostToParent(UINT message);

    int m_bHover;
    int m_bPressed;
    CString m_strName;
    int m_nValue;
    int m_nImageWidth;
    int m_nImageHeight;
    CString m_strPath;
    Gdiplus::Bitmap* m_pImage;
    CTime m_written;
    BYTE m_bTemplate;
    UINT m_nResourceId;
    BYTE m_bSelected;
    int m_nCellWidth;
    int m_nCellHeight;
};
