// The thumbnail grid in a test window: the cells of a folder laid out for the client width,
// the wheel and the vertical bar, clicks through the display passed on to the parent, the
// cells as a person sees them, images read by kind (hostile designs, empty images), the PNG
// a cell writes, and a new folder while the worker runs.
#include "app/browser/ThumbNailControl.h"
#include "app/browser/ThumbnailButton.h"
#include "app/browser/ThumbListCtrl.h"

#include "model/thumbs/tests/ThumbFixture.h"
#include "testsupport/Dump.h"
#include "testsupport/Pixels.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "ui/tests/input/Xdo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Gdiplus;

namespace {

const ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF20A040;

// The grid's parent: records what the grid passes on.
class GridParent : public CWnd
{
public:
    std::vector<std::pair<UINT, WPARAM>> received;

    LRESULT OnChosen(WPARAM w, LPARAM)
    {
        received.push_back({WM_THUMBNAIL_CHOSEN, w});
        return 0;
    }
    LRESULT OnOpened(WPARAM w, LPARAM)
    {
        received.push_back({0x3F2, w});
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(GridParent, CWnd)
    ON_MESSAGE(WM_THUMBNAIL_CHOSEN, &GridParent::OnChosen)
    ON_MESSAGE(0x3F2, &GridParent::OnOpened)
END_MESSAGE_MAP()

struct GridWindow
{
    GridParent parent;
    CThumbNailControl grid;
    GridWindow(int width, int height)
    {
        EnsureTestApp();
        EXPECT_TRUE(parent.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), "grid", WS_POPUP | WS_VISIBLE, 60, 60, width,
                                    height, nullptr, nullptr));
        EXPECT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &parent, 1));
        ::SetForegroundWindow(parent.m_hWnd);
    }
    ~GridWindow()
    {
        grid.DestroyWindow();
        parent.DestroyWindow();
    }
    POINT ButtonAt(INT_PTR i)
    {
        CRect r;
        grid.GetButton(i)->GetWindowRect(&r);
        grid.ScreenToClient(&r);
        return r.TopLeft();
    }
};

// Five pictures, a text file and a JPEG named ".jpeg" (kind 1 takes it too).
std::string FiveImages()
{
    const std::string folder = ktb::ScratchFolder("browser_grid");
    ::DeleteFile((folder + "\\thumbs.pst").c_str());
    ktb::WriteFileBytes(folder + "\\a.png", thumb_test::Picture(200, 100, kRed, kBlue));
    ktb::WriteFileBytes(folder + "\\b.bmp", thumb_test::Picture(60, 90, kGreen, kGreen, L"image/bmp"));
    ktb::WriteFileBytes(folder + "\\c.jpeg", thumb_test::Picture(80, 80, kBlue, kBlue, L"image/jpeg"));
    ktb::WriteFileBytes(folder + "\\d.jpg", thumb_test::Picture(90, 40, kRed, kRed, L"image/jpeg"));
    ktb::WriteFileBytes(folder + "\\e.png", thumb_test::Picture(40, 90, kGreen, kBlue));
    ktb::WriteFileBytes(folder + "\\notes.txt", ktb::Bytes(20, 'n'));
    return folder;
}

int CountNot(const Picture& p, const RECT& r, DWORD colour)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += (p.At(x, y) & 0xFFFFFF) != colour;
    return n;
}

int CountOf(const Picture& p, const RECT& r, DWORD colour)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += (p.At(x, y) & 0xFFFFFF) == colour;
    return n;
}

} // namespace

// Five files of kind 1 give five cells, three to a row in a client 330 wide (a fourth cell
// would leave no more than 0.8 of a cell); the bar and the wheel move the rows.
TEST(ThumbGrid, FolderCellsLaidOutAndScrolled)
{
    const std::string folder = FiveImages();
    GridWindow w(330, 150);
    w.grid.SetFileKind(CThumbnailThread::kImages);
    w.grid.AddFolder(folder.c_str(), "*.*", FALSE);
    ASSERT_EQ(5, w.grid.GetButtonCount());
    EXPECT_EQ(3, w.grid.GetColumns());
    EXPECT_EQ(2, w.grid.GetRows());
    const POINT cells[] = {{4, 4}, {108, 4}, {212, 4}, {4, 108}, {108, 108}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(cells[i].x, w.ButtonAt(i).x) << i;
        EXPECT_EQ(cells[i].y, w.ButtonAt(i).y) << i;
    }
    // 216 high in 150: the vertical bar shows; the content fits across.
    EXPECT_TRUE(w.grid.GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(w.grid.GetStyle() & WS_HSCROLL);
    ASSERT_TRUE(PumpUntil([&] { return !w.grid.GetWorker().IsAlive(); }, 10000));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributes((folder + "\\thumbs.pst").c_str()))
        << "the worker made the folder's cache";

    struct Step
    {
        UINT message;
        WPARAM w;
        int top; // of the first cell afterwards
    } steps[] = {
        {WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-120), 4 - 5},
        {WM_VSCROLL, SB_LINEDOWN, 4 - 25},
        {WM_VSCROLL, SB_PAGEUP, 4 - 5},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 4},
        {WM_VSCROLL, SB_LINEUP, 4}, // kept at the top of the range
    };
    for (const Step& s : steps) {
        w.grid.SendMessage(s.message, s.w, 0);
        EXPECT_EQ(s.top, w.ButtonAt(0).y) << s.message << " " << s.w;
        EXPECT_EQ(s.top + 104, w.ButtonAt(3).y);
    }
    // A new layout puts the bar and the rows back at the top together.
    w.grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(20, w.grid.GetScrollPos(SB_VERT));
    w.grid.SendMessage(WM_GRID_RELAYOUT);
    EXPECT_EQ(0, w.grid.GetScrollPos(SB_VERT));
    EXPECT_EQ(4, w.ButtonAt(0).y);
}

// A click on a cell reaches the grid's parent as WM_USER+0x55 with the cell, a double click
// also as 0x3F2; the screenshot shows the names and the selected cell's blue frame.
TEST(ThumbGrid, ClicksReachTheParentAndCellsShowNameAndFrame)
{
    const std::string folder = FiveImages();
    GridWindow w(330, 240);
    w.grid.SetFileKind(CThumbnailThread::kImages);
    w.grid.AddFolder(folder.c_str(), "*.*", FALSE);
    ASSERT_EQ(5, w.grid.GetButtonCount());
    for (INT_PTR i = 0; i < w.grid.GetButtonCount(); ++i)
        EXPECT_TRUE(w.grid.GetButton(i)->LoadImageByKind()) << (LPCTSTR)w.grid.GetButton(i)->GetPath();
    CThumbnailButton* selected = w.grid.GetButton(1);
    selected->SetSelected(TRUE);
    w.parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPending();
    ASSERT_TRUE(PumpUntil([&] { return !w.grid.GetWorker().IsAlive(); }, 10000));
    PumpPending();
    EXPECT_TRUE(SaveScreenshot(w.parent.m_hWnd, "thumb_grid"));

    const Picture cell = PictureOfWindow(selected->m_hWnd, CRect(0, 0, 100, 100));
    const Picture plain = PictureOfWindow(w.grid.GetButton(0)->m_hWnd, CRect(0, 0, 100, 100));
    ASSERT_EQ(100, cell.width);
    ASSERT_EQ(100, plain.width);
    const DWORD blue = 0x0000FF, white = 0xFFFFFF;
    EXPECT_EQ(blue, cell.At(0, 50) & 0xFFFFFF) << "the frame of the selected cell";
    EXPECT_EQ(blue, cell.At(50, 99) & 0xFFFFFF);
    EXPECT_EQ(white, plain.At(0, 50) & 0xFFFFFF) << "no frame on the others";
    const RECT nameBand = {5, 88, 95, 97};
    EXPECT_GT(CountOf(cell, nameBand, blue), 5) << "the selected cell's name in blue";
    EXPECT_GT(CountNot(plain, nameBand, white), 5) << "the name of a cell";
    EXPECT_EQ(0, CountOf(plain, nameBand, blue));
    const RECT imageArea = {10, 10, 90, 40};
    EXPECT_GT(CountNot(plain, imageArea, white), 100) << "the image of a.png";

    w.parent.received.clear();
    const POINT centre = CentreOf(w.grid.GetButton(3)->m_hWnd);
    ASSERT_TRUE(Xdo("mousemove --sync %ld %ld click 1", centre.x, centre.y));
    ASSERT_TRUE(PumpUntil([&] { return w.parent.received.size() >= 1; }));
    PumpPending();
    const WPARAM fourth = (WPARAM)w.grid.GetButton(3);
    EXPECT_EQ((std::vector<std::pair<UINT, WPARAM>>{{WM_THUMBNAIL_CHOSEN, fourth}}), w.parent.received);

    w.parent.received.clear();
    const POINT other = CentreOf(w.grid.GetButton(4)->m_hWnd);
    ASSERT_TRUE(Xdo("mousemove --sync %ld %ld click --repeat 2 --delay 60 1", other.x, other.y));
    ASSERT_TRUE(PumpUntil([&] { return w.parent.received.size() >= 2; }));
    PumpPending();
    const WPARAM fifth = (WPARAM)w.grid.GetButton(4);
    EXPECT_EQ((std::vector<std::pair<UINT, WPARAM>>{{WM_THUMBNAIL_CHOSEN, fifth}, {0x3F2, fifth}}), w.parent.received);
}

// Images by kind: designs and paper layouts through their checked "Thumbnail" (a hostile
// file gives nothing, quickly), templates darkened, an image without pixels not scaled.
TEST(ThumbGridButton, LoadImageByKind)
{
    EnsureTestApp();
    const std::string folder = ktb::ScratchFolder("browser_button");
    const ktb::Bytes png = thumb_test::Picture(180, 90, kRed, kRed);
    const ktb::Bytes design = thumb_test::DesignFile(thumb_test::Picture(90, 180, kGreen, kGreen));
    struct Case
    {
        const char* name;
        ktb::Bytes bytes;
        bool shown;
        int width, height; // of the scaled image
        COLORREF centre;
    } cases[] = {
        {"red.png", png, true, 90, 45, RGB(255, 0, 0)},
        {"red.tpl", png, true, 90, 45, RGB(178, 0, 0)},
        {"cake.ktb", design, true, 45, 90, RGB(0x20, 0xA0, 0x40)},
        {"sheet.PAP", design, true, 45, 90, RGB(0x20, 0xA0, 0x40)},
        {"looping.ktb", thumb_test::WithLoopingChain(design, "Thumbnail"), false, 0, 0, 0},
        {"short.ktb", ktb::Bytes(design.begin(), design.begin() + 700), false, 0, 0, 0},
        {"png.ktb", png, false, 0, 0, 0},
        {"empty.png", ktb::Bytes(), false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + "\\" + c.name;
        ktb::WriteFileBytes(path, c.bytes);
        CThumbnailButton button(path.c_str(), CTime(), 100, 100);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(c.shown, button.LoadImageByKind() != FALSE);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        Bitmap* image = button.GetImage();
        ASSERT_EQ(c.shown, image != nullptr);
        if (image == nullptr)
            continue;
        EXPECT_EQ(c.width, (int)image->GetWidth());
        EXPECT_EQ(c.height, (int)image->GetHeight());
        Color centre;
        image->GetPixel(c.width / 2, c.height / 2, &centre);
        EXPECT_NEAR(GetRValue(c.centre), centre.GetR(), 3);
        EXPECT_NEAR(GetGValue(c.centre), centre.GetG(), 3);
        EXPECT_NEAR(GetBValue(c.centre), centre.GetB(), 3);
    }
    EXPECT_EQ("RED.PNG",
              std::string(CThumbnailButton((folder + "\\red.png").c_str(), CTime(), 100, 100).GetFileName()));

    // No pixels: nothing is scaled, nothing shown; the image before it is dropped.
    CThumbnailButton button((folder + "\\red.png").c_str(), CTime(), 100, 100);
    ASSERT_TRUE(button.LoadImageByKind());
    Bitmap empty(0, 0, PixelFormat24bppRGB);
    EXPECT_EQ(0u, empty.GetWidth());
    EXPECT_FALSE(button.SetImage(&empty, "EMPTY", 3));
    EXPECT_EQ(nullptr, button.GetImage());
    EXPECT_EQ(3, button.GetValue());
}

// The cell's image as PNG into a stream, which the cell releases.
TEST(ThumbGridButton, SaveImageToStreamWritesPngAndReleasesTheStream)
{
    EnsureTestApp();
    CThumbnailButton button("C:\\x\\pic.png", CTime(), 100, 100);
    Bitmap source(60, 30, PixelFormat32bppARGB);
    {
        Graphics g(&source);
        g.Clear(Color(kBlue));
    }
    ASSERT_TRUE(button.SetImage(&source, "PIC.PNG", 1));
    IStream* stream = nullptr;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    stream->AddRef(); // handed over; the first one stays ours
    EXPECT_TRUE(button.SaveImageToStream(stream));
    EXPECT_EQ(2u, stream->AddRef()) << "the handed-over reference was released";
    stream->Release();
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    BYTE signature[8] = {};
    ULONG read = 0;
    stream->Read(signature, 8, &read);
    EXPECT_EQ(0, memcmp(signature, "\x89PNG\r\n\x1a\n", 8));
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    {
        Bitmap back(stream, FALSE);
        EXPECT_EQ(90u, back.GetWidth());
        EXPECT_EQ(45u, back.GetHeight());
    }
    stream->Release();
    // Without an image nothing is written, and the stream is still released.
    CThumbnailButton blank("C:\\x\\blank.png", CTime(), 100, 100);
    IStream* second = nullptr;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &second));
    second->AddRef();
    EXPECT_FALSE(blank.SaveImageToStream(second));
    EXPECT_EQ(0u, second->Release());
}

// A new folder while the worker runs: the reset waits for it (handling messages) and the
// second run ends too; the buttons are those of the second folder.
TEST(ThumbGrid, NewFolderWhileTheWorkerRuns)
{
    const std::string first = FiveImages();
    const std::string second = ktb::ScratchFolder("browser_grid_two");
    ::DeleteFile((second + "\\thumbs.pst").c_str());
    ktb::WriteFileBytes(second + "\\only.png", thumb_test::Picture(30, 30, kRed, kRed));
    GridWindow w(330, 240);
    w.grid.SetFileKind(CThumbnailThread::kImages);
    for (int round = 0; round < 5; ++round) {
        w.grid.AddFolder(first.c_str(), "*.*", FALSE);
        w.grid.AddFolder(second.c_str(), "*.*", FALSE);
    }
    EXPECT_EQ(1, w.grid.GetButtonCount());
    EXPECT_TRUE(PumpUntil([&] { return !w.grid.GetWorker().IsAlive(); }, 10000));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributes((second + "\\thumbs.pst").c_str()));
}
