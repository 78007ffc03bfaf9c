#include "model/design/ImageLayerList.h"

#include <vector>

using namespace Gdiplus;

CImageLayerList::CImageLayerList() : m_entries(10), m_currentFrame(0) {}

CImageLayerList::~CImageLayerList() { RemoveAll(); }

void CImageLayerList::Add(CImageLayer* layer)
{
    if (!layer)
        return;
    CImageLayerPair pair = {layer, layer->m_frameIndex != -1 ? layer->m_frameIndex : m_currentFrame};
    m_entries.AddTail(pair);
}

bool CImageLayerList::Remove(CImageLayer* layer)
{
    bool found = false;
    POSITION pos = m_entries.GetHeadPosition();
    while (pos) {
        POSITION at = pos;
        CImageLayerPair& pair = m_entries.GetNext(pos);
        if (pair.layer == layer) {
            m_entries.RemoveAt(at);
            found = true;
        }
    }
    if (found)
        delete layer;
    return found;
}

void CImageLayerList::RemoveAll()
{
    POSITION pos = m_entries.GetHeadPosition();
    while (pos)
        delete m_entries.GetNext(pos).layer;
    m_entries.RemoveAll();
    m_currentFrame = 0;
}

void CImageLayerList::RemoveAt(POSITION position)
{
    if (position)
        m_entries.RemoveAt(position);
}

int CImageLayerList::CountInFrame(int frame) const
{
    int n = 0;
    POSITION pos = m_entries.GetHeadPosition();
    while (pos)
        if (m_entries.GetNext(pos).frame == frame)
            n++;
    return n;
}

CImageLayer* CImageLayerList::GetCurrent() const
{
    POSITION pos = m_entries.GetTailPosition();
    while (pos) {
        const CImageLayerPair& pair = m_entries.GetPrev(pos);
        if (pair.frame == m_currentFrame)
            return pair.layer;
    }
    return NULL;
}

CImageLayer* CImageLayerList::HitTest(int x, int y, float pixelsPerInch) const
{
    POSITION pos = m_entries.GetTailPosition();
    while (pos) {
        const CImageLayerPair& pair = m_entries.GetPrev(pos);
        if (pair.frame == m_currentFrame && pair.layer->HitTest(x, y, pixelsPerInch))
            return pair.layer;
    }
    return NULL;
}

void CImageLayerList::DrawAll(Graphics* g, PointF origin, int cellAngle)
{
    POSITION pos = m_entries.GetHeadPosition();
    while (pos) {
        CImageLayerPair& pair = m_entries.GetNext(pos);
        if (pair.frame == m_currentFrame)
            pair.layer->Draw(g, 0.0f, origin.X, origin.Y, cellAngle);
    }
}

void CImageLayerList::SetPlacementAll(CRect designRect, int areaWidth, int areaHeight)
{
    POSITION pos = m_entries.GetHeadPosition();
    while (pos)
        m_entries.GetNext(pos).layer->SetPlacement(designRect, areaWidth, areaHeight);
}

POSITION CImageLayerList::Find(CImageLayer* layer) const
{
    POSITION pos = m_entries.GetHeadPosition();
    while (pos) {
        POSITION at = pos;
        if (m_entries.GetNext(pos).layer == layer)
            return at;
    }
    return NULL;
}

void CImageLayerList::MoveForward(CImageLayer* layer)
{
    POSITION at = Find(layer);
    if (!at)
        return;
    POSITION next = at;
    m_entries.GetNext(next);
    if (!next)
        return;
    CImageLayerPair tmp = m_entries.GetAt(at);
    m_entries.GetAt(at) = m_entries.GetAt(next);
    m_entries.GetAt(next) = tmp;
}

void CImageLayerList::MoveBackward(CImageLayer* layer)
{
    POSITION at = Find(layer);
    if (!at)
        return;
    POSITION prev = at;
    m_entries.GetPrev(prev);
    if (!prev)
        return;
    CImageLayerPair tmp = m_entries.GetAt(at);
    m_entries.GetAt(at) = m_entries.GetAt(prev);
    m_entries.GetAt(prev) = tmp;
}

void CImageLayerList::CopyFrame(int sourceFrame, int targetFrame)
{
    // Copying a frame onto itself would delete the very layers it is to copy.
    if (sourceFrame == targetFrame)
        return;
    POSITION pos = m_entries.GetHeadPosition();
    while (pos) {
        POSITION at = pos;
        CImageLayerPair& pair = m_entries.GetNext(pos);
        if (pair.frame == targetFrame) {
            delete pair.layer;
            m_entries.RemoveAt(at);
        }
    }
    std::vector<CImageLayer*> sources;
    pos = m_entries.GetHeadPosition();
    while (pos) {
        const CImageLayerPair& pair = m_entries.GetNext(pos);
        if (pair.frame == sourceFrame)
            sources.push_back(pair.layer);
    }
    for (CImageLayer* source : sources) {
        CImageLayer* copy = new CImageLayer;
        source->CopyTo(copy);
        copy->m_frameIndex = targetFrame;
        Add(copy);
    }
}

void CImageLayerList::BuildPrintCopies()
{
    POSITION pos = m_entries.GetHeadPosition();
    while (pos)
        m_entries.GetNext(pos).layer->BuildPrintCopy(300.0f);
}

void CImageLayerList::FreePrintCopies()
{
    POSITION pos = m_entries.GetHeadPosition();
    while (pos)
        m_entries.GetNext(pos).layer->FreePrintCopy();
}

CImageLayer* CImageLayerList::FindByThumbnail(Bitmap* thumbnail) const
{
    POSITION pos = m_entries.GetTailPosition();
    while (pos) {
        const CImageLayerPair& pair = m_entries.GetPrev(pos);
        if (pair.layer->GetThumbnail() == thumbnail)
            return pair.layer;
    }
    return NULL;
}

CImageLayer* CImageLayerList::GetNextInFrame(CImageLayer* layer) const
{
    POSITION pos = layer ? Find(layer) : NULL;
    if (pos) {
        m_entries.GetNext(pos);
        while (pos) {
            const CImageLayerPair& pair = m_entries.GetNext(pos);
            if (pair.frame == m_currentFrame)
                return pair.layer;
        }
    }
    pos = m_entries.GetHeadPosition();
    while (pos) {
        const CImageLayerPair& pair = m_entries.GetNext(pos);
        if (pair.frame == m_currentFrame)
            return pair.layer;
    }
    return NULL;
}
