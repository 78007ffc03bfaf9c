// Replacing the image layer held in a slot (a frame record's background, frame or fill
// image) with one read from a file.  Rule kept: the file is read into a new layer first;
// the old layer object is deleted and replaced only after that load succeeded, so a file
// that cannot be read leaves the slot as it was and is reported as a failure.
#pragma once

#include "model/design/ImageLayer.h"

#include <memory>

// Reads `path` into a new layer placed like `placement` (its design rectangle and area;
// NULL for none).  Touches nothing shared, so it may run on a worker.  NULL when the file
// cannot be read or is no image.
std::unique_ptr<CImageLayer> LoadImageLayerFile(LPCTSTR path, const CImageLayer* placement);

// Puts `loaded` into the slot, deleting the old layer.  A null `loaded` leaves the slot
// untouched and returns false.
bool ReplaceImageLayer(CImageLayer*& slot, std::unique_ptr<CImageLayer> loaded);

// Both steps at once, on the calling thread.
bool ReplaceImageFromFile(CImageLayer*& slot, LPCTSTR path);
