// Thumbnail benchmark: a folder of photograph-like JPEGs (made here on first use) browsed
// by a thumbnail list twice, first with no cache (every image decoded, scaled, stored in
// "thumbs.pst" and shown), then from the cache it made.  Prints files per second of each.
// Needs a display (the list is a window).
//
//   thumbs_bench.exe [folder] [count] [width] [height]
//   defaults: thumbs_bench_files 200 3000 2000
#include "app/browser/ThumbListCtrl.h"

#include <stdio.h>
#include <stdlib.h>

using namespace Gdiplus;

namespace {

// A photograph-like picture: a gradient, soft circles and fine noise (so the JPEG is of a
// photograph's size, not a flat picture's).
bool MakePhoto(LPCTSTR path, int w, int h, int seed, const CLSID& jpeg)
{
    Bitmap photo(w, h, PixelFormat24bppRGB);
    {
        Graphics g(&photo);
        LinearGradientBrush back(Rect(0, 0, w, h), Color(255, (BYTE)(seed * 37), 120, 200),
                                 Color(255, 250, 200, (BYTE)(seed * 91)), 30.0f + (float)(seed % 60), TRUE);
        g.FillRectangle(&back, 0, 0, w, h);
        for (int i = 0; i < 60; i++) {
            SolidBrush dot(Color(160, (BYTE)(i * 4 + seed), (BYTE)(255 - i * 3), (BYTE)(seed * 7 + i)));
            g.FillEllipse(&dot, (i * 397 + seed * 131) % w, (i * 253 + seed * 77) % h, 150 + i * 9, 120 + i * 7);
        }
    }
    BitmapData bits;
    Rect all(0, 0, w, h);
    if (photo.LockBits(&all, ImageLockModeRead | ImageLockModeWrite, PixelFormat24bppRGB, &bits) == Ok) {
        unsigned state = 12345u + (unsigned)seed;
        for (int y = 0; y < h; y++) {
            BYTE* row = (BYTE*)bits.Scan0 + (INT_PTR)y * bits.Stride;
            for (int x = 0; x < w * 3; x++) {
                state = state * 1103515245u + 12345u;
                const int v = row[x] + (int)((state >> 16) & 15) - 8;
                row[x] = (BYTE)(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
        photo.UnlockBits(&bits);
    }
    return photo.Save(CStringW(path), &jpeg, nullptr) == Ok;
}

bool FindJpeg(CLSID* clsid)
{
    UINT count = 0, size = 0;
    GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    ImageCodecInfo* codecs = (ImageCodecInfo*)buffer.data();
    if (size == 0 || GetImageEncoders(count, size, codecs) != Ok)
        return false;
    for (UINT i = 0; i < count; i++)
        if (wcscmp(codecs[i].MimeType, L"image/jpeg") == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}

// One browse of the folder: from the load until the worker has ended; seconds.
double Browse(CThumbListCtrl& list, LPCTSTR folder, int* shown)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    list.LoadFolder(folder, "*.*", FALSE, CThumbnailThread::kImages);
    HANDLE ended = nullptr;
    while (list.GetWorker().IsAlive()) {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        MsgWaitForMultipleObjects(0, &ended, FALSE, 10, QS_ALLINPUT);
    }
    QueryPerformanceCounter(&end);
    *shown = list.GetItemCount();
    return (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

} // namespace

int main(int argc, char** argv)
{
    const CString folder = FullPath(argc > 1 ? argv[1] : "thumbs_bench_files");
    const int count = argc > 2 ? atoi(argv[2]) : 200;
    const int width = argc > 3 ? atoi(argv[3]) : 3000;
    const int height = argc > 4 ? atoi(argv[4]) : 2000;
    if (count <= 0 || width <= 0 || height <= 0) {
        fprintf(stderr, "usage: thumbs_bench.exe [folder] [count] [width] [height]\n");
        return 2;
    }
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok) {
        fprintf(stderr, "GDI+ did not start\n");
        return 1;
    }
    int rc = 0;
    {
        CLSID jpeg;
        if (!FindJpeg(&jpeg)) {
            fprintf(stderr, "no JPEG encoder\n");
            return 1;
        }
        CreateDirectoryA(folder, nullptr);
        int made = 0;
        for (int i = 0; i < count; i++) {
            CString path;
            path.Format("%s\\photo%03d.jpg", (LPCTSTR)folder, i);
            if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
                continue;
            if (!MakePhoto(path, width, height, i, jpeg)) {
                fprintf(stderr, "cannot write %s\n", (LPCTSTR)path);
                return 1;
            }
            ++made;
        }
        if (made > 0)
            printf("made %d JPEGs of %d x %d in %s\n", made, width, height, (LPCTSTR)folder);
        DeleteFileA(folder + "\\thumbs.pst");

        CWnd frame;
        CThumbListCtrl list;
        if (!frame.CreateEx(0, AfxRegisterWndClass(0), "thumbs bench", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                            nullptr) ||
            !list.Create(WS_VISIBLE | WS_BORDER | LVS_ICON, CRect(0, 0, 800, 600), &frame, 1)) {
            fprintf(stderr, "no window (is there a display?)\n");
            return 1;
        }
        list.CreateImageList();
        int shownFirst = 0, shownSecond = 0;
        const double first = Browse(list, folder, &shownFirst);
        const double second = Browse(list, folder, &shownSecond);
        printf("%-28s %6s %9s %10s\n", "browse", "files", "seconds", "files/s");
        printf("%-28s %6d %9.2f %10.1f\n", "first (cache built)", shownFirst, first, shownFirst / first);
        printf("%-28s %6d %9.2f %10.1f\n", "second (cache read)", shownSecond, second, shownSecond / second);
        if (shownFirst != count || shownSecond != count) {
            fprintf(stderr, "FAILURE: %d and %d thumbnails shown of %d files\n", shownFirst, shownSecond, count);
            rc = 1;
        }
        list.DestroyWindow();
        frame.DestroyWindow();
    }
    GdiplusShutdown(token);
    return rc;
}
