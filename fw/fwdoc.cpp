// Document, view, frame and the single-document template: the framework's new, open
// and close sequences, command routing view -> document -> frame -> application.
#include "fw/fwwin.h"

namespace {

LPCTSTR FrameOrViewClass()
{
    static const bool registered = [] {
        WNDCLASS wc = {};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = FwWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = "FwFrameOrView";
        return AfxRegisterClass(&wc) != FALSE;
    }();
    (void)registered;
    return "FwFrameOrView";
}

} // namespace

// ---------------------------------------------------------------------------------------
// CDocument

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, &CDocument::OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* v : m_viewList)
        v->m_pDocument = nullptr;
    m_viewList.clear();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL)
{
    char full[MAX_PATH];
    char* namePart = nullptr;
    if (::GetFullPathName(lpszPathName, MAX_PATH, full, &namePart) == 0)
        lstrcpyn(full, lpszPathName, MAX_PATH);
    m_strPathName = full;
    const char* slash = strrchr(full, '\\');
    SetTitle(slash ? slash + 1 : full);
}

POSITION CDocument::GetFirstViewPosition() const { return m_viewList.empty() ? nullptr : (POSITION)(UINT_PTR)1; }

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    size_t i = (size_t)(UINT_PTR)rPosition - 1;
    if (i >= m_viewList.size()) {
        rPosition = nullptr;
        return nullptr;
    }
    CView* v = m_viewList[i];
    rPosition = i + 1 < m_viewList.size() ? (POSITION)(UINT_PTR)(i + 2) : nullptr;
    return v;
}

void CDocument::AddView(CView* pView)
{
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    for (auto it = m_viewList.begin(); it != m_viewList.end(); ++it) {
        if (*it == pView) {
            m_viewList.erase(it);
            pView->m_pDocument = nullptr;
            OnChangedViewList();
            return;
        }
    }
}

void CDocument::OnChangedViewList()
{
    // The last view gone: an auto-delete document goes with it.
    if (m_viewList.empty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
    std::vector<CView*> views = m_viewList;
    for (CView* v : views) {
        if (!v->m_hWnd)
            continue;
        if (CFrameWnd* f = v->GetParentFrame())
            f->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    std::vector<CView*> views = m_viewList;
    for (CView* v : views)
        if (v != pSender)
            v->OnUpdate(pSender, lHint, pHint);
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    // The base document has no content of its own: the file must be readable, that is all.
    HANDLE h = ::CreateFile(lpszPathName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        AfxMessageBox(FW_IDP_FAILED_TO_OPEN_DOC, MB_ICONEXCLAMATION);
        return FALSE;
    }
    ::CloseHandle(h);
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR)
{
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // The frames go first; the document must not delete itself while they do.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.empty()) {
        size_t before = m_viewList.size();
        CView* pView = m_viewList.front();
        if (CFrameWnd* pFrame = pView->GetParentFrame()) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else if (pView->m_hWnd) {
            pView->DestroyWindow();
        }
        if (m_viewList.size() == before)
            RemoveView(pView);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
    for (CView* v : m_viewList) {
        CFrameWnd* f = v->GetParentFrame();
        if (f && f != pFrameArg)
            return TRUE; // another frame keeps the document
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    CString format, prompt;
    format.LoadString(FW_IDP_ASK_TO_SAVE);
    prompt.Format(format, (LPCTSTR)name);
    switch (AfxMessageBox((LPCTSTR)prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoFileSave()
{
    DWORD attr = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributes(m_strPathName);
    if (m_strPathName.IsEmpty() || (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY)))
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString path = lpszPathName ? lpszPathName : "";
    if (path.IsEmpty()) {
        CString ext, filter, name = m_strTitle;
        if (m_pDocTemplate) {
            m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt);
            CString filterName;
            if (m_pDocTemplate->GetDocString(filterName, CDocTemplate::filterName) && !filterName.IsEmpty() &&
                !ext.IsEmpty())
                filter.Format("%s|*%s||", (LPCTSTR)filterName, (LPCTSTR)ext);
        }
        if (ext.GetLength() > 1 && ext[0] == '.')
            ext = ext.Mid(1);
        CFileDialog dlg(FALSE, ext.IsEmpty() ? nullptr : (LPCTSTR)ext, name, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        filter.IsEmpty() ? nullptr : (LPCTSTR)filter);
        if (dlg.DoModal() != IDOK)
            return FALSE;
        path = dlg.GetPathName();
    }
    if (!OnSaveDocument(path))
        return FALSE;
    if (bReplace)
        SetPathName(path);
    return TRUE;
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

// ---------------------------------------------------------------------------------------
// CView

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = FrameOrViewClass();
    if (cs.style & WS_BORDER) {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~WS_BORDER;
    }
    return TRUE;
}

void CView::PostNcDestroy() { delete this; }

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (Default() == -1)
        return -1;
    auto* pContext = (CCreateContext*)lpcs->lpCreateParams;
    if (pContext && pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    if (CFrameWnd* pFrame = GetParentFrame())
        if (pFrame->GetActiveView() == this)
            pFrame->SetActiveView(nullptr, FALSE);
    Default();
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    // A document of open length prints its first page only.
    if (pInfo && pInfo->GetMaxPage() == 0xFFFF)
        pInfo->m_bContinuePrinting = (pInfo->m_nCurPage == 1);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    if (bActivate && pActivateView == this && ::IsWindow(m_hWnd)) {
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame && ::GetFocus() != m_hWnd && ::IsWindowEnabled(pFrame->m_hWnd) &&
            ::GetActiveWindow() == pFrame->m_hWnd)
            ::SetFocus(m_hWnd);
    }
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------------------
// CFrameWnd

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
    ON_WM_ERASEBKGND()
    ON_COMMAND(ID_NEXT_PANE, &CFrameWnd::OnNextPane)
    ON_COMMAND(ID_PREV_PANE, &CFrameWnd::OnPrevPane)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    if (m_hMenuDefault && ::IsMenu(m_hMenuDefault))
        ::DestroyMenu(m_hMenuDefault);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = FrameOrViewClass();
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName) {
        hMenu = ::LoadMenu(AfxGetResourceHandle(), lpszMenuName);
        m_hMenuDefault = hMenu;
    }
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT) {
        cx = CW_USEDEFAULT;
        cy = CW_USEDEFAULT;
    }
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, cx, cy,
                    FwGetSafeHwnd(pParentWnd), hMenu, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    HINSTANCE hInst = AfxGetResourceHandle();
    CString full;
    full.LoadString(nIDResource);
    int lf = full.Find('\n');
    m_strTitle = lf >= 0 ? full.Left(lf) : full;

    HICON hIcon = ::LoadIcon(hInst, MAKEINTRESOURCE(nIDResource));
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), hIcon);
    HMENU hMenu = ::LoadMenu(hInst, MAKEINTRESOURCE(nIDResource));
    m_hMenuDefault = hMenu;
    CString title = m_strTitle;
    if (!CreateEx(0, cls, title, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  FwGetSafeHwnd(pParentWnd), hMenu, pContext))
        return FALSE;
    m_hAccelTable = ::LoadAccelerators(hInst, MAKEINTRESOURCE(nIDResource));
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR name)
{
    m_hAccelTable = ::LoadAccelerators(AfxGetResourceHandle(), name);
    return m_hAccelTable != nullptr;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    // The application's main window from the first moment: code running during the
    // rest of start-up (also on other threads) asks for it.
    CWinApp* pApp = AfxGetApp();
    if (pApp && !pApp->m_pMainWnd && !(GetStyle() & WS_CHILD) && pApp->m_nThreadID == GetCurrentThreadId())
        pApp->m_pMainWnd = this;
    if (Default() == -1)
        return -1;
    if (!OnCreateClient(lpcs, (CCreateContext*)lpcs->lpCreateParams))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (!pContext->m_pNewViewClass->IsDerivedFrom(RUNTIME_CLASS(CWnd)))
        return nullptr;
    auto* pView = static_cast<CWnd*>(pContext->m_pNewViewClass->CreateObject());
    if (!pView)
        return nullptr;
    if (!pView->CreateEx(0, nullptr, nullptr, AFX_WS_DEFAULT_VIEW, 0, 0, 0, 0, m_hWnd, (HMENU)(UINT_PTR)nID, pContext))
        return nullptr; // the view deleted itself
    return pView;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pOld = m_pViewActive;
    if (pOld == pViewNew)
        return;
    m_pViewActive = pViewNew;
    if (bNotify) {
        if (pOld)
            pOld->OnActivateView(FALSE, pViewNew, pOld);
        if (pViewNew)
            pViewNew->OnActivateView(TRUE, pViewNew, pOld);
    }
}

CDocument* CFrameWnd::GetActiveDocument() { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

void CFrameWnd::RecalcLayout(BOOL)
{
    if (!m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (m_pPreviewBar && m_pPreviewBar->m_hWnd) {
        RECT bar;
        ::GetWindowRect(m_pPreviewBar->m_hWnd, &bar);
        int h = bar.bottom - bar.top;
        ::MoveWindow(m_pPreviewBar->m_hWnd, 0, 0, rc.right, h, TRUE);
        rc.top += h;
    }
    if (HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        ::MoveWindow(hPane, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC*)
{
    // The view covers the client area.
    if (::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        return TRUE;
    return (BOOL)Default();
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    if (m_pViewActive && m_pViewActive->m_hWnd)
        ::SetFocus(m_pViewActive->m_hWnd);
    else
        Default();
}

void CFrameWnd::OnDestroy()
{
    // A menu that the frame removed from its window is still the frame's to free.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) == m_hMenuDefault)
        m_hMenuDefault = nullptr; // the window destroys its own menu
    Default();
}

void CFrameWnd::PostNcDestroy() { delete this; }

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!::IsWindowVisible(m_hWnd))
            nCmdShow = SW_SHOWNORMAL;
        else if (::IsIconic(m_hWnd))
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) {
        ::ShowWindow(m_hWnd, nCmdShow);
        ::BringWindowToTop(m_hWnd);
    }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CView* pView = nullptr;
    if (!GetActiveView()) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = static_cast<CView*>(pWnd);
            SetActiveView(pView, FALSE);
        }
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (pView)
            pView->OnActivateFrame(WA_INACTIVE, this);
        int nCmdShow = -1;
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd == this) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (pView)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CString text = m_strTitle;
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && pDoc) {
        if (GetStyle() & FWS_PREFIXTITLE)
            text.Format("%s - %s", (LPCTSTR)pDoc->GetTitle(), (LPCTSTR)m_strTitle);
        else
            text.Format("%s - %s", (LPCTSTR)m_strTitle, (LPCTSTR)pDoc->GetTitle());
    }
    CString current;
    GetWindowText(current);
    if (current != text)
        SetWindowText(text);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    // A disabled frame (a modal dialog runs) takes no accelerators.
    if (!m_hAccelTable || !::IsWindowEnabled(m_hWnd))
        return FALSE;
    return ::TranslateAccelerator(m_hWnd, m_hAccelTable, pMsg);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    // The active view first (and through it the document), then the frame, then the
    // application.
    if (CView* pView = GetActiveView())
        if (pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnClose()
{
    CDocument* pDoc = GetActiveDocument();
    if (pDoc && !pDoc->CanCloseFrame(this))
        return;
    HWND hWnd = m_hWnd;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        if (!pDoc && !pApp->SaveAllModified())
            return;
        pApp->CloseAllDocuments(FALSE);
        if (::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == this)
            DestroyWindow();
        return;
    }
    if (pDoc) {
        pDoc->OnCloseDocument();
        return;
    }
    DestroyWindow();
}

void CFrameWnd::OnNextPane()
{
    if (m_pViewActive && m_pViewActive->m_hWnd)
        ::SetFocus(m_pViewActive->m_hWnd);
}

void CFrameWnd::OnPrevPane() { OnNextPane(); }

// ---------------------------------------------------------------------------------------
// Templates

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    m_strDocStrings.LoadString(nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const
{
    rString.Empty();
    const char* p = m_strDocStrings;
    for (int i = 0; i < (int)index; ++i) {
        p = strchr(p, '\n');
        if (!p)
            return FALSE;
        ++p;
    }
    const char* end = strchr(p, '\n');
    rString = end ? CString(p).Left((int)(end - p)) : CString(p);
    return TRUE;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (!m_pDocClass)
        return nullptr;
    auto* pDoc = static_cast<CDocument*>(m_pDocClass->CreateObject());
    if (!pDoc)
        return nullptr;
    AddDocument(pDoc);
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!m_pFrameClass)
        return nullptr;
    auto* pFrame = static_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (!pFrame)
        return nullptr;
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr; // the frame deleted itself
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

BOOL CDocTemplate::SaveAllModified()
{
    for (POSITION pos = GetFirstDocPosition(); pos;)
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        CDocument* pDoc = GetNextDoc(pos);
        pDoc->OnCloseDocument();
        pos = GetFirstDocPosition(); // the list changed
        if (pos && GetNextDoc(pos) == pDoc)
            break; // the document stayed (not auto-delete)
        pos = GetFirstDocPosition();
    }
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc) {
        m_pOnlyDoc->m_pDocTemplate = nullptr;
        m_pOnlyDoc = nullptr;
    }
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const { return m_pOnlyDoc ? (POSITION)(UINT_PTR)1 : nullptr; }

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const
{
    CDocument* pDoc = rPos ? m_pOnlyDoc : nullptr;
    rPos = nullptr;
    return pDoc;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title.LoadString(FW_IDS_UNTITLED);
    pDocument->SetTitle(title);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDocument = nullptr;
    CFrameWnd* pFrame = nullptr;
    bool created = false;
    if (m_pOnlyDoc) {
        // The one document is reused: it may keep its changes first.
        pDocument = m_pOnlyDoc;
        if (!pDocument->SaveModified())
            return nullptr;
        POSITION pos = pDocument->GetFirstViewPosition();
        if (pos)
            if (CView* pView = pDocument->GetNextView(pos))
                pFrame = pView->GetParentFrame();
    } else {
        pDocument = CreateNewDocument();
        if (!pDocument) {
            AfxMessageBox(FW_IDP_FAILED_TO_OPEN_DOC);
            return nullptr;
        }
        created = true;
    }
    if (!pFrame) {
        created = true;
        pFrame = CreateNewFrame(pDocument, nullptr);
        if (!pFrame) {
            AfxMessageBox(FW_IDP_FAILED_TO_OPEN_DOC);
            if (m_pOnlyDoc == pDocument && pDocument->m_viewList.empty())
                delete pDocument;
            return nullptr;
        }
    }
    if (!lpszPathName) {
        SetDefaultTitle(pDocument);
        if (!bMakeVisible)
            pDocument->m_bEmbedded = TRUE;
        if (!pDocument->OnNewDocument()) {
            if (created)
                pFrame->DestroyWindow(); // takes the document with it
            return nullptr;
        }
    } else {
        CWaitCursor wait;
        BOOL wasModified = pDocument->IsModified();
        pDocument->SetModifiedFlag(FALSE);
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            if (created) {
                pFrame->DestroyWindow();
            } else if (!pDocument->IsModified()) {
                pDocument->SetModifiedFlag(wasModified);
            } else {
                // The failed open changed the document: start a fresh one.
                SetDefaultTitle(pDocument);
                pDocument->OnNewDocument();
            }
            return nullptr;
        }
        pDocument->SetPathName(lpszPathName);
    }
    CWinThread* pThread = AfxGetThread();
    if (created && pThread && !pThread->m_pMainWnd)
        pThread->m_pMainWnd = pFrame;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}
