// Neighbourhood filters on tiny surfaces, hand-worked.
#include "effects/Neighbourhood.h"
#include "effects/tests/FaultCheck.h"

#include <functional>
#include <string>

namespace {

typedef std::function<HRESULT(HDC, HDC, LONG*)> Effect;

// The outermost rows and columns of two pictures agree.
::testing::AssertionResult SameBorder(const Rows& a, const Rows& b)
{
    const size_t h = a.size(), w = a[0].size();
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x)
            if ((y == 0 || x == 0 || y == h - 1 || x == w - 1) && a[y][x] != b[y][x])
                return ::testing::AssertionFailure() << "differs at " << x << "," << y;
    return ::testing::AssertionSuccess();
}

const Rows kPattern = Patterned(6, 5);

} // namespace

TEST(NeighbourhoodEffects, SmoothsKeepTheOuterPixels)
{
    const Rows blurred = Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibBlur3x3(d, s, l); });
    const Rows smooth = Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSelectiveSmooth(d, s, 40, l); });
    const Rows inverse = Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSelectiveSmoothInverse(d, s, 40, l); });
    EXPECT_TRUE(SameBorder(kPattern, blurred));
    EXPECT_TRUE(SameBorder(kPattern, smooth));
    EXPECT_TRUE(SameBorder(kPattern, inverse));
    EXPECT_NE(kPattern, blurred);
    // Tolerance 255: every window pixel counts with its own channels, a plain 3x3 mean.
    EXPECT_EQ(blurred, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSelectiveSmooth(d, s, 255, l); }));
    EXPECT_EQ(blurred, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSelectiveSmooth(d, s, 999, l); }));
    // ... and the inverse counts every one as the centre: nothing moves.
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSelectiveSmoothInverse(d, s, 255, l); }));

    // 3 x 3 greys 0, 10, ..., 80: the centre becomes their mean, 40.
    const Rows greys = {{Grey(0), Grey(10), Grey(20)}, {Grey(30), Grey(77), Grey(50)}, {Grey(60), Grey(70), Grey(80)}};
    Rows expected = greys;
    expected[1][1] = Grey((0 + 10 + 20 + 30 + 77 + 50 + 60 + 70 + 80) / 9);
    EXPECT_EQ(expected, Apply(greys, [](HDC d, HDC s, LONG* l) { return DibBlur3x3(d, s, l); }));
    // Tolerance 0: only pixels of the centre's grey count as themselves; none here, so it stays.
    EXPECT_EQ(greys, Apply(greys, [](HDC d, HDC s, LONG* l) { return DibSelectiveSmooth(d, s, 0, l); }));
}

TEST(NeighbourhoodEffects, FlatImagesAndNeutralParameters)
{
    const Rows flat = Flat(5, 4, RGB(90, 140, 200));
    EXPECT_EQ(Flat(5, 4, Grey(0)), Apply(flat, [](HDC d, HDC s, LONG* l) { return DibEdges(d, s, 5, 3, l); }));
    EXPECT_EQ(Flat(5, 4, Grey(255)),
              Apply(flat, [](HDC d, HDC s, LONG* l) { return DibEdgesInverted(d, s, 0, 1, l); }));
    EXPECT_EQ(Flat(5, 4, RGB(7, 8, 9)), Apply(flat, [](HDC d, HDC s, LONG* l) {
                  return DibEdgeTwoTone(d, s, 0, RGB(1, 1, 1), RGB(7, 8, 9), l);
              }));
    EXPECT_EQ(Flat(5, 4, Grey(128)), Apply(flat, [](HDC d, HDC s, LONG* l) { return DibEmboss(d, s, 3.0f, l); }));
    EXPECT_EQ(Flat(5, 4, Grey(128)), Apply(flat, [](HDC d, HDC s, LONG* l) { return DibEmbossColor(d, s, l); }));
    for (const Effect& same : std::vector<Effect>{
             [](HDC d, HDC s, LONG*l) { return DibAdaptiveBlur(d, s, l); },
             [](HDC d, HDC s, LONG*l) { return DibRingBlur(d, s, 2, l); },
             [](HDC d, HDC s, LONG*l) { return DibCrossBlur(d, s, 3, l); },
             [](HDC d, HDC s, LONG*l) { return DibRandomPaint(d, s, 2, l); },
             [](HDC d, HDC s, LONG*l) { return DibSelectiveBlur(d, s, 2, 10, TRUE, l); },
         })
        EXPECT_EQ(flat, Apply(flat, same));

    // Parameters that copy the image.
    for (const Effect& copy : std::vector<Effect>{
             [](HDC d, HDC s, LONG*l) { return DibMotionBlur(d, s, 45.0, 0, l); },
             [](HDC d, HDC s, LONG*l) { return DibMotionBlur(d, s, 0.0, 0, l); },
             [](HDC d, HDC s, LONG*l) { return DibMotionBlur(d, s, 30.0, -4, l); },
             [](HDC d, HDC s, LONG*l) { return DibCrossBlur(d, s, 0, l); },
             [](HDC d, HDC s, LONG*l) { return DibUnsharpMask(d, s, 2, 0.0, l); },
             [](HDC d, HDC s, LONG*l) { return DibSharpen(d, s, 0.0f, l); },
             [](HDC d, HDC s, LONG*l) { return DibSharpenDiagonal(d, s, -3, l); },
         })
        EXPECT_EQ(kPattern, Apply(kPattern, copy));
    EXPECT_NE(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibMotionBlur(d, s, 45.0, 2, l); }));

    // Parameters that draw nothing and succeed.
    for (const Effect& none : std::vector<Effect>{
             [](HDC d, HDC s, LONG*l) { return DibSelectiveBlur(d, s, 0, 10, TRUE, l); },
             [](HDC d, HDC s, LONG*l) { return DibSpinBlur(d, s, 0, l); },
             [](HDC d, HDC s, LONG*l) { return DibZoomBlur(d, s, 0, l); },
             [](HDC d, HDC s, LONG*l) { return DibUnsharpMask(d, s, 0, 1.0, l); },
             [](HDC d, HDC s, LONG*l) { return DibUnsharpMask(d, s, 2, -1.0, l); },
         }) {
        const EffectRun run = RunOn(kPattern, none);
        EXPECT_EQ(S_OK, run.hr);
        EXPECT_EQ(-7, run.lines);
        EXPECT_EQ(Flat(6, 5, kMarker), run.result);
    }
}

TEST(NeighbourhoodEffects, MotionAlongARow)
{
    // Angle 0 becomes 0.0001 degrees: samples along the row, clamped at the ends.  Its cosine is a
    // hair below 1, so x + 1 truncates to x and x - 1 to x - 1: with length 1 each pixel is
    // (left + itself + itself) / 3: (30+30+30)/3, (30+60+60)/3, (60+90+90)/3, (90+120+120)/3.
    const Rows row = {{Grey(30), Grey(60), Grey(90), Grey(120)}};
    EXPECT_EQ((Rows{{Grey(30), Grey(50), Grey(80), Grey(110)}}),
              Apply(row, [](HDC d, HDC s, LONG* l) { return DibMotionBlur(d, s, 0.0, 1, l); }));
}

TEST(NeighbourhoodEffects, OilPaintPixelTakesTheFullestBucket)
{
    // 3 x 3 (stride 12): A = (10, 20, 30) at even x + y, B = (30, 20, 10) at odd; luminances 18.1
    // and 21.9, one bucket at 10 levels: the mean of all nine, (170 / 9, 20, 190 / 9).
    BYTE buffer[36] = {};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            BYTE* p = buffer + y * 12 + x * 3;
            const bool a = (x + y) % 2 == 0;
            p[0] = a ? 30 : 10;
            p[1] = 20;
            p[2] = a ? 10 : 30;
        }
    EXPECT_EQ(RGB(18, 20, 21), OilPaintPixel(buffer, 3, 3, 1, 1, 1, 10));
    // At 255 levels the two are buckets 18 and 21: five A against four B, A wins.
    EXPECT_EQ(RGB(10, 20, 30), OilPaintPixel(buffer, 3, 3, 1, 1, 1, 255));
    // The corner's window holds two A and one B... and one more A: (0,0), (1,1) A; (1,0), (0,1) B:
    // a tie, the lower bucket (A, 18) wins.
    EXPECT_EQ(RGB(10, 20, 30), OilPaintPixel(buffer, 3, 3, 0, 0, 1, 255));
    // One colour only: the random draw always finds it.
    BYTE flat[36];
    for (int i = 0; i < 36; ++i)
        flat[i] = (BYTE)(i % 3 == 0 ? 200 : 50);
    EXPECT_EQ(RGB(50, 50, 200), RandomPaintPixel(flat, 3, 3, 1, 1, 10));
}

TEST(NeighbourhoodEffects, StampWithoutGrainOrDepthHasTwoColours)
{
    // Black is lightened to 127 grey; the threshold 100 splits the pattern.
    const Rows stamped = Apply(kPattern, [](HDC d, HDC s, LONG* l) {
        return DibStamp(d, s, 100, 2, 0, 0, RGB(0, 0, 0), RGB(250, 240, 230), l);
    });
    int dark = 0, light = 0;
    for (const auto& row : stamped)
        for (COLORREF c : row) {
            if (c == Grey(127))
                ++dark;
            else if (c == RGB(250, 240, 230))
                ++light;
            else
                ADD_FAILURE() << std::hex << c;
        }
    EXPECT_GT(dark, 0);
    EXPECT_GT(light, 0);
}

TEST(NeighbourhoodEffects, AsciiArt)
{
    // 7 x 5: rows from the top every fourth (2 lines), every third pixel (3 characters).
    auto art = [](COLORREF colour, size_t size, HRESULT* hr) {
        auto src = SurfaceOf(Flat(7, 5, colour));
        std::string text(64, 'z');
        LONG lines = -7;
        *hr = DibAsciiArt(src->Hdc(), &text[0], size, &lines);
        if (*hr == S_OK) {
            EXPECT_EQ(5, lines);
        }
        return text;
    };
    auto src = SurfaceOf(Flat(7, 5, 0));
    size_t size = 0;
    ASSERT_EQ(S_OK, DibAsciiArtSize(src->Hdc(), &size));
    EXPECT_EQ((size_t)20, size); // (7 / 3 + 2) * 5, more than the 11 bytes the text takes
    HRESULT hr = E_UNEXPECTED;
    EXPECT_EQ(std::string("###\r\n###\r\n") + '\0', art(RGB(0, 0, 0), 20, &hr).substr(0, 11));
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(std::string("   \r\n   \r\n") + '\0', art(RGB(255, 255, 255), 64, &hr).substr(0, 11));
    EXPECT_EQ(std::string("ttt\r\n"), art(Grey(128), 64, &hr).substr(0, 5)); // 128 / 14.22 = 9.0
    EXPECT_EQ(std::string(64, 'z'), art(RGB(0, 0, 0), 19, &hr)) << "a buffer too small is left alone";
    EXPECT_EQ(E_FAIL, hr);
    EXPECT_EQ(E_FAIL, DibAsciiArtSize(nullptr, &size));
}

TEST(NeighbourhoodEffects, SharpenOnTinyImagesStaysInsideItsBuffer)
{
    EffectFaults& faults = EffectTestFaults();
    faults.guardPages = true;
    // The guard works: the byte after a block cannot be read.
    BYTE* probe = static_cast<BYTE*>(EffectAlloc(5));
    ASSERT_NE(nullptr, probe);
    EXPECT_FALSE(::IsBadReadPtr(probe, 5));
    EXPECT_TRUE(::IsBadReadPtr(probe + 5, 1));
    EffectFree(probe);
    const struct
    {
        int w, h;
    } sizes[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}};
    for (const auto& s : sizes) {
        const Rows source = Patterned(s.w, s.h);
        const EffectRun run = RunOn(source, [](HDC d, HDC src, LONG* l) { return DibSharpen(d, src, 2.0f, l); });
        EXPECT_EQ(S_OK, run.hr) << s.w << "x" << s.h;
        if (s.h == 1) {
            EXPECT_EQ(source, run.result) << s.w << "x1: every pixel is its own neighbour";
        }
    }
    faults.guardPages = false;
}

namespace {

int g_painted = 0;

LRESULT CALLBACK PaintCountingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_APP + 3)
        ++g_painted;
    return ::DefWindowProc(wnd, msg, wp, lp);
}

} // namespace

TEST(NeighbourhoodEffects, RandomPaintHandlesMessagesAsItGoes)
{
    WNDCLASS wc = {};
    wc.lpfnWndProc = PaintCountingProc;
    wc.hInstance = ::GetModuleHandle(nullptr);
    wc.lpszClassName = "EffectPaintPump";
    ::RegisterClass(&wc);
    const HWND wnd = ::CreateWindow("EffectPaintPump", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, wnd);
    g_painted = 0;
    ::PostMessage(wnd, WM_APP + 3, 0, 0);
    EXPECT_EQ(S_OK, RunOn(kPattern, [](HDC d, HDC s, LONG* l) { return DibRandomPaint(d, s, 1, l); }).hr);
    EXPECT_EQ(1, g_painted);
    ::DestroyWindow(wnd);
    ::UnregisterClass("EffectPaintPump", wc.hInstance);
}

TEST(NeighbourhoodEffects, FailuresAreClean)
{
    ExpectCleanFailures("DibUnsharpMask", [](HDC d, HDC s, LONG* l) { return DibUnsharpMask(d, s, 2, 1.0, l); });
    ExpectCleanFailures("DibMotionBlur", [](HDC d, HDC s, LONG* l) { return DibMotionBlur(d, s, 45.0, 3, l); });
    ExpectCleanFailures("DibStamp", [](HDC d, HDC s, LONG* l) { return DibStamp(d, s, 90, 1, 10, 2, 0, 0xFFFFFF, l); });
    ExpectCleanFailures("DibBlur3x3", [](HDC d, HDC s, LONG* l) { return DibBlur3x3(d, s, l); });
    ExpectCleanImageFailures(
        "DibOilPaint", [](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) { return DibOilPaint(s, d, 2, 30, l); });
}
