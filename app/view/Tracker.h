// A modal mouse-tracking loop: capture, pump, hooks, exclusive-or feedback.
#pragma once
#include "fw/fwwin.h"

// Feedback reasons passed to DrawFeedback besides the mouse key flags (low 7 bits).
enum {
    TRACK_FB_DRAW = 0x0400,  // draw the feedback at the current state
    TRACK_FB_FIRST = 0x0800, // the loop starts
    TRACK_FB_ERASE = 0x1000, // before a mouse message: draw the previous feedback again
    TRACK_FB_MOVED = 0x2000, // after a mouse message
    TRACK_FB_LAST = 0x4000,  // the loop has ended
};

// Results of Track in this base class.
enum {
    TRACK_REFUSED = -2, // capture held already or lost, or refused by OnBegin
    TRACK_CANCELLED = -1,
    TRACK_RELEASED = 1,
    TRACK_RELEASED_CTRL = 2,
    TRACK_NOT_MOVED = 3,
};

class CTracker
{
public:
    explicit CTracker(CWnd* owner);
    virtual ~CTracker();
    CTracker(const CTracker&) = delete;
    CTracker& operator=(const CTracker&) = delete;

    // Runs one drag from a button press at point (key flags of the press).  dc may
    // be NULL (no feedback drawn); clipCursor confines the cursor to the owner.
    int Track(CDC* dc, UINT keyFlags, CPoint point, BOOL clipCursor);

    BOOL IsTracking() const { return m_bTracking; }
    BOOL HasMoved() const { return m_bMoved; }
    CPoint GetCurrentPoint() const { return m_ptCurrent; }
    CPoint GetPreviousPoint() const { return m_ptPrevious; }
    CPoint GetStartPoint() const { return m_ptStart; }

protected:
    virtual int OnBegin(UINT keyFlags, CPoint point);
    virtual int OnEnd(int result);
    virtual int OnMouseMessage(UINT message, UINT keyFlags, CPoint point);
    virtual int OnKeyMessage(UINT message, UINT key, UINT repeat, UINT flags);
    virtual int OnOtherMessage(MSG& msg);
    virtual void DrawFeedback(CDC* dc, UINT flags);

    CWnd* m_pOwner;
    CPoint m_ptCurrent;
    CPoint m_ptPrevious;
    CPoint m_ptStart;
    BOOL m_bTracking;
    BOOL m_bMoved;

private:
    BOOL NextMessage(MSG& msg);
};
