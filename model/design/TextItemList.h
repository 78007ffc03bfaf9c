// Every text of a design across all design areas: (text item, frame index) pairs in
// insertion order.  Only the current frame's texts are drawn and hit-tested.
#pragma once

#include "fw/fw.h"
#include "model/design/TextItem.h"

struct CTextItemPair
{
    CTextItem* item;
    int frame;
};

class CTextItemList
{
public:
    CTextItemList();
    virtual ~CTextItemList();

    POSITION AddPair(CTextItem* item);
    bool Remove(CTextItem* item);
    void RemoveAll();
    void DrawAll(Gdiplus::Graphics* g, Gdiplus::PointF origin);
    int GetCount() const { return (int)m_pairs.GetCount(); }
    void CopyFrame(int sourceFrame, int destinationFrame);
    void Relayout() {}
    int CountInFrame(int frame) const;
    CTextItem* HitTest(int x, int y, float zoom) const;
    CTextItem* GetNextAfter(CTextItem* item) const;

    void SetCurrentFrame(int frame) { m_currentFrame = frame; }
    int GetCurrentFrame() const { return m_currentFrame; }
    POSITION GetHeadPosition() const { return m_pairs.GetHeadPosition(); }
    CTextItemPair GetNext(POSITION& position) const { return m_pairs.GetNext(position); }

    // TEXT section of the design file (defined with the design file).
    void Save(IStorage* storage, IStream* stream);
    void Load(IStorage* storage, IStream* stream);

private:
    CTextItemList(const CTextItemList&) = delete;
    CTextItemList& operator=(const CTextItemList&) = delete;

    CList<CTextItemPair, CTextItemPair&> m_pairs;
    BYTE m_flag;
    int m_currentFrame;
};
