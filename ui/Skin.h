// The skin: the palette of the skinned windows, and the brushes and fonts they share.
//
// The rule it keeps: a colour of the toolkit and of the windows built on it is named here
// and nowhere else, so that a look changes in one place. The shared brushes and fonts are
// made on first use, live until the process ends and are never deleted by a user.
#pragma once
#include "fw/fw.h"

// --- Palette (COLORREF values, 0x00BBGGRR) -------------------------------------------------
// The blue of the tool menus, their panels and the panel host window: RGB(66, 154, 252).
const COLORREF kSkinBlue = 0xFC9A42;
// The pale yellow of the wizard and the small dialogs: RGB(255, 255, 192).
const COLORREF kSkinPaleYellow = 0xC0FFFF;
// Captions of skinned buttons.
const COLORREF kSkinCaptionWhite = 0xFFFFFF;
// Static texts of the menus and a lit separator line: RGB(255, 255, 0).
const COLORREF kSkinTextYellow = 0x00FFFF;
// The labels of the clone panel, a paler yellow: RGB(255, 255, 64).
const COLORREF kSkinLabelYellow = 0x40FFFF;
// A dimmed separator line and every separator's dotted rule: RGB(140, 190, 150).
const COLORREF kSkinLineGreen = 0x96BE8C;
// The one-pixel border of a skinned button: pressed RGB(136, 194, 255), else RGB(116, 184, 255).
const COLORREF kSkinBorderPressed = 0xFFC288;
const COLORREF kSkinBorderNormal = 0xFFB874;
// Plain black and white: a default button's frame, a hover button's text under the pointer.
const COLORREF kSkinBlack = 0x000000;
const COLORREF kSkinWhite = 0xFFFFFF;
// The caption of a pressed hover button.
const COLORREF kSkinPressedText = 0xF0F0F0;
// The sample text of the face list, RGB(60, 0, 0).
const COLORREF kSkinFontSample = 0x00003C;
// The colour the help image is drawn on, which the tooltip's image list masks out.
const COLORREF kSkinHelpMask = 0xC0C0C0;
// The tip slider: its channel, its thumb and the thumb's edge.
const COLORREF kSkinSliderChannel = 0xE0F8FF;
const COLORREF kSkinSliderThumb = 0xFFFFFF;
const COLORREF kSkinSliderEdge = 0x8C5A1E;
// --- Value controls: the bitmap scroll bar and the round slider ---
// The scroll bar's frame RGB(76, 85, 118), its thumb under the pointer RGB(255, 204, 0) and
// the grey of the thumb's grip RGB(91, 91, 91).
const COLORREF kSkinScrollFrame = 0x76554C;
const COLORREF kSkinScrollThumbHover = 0x00CCFF;
const COLORREF kSkinScrollGrip = 0x5B5B5B;
// The round slider's marker dot: red with a black rim.
const COLORREF kSkinDialMarker = 0x0000FF;
// The thumbnail grid: the frame and the name of a selected cell (pure blue).
const COLORREF kSkinGridSelection = 0xFF0000;
// The thumbs of the panels' value bars: blue for sizes, red for transparency and opacity,
// green for offsets.
const COLORREF kSkinBarBlue = 0xFF0000;
const COLORREF kSkinBarRed = 0x0000FF;
const COLORREF kSkinBarGreen = 0x00FF00;
// The colour the skin generator leaves transparent in the hosts' and menus' button bitmaps.
const COLORREF kSkinButtonTransparent = 0x000100;
// The frame of a selected picture in a thumbnail list: light top and left, dark bottom and right.
const COLORREF kSkinItemFrameLight = 0x0000FF;
const COLORREF kSkinItemFrameDark = 0x0000C0;

// --- Shared brushes and fonts ----------------------------------------------------------
// Solid brushes of the blue and the pale yellow.
HBRUSH SkinBlueBrush();
HBRUSH SkinPaleYellowBrush();
// The bold child font of the small dialogs (Arial, height -12, bold, antialiased): the
// program's dialog font, which SetDialogFontProc (ui/DialogText.h) puts on every control.
HFONT SkinBoldChildFont();
