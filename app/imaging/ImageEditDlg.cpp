#include "app/imaging/ImageEditDlg.h"

namespace {
CImageEditDlg::Run g_lastRun = {0, -1, nullptr, nullptr, 0.0f, 0};
}

CImageEditDlg::CImageEditDlg(CWnd* parent, UINT templateId) : m_pParent(parent), m_nTemplate(templateId) {}

INT_PTR CImageEditDlg::DoModal()
{
    g_lastRun = {m_nTemplate, m_nTool, m_pBitmap, m_pLayer, m_fResolution, g_lastRun.count + 1};
    return IDCANCEL;
}

const CImageEditDlg::Run& CImageEditDlg::LastRun() { return g_lastRun; }
