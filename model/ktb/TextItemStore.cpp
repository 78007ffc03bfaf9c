// The stored form of text items: 53 records per text in the TEXT section of "CakeData",
// and the image fill as a PNG stream named by the text's frame.
#include "model/ktb/DesignSections.h"

#include "model/ktb/DesignVersion.h"
#include "base/RecordIo.h"
#include "model/design/TextItem.h"
#include "model/design/TextItemList.h"
#include "base/VersionText.h"

using namespace Gdiplus;

void CTextFillNames::Next(int frame, CString& name, CString& fallback)
{
    const int ordinal = ++m_count[frame];
    name = TextFillStreamName(frame, ordinal);
    // Files of older writers named every fill of a frame alike.
    fallback = ordinal > 1 ? TextFillStreamName(frame, 1) : CString();
}

HRESULT WriteTextItem(IStorage* storage, IStream* records, CTextItem& item, CTextFillNames& names)
{
    CRecordWriter out(records);
    out.Bstr(item.m_fontFace);
    out.I4(0);
    out.Bool(FALSE);
    out.Bool(FALSE);
    out.Bool(FALSE);
    out.Bstr(item.m_text);
    out.I4(item.m_arcLayout);
    out.I4(item.m_arcBelow);
    out.R4(item.m_arcRadius);
    out.R4(item.m_rotation);
    out.I4(item.m_fontSize);
    out.R4(item.m_position.X);
    out.R4(item.m_position.Y);
    out.Bool(FALSE);
    out.Bool(FALSE);
    out.Bool(FALSE);
    out.I4(1);
    out.I4(1);
    out.I4(item.m_gradientAngle);
    out.I4(1);
    out.I4(item.m_outlineSize);
    out.I4(item.m_frameIndex);
    out.I4(item.m_imageRotation);
    out.R4(item.m_imageTileScale);
    out.I4(item.m_imageOpacity);
    Bitmap* fill = item.GetFillImage();
    out.Bool(fill != NULL);
    if (out.Ok() && fill) {
        CString name, fallback;
        names.Next(item.m_frameIndex, name, fallback);
        ULONG quality = 90;
        EncoderParameters parameters;
        parameters.Count = 1;
        parameters.Parameter[0].Guid = EncoderQuality;
        parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
        parameters.Parameter[0].NumberOfValues = 1;
        parameters.Parameter[0].Value = &quality;
        out.Check(WritePngStream(storage, name, fill, &parameters));
    }
    out.R4(item.m_areaWidth);
    out.R4(item.m_areaHeight);
    out.Bool(item.m_bold);
    out.Bool(item.m_italic);
    out.Bool(item.m_underline);
    for (COLORREF c : item.m_fillColour)
        out.I4((LONG)c);
    out.R4(item.m_fillOpacity);
    out.I4(item.m_fillKind);
    for (COLORREF c : item.m_outlineColour)
        out.I4((LONG)c);
    out.R4(item.m_outlineOpacity);
    out.I4(item.m_outlineKind);
    out.I4(item.m_bubbleKind);
    out.I4(item.m_bubbleTailPosition);
    out.I4((LONG)item.m_bubbleFillColour);
    out.I4((LONG)item.m_bubbleLineColour);
    out.R4(item.m_bubbleOpacity);
    out.R4(item.m_bubbleTailWidth);
    out.R4(item.m_bubbleTailLength);
    out.I4(item.m_bubbleLineThickness);
    return out.Result();
}

HRESULT ReadTextItem(IStorage* storage, IStream* records, LPCTSTR version, CTextItem& item, CTextFillNames& names)
{
    CRecordReader in(records);
    item.m_fontFace = in.Bstr();
    in.I4();
    in.Bool();
    in.Bool();
    in.Bool();
    item.m_text = in.Bstr();
    item.m_arcLayout = in.I4();
    item.m_arcBelow = in.I4();
    item.m_arcRadius = in.R4();
    item.m_rotation = in.R4();
    item.m_fontSize = in.I4();
    item.m_position.X = in.R4();
    item.m_position.Y = in.R4();
    in.Bool();
    in.Bool();
    in.Bool();
    in.I4();
    in.I4();
    if (IsVersionAtLeast(version, "5.01"))
        item.m_gradientAngle = in.I4();
    in.I4();
    item.m_outlineSize = in.I4();
    item.m_frameIndex = in.I4();
    item.m_selected = 0;
    if (!in.Ok() || !IsVersionAtLeast(version, "6.0"))
        return in.Result();

    item.m_imageRotation = in.I4();
    item.m_imageTileScale = in.R4();
    item.m_imageOpacity = in.I4();
    const bool hasFill = in.Bool();
    if (!in.Ok())
        return in.Result();
    if (hasFill) {
        CString name, fallback;
        names.Next(item.m_frameIndex, name, fallback);
        CTextItem* target = &item;
        auto take = [target](Bitmap* fill) { return target->SetFillImage(fill); };
        HRESULT hr = ReadBitmapInto(storage, name, take);
        if (hr == STG_E_FILENOTFOUND && !fallback.IsEmpty())
            hr = ReadBitmapInto(storage, fallback, take);
        if (FAILED(hr) && hr != STG_E_FILENOTFOUND)
            return hr;
    }
    if (!IsVersionAtLeast(version, "7.0"))
        return in.Result();

    item.m_areaWidth = in.R4();
    item.m_areaHeight = in.R4();
    item.m_bold = in.Bool() ? 1 : 0;
    item.m_italic = in.Bool() ? 1 : 0;
    item.m_underline = in.Bool() ? 1 : 0;
    for (COLORREF& c : item.m_fillColour)
        c = (COLORREF)in.I4();
    item.m_fillOpacity = in.R4();
    item.m_fillKind = in.I4();
    for (COLORREF& c : item.m_outlineColour)
        c = (COLORREF)in.I4();
    item.m_outlineOpacity = in.R4();
    item.m_outlineKind = in.I4();
    item.m_bubbleKind = in.I4();
    item.m_bubbleTailPosition = in.I4();
    item.m_bubbleFillColour = (COLORREF)in.I4();
    item.m_bubbleLineColour = (COLORREF)in.I4();
    item.m_bubbleOpacity = in.R4();
    item.m_bubbleTailWidth = in.R4();
    item.m_bubbleTailLength = in.R4();
    item.m_bubbleLineThickness = in.I4();
    return in.Result();
}

HRESULT WriteTextSection(IStorage* storage, IStream* records, CTextItemList& list)
{
    CRecordWriter out(records);
    out.Key("TEXT", list.GetCount());
    CTextFillNames names;
    for (POSITION pos = list.GetHeadPosition(); pos && out.Ok();) {
        CTextItemPair pair = list.GetNext(pos);
        pair.item->m_frameIndex = pair.frame;
        out.Check(WriteTextItem(storage, records, *pair.item, names));
    }
    return out.Result();
}

void CTextItem::Save(IStorage* storage, IStream* stream)
{
    CTextFillNames names;
    WriteTextItem(storage, stream, *this, names);
}

void CTextItem::Load(IStorage* storage, IStream* stream)
{
    CTextFillNames names;
    ReadTextItem(storage, stream, GetLoadedDesignVersion(), *this, names);
}

void CTextItemList::Save(IStorage* storage, IStream* stream) { WriteTextSection(storage, stream, *this); }

void CTextItemList::Load(IStorage* storage, IStream* stream)
{
    // One text on its own knows nothing of the texts before it: it reads the first fill
    // name of its frame.  The design reader counts across the section instead.
    CTextItem* item = new CTextItem();
    CTextFillNames names;
    if (FAILED(ReadTextItem(storage, stream, GetLoadedDesignVersion(), *item, names))) {
        delete item;
        return;
    }
    AddPair(item);
}
