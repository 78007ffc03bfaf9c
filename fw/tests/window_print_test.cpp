// The print road and the print preview, with the test run's PDF queue as the
// application's printer.
#include "window_test_app.h"
#include "window_test_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Input.h"
#include "testsupport/PrintQueue.h"
#include <gtest/gtest.h>
#include <gdiplus.h>
#include <winspool.h>
#include <cstdlib>
#include <new>
#include <string>

namespace {

const char kQueue[] = "Cake_PDF";

HGLOBAL MakeDevNames(const char* device)
{
    const char driver[] = "winspool";
    const char port[] = "";
    size_t size = sizeof(DEVNAMES) + sizeof driver + strlen(device) + 1 + sizeof port;
    HGLOBAL h = GlobalAlloc(GHND, size);
    auto* dn = (DEVNAMES*)GlobalLock(h);
    char* base = (char*)dn;
    WORD off = sizeof(DEVNAMES);
    dn->wDriverOffset = off;
    strcpy(base + off, driver);
    off += sizeof driver;
    dn->wDeviceOffset = off;
    strcpy(base + off, device);
    off += (WORD)(strlen(device) + 1);
    dn->wOutputOffset = off;
    strcpy(base + off, port);
    GlobalUnlock(h);
    return h;
}

HGLOBAL MakeDevMode(const char* device)
{
    HANDLE hPrinter = nullptr;
    if (!OpenPrinter(const_cast<char*>(device), &hPrinter, nullptr))
        return nullptr;
    LONG size = DocumentProperties(nullptr, hPrinter, const_cast<char*>(device), nullptr, nullptr, 0);
    HGLOBAL h = nullptr;
    if (size > 0) {
        h = GlobalAlloc(GHND, (SIZE_T)size);
        auto* dm = (DEVMODE*)GlobalLock(h);
        DocumentProperties(nullptr, hPrinter, const_cast<char*>(device), dm, nullptr, DM_OUT_BUFFER);
        GlobalUnlock(h);
    }
    ClosePrinter(hPrinter);
    return h;
}

void SelectQueue(const char* device) { TestApp().SelectPrinter(MakeDevNames(device), MakeDevMode(device)); }

// A view that prints a black square one inch from the paper's top-left corner, one inch
// wide, and turns the paper to landscape while preparing (as the program's view writes
// paper and orientation into the printer settings).
class PrintView : public CView
{
    DECLARE_DYNCREATE(PrintView)
public:
    static int s_preparations;
    static int s_begins;
    static int s_ends;
    static int s_printCommands;
    static bool s_throwInPrint;
    static HDC s_printDC; // the DC of the last job's OnBeginPrinting
    void OnDraw(CDC*) override {}
    // Stands for the program's print command with its checks.
    void OnPrintCommand() { ++s_printCommands; }
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        ++s_preparations;
        BOOL ok = DoPreparePrinting(pInfo);
        if (ok && pInfo->m_pPD->m_pd.hDevMode) {
            auto* dm = (DEVMODE*)GlobalLock(pInfo->m_pPD->m_pd.hDevMode);
            dm->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
            dm->dmOrientation = DMORIENT_LANDSCAPE;
            dm->dmPaperSize = DMPAPER_A4;
            GlobalUnlock(pInfo->m_pPD->m_pd.hDevMode);
        }
        return ok;
    }
    void OnBeginPrinting(CDC* pDC, CPrintInfo*) override
    {
        ++s_begins;
        s_printDC = pDC->m_hDC;
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { ++s_ends; }
    void OnPrint(CDC* pDC, CPrintInfo*) override
    {
        if (s_throwInPrint)
            throw std::bad_alloc(); // as a large image may, halfway through the page
        int dpx = pDC->GetDeviceCaps(LOGPIXELSX), dpy = pDC->GetDeviceCaps(LOGPIXELSY);
        int ox = pDC->GetDeviceCaps(PHYSICALOFFSETX), oy = pDC->GetDeviceCaps(PHYSICALOFFSETY);
        RECT r = {dpx - ox, dpy - oy, 2 * dpx - ox, 2 * dpy - oy};
        ::FillRect(pDC->m_hDC, &r, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        // As the program draws: GDI+ in inches, scaled by the device's pixels per inch
        // over the graphics' own resolution; a red square two inches further right.
        Gdiplus::Graphics g(pDC->m_hDC);
        g.SetPageUnit(Gdiplus::UnitInch);
        g.SetPageScale((float)dpx / g.GetDpiX());
        g.TranslateTransform(-(float)ox / dpx, -(float)oy / dpy);
        Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
        g.FillRectangle(&red, 3.0f, 1.0f, 1.0f, 1.0f);
    }
    DECLARE_MESSAGE_MAP()
};
int PrintView::s_preparations = 0;
int PrintView::s_begins = 0;
int PrintView::s_ends = 0;
int PrintView::s_printCommands = 0;
bool PrintView::s_throwInPrint = false;
HDC PrintView::s_printDC = nullptr;
IMPLEMENT_DYNCREATE(PrintView, CView)
BEGIN_MESSAGE_MAP(PrintView, CView)
    ON_COMMAND(ID_FILE_PRINT, &PrintView::OnPrintCommand)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, &CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview)
END_MESSAGE_MAP()

class PrintDoc : public CDocument
{
    DECLARE_DYNCREATE(PrintDoc)
};
IMPLEMENT_DYNCREATE(PrintDoc, CDocument)

struct PrintFixture : ::testing::Test
{
    CSingleDocTemplate* tmpl = nullptr;
    CFrameWnd* frame = nullptr;
    CView* view = nullptr;
    HGLOBAL oldNames = nullptr, oldMode = nullptr;

    void SetUp() override
    {
        REQUIRE_PRINT_QUEUE(kQueue);
        oldNames = TestApp().m_hDevNames;
        oldMode = TestApp().m_hDevMode;
        TestApp().SelectPrinter(nullptr, nullptr, FALSE);
        SelectQueue(kQueue);
        PrintView::s_preparations = PrintView::s_begins = PrintView::s_ends = 0;
        PrintView::s_printCommands = 0;
        PrintView::s_throwInPrint = false;
        PrintView::s_printDC = nullptr;
        TestApp().m_nCmdShow = SW_SHOWNORMAL;
        tmpl = new CSingleDocTemplate(IDR_TEST_SHELL, RUNTIME_CLASS(PrintDoc), RUNTIME_CLASS(CFrameWnd),
                                      RUNTIME_CLASS(PrintView));
        CDocument* doc = tmpl->OpenDocumentFile(nullptr);
        ASSERT_NE(nullptr, doc);
        POSITION pos = doc->GetFirstViewPosition();
        view = doc->GetNextView(pos);
        frame = view->GetParentFrame();
        ASSERT_NE(nullptr, frame);
        ::MoveWindow(frame->m_hWnd, 0, 0, 800, 600, TRUE);
        PumpPending();
    }
    void TearDown() override
    {
        if (tmpl && tmpl->m_pOnlyDoc)
            tmpl->m_pOnlyDoc->OnCloseDocument();
        delete tmpl;
        TestApp().m_pMainWnd = nullptr;
        PumpPending();
        MSG m;
        while (PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        if (oldNames || oldMode || TestApp().m_hDevNames)
            TestApp().SelectPrinter(oldNames, oldMode);
        TestApp().messages.clear();
    }
};

// Run by fw/tests/scripts/print_pdf.sh, which then reads the PDF the job wrote.
TEST_F(PrintFixture, PrintsOnePageToTheQueue)
{
    if (!getenv("FW_PRINT_CHECK"))
        GTEST_SKIP() << "run by the PDF check script";
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(1, PrintView::s_preparations);
    EXPECT_EQ(1, PrintView::s_begins);
    EXPECT_EQ(1, PrintView::s_ends);
    EXPECT_TRUE(TestApp().messages.empty()) << TestApp().messages[0];
}

// Run by fw/tests/scripts/print_pdf.sh, which then checks that nothing was printed.
TEST_F(PrintFixture, PageThatFailsDropsTheJob)
{
    if (!getenv("FW_PRINT_CHECK"))
        GTEST_SKIP() << "run by the PDF check script";
    PrintView::s_throwInPrint = true;
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(1, PrintView::s_begins);
    EXPECT_EQ(1, PrintView::s_ends) << "the view cleans up after a failed page too";
    ASSERT_NE(nullptr, PrintView::s_printDC);
    EXPECT_EQ(0u, (UINT)::GetObjectType(PrintView::s_printDC)) << "the job's DC is deleted";
    CString outOfMemory;
    outOfMemory.LoadString(FW_IDS_MEMORY_EXCEPTION);
    ASSERT_EQ(1u, TestApp().messages.size());
    EXPECT_EQ(std::string(outOfMemory), TestApp().messages[0]);
}

TEST_F(PrintFixture, PreviewThatFailsOnItsFirstPageGivesTheViewBack)
{
    PrintView::s_throwInPrint = true;
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CString outOfMemory;
    outOfMemory.LoadString(FW_IDS_MEMORY_EXCEPTION);
    ASSERT_EQ(1u, TestApp().messages.size());
    EXPECT_EQ(std::string(outOfMemory), TestApp().messages[0]);
    EXPECT_EQ(view, frame->GetActiveView());
    EXPECT_TRUE(::IsWindowVisible(view->m_hWnd));
    EXPECT_EQ(view->m_hWnd, ::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST));
    EXPECT_EQ(nullptr, ::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_SAVE));
    EXPECT_EQ(nullptr, ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR));
    EXPECT_EQ(nullptr, frame->m_pPreviewBar);
    EXPECT_EQ(1, PrintView::s_begins);
    EXPECT_EQ(1, PrintView::s_ends);
    ASSERT_NE(nullptr, PrintView::s_printDC);
    EXPECT_EQ(0u, (UINT)::GetObjectType(PrintView::s_printDC)) << "the preview's DC is deleted";
    // The preview works again once the page draws.
    PrintView::s_throwInPrint = false;
    TestApp().messages.clear();
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    EXPECT_TRUE(TestApp().messages.empty());
    ASSERT_NE(nullptr, ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR));
    FwClosePrintPreview(frame);
    EXPECT_EQ(view, frame->GetActiveView());
}

TEST_F(PrintFixture, PreviewTakesTheViewsPlaceAndClosesWithItsButton)
{
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    ASSERT_TRUE(TestApp().messages.empty()) << TestApp().messages[0];
    CView* active = frame->GetActiveView();
    ASSERT_NE(nullptr, active);
    ASSERT_TRUE(active->IsKindOf(RUNTIME_CLASS(CPreviewView)));
    auto* preview = static_cast<CPreviewView*>(active);
    EXPECT_EQ(1, PrintView::s_preparations);
    EXPECT_EQ(1, PrintView::s_begins);
    EXPECT_EQ((UINT)OBJ_DC, (UINT)::GetObjectType(PrintView::s_printDC)) << "held while shown";
    EXPECT_FALSE(::IsWindowVisible(view->m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(preview->m_hWnd));

    // The tool bar strip of template 30723 sits on top, the preview fills the rest.
    HWND bar = ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(nullptr, bar);
    for (int id : {AFX_ID_PREVIEW_PRINT, AFX_ID_PREVIEW_NEXT, AFX_ID_PREVIEW_PREV, AFX_ID_PREVIEW_NUMPAGE,
                   AFX_ID_PREVIEW_ZOOMIN, AFX_ID_PREVIEW_ZOOMOUT, AFX_ID_PREVIEW_CLOSE})
        EXPECT_NE(nullptr, ::GetDlgItem(bar, id)) << id;
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(bar, AFX_ID_PREVIEW_NEXT))) << "one page only";
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(bar, AFX_ID_PREVIEW_PREV)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(bar, AFX_ID_PREVIEW_ZOOMIN)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(bar, AFX_ID_PREVIEW_ZOOMOUT)));
    RECT barRect, previewRect;
    ::GetWindowRect(bar, &barRect);
    ::GetWindowRect(preview->m_hWnd, &previewRect);
    EXPECT_EQ(barRect.bottom, previewRect.top);

    // The page is landscape (the view turned it) and shows the square one inch in.
    preview->UpdateWindow();
    CRect page = preview->GetPageRect(0);
    EXPECT_GT(page.Width(), page.Height());
    double perInch = page.Width() / 11.69; // A4 landscape is 11.69 inches wide
    POINT inside = {page.left + (int)(1.5 * perInch), page.top + (int)(1.5 * perInch)};
    POINT outside = {page.left + (int)(2.5 * perInch), page.top + (int)(1.5 * perInch)};
    POINT red = {page.left + (int)(3.5 * perInch), page.top + (int)(1.5 * perInch)};
    HDC hdc = ::GetDC(preview->m_hWnd);
    COLORREF in = ::GetPixel(hdc, inside.x, inside.y);
    COLORREF out = ::GetPixel(hdc, outside.x, outside.y);
    COLORREF redPixel = ::GetPixel(hdc, red.x, red.y);
    ::ReleaseDC(preview->m_hWnd, hdc);
    EXPECT_EQ(RGB(0, 0, 0), in);
    EXPECT_EQ(RGB(255, 255, 255), out);
    EXPECT_EQ(RGB(255, 0, 0), redPixel) << "GDI+ drawing shows in the preview";

    if (const char* pause = getenv("FW_PREVIEW_PAUSE_MS")) // time for a screenshot
        PumpUntil([] { return false; }, (DWORD)atoi(pause));

    // Zoom in and out again, then Close.
    ::SendMessage(::GetDlgItem(bar, AFX_ID_PREVIEW_ZOOMIN), BM_CLICK, 0, 0);
    EXPECT_EQ(1, preview->GetZoom());
    ::SendMessage(::GetDlgItem(bar, AFX_ID_PREVIEW_ZOOMOUT), BM_CLICK, 0, 0);
    EXPECT_EQ(0, preview->GetZoom());
    ::SendMessage(::GetDlgItem(bar, AFX_ID_PREVIEW_CLOSE), BM_CLICK, 0, 0);
    EXPECT_EQ(view, frame->GetActiveView());
    EXPECT_TRUE(::IsWindowVisible(view->m_hWnd));
    EXPECT_EQ(view->m_hWnd, ::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST));
    EXPECT_EQ(nullptr, ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR));
    EXPECT_EQ(1, PrintView::s_ends);
    EXPECT_EQ(0, PrintView::s_printCommands);
    EXPECT_EQ(0u, (UINT)::GetObjectType(PrintView::s_printDC)) << "the preview's DC is deleted";
}

TEST_F(PrintFixture, PrintFromPreviewClosesItAndRunsThePrintCommand)
{
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    HWND bar = ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(nullptr, bar);
    ::SendMessage(::GetDlgItem(bar, AFX_ID_PREVIEW_PRINT), BM_CLICK, 0, 0);
    EXPECT_EQ(1, PrintView::s_printCommands);
    EXPECT_EQ(view, frame->GetActiveView());
    EXPECT_EQ(nullptr, ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR));
}

TEST_F(PrintFixture, DefaultPrinterWhenNoneIsChosen)
{
    TestApp().SelectPrinter(nullptr, nullptr);
    PRINTDLG pd = {};
    pd.lStructSize = sizeof pd;
    ASSERT_TRUE(TestApp().GetPrinterDeviceDefaults(&pd));
    auto* dn = (DEVNAMES*)GlobalLock(pd.hDevNames);
    EXPECT_STREQ(kQueue, (const char*)dn + dn->wDeviceOffset);
    GlobalUnlock(pd.hDevNames);
    CDC dc;
    ASSERT_TRUE(TestApp().CreatePrinterDC(dc));
    EXPECT_TRUE(dc.IsPrinting());
    EXPECT_GT(dc.GetDeviceCaps(LOGPIXELSX), 96);
}

// The application lets go of its printer while the print dialog is open (the program's
// start-up timer chooses the printer again, freeing the old blocks): the dialog works on
// copies of its own, and what the person chose then becomes the application's printer.
TEST_F(PrintFixture, PrinterLetGoWhileTheDialogIsOpen)
{
    struct Case
    {
        const char* name;
        bool letGo;
    } cases[] = {{"printer kept", false}, {"printer let go under the dialog", true}};
    for (const Case& c : cases) {
        SelectQueue(kQueue);
        CPrintDialog dlg(FALSE);
        DialogDriver driver([&](HWND d) {
            if (c.letGo)
                TestApp().SelectPrinter(nullptr, nullptr, TRUE);
            Press(d, IDOK);
        });
        EXPECT_EQ(IDOK, TestApp().DoPrintDialog(&dlg)) << c.name;
        EXPECT_TRUE(driver.Acted()) << c.name;
        ASSERT_NE(nullptr, dlg.m_pd.hDevNames) << c.name;
        EXPECT_STREQ(kQueue, dlg.GetDeviceName()) << c.name;
        // The application holds a block of its own with the same choice.
        ASSERT_NE(nullptr, TestApp().m_hDevNames) << c.name;
        EXPECT_NE(dlg.m_pd.hDevNames, TestApp().m_hDevNames) << c.name;
        auto* dn = (DEVNAMES*)GlobalLock(TestApp().m_hDevNames);
        EXPECT_STREQ(kQueue, (const char*)dn + dn->wDeviceOffset) << c.name;
        GlobalUnlock(TestApp().m_hDevNames);
    }
}

TEST_F(PrintFixture, NoPrinterGivesCommandFailure)
{
    TestApp().SelectPrinter(MakeDevNames("No Such Printer"), nullptr);
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CString failure;
    failure.LoadString(FW_IDP_COMMAND_FAILURE);
    ASSERT_EQ(1u, TestApp().messages.size());
    EXPECT_EQ(std::string(failure), TestApp().messages[0]);
    EXPECT_EQ(view, frame->GetActiveView());
    EXPECT_TRUE(::IsWindowVisible(view->m_hWnd));
    EXPECT_EQ(nullptr, ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR));
}

} // namespace
