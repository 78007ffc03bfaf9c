// The thumbnail list with its worker: placement on white, choosing items, folders of each
// kind with their cache, browsing again, hostile and unusable caches, a new load while one
// runs, and a list destroyed while it loads.
#include "app/browser/ThumbListCtrl.h"
#include "model/thumbs/tests/ThumbFixture.h"
#include "res/app_res.h"
#include "res/paper_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/DibSurface.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <functional>
#include <set>

using namespace Gdiplus;
using thumb_test::Bytes;

namespace {

const UINT kKick = WM_APP + 77;

// The list's parent: counts what the list posts it and runs a test's action on kKick.
class Parent : public CWnd
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> chosen;
    std::function<void()> onKick;

    LRESULT OnChosen(WPARAM w, LPARAM l)
    {
        chosen.push_back({w, l});
        return 0;
    }
    LRESULT OnKick(WPARAM, LPARAM)
    {
        if (onKick)
            onKick();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Parent, CWnd)
    ON_MESSAGE(WM_THUMBNAIL_CHOSEN, &Parent::OnChosen)
    ON_MESSAGE(kKick, &Parent::OnKick)
END_MESSAGE_MAP()

struct ListWindow
{
    Parent parent;
    CThumbListCtrl list;
    ListWindow()
    {
        EnsureTestApp();
        EXPECT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "thumbnails", WS_POPUP | WS_VISIBLE, 0, 0, 700, 500,
                                    nullptr, nullptr));
        EXPECT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_ICON | LVS_SINGLESEL, CRect(0, 0, 700, 500),
                                &parent, 1));
        list.CreateImageList();
    }
    ~ListWindow()
    {
        list.DestroyWindow();
        parent.DestroyWindow();
    }
    // Loads and waits (handling messages, bounded) for the worker to end.
    bool Load(const std::string& folder, int kind, DWORD ms = 30000)
    {
        list.LoadFolder(folder.c_str(), "*.*", FALSE, kind);
        return PumpUntil([&] { return !list.GetWorker().IsAlive(); }, ms);
    }
    std::set<std::string> Labels() const
    {
        std::set<std::string> labels;
        for (int i = 0; i < list.GetItemCount(); ++i)
            labels.insert((LPCTSTR)list.GetItemText(i, 0));
        return labels;
    }
    int Find(const char* label) const
    {
        for (int i = 0; i < list.GetItemCount(); ++i)
            if (list.GetItemText(i, 0) == label)
                return i;
        return -1;
    }
    // Pixel (x, y) of image `index` of the list's image list.
    COLORREF ImagePixel(int index, int x, int y) const
    {
        DibSurface surface(125, 125, RGB(1, 2, 3));
        ImageList_Draw(list.GetImageList(LVSIL_NORMAL), index, surface.Hdc(), 0, 0, ILD_NORMAL);
        return surface.At(x, y);
    }
};

std::string Put(const std::string& folder, const std::string& name, const Bytes& bytes)
{
    const std::string path = folder + "\\" + name;
    EXPECT_TRUE(ktb::WriteFileBytes(path, bytes)) << path;
    return path;
}

// A folder given by the build's script (for its independent reader), else a scratch one.
std::string FolderFor(const char* variable, const char* scratch)
{
    const char* given = getenv(variable);
    return given ? std::string(given) : ktb::ScratchFolder(scratch);
}

const ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kCake = 0xFFC86432, kGreen = 0xFF20A040;
const char* const kLongName = "abcdefghijklmnopqrstuvwx.png"; // 28 characters

// The fixture folder: pictures of each kind, a design, a paper layout, a text file, a name
// too long for the cache and one with "!".
void MakeFixture(const std::string& folder)
{
    const Bytes big = thumb_test::Picture(400, 300, kCake, kBlue);
    Put(folder, "big.png", big);
    Put(folder, "small.bmp", thumb_test::Picture(50, 40, kRed, kRed, L"image/bmp"));
    Put(folder, "t.tpl", big); // the same PNG as a template
    Put(folder, "d.ktb", thumb_test::DesignFile(thumb_test::Picture(250, 100, kGreen, kGreen)));
    Put(folder, "p.pap", thumb_test::DesignFile(thumb_test::Picture(100, 250, kBlue, kBlue)));
    Put(folder, "notes.txt", Bytes(30, 'n'));
    Put(folder, kLongName, thumb_test::Picture(60, 40, kRed, kBlue));
    Put(folder, "wow!.png", thumb_test::Picture(60, 40, kBlue, kRed));
}

// A scratch folder of this process alone (a script may run a test beside the whole suite),
// removed with its files when the test ends.
struct OwnFolder
{
    std::string path;
    explicit OwnFolder(const char* name)
        : path(ktb::ScratchFolder((std::string(name) + "_" + std::to_string(GetCurrentProcessId())).c_str()))
    {}
    ~OwnFolder()
    {
        RemoveDirectoryA((path + "\\thumbs.pst").c_str());
        ktb::ScratchFolder(path.substr(path.rfind('\\') + 1).c_str()); // empties it
        RemoveDirectoryA(path.c_str());
    }
};

int ProcessThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    THREADENTRY32 entry = {sizeof entry};
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    CloseHandle(snapshot);
    return count;
}

::testing::AssertionResult Channels(COLORREF c, int r, int g, int b, int tolerance = 4)
{
    if (abs((int)GetRValue(c) - r) <= tolerance && abs((int)GetGValue(c) - g) <= tolerance &&
        abs((int)GetBValue(c) - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << (int)GetRValue(c) << "," << (int)GetGValue(c) << ","
                                         << (int)GetBValue(c) << " instead of " << r << "," << g << "," << b;
}

// ---------------------------------------------------------------------------------------

TEST(ThumbList, ImagesAreFittedOnWhite)
{
    struct Case
    {
        const char* what;
        int w, h;
        int column, row;       // a line through the middle, across the placement
        bool vertical;         // the line runs down a column
        int firstRed, lastRed; // where the image lies on it
    } cases[] = {
        {"250 x 100: 125 x 50 at y 37", 250, 100, 62, 0, true, 37, 86},
        {"100 x 250: 50 x 125 at x 37", 100, 250, 0, 62, false, 37, 86},
    };
    for (const Case& c : cases) {
        Bitmap red(c.w, c.h, PixelFormat24bppRGB);
        {
            Graphics g(&red);
            g.Clear(Color(kRed));
        }
        HBITMAP fitted = CThumbListCtrl::FitThumbnail(&red, 125, 125);
        ASSERT_NE(nullptr, fitted) << c.what;
        DibSurface surface(125, 125, RGB(1, 2, 3));
        {
            CDC memory;
            memory.CreateCompatibleDC(nullptr);
            CSelectGuard select(memory.GetSafeHdc(), fitted);
            BitBlt(surface.Hdc(), 0, 0, 125, 125, memory.GetSafeHdc(), 0, 0, SRCCOPY);
        }
        DeleteObject(fitted);
        auto at = [&](int along) { return c.vertical ? surface.Rgb(c.column, along) : surface.Rgb(along, c.row); };
        // White outside, red well inside; the edge rows may blend.
        for (int p : {0, c.firstRed - 2, c.lastRed + 2, 124})
            EXPECT_EQ(0xFFFFFFu, at(p)) << c.what << " at " << p;
        for (int p : {c.firstRed + 2, 62, c.lastRed - 2})
            EXPECT_EQ(0xFF0000u, at(p)) << c.what << " at " << p;
    }
    // Nothing to place: no bitmap, no division by zero.
    Bitmap empty(0, 0, PixelFormat24bppRGB);
    EXPECT_EQ(nullptr, CThumbListCtrl::FitThumbnail(&empty, 125, 125));
}

TEST(ThumbList, ChoosingAnItemTellsTheParentOnce)
{
    ListWindow w;
    w.list.AddItem(60000, "missing", 1); // no such bitmap
    Bitmap empty(0, 0, PixelFormat24bppRGB);
    w.list.MakeThumbnail(&empty, "empty", "0");
    EXPECT_EQ(0, w.list.GetItemCount()) << "nothing appended without pixels";

    w.list.AddItem(IDB_SPLASH, "seven", 7);
    w.list.AddItem(IDB_TEMPLATE_744, "eight", 8);
    ASSERT_EQ(2, w.list.GetItemCount());
    EXPECT_EQ(2, ImageList_GetImageCount(w.list.GetImageList(LVSIL_NORMAL)));
    EXPECT_STREQ("seven", w.list.GetItemText(0, 0));
    EXPECT_STREQ("eight", w.list.GetItemText(1, 0));
    // The 640 x 480 splash is 125 x 93 at y 15: white above it.
    EXPECT_EQ(0xFFFFFFu, w.ImagePixel(0, 62, 10));

    struct Step
    {
        const char* what;
        int item;
        UINT state;
        size_t posts;
        const char* chosen;
    } steps[] = {
        {"select the first", 0, LVIS_SELECTED | LVIS_FOCUSED, 1, "7"},
        {"select the second (the first loses it)", 1, LVIS_SELECTED | LVIS_FOCUSED, 2, "8"},
        {"deselect it", 1, 0, 2, "8"},
        {"select without focus", 0, LVIS_SELECTED, 2, "8"},
        {"focus it too", 0, LVIS_SELECTED | LVIS_FOCUSED, 3, "7"},
    };
    for (const Step& s : steps) {
        w.list.SetItemState(s.item, s.state, LVIS_SELECTED | LVIS_FOCUSED);
        PumpPending();
        EXPECT_EQ(s.posts, w.parent.chosen.size()) << s.what;
        EXPECT_STREQ(s.chosen, w.list.GetChosenPath()) << s.what;
    }
    for (const auto& post : w.parent.chosen) {
        EXPECT_EQ(3u, post.first);
        EXPECT_EQ(0, post.second);
    }
    EXPECT_STREQ("8", w.list.GetItemFileName(1));
    EXPECT_STREQ("8", w.list.GetItemFileName(5)) << "an index without a value leaves it";
}

// A list that lets the test see when the worker's hand-over of a thumbnail has returned.
class ProbeList : public CThumbListCtrl
{
public:
    HANDLE handedOver = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~ProbeList() override
    {
        DestroyWindow();
        CloseHandle(handedOver);
    }
    void MakeThumbnail(Image* image, LPCTSTR label, LPCTSTR value) override
    {
        CThumbListCtrl::MakeThumbnail(image, label, value);
        SetEvent(handedOver);
    }
};

TEST(ThumbList, WorkerThumbnailsAreAddedOnTheListsThread)
{
    const std::string folder = ktb::ScratchFolder("thumb_list_thread");
    Put(folder, "one.png", thumb_test::Picture(80, 60, kRed, kBlue));
    Put(folder, "two.png", thumb_test::Picture(80, 60, kBlue, kRed));
    ListWindow w;
    ProbeList list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_ICON, CRect(0, 0, 300, 300), &w.parent, 2));
    list.CreateImageList();
    list.LoadFolder(folder.c_str(), "*.*", FALSE, CThumbnailThread::kImages);
    // This thread handles no message for a second: the worker's first thumbnail waits for
    // it, and nothing of the list changes meanwhile.
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(list.handedOver, 1000));
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ(0, ImageList_GetImageCount(list.GetImageList(LVSIL_NORMAL)));
    EXPECT_STREQ("", list.GetItemFileName(0));
    // Handling them, it gets both.
    EXPECT_TRUE(PumpUntil([&] { return !list.GetWorker().IsAlive(); }));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(list.handedOver, 0));
    EXPECT_EQ(2, list.GetItemCount());
    EXPECT_EQ(2, ImageList_GetImageCount(list.GetImageList(LVSIL_NORMAL)));
}

TEST(ThumbFolder, ImagesOfAFolderAreCachedByName)
{
    const std::string folder = FolderFor("SL_THUMBS_DIR", "thumb_folder_images");
    MakeFixture(folder);
    ListWindow w;
    ASSERT_TRUE(w.Load(folder, CThumbnailThread::kImages));
    EXPECT_EQ((std::set<std::string>{"big.png", "small.bmp", kLongName, "wow!.png"}), w.Labels());
    for (int i = 0; i < w.list.GetItemCount(); ++i)
        EXPECT_EQ(folder + "\\" + (LPCTSTR)w.list.GetItemText(i, 0), std::string(w.list.GetItemFileName(i)));

    auto streams = thumb_test::ReadStreams(folder + "\\thumbs.pst");
    EXPECT_EQ((std::vector<std::string>{"big.png", "big.png.dat", "small.bmp", "small.bmp.dat"}),
              thumb_test::Names(streams))
        << "the long name and the one with \"!\" are shown uncached";
    for (const char* name : {"big.png", "small.bmp"}) {
        const CTime written(thumb_test::LastWrite(folder + "\\" + name));
        EXPECT_EQ(CThumbCache::StampRecord(CThumbCache::StampText(written)), streams[std::string(name) + ".dat"])
            << name;
    }
}

TEST(ThumbFolder, DesignsTemplatesAndLayoutsByKind)
{
    const std::string folder = ktb::ScratchFolder("thumb_folder_kinds");
    MakeFixture(folder);
    ListWindow w;
    ASSERT_TRUE(w.Load(folder, CThumbnailThread::kImages));
    const int big = w.Find("big.png");
    ASSERT_LE(0, big);
    const COLORREF png = w.ImagePixel(big, 20, 62);
    EXPECT_TRUE(Channels(png, 200, 100, 50, 12)) << "the PNG's left half";

    struct Case
    {
        int kind;
        const char* label;
        int x, y;
        int r, g, b;
    } cases[] = {
        {CThumbnailThread::kDesigns, "d.ktb", 62, 62, 0x20, 0xA0, 0x40},
        {CThumbnailThread::kTemplates, "t.tpl", 20, 62, 140, 70, 35},
        {CThumbnailThread::kPaperLayouts, "p.pap", 62, 62, 0, 0, 255},
        {CThumbnailThread::kPngImages, "big.png", 20, 62, 200, 100, 50},
    };
    COLORREF tpl = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(w.Load(folder, c.kind)) << c.label;
        const std::set<std::string> expected = c.kind == CThumbnailThread::kPngImages
                                                   ? std::set<std::string>{"big.png", kLongName, "wow!.png"}
                                                   : std::set<std::string>{c.label};
        EXPECT_EQ(expected, w.Labels()) << c.label;
        const int i = w.Find(c.label);
        ASSERT_LE(0, i) << c.label;
        EXPECT_TRUE(Channels(w.ImagePixel(i, c.x, c.y), c.r, c.g, c.b, 12)) << c.label;
        if (c.kind == CThumbnailThread::kTemplates)
            tpl = w.ImagePixel(i, c.x, c.y);
    }
    // The template is the same PNG, at 70 %.
    EXPECT_TRUE(Channels(tpl, GetRValue(png) * 7 / 10, GetGValue(png) * 7 / 10, GetBValue(png) * 7 / 10, 4));
}

TEST(ThumbFolder, BrowsingAgainChangesOnlyTouchedEntries)
{
    const std::string folder = ktb::ScratchFolder("thumb_folder_again");
    MakeFixture(folder);
    const std::string cacheFile = folder + "\\thumbs.pst";
    ListWindow w;
    ASSERT_TRUE(w.Load(folder, CThumbnailThread::kImages));
    const auto first = thumb_test::ReadStreams(cacheFile);
    ASSERT_EQ(4u, first.size());

    ASSERT_TRUE(w.Load(folder, CThumbnailThread::kImages));
    EXPECT_EQ(4, w.list.GetItemCount());
    EXPECT_TRUE(first == thumb_test::ReadStreams(cacheFile)) << "the same streams, byte for byte";

    // big.png edited (and an hour newer): only its two streams change.
    Put(folder, "big.png", thumb_test::Picture(400, 300, kGreen, kBlue));
    FILETIME time = thumb_test::LastWrite(folder + "\\big.png");
    ULARGE_INTEGER t = {{time.dwLowDateTime, time.dwHighDateTime}};
    t.QuadPart += 36000000000ull;
    time.dwLowDateTime = t.LowPart;
    time.dwHighDateTime = t.HighPart;
    ASSERT_TRUE(thumb_test::SetLastWrite(folder + "\\big.png", time));
    ASSERT_TRUE(w.Load(folder, CThumbnailThread::kImages));
    EXPECT_EQ(4, w.list.GetItemCount());
    auto third = thumb_test::ReadStreams(cacheFile);
    ASSERT_EQ(thumb_test::Names(first), thumb_test::Names(third));
    std::vector<std::string> changed;
    for (const auto& s : first)
        if (third[s.first] != s.second)
            changed.push_back(s.first);
    EXPECT_EQ((std::vector<std::string>{"big.png", "big.png.dat"}), changed);
    EXPECT_EQ(CThumbCache::StampRecord(CThumbCache::StampText(CTime(time))), third["big.png.dat"]);
}

TEST(ThumbFolder, HostileCachesAndDesignsAreShownInBoundedTime)
{
    const std::string root = FolderFor("SL_THUMBS_HOSTILE_DIR", "thumb_folder_hostile");
    const Bytes picture = thumb_test::Picture(300, 200, kRed, kBlue);
    const Bytes good = thumb_test::Picture(125, 83, kRed, kBlue, L"image/jpeg");
    Bytes stated = good; // its frame header made to say 60000 x 60000
    for (size_t i = 2; i + 9 < stated.size(); ++i)
        if (stated[i] == 0xFF && stated[i + 1] == 0xC0) {
            stated[i + 5] = 0xEA, stated[i + 6] = 0x60, stated[i + 7] = 0xEA, stated[i + 8] = 0x60;
            break;
        }
    // Each case's stamp is fresh for big.png, so only the damage makes it stale.
    struct Case
    {
        const char* folder;
        std::function<Bytes(const Bytes& stamp)> cache;
    } cases[] = {
        {"stamp_length",
         [&](const Bytes& s) {
             Bytes bad = s;
             bad[0] = 0xFF, bad[1] = 0xFF, bad[2] = 0xFF, bad[3] = 0x7F; // L = 0x7FFFFFFF
             return ktb::MakeCompoundFile({{"big.png", good}, {"big.png.dat", bad}});
         }},
        {"short_stamp",
         [&](const Bytes& s) {
             return ktb::MakeCompoundFile({{"big.png", good}, {"big.png.dat", Bytes(s.begin(), s.begin() + 6)}});
         }},
        {"truncated_jpeg",
         [&](const Bytes& s) {
             return ktb::MakeCompoundFile(
                 {{"big.png", Bytes(good.begin(), good.begin() + good.size() / 2)}, {"big.png.dat", s}});
         }},
        {"jpeg_60000",
         [&](const Bytes& s) {
             return ktb::MakeCompoundFile({{"big.png", stated}, {"big.png.dat", s}});
         }},
        {"stamp_alone",
         [&](const Bytes& s) {
             return ktb::MakeCompoundFile({{"big.png.dat", s}});
         }},
        {"not_compound", [&](const Bytes&) { return Bytes(3000, 'x'); }},
        {"looping_chain",
         [&](const Bytes& s) {
             return thumb_test::WithLoopingChain(
                 ktb::MakeCompoundFile({{"big.png", good}, {"big.png.dat", s}, {"filler", Bytes(9000, 7)}}), "filler");
         }},
    };
    ListWindow w;
    for (const Case& c : cases) {
        const std::string folder = root + "\\" + c.folder;
        CreateDirectoryA(folder.c_str(), nullptr);
        const std::string big = Put(folder, "big.png", picture);
        const Bytes stamp = CThumbCache::StampRecord(CThumbCache::StampText(CTime(thumb_test::LastWrite(big))));
        Put(folder, "thumbs.pst", c.cache(stamp));
        const DWORD start = GetTickCount();
        ASSERT_TRUE(w.Load(folder, CThumbnailThread::kImages, 10000)) << c.folder;
        EXPECT_LT(GetTickCount() - start, 10000u) << c.folder;
        EXPECT_EQ(std::set<std::string>{"big.png"}, w.Labels()) << c.folder;
        auto streams = thumb_test::ReadStreams(folder + "\\thumbs.pst");
        ASSERT_TRUE(streams.count("big.png.dat")) << c.folder << ": the cache is usable again";
        EXPECT_EQ(stamp, streams["big.png.dat"]) << c.folder;
    }

    // Designs the storage code must not see: skipped; a good one beside them is shown.
    const std::string designs = root + "\\designs";
    CreateDirectoryA(designs.c_str(), nullptr);
    const Bytes cake = thumb_test::Picture(250, 100, kCake, kCake);
    Put(designs, "loop.ktb",
        thumb_test::WithLoopingChain(ktb::MakeCompoundFile({{"CakeData", Bytes(9000, 0)}, {"Thumbnail", cake}}),
                                     "CakeData"));
    Put(designs, "none.ktb", thumb_test::DesignFile(Bytes()));
    Put(designs, "good.ktb", thumb_test::DesignFile(cake));
    ASSERT_TRUE(w.Load(designs, CThumbnailThread::kDesigns, 10000));
    EXPECT_EQ(std::set<std::string>{"good.ktb"}, w.Labels());
}

TEST(ThumbFolder, WithoutAUsableCacheThumbnailsShowAndNothingIsWritten)
{
    const Bytes picture = thumb_test::Picture(300, 200, kRed, kBlue);
    ListWindow w;

    // A cache another list holds.
    const OwnFolder heldFolder("thumb_folder_held");
    const std::string& held = heldFolder.path;
    Put(held, "big.png", picture);
    {
        CThumbCache other;
        ASSERT_TRUE(other.Create(held.c_str()));
        other.Close();
    }
    const Bytes before = ktb::ReadFileAll(held + "\\thumbs.pst");
    {
        CThumbCache holder;
        ASSERT_TRUE(holder.Open(held.c_str()));
        ASSERT_TRUE(w.Load(held, CThumbnailThread::kImages));
        EXPECT_EQ(std::set<std::string>{"big.png"}, w.Labels()) << "held cache";
        EXPECT_FALSE(w.list.GetWorker().CacheOpened());
        EXPECT_FALSE(w.list.GetWorker().CacheCreated());
    }
    EXPECT_EQ(before, ktb::ReadFileAll(held + "\\thumbs.pst"));

    // A folder named "thumbs.pst" in the cache's place.
    const OwnFolder blockedFolder("thumb_folder_blocked");
    const std::string& blocked = blockedFolder.path;
    RemoveDirectoryA((blocked + "\\thumbs.pst").c_str());
    Put(blocked, "big.png", picture);
    ASSERT_TRUE(CreateDirectoryA((blocked + "\\thumbs.pst").c_str(), nullptr));
    ASSERT_TRUE(w.Load(blocked, CThumbnailThread::kImages));
    EXPECT_EQ(std::set<std::string>{"big.png"}, w.Labels()) << "folder in the cache's place";
    EXPECT_EQ(0, ktb::CountFiles(blocked + "\\thumbs.pst"));
    RemoveDirectoryA((blocked + "\\thumbs.pst").c_str());

    // A folder that cannot be written, made by the build's script (with one picture in it).
    if (const char* readOnly = getenv("SL_THUMBS_READONLY_DIR")) {
        ASSERT_TRUE(w.Load(readOnly, CThumbnailThread::kImages));
        EXPECT_EQ(1, w.list.GetItemCount()) << "unwritable folder";
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(readOnly) + "\\thumbs.pst").c_str()));
    }
}

TEST(ThumbFolder, ANewLoadWaitsForTheRunningOneAndLoadsTheLastAsked)
{
    const std::string a = ktb::ScratchFolder("thumb_load_a");
    const std::string b = ktb::ScratchFolder("thumb_load_b");
    const std::string c = ktb::ScratchFolder("thumb_load_c");
    DeleteFileA((a + "\\thumbs.pst").c_str());
    for (int i = 0; i < 200; ++i)
        Put(a, "a" + std::to_string(i) + ".png", thumb_test::Picture(600, 400, kRed, (ARGB)(0xFF000000 | i)));
    for (const char* name : {"b1.png", "b2.png", "b3.png"})
        Put(b, name, thumb_test::Picture(60, 40, kBlue, kBlue));
    for (const char* name : {"c1.png", "c2.png"})
        Put(c, name, thumb_test::Picture(60, 40, kGreen, kGreen));

    DialogDriver noDialogs(std::vector<DialogDriver::Step>{});
    ListWindow w;
    ASSERT_TRUE(w.Load(c, CThumbnailThread::kImages)); // whatever a first load starts for good
    const int threadsBefore = ProcessThreads();
    ASSERT_GT(threadsBefore, 0);

    // B while A loads: only B's.
    w.list.LoadFolder(a.c_str(), "*.*", FALSE, CThumbnailThread::kImages);
    ASSERT_TRUE(PumpUntil([&] { return w.list.GetItemCount() >= 5; }, 30000));
    ASSERT_TRUE(w.list.GetWorker().IsAlive()) << "A still loading";
    w.list.LoadFolder(b.c_str(), "*.*", FALSE, CThumbnailThread::kImages);
    ASSERT_TRUE(PumpUntil([&] { return !w.list.GetWorker().IsAlive(); }));
    EXPECT_EQ((std::set<std::string>{"b1.png", "b2.png", "b3.png"}), w.Labels());
    EXPECT_EQ(b + "\\b2.png", std::string(w.list.GetItemFileName(w.Find("b2.png"))));

    // C asked for from the messages handled while the load of B waits for A, with a quit
    // among them: C is loaded, and the quit is still there afterwards.
    w.list.LoadFolder(a.c_str(), "*.*", FALSE, CThumbnailThread::kImages);
    ASSERT_TRUE(PumpUntil([&] { return w.list.GetItemCount() >= 5; }, 30000));
    ASSERT_TRUE(w.list.GetWorker().IsAlive());
    bool kicked = false;
    w.parent.onKick = [&] {
        kicked = true;
        w.list.LoadFolder(c.c_str(), "*.*", FALSE, CThumbnailThread::kImages);
        PostQuitMessage(17);
    };
    w.parent.PostMessage(kKick);
    w.list.LoadFolder(b.c_str(), "*.*", FALSE, CThumbnailThread::kImages);
    MSG quit;
    EXPECT_TRUE(PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(17u, quit.wParam);
    EXPECT_TRUE(kicked);
    ASSERT_TRUE(PumpUntil([&] { return !w.list.GetWorker().IsAlive(); }));
    EXPECT_EQ((std::set<std::string>{"c1.png", "c2.png"}), w.Labels());
    w.parent.onKick = nullptr;

    // A list destroyed while it loads stops its worker without a forced end.
    {
        CThumbListCtrl second;
        ASSERT_TRUE(second.Create(WS_VISIBLE | LVS_ICON, CRect(0, 0, 300, 300), &w.parent, 2));
        second.CreateImageList();
        second.LoadFolder(a.c_str(), "*.*", FALSE, CThumbnailThread::kImages);
        ASSERT_TRUE(PumpUntil([&] { return second.GetItemCount() >= 3; }, 30000));
        ASSERT_TRUE(second.GetWorker().IsAlive());
        second.DestroyWindow();
        EXPECT_FALSE(second.GetWorker().IsAlive());
        EXPECT_EQ(0u, second.GetWorker().GetExitCode()) << "ended by its own stop, not by force";
    }
    // No thread left behind; a helper thread of the system that ended meanwhile may make fewer.
    EXPECT_TRUE(PumpUntil([&] { return ProcessThreads() <= threadsBefore; }))
        << ProcessThreads() << " threads instead of at most " << threadsBefore;
    EXPECT_TRUE(noDialogs.Unexpected().empty()) << "no error box";
}

} // namespace
