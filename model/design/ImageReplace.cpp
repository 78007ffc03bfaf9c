#include "model/design/ImageReplace.h"

std::unique_ptr<CImageLayer> LoadImageLayerFile(LPCTSTR path, const CImageLayer* placement)
{
    if (path == nullptr || *path == '\0')
        return nullptr;
    std::unique_ptr<CImageLayer> layer(new CImageLayer);
    if (placement != nullptr)
        layer->SetPlacement(placement->m_designRect, placement->m_areaWidth, placement->m_areaHeight);
    if (!layer->LoadFromFile(path))
        return nullptr;
    return layer;
}

bool ReplaceImageLayer(CImageLayer*& slot, std::unique_ptr<CImageLayer> loaded)
{
    if (!loaded)
        return false;
    CImageLayer* old = slot;
    slot = loaded.release();
    delete old;
    return true;
}

bool ReplaceImageFromFile(CImageLayer*& slot, LPCTSTR path)
{
    return ReplaceImageLayer(slot, LoadImageLayerFile(path, slot));
}
