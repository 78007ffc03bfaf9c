// The one routine that draws a design area's layers, always in the same order:
// background, image layers, frame image, border frames and clip-art, texts, template
// image, layout overlay.  Each caller (the canvas, printing, the paper preview, the
// benchmark, later the snapshot, clone and selection previews and thumbnails) names
// what it shows; the transform, the clip and what it strokes around the item stay the
// caller's own.
#pragma once

#include "fw/fw.h"

#include <functional>
#include <objidl.h>
#include <gdiplus.h>

class CFrostwellDoc;
class CImageLayerList;
class CLayerArray;
class CTextItemList;

// The layers, one bit each, in drawing order.
enum DesignLayer : unsigned {
    kLayerBackground = 0x01,
    kLayerImages = 0x02,
    kLayerFrameImage = 0x04, // the record's own image, fitted to the area
    kLayerFrames = 0x08,     // border frame and clip-art
    kLayerTexts = 0x10,
    kLayerTemplate = 0x20,
    kLayerOverlay = 0x40, // the paper layout's overlay image
    kAllDesignLayers = 0x7F,
};

// What one drawing shows and where.  Positions are inches in the graphics' page unit.
struct DesignLayerOptions
{
    // Which layers are drawn (DesignLayer bits); the order never changes.
    unsigned layers = kAllDesignLayers;
    // The frame record drawn (the cell of the paper layout), made current for the
    // drawing only; kCurrentRecord (any negative number): the current one.
    enum { kCurrentRecord = -1 };
    int record = kCurrentRecord;
    // A round item: background and frames take the ellipse.
    bool round = false;
    // Handed to the image layers, the frame image, the template and the overlay, which
    // set their own transform: where the area lies and how far the cell is turned.
    Gdiplus::PointF origin{0.0f, 0.0f};
    int angle = 0;
    // Texts draw in the caller's transform; printing hands them (0, 0) while the
    // images get the item's place (it matters for mirrored printing).
    Gdiplus::PointF textOrigin{0.0f, 0.0f};
    // Added to angle for the overlay only (the canvas turns it with the layout).
    int overlayTurn = 0;
    // Colours at 70 percent (the canvas dims the overlay).
    bool dimTemplate = false;
    bool dimOverlay = false;
    // Called after each of the seven steps, drawn or not, with its layer: what the
    // caller paints between layers (the canvas's rulers after the texts) and timings.
    std::function<void(DesignLayer step)> afterStep;
};

// The parts of a design that are drawn; a document's, or loose ones (benchmarks,
// frame-style thumbnails).  A null part draws nothing.
struct DesignParts
{
    CLayerArray* records = nullptr;
    CImageLayerList* images = nullptr;
    CTextItemList* texts = nullptr;
};
DesignParts PartsOf(CFrostwellDoc* document);

// Draws the layers named by the options.  Nothing, and no hook, when the record to
// draw does not exist.  The current record is the same afterwards.
void DrawDesignLayers(Gdiplus::Graphics* graphics, const DesignParts& parts, const DesignLayerOptions& options);
void DrawDesignLayers(Gdiplus::Graphics* graphics, CFrostwellDoc* document, const DesignLayerOptions& options);
