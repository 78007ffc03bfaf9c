#include "ui/Skin.h"

#include "base/Globals.h"

namespace {

// Owns one shared brush; deleted at process exit.
struct SharedBrush
{
    HBRUSH brush;
    explicit SharedBrush(COLORREF colour) : brush(::CreateSolidBrush(colour)) {}
    ~SharedBrush()
    {
        if (brush != nullptr)
            ::DeleteObject(brush);
    }
    SharedBrush(const SharedBrush&) = delete;
    SharedBrush& operator=(const SharedBrush&) = delete;
};

} // namespace

HBRUSH SkinBlueBrush()
{
    static SharedBrush shared(kSkinBlue);
    return shared.brush;
}

HBRUSH SkinPaleYellowBrush()
{
    static SharedBrush shared(kSkinPaleYellow);
    return shared.brush;
}

// The dialog font of the program is that very font: one object for both.
HFONT SkinBoldChildFont() { return GetDialogFont(); }
