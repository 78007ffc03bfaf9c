// Where the thumbnail cache hands each thumbnail it reads or makes: the thumbnail list,
// which lives on a higher floor, implements it.  The cache calls it on the worker thread;
// the image belongs to the caller and lives only during the call.
#pragma once

#include <windows.h>
#include <gdiplus.h>

class CThumbSink
{
public:
    virtual ~CThumbSink() = default;
    // Appends one thumbnail: the image with its label (the file's name) and its value
    // (the file's full path).
    virtual void MakeThumbnail(Gdiplus::Image* image, LPCTSTR label, LPCTSTR value) = 0;
};
