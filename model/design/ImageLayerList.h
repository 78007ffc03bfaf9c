// The user's image layers of every design area, each paired with the index of its
// frame record.  List order is drawing order: head at the bottom, tail on top.
#pragma once

#include "fw/fw.h"
#include "model/design/ImageLayer.h"

class CFrostwellDoc;

struct CImageLayerPair
{
    CImageLayer* layer;
    int frame;
};

class CImageLayerList
{
public:
    CImageLayerList();
    virtual ~CImageLayerList();

    void SetCurrentFrame(int index) { m_currentFrame = index; }
    int GetCurrentFrame() const { return m_currentFrame; }

    void Add(CImageLayer* layer);
    bool Remove(CImageLayer* layer);
    void RemoveAll();
    void RemoveAt(POSITION position);

    POSITION GetHeadPosition() const { return m_entries.GetHeadPosition(); }
    POSITION GetTailPosition() const { return m_entries.GetTailPosition(); }
    CImageLayerPair GetNext(POSITION& position) const { return m_entries.GetNext(position); }
    CImageLayerPair GetPrev(POSITION& position) const { return m_entries.GetPrev(position); }
    int GetCount() const { return (int)m_entries.GetCount(); }
    int CountInFrame(int frame) const;

    CImageLayer* GetCurrent() const;
    CImageLayer* HitTest(int x, int y, float pixelsPerInch) const;
    void DrawAll(Gdiplus::Graphics* g, Gdiplus::PointF origin, int cellAngle);
    void SetPlacementAll(CRect designRect, int areaWidth, int areaHeight);
    void MoveForward(CImageLayer* layer);
    void MoveBackward(CImageLayer* layer);
    void CopyFrame(int sourceFrame, int targetFrame);
    void BuildPrintCopies();
    void FreePrintCopies();

    CImageLayer* FindByThumbnail(Gdiplus::Bitmap* thumbnail) const;
    CImageLayer* GetNextInFrame(CImageLayer* layer) const;

    // IMAGE section of the design file (defined with the design file).
    void Save(IStorage* storage, IStream* recordStream);
    void Load(IStorage* storage, IStream* recordStream, CFrostwellDoc* document);

private:
    CImageLayerList(const CImageLayerList&) = delete;
    CImageLayerList& operator=(const CImageLayerList&) = delete;

    POSITION Find(CImageLayer* layer) const;

    CList<CImageLayerPair, CImageLayerPair&> m_entries;
    int m_currentFrame;
};
