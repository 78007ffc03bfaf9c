// The drawing manager's shadows: a mask turned into darkening factors, hard or blurred by a
// separable running-sum box filter whose cost does not grow with the depth.
#include "html/DrawManager.h"
#include "html/DibCanvas.h"

namespace {

// Larger boxes darken no differently to the eye and would only cost memory.
const int kMaxDepth = 1023;

int OddDepth(int depth)
{
    if (depth < 1)
        depth = 1;
    if (depth > kMaxDepth)
        depth = kMaxDepth;
    return (depth % 2) ? depth : depth + 1;
}

} // namespace

void CPPDrawManager::BlurMask(int width, int height, const DWORD* maskBits, int depthX, int depthY, double* factors)
{
    if (width <= 0 || height <= 0 || !maskBits || !factors)
        return;
    depthX = depthX < 1 ? 1 : (depthX > kMaxDepth ? kMaxDepth : depthX);
    depthY = depthY < 1 ? 1 : (depthY > kMaxDepth ? kMaxDepth : depthY);
    // The grid: the mask's blue bytes centred in a frame of 255 as wide as half the box.
    const int padX = depthX / 2, padY = depthY / 2;
    const int gridW = width + 2 * padX, gridH = height + 2 * padY;
    std::vector<unsigned> grid((size_t)gridW * gridH, 255u);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            grid[(size_t)(y + padY) * gridW + x + padX] = maskBits[(size_t)y * width + x] & 0xFF;

    // Rows first: rowSum[y][x] = the sum of grid[y][x .. x + depthX - 1].
    std::vector<unsigned> rowSum((size_t)gridH * width);
    for (int y = 0; y < gridH; ++y) {
        const unsigned* row = &grid[(size_t)y * gridW];
        unsigned sum = 0;
        for (int x = 0; x < depthX && x < gridW; ++x)
            sum += row[x];
        for (int x = 0; x < width; ++x) {
            rowSum[(size_t)y * width + x] = sum;
            if (x + depthX < gridW)
                sum += row[x + depthX] - row[x];
        }
    }
    // Then columns over the row sums.
    const double scale = 1.0 / ((double)depthX * depthY * 255.0);
    for (int x = 0; x < width; ++x) {
        unsigned sum = 0;
        for (int y = 0; y < depthY && y < gridH; ++y)
            sum += rowSum[(size_t)y * width + x];
        for (int y = 0; y < height; ++y) {
            factors[(size_t)y * width + x] = sum * scale;
            if (y + depthY < gridH)
                sum += rowSum[(size_t)(y + depthY) * width + x] - rowSum[(size_t)y * width + x];
        }
    }
}

bool CPPDrawManager::DepthFrom(HDC dc, int width, int height, HDC mask, BOOL soft, int depthX, int depthY,
                               std::vector<double>& factors)
{
    if (!mask || width <= 0 || height <= 0)
        return false;
    CDibCanvas canvas;
    if (!canvas.Create(dc, width, height))
        return false;
    factors.assign(canvas.Count(), 1.0);
    if (!soft) {
        ::BitBlt(canvas.Dc(), 0, 0, width, height, mask, 0, 0, SRCCOPY);
        const DWORD* bits = canvas.Bits();
        for (size_t i = 0; i < factors.size(); ++i)
            factors[i] = (bits[i] & 0xFF) / 255.0;
        return true;
    }
    depthX = OddDepth(depthX);
    depthY = OddDepth(depthY);
    // The mask shrinks by the depth so that its blur stays inside the rectangle.
    ::PatBlt(canvas.Dc(), 0, 0, width, height, WHITENESS);
    if (width - depthX > 0 && height - depthY > 0) {
        ::SetStretchBltMode(canvas.Dc(), COLORONCOLOR);
        ::StretchBlt(canvas.Dc(), depthX / 2, depthY / 2, width - depthX, height - depthY, mask, 0, 0, width, height,
                     SRCCOPY);
    }
    BlurMask(width, height, canvas.Bits(), depthX, depthY, factors.data());
    return true;
}

bool CPPDrawManager::MaskToDepth(HDC dc, int width, int height, HBITMAP mask, BOOL soft, int depthX, int depthY,
                                 std::vector<double>& factors)
{
    if (!mask)
        return false;
    CDC maskDC;
    maskDC.Attach(::CreateCompatibleDC(dc));
    if (!maskDC.GetSafeHdc())
        return false;
    CSelectGuard select(maskDC.GetSafeHdc(), mask);
    return select.Selected() && DepthFrom(dc, width, height, maskDC.GetSafeHdc(), soft, depthX, depthY, factors);
}

void CPPDrawManager::DarkenByDepth(HDC dst, int x, int y, int width, int height, const std::vector<double>& factors)
{
    if (width <= 0 || height <= 0 || factors.size() < (size_t)width * (size_t)height)
        return;
    CDibCanvas canvas;
    if (!canvas.Create(dst, width, height))
        return;
    ::BitBlt(canvas.Dc(), 0, 0, width, height, dst, x, y, SRCCOPY);
    DWORD* bits = canvas.Bits();
    for (size_t i = 0, n = canvas.Count(); i < n; ++i)
        bits[i] = DarkenColor(bits[i], factors[i]);
    ::BitBlt(dst, x, y, width, height, canvas.Dc(), 0, 0, SRCCOPY);
}

void CPPDrawManager::DrawShadowFrom(HDC dst, int x, int y, int width, int height, HDC mask, BOOL soft, int depthX,
                                    int depthY)
{
    std::vector<double> factors;
    if (DepthFrom(dst, width, height, mask, soft, depthX, depthY, factors))
        DarkenByDepth(dst, x, y, width, height, factors);
}

void CPPDrawManager::DrawShadow(HDC dst, int x, int y, int width, int height, HBITMAP mask, BOOL soft, int depthX,
                                int depthY)
{
    std::vector<double> factors;
    if (MaskToDepth(dst, width, height, mask, soft, depthX, depthY, factors))
        DarkenByDepth(dst, x, y, width, height, factors);
}
