// Stand-in for the image edit dialog (effects, red-eye removal, cropping) until it is
// built: the interface its callers use, and a DoModal that changes nothing and answers
// IDCANCEL.  Rule kept: the stand-in never touches the bitmap or the layer it is given.
#pragma once
#include "fw/fwwin.h"

#include <gdiplus.h>

class CImageLayer;

class CImageEditDlg
{
public:
    // The tools, by SetMode number.
    enum Tool { kCrop = 0, kRedEye = 1, kEffects = 2 };

    CImageEditDlg(CWnd* parent, UINT templateId);
    void SetMode(int tool) { m_nTool = tool; }
    void SetImage(Gdiplus::Bitmap* bitmap) { m_pBitmap = bitmap; }
    void SetImage(CImageLayer* layer, float horizontalResolution)
    {
        m_pLayer = layer;
        m_fResolution = horizontalResolution;
    }
    INT_PTR DoModal();

    // What the last DoModal was given, so that callers can be checked while the dialog
    // is a stand-in.
    struct Run
    {
        UINT templateId;
        int tool;
        Gdiplus::Bitmap* bitmap;
        CImageLayer* layer;
        float resolution;
        int count; // DoModal calls in this process
    };
    static const Run& LastRun();

private:
    CWnd* m_pParent;
    UINT m_nTemplate;
    int m_nTool = 0;
    Gdiplus::Bitmap* m_pBitmap = nullptr;
    CImageLayer* m_pLayer = nullptr;
    float m_fResolution = 0.0f;
};
