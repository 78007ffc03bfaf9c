#include "model/design/DesignLayers.h"

#include "model/design/FrostwellDoc.h"

using namespace Gdiplus;

namespace {

// Makes a record current in all three parts for one drawing, and the old one again after.
class RecordScope
{
public:
    RecordScope(const DesignParts& parts, int record) : m_parts(parts), m_switched(record >= 0)
    {
        if (m_parts.records != nullptr)
            m_records = m_parts.records->GetCurrent();
        if (m_parts.images != nullptr)
            m_images = m_parts.images->GetCurrentFrame();
        if (m_parts.texts != nullptr)
            m_texts = m_parts.texts->GetCurrentFrame();
        if (m_switched)
            Set(record, record, record);
    }
    ~RecordScope()
    {
        if (m_switched)
            Set(m_records, m_images, m_texts);
    }
    RecordScope(const RecordScope&) = delete;
    RecordScope& operator=(const RecordScope&) = delete;

private:
    void Set(int records, int images, int texts)
    {
        if (m_parts.records != nullptr)
            m_parts.records->SetCurrent(records);
        if (m_parts.images != nullptr)
            m_parts.images->SetCurrentFrame(images);
        if (m_parts.texts != nullptr)
            m_parts.texts->SetCurrentFrame(texts);
    }

    const DesignParts& m_parts;
    bool m_switched;
    int m_records = 0, m_images = 0, m_texts = 0;
};

} // namespace

DesignParts PartsOf(CFrostwellDoc* document)
{
    DesignParts parts;
    if (document != nullptr) {
        parts.records = document->GetLayers();
        parts.images = document->GetImageList();
        parts.texts = document->GetTextList();
    }
    return parts;
}

void DrawDesignLayers(Graphics* g, const DesignParts& parts, const DesignLayerOptions& o)
{
    if (g == nullptr)
        return;
    RecordScope scope(parts, o.record);
    CLayerArray* records = parts.records;
    if (records != nullptr && (records->GetCurrent() < 0 || records->GetCurrent() >= records->GetCount()))
        return;
    const BYTE round = o.round ? 1 : 0;
    auto step = [&](DesignLayer layer, const std::function<void()>& draw) {
        if ((o.layers & layer) != 0)
            draw();
        if (o.afterStep)
            o.afterStep(layer);
    };
    step(kLayerBackground, [&] {
        if (records != nullptr)
            records->DrawBackground(g, round, 0);
    });
    step(kLayerImages, [&] {
        if (parts.images != nullptr)
            parts.images->DrawAll(g, o.origin, o.angle);
    });
    step(kLayerFrameImage, [&] {
        if (records != nullptr)
            records->DrawFrameImage(g, o.origin, o.angle);
    });
    step(kLayerFrames, [&] {
        if (records != nullptr)
            records->DrawFrames(g, round, o.origin, o.angle);
    });
    step(kLayerTexts, [&] {
        if (parts.texts != nullptr)
            parts.texts->DrawAll(g, o.textOrigin);
    });
    step(kLayerTemplate, [&] {
        if (records != nullptr)
            records->DrawTemplateImage(g, o.origin, o.dimTemplate ? 1 : 0);
    });
    step(kLayerOverlay, [&] {
        if (records != nullptr)
            records->DrawLayoutOverlay(g, o.origin, o.angle + o.overlayTurn, o.dimOverlay ? 1 : 0);
    });
}

void DrawDesignLayers(Graphics* g, CFrostwellDoc* document, const DesignLayerOptions& options)
{
    if (document != nullptr)
        DrawDesignLayers(g, PartsOf(document), options);
}
