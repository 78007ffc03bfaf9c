// Every effect of the library that reads pixels, in one table: each allocation and each read
// made to fail in turn leaves nothing drawn and nothing held, and on the smallest images no
// effect reads past the end of a buffer (each buffer ends at a page that cannot be read).
#include "effects/Blend.h"
#include "effects/Distort.h"
#include "effects/Neighbourhood.h"
#include "effects/Shuffle.h"
#include "effects/Tone.h"
#include "effects/tests/FaultCheck.h"

#include <vector>

namespace {

struct NamedDc
{
    const char* name;
    DcEffect effect;
};

struct NamedImage
{
    const char* name;
    ImageEffect effect;
};

typedef Gdiplus::Bitmap Bmp;
typedef Gdiplus::Image Img;

const std::vector<NamedDc>& DcEffects()
{
    static const std::vector<NamedDc> effects = {
        {"DibBlendLayers", [](HDC d, HDC s, LONG* l) { return DibBlendLayers(d, s, s, 12, l); }},
        {"DibCrossFade", [](HDC d, HDC s, LONG* l) { return DibCrossFade(d, s, s, 77, l); }},
        {"DibReliefBlend", [](HDC d, HDC s, LONG* l) { return DibReliefBlend(d, s, s, 1.5, 6, l); }},
        {"DibThreshold", [](HDC d, HDC s, LONG* l) { return DibThreshold(d, s, l); }},
        {"DibThresholdLevel", [](HDC d, HDC s, LONG* l) { return DibThresholdLevel(d, s, 60, l); }},
        {"DibThresholdChannels", [](HDC d, HDC s, LONG* l) { return DibThresholdChannels(d, s, l); }},
        {"DibPosterize", [](HDC d, HDC s, LONG* l) { return DibPosterize(d, s, 30, l); }},
        {"DibPosterizeSix", [](HDC d, HDC s, LONG* l) { return DibPosterizeSix(d, s, l); }},
        {"DibGamma", [](HDC d, HDC s, LONG* l) { return DibGamma(d, s, 0.5f, l); }},
        {"DibReduceContrast", [](HDC d, HDC s, LONG* l) { return DibReduceContrast(d, s, 20, l); }},
        {"DibDifferenceLevel", [](HDC d, HDC s, LONG* l) { return DibDifferenceLevel(d, s, 99, l); }},
        {"DibSolarize", [](HDC d, HDC s, LONG* l) { return DibSolarize(d, s, TRUE, l); }},
        {"DibSaturation", [](HDC d, HDC s, LONG* l) { return DibSaturation(d, s, 100, l); }},
        {"DibTint", [](HDC d, HDC s, LONG* l) { return DibTint(d, s, RGB(200, 10, 10), 90, l); }},
        {"DibMixBlueGreen", [](HDC d, HDC s, LONG* l) { return DibMixBlueGreen(d, s, 90, l); }},
        {"DibHueShift", [](HDC d, HDC s, LONG* l) { return DibHueShift(d, s, 222, l); }},
        {"DibAutoLevels", [](HDC d, HDC s, LONG* l) { return DibAutoLevels(d, s, 7, 1.0, l); }},
        {"DibBalanceColors", [](HDC d, HDC s, LONG* l) { return DibBalanceColors(d, s, 128, l); }},
        {"DibContourBands", [](HDC d, HDC s, LONG* l) { return DibContourBands(d, s, 5, 20, 2, l); }},
        {"DibColorDots", [](HDC d, HDC s, LONG* l) { return DibColorDots(d, s, 4, RGB(0, 0, 255), l); }},
        {"DibChannelNoise", [](HDC d, HDC s, LONG* l) { return DibChannelNoise(d, s, 40, l); }},
        {"DibBlur3x3", [](HDC d, HDC s, LONG* l) { return DibBlur3x3(d, s, l); }},
        {"DibSelectiveSmooth", [](HDC d, HDC s, LONG* l) { return DibSelectiveSmooth(d, s, 30, l); }},
        {"DibSelectiveSmoothInverse", [](HDC d, HDC s, LONG* l) { return DibSelectiveSmoothInverse(d, s, 30, l); }},
        {"DibSelectiveBlur", [](HDC d, HDC s, LONG* l) { return DibSelectiveBlur(d, s, 3, 40, TRUE, l); }},
        {"DibAdaptiveBlur", [](HDC d, HDC s, LONG* l) { return DibAdaptiveBlur(d, s, l); }},
        {"DibCrossBlur", [](HDC d, HDC s, LONG* l) { return DibCrossBlur(d, s, 2, l); }},
        {"DibRingBlur", [](HDC d, HDC s, LONG* l) { return DibRingBlur(d, s, 2, l); }},
        {"DibMotionBlur", [](HDC d, HDC s, LONG* l) { return DibMotionBlur(d, s, 120.0, 3, l); }},
        {"DibSpinBlur", [](HDC d, HDC s, LONG* l) { return DibSpinBlur(d, s, 5, l); }},
        {"DibZoomBlur", [](HDC d, HDC s, LONG* l) { return DibZoomBlur(d, s, 30, l); }},
        {"DibUnsharpMask", [](HDC d, HDC s, LONG* l) { return DibUnsharpMask(d, s, 2, 1.0, l); }},
        {"DibSharpenDiagonal", [](HDC d, HDC s, LONG* l) { return DibSharpenDiagonal(d, s, 2, l); }},
        {"DibSharpen", [](HDC d, HDC s, LONG* l) { return DibSharpen(d, s, 1.5f, l); }},
        {"DibEmboss", [](HDC d, HDC s, LONG* l) { return DibEmboss(d, s, 2.0f, l); }},
        {"DibEmbossColor", [](HDC d, HDC s, LONG* l) { return DibEmbossColor(d, s, l); }},
        {"DibEdges", [](HDC d, HDC s, LONG* l) { return DibEdges(d, s, 1, 2, l); }},
        {"DibEdgesInverted", [](HDC d, HDC s, LONG* l) { return DibEdgesInverted(d, s, 1, 2, l); }},
        {"DibEdgeTwoTone", [](HDC d, HDC s, LONG* l) { return DibEdgeTwoTone(d, s, 20, 0, 0xFFFFFF, l); }},
        {"DibRandomPaint", [](HDC d, HDC s, LONG* l) { return DibRandomPaint(d, s, 2, l); }},
        {"DibStamp", [](HDC d, HDC s, LONG* l) { return DibStamp(d, s, 100, 2, 20, 3, 0, 0xFFFFFF, l); }},
        {"DibBulge", [](HDC d, HDC s, LONG* l) { return DibBulge(d, s, l); }},
        {"DibBulgeDoubleAngle", [](HDC d, HDC s, LONG* l) { return DibBulgeDoubleAngle(d, s, l); }},
        {"DibPinch", [](HDC d, HDC s, LONG* l) { return DibPinch(d, s, l); }},
        {"DibHalfAngle", [](HDC d, HDC s, LONG* l) { return DibHalfAngle(d, s, l); }},
        {"DibSwirl", [](HDC d, HDC s, LONG* l) { return DibSwirl(d, s, -30, l); }},
        {"DibTwirl", [](HDC d, HDC s, LONG* l) { return DibTwirl(d, s, -60, l); }},
        {"DibTwistGradient", [](HDC d, HDC s, LONG* l) { return DibTwistGradient(d, s, 3.0, 1.0, l); }},
        {"DibPolarToRect", [](HDC d, HDC s, LONG* l) { return DibPolarToRect(d, s, 0, l); }},
        {"DibWaves", [](HDC d, HDC s, LONG* l) { return DibWaves(d, s, 3, 40, 1, l); }},
        {"DibRipple", [](HDC d, HDC s, LONG* l) { return DibRipple(d, s, 3, 40, l); }},
        {"DibRippleGrowing", [](HDC d, HDC s, LONG* l) { return DibRippleGrowing(d, s, 3, 40, l); }},
        {"DibLens", [](HDC d, HDC s, LONG* l) { return DibLens(d, s, 400.0, l); }},
        {"DibCylinderLens", [](HDC d, HDC s, LONG* l) { return DibCylinderLens(d, s, -400.0, l); }},
        {"DibWaterDrops", [](HDC d, HDC s, LONG* l) { return DibWaterDrops(d, s, 8, 4, 70, l); }},
        {"DibDiffuse", [](HDC d, HDC s, LONG* l) { return DibDiffuse(d, s, l); }},
        {"DibPixelate", [](HDC d, HDC s, LONG* l) { return DibPixelate(d, s, 3, l); }},
        {"DibSwapRowPairs", [](HDC d, HDC s, LONG* l) { return DibSwapRowPairs(d, s, l); }},
        {"DibMirrorFromColumn", [](HDC d, HDC s, LONG* l) { return DibMirrorFromColumn(d, s, 1, l); }},
        {"DibDrip", [](HDC d, HDC s, LONG* l) { return DibDrip(d, s, 2, l); }},
    };
    return effects;
}

const std::vector<NamedImage>& ImageEffects()
{
    static const std::vector<NamedImage> effects = {
        {"DibBrightness", [](Bmp* s, Img* d, LONG* l) { return DibBrightness(s, d, 30, l); }},
        {"DibContrastRgb", [](Bmp* s, Img* d, LONG* l) { return DibContrastRgb(s, d, 1.5f, 0.5f, 2.0f, l); }},
        {"DibGrayBrightness", [](Bmp* s, Img* d, LONG* l) { return DibGrayBrightness(s, d, -40, l); }},
        {"DibSepia", [](Bmp* s, Img* d, LONG* l) { return DibSepia(s, d, l); }},
        {"DibColorFilter", [](Bmp* s, Img* d, LONG* l) { return DibColorFilter(s, d, RGB(9, 99, 199), 50, l); }},
        {"DibReplaceColor", [](Bmp* s, Img* d, LONG* l) { return DibReplaceColor(s, d, RGB(90, 90, 90), 0, 60, l); }},
        {"DibRemoveBackground",
         [](Bmp* s, Img* d, LONG* l) { return DibRemoveBackground(s, d, 0, 0xFF, 90, TRUE, TRUE, TRUE, TRUE, l); }},
        {"DibDarkenEllipse",
         [](Bmp* s, Img* d, LONG* l) {
             return DibDarkenEllipse(s, d, RECT{0, 0, 4, 3}, 30, 30, 30, l);
         }},
        {"DibEmbossImage", [](Bmp* s, Img* d, LONG* l) { return DibEmbossImage(s, d, 2.0f, l); }},
        {"DibOilPaint", [](Bmp* s, Img* d, LONG* l) { return DibOilPaint(s, d, 2, 40, l); }},
    };
    return effects;
}

} // namespace

TEST(EveryEffect, EachFailedAllocationOrReadIsClean)
{
    for (const NamedDc& e : DcEffects())
        ExpectCleanFailures(e.name, e.effect);
    for (const NamedImage& e : ImageEffects())
        ExpectCleanImageFailures(e.name, e.effect);
}

TEST(EveryEffect, TinyImagesStayInsideTheirBuffers)
{
    EffectFaults& faults = EffectTestFaults();
    faults.guardPages = true;
    const struct
    {
        int w, h;
    } sizes[] = {{1, 1}, {2, 1}, {1, 2}, {2, 2}, {3, 1}, {1, 3}, {5, 4}};
    for (const auto& s : sizes) {
        const Rows source = Patterned(s.w, s.h);
        for (const NamedDc& e : DcEffects())
            EXPECT_EQ(S_OK, RunOn(source, e.effect).hr) << e.name << " " << s.w << "x" << s.h;
        for (const NamedImage& e : ImageEffects())
            EXPECT_EQ(S_OK, RunOnImage(source, e.effect).hr) << e.name << " " << s.w << "x" << s.h;
    }
    faults.guardPages = false;
}

TEST(EveryEffect, TheLeakCheckSeesOneObjectPerRun)
{
    // The positive control of the checks above: one brush left behind per repeat shows.
    std::vector<HBRUSH> left;
    LiveGdiCheck gdi;
    for (int repeat = 0; repeat < kRepeats; ++repeat)
        left.push_back(::CreateSolidBrush(RGB(repeat, 0, 0)));
    EXPECT_FALSE(gdi.Unchanged(kRepeats / 2));
    for (HBRUSH b : left)
        ::DeleteObject(b);
}
