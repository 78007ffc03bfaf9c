#include "model/design/TextItemList.h"

#include <vector>

using namespace Gdiplus;

CTextItemList::CTextItemList() : m_pairs(10), m_flag(0), m_currentFrame(0) {}

CTextItemList::~CTextItemList()
{
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos)
        delete m_pairs.GetNext(pos).item;
    m_pairs.RemoveAll();
}

POSITION CTextItemList::AddPair(CTextItem* item)
{
    if (!item)
        return NULL;
    CTextItemPair pair = {item, item->m_frameIndex != -1 ? item->m_frameIndex : m_currentFrame};
    return m_pairs.AddTail(pair);
}

bool CTextItemList::Remove(CTextItem* item)
{
    bool found = false;
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos) {
        POSITION at = pos;
        if (m_pairs.GetNext(pos).item == item) {
            m_pairs.RemoveAt(at);
            found = true;
        }
    }
    if (found)
        delete item;
    return found;
}

void CTextItemList::RemoveAll()
{
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos)
        delete m_pairs.GetNext(pos).item;
    m_pairs.RemoveAll();
    m_currentFrame = 0;
}

void CTextItemList::DrawAll(Graphics* g, PointF origin)
{
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos) {
        CTextItemPair& pair = m_pairs.GetNext(pos);
        if (pair.frame == m_currentFrame)
            pair.item->Draw(g, origin);
    }
}

void CTextItemList::CopyFrame(int sourceFrame, int destinationFrame)
{
    // Copying a frame onto itself would delete the texts it is to copy.
    if (sourceFrame == destinationFrame)
        return;
    std::vector<CTextItem*> doomed, sources;
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos) {
        const CTextItemPair& pair = m_pairs.GetNext(pos);
        if (pair.frame == destinationFrame)
            doomed.push_back(pair.item);
    }
    for (CTextItem* item : doomed)
        Remove(item);
    pos = m_pairs.GetHeadPosition();
    while (pos) {
        const CTextItemPair& pair = m_pairs.GetNext(pos);
        if (pair.frame == sourceFrame)
            sources.push_back(pair.item);
    }
    for (CTextItem* source : sources) {
        CTextItem* copy = new CTextItem;
        source->CopyTo(copy); // no speech bubble, no image fill
        copy->m_frameIndex = destinationFrame;
        AddPair(copy);
    }
}

int CTextItemList::CountInFrame(int frame) const
{
    int n = 0;
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos)
        if (m_pairs.GetNext(pos).frame == frame)
            n++;
    return n;
}

CTextItem* CTextItemList::HitTest(int x, int y, float zoom) const
{
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos) {
        const CTextItemPair& pair = m_pairs.GetNext(pos);
        if (pair.frame == m_currentFrame && pair.item->ContainsPoint(x, y, zoom))
            return pair.item;
    }
    return NULL;
}

CTextItem* CTextItemList::GetNextAfter(CTextItem* item) const
{
    if (m_pairs.IsEmpty())
        return NULL;
    if (item) {
        POSITION pos = m_pairs.GetHeadPosition();
        while (pos) {
            if (m_pairs.GetNext(pos).item == item) {
                if (pos)
                    return m_pairs.GetAt(pos).item;
                break; // the last one: fall through to the first of the frame
            }
            if (!pos)
                return NULL; // not in the list
        }
    }
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos) {
        const CTextItemPair& pair = m_pairs.GetNext(pos);
        if (pair.frame == m_currentFrame)
            return pair.item;
    }
    return m_pairs.GetTail().item;
}
