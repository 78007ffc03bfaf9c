// The paper layout in design files and paper layout files.
#include "model/paper/PaperLayout.h"

#include <oleauto.h>
#include <stdlib.h>

#include <cmath>

#include "base/ComOwner.h"
#include "base/FileUtils.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "base/StreamCodec.h"
#include "base/VersionText.h"

namespace {

// Most design areas an old custom layout may name; more can only be damage.
const int kMaxDesignAreas = 1000;

// One VARIANT record of the oldest form, whose writer is gone: its value is taken by the
// type the record names.
class OldRecordReader
{
public:
    explicit OldRecordReader(IStream* stream) : m_stream(stream), m_ok(true) {}
    bool Ok() const { return m_ok; }

    LONG Int()
    {
        VARIANT v;
        if (!Read(v))
            return 0;
        LONG value = 0;
        if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4)))
            value = v.lVal;
        VariantClear(&v);
        return value;
    }
    float Float()
    {
        VARIANT v;
        if (!Read(v))
            return 0;
        float value = 0;
        if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_R4)))
            value = v.fltVal;
        VariantClear(&v);
        // Sizes and spacings: a value that is no number is damage.
        if (!std::isfinite(value)) {
            m_ok = false;
            return 0;
        }
        return value;
    }
    // A flag is set when the low 16 bits of its value are.
    bool Flag() { return (Int() & 0xFFFF) != 0; }
    CString Text()
    {
        VARIANT v;
        if (!Read(v))
            return CString();
        CString value;
        if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_BSTR)) && v.bstrVal)
            value = CString(v.bstrVal);
        VariantClear(&v);
        return value;
    }
    void Skip()
    {
        VARIANT v;
        if (Read(v))
            VariantClear(&v);
    }

private:
    bool Read(VARIANT& v)
    {
        VariantInit(&v);
        if (!m_ok)
            return false;
        if (FAILED(ReadVariantRecord(m_stream, v))) {
            VariantInit(&v);
            m_ok = false;
            return false;
        }
        return true;
    }
    IStream* m_stream;
    bool m_ok;
};

} // namespace

HRESULT CPaperLayout::SaveToStream(IStream* stream) const { return WriteTextRecord(stream, FormatCsv()); }

BOOL CPaperLayout::LoadFromStream(IStream* stream, LPCTSTR version)
{
    CString line;
    if (FAILED(ReadTextRecord(stream, line)))
        return FALSE;
    return ParseCsv(line, version);
}

int CPaperLayout::ReadFromDesign(IStream* stream, CString& version)
{
    OldRecordReader in(stream);
    const bool custom = in.Flag();
    const LONG oldId = in.Int();
    in.Skip();
    const bool round = in.Flag();
    const bool rectangle = in.Flag();
    const bool shape3 = in.Flag();
    if (!in.Ok())
        return 0;

    CPaperLayoutMap* catalogue = GetGlobalObjectA();
    if (!custom) {
        if (const CPaperLayout* known = catalogue->Lookup((WORD)oldId))
            CopyFrom(*known);
    } else {
        if (round)
            if (const CPaperLayout* l = catalogue->Lookup(313))
                CopyFrom(*l);
        if (rectangle)
            if (const CPaperLayout* l = catalogue->Lookup(312))
                CopyFrom(*l);
        if (shape3)
            if (const CPaperLayout* l = catalogue->Lookup(315))
                CopyFrom(*l);
        // The old custom layouts name their paper by the layout id.
        int paper = -1;
        if (oldId > 303) {
            switch (oldId - 304) {
            case 0:
            case 6:
            case 7:
                paper = 4;
                break;
            case 1:
                paper = 5;
                break;
            case 2:
            case 4:
            case 14:
            case 15:
            case 16:
            case 20:
                paper = 2;
                break;
            default:
                break;
            }
        } else if (oldId == 303) {
            paper = 3;
        } else if (oldId >= 0 && oldId <= 9) {
            switch (oldId) {
            case 0:
            case 2:
            case 7:
            case 9:
                paper = 2;
                break;
            case 1:
                paper = 3;
                break;
            default:
                break;
            }
        }
        if (paper >= 0)
            m_paperSize = GetGlobalObjectB()->Lookup((WORD)paper);
    }

    const float height = in.Float();
    if (m_custom)
        m_itemSize.Height = height / 100;
    const float width = in.Float();
    if (m_custom)
        m_itemSize.Width = width / 100;
    in.Skip();
    const bool perCell = in.Flag();
    if (m_custom)
        m_oneDesignPerCell = perCell ? 1 : 0;
    in.Skip();
    const bool multiple = in.Flag();
    if (m_custom)
        m_multiple = multiple ? 1 : 0;
    const float spacing = in.Float();
    if (custom)
        m_spacing = Gdiplus::SizeF(spacing / 100, spacing / 100);

    const LONG areas = in.Int();
    int count = m_custom ? (int)areas : m_rows * m_columns;
    version = in.Text();
    if (IsVersionAtLeast(version, "6.7")) {
        const LONG a = in.Int(), b = in.Int(), c = in.Int(), d = in.Int();
        if (custom) {
            m_spacing = Gdiplus::SizeF(a / 100.0f, b / 100.0f);
            m_margin = Gdiplus::PointF(c / 100.0f, d / 100.0f);
        }
    }
    if (!in.Ok())
        return 0;
    // The count sizes the document's frame records: never trust it beyond reason.
    if (count < 1 || count > kMaxDesignAreas)
        return 0;
    return count;
}

bool ReadKeyValueRecord(IStream* stream, CString& key, int& value)
{
    key.Empty();
    value = 0;
    CString text;
    if (FAILED(ReadBstrRecord(stream, text)))
        return false;
    const int eq = text.Find('=');
    if (eq < 0) {
        key = text;
    } else {
        key = text.Left(eq);
        value = atoi(text.Mid(eq + 1));
    }
    return key != "END";
}

int LoadUserPaperLayouts()
{
    CString folder = GetSetting("root") + "\\" + GetLangText("IDS_PAPER_DIR") + "\\";
    CFolderScan files;
    files.Walk(folder, "*.pap", FALSE, 0, FALSE, NULL, NULL);
    int added = 0;
    for (INT_PTR k = 0; k < files.GetSize(); ++k) {
        CStringW path(files[k].GetPath());
        ComOwner<IStorage> storage;
        if (FAILED(StgOpenStorage(path, NULL, STGM_READ | STGM_SHARE_DENY_WRITE, NULL, 0, storage.Put())))
            continue;
        ComOwner<IStream> stream;
        CPaperLayout* layout = NULL;
        if (SUCCEEDED(storage->OpenStream(L"CakeData", NULL, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put()))) {
            layout = new CPaperLayout;
            // Paper layout files are written with the design file's line.
            if (!layout->LoadFromStream(stream, "10.15")) {
                delete layout;
                layout = NULL;
            }
        }
        if (layout) {
            GetGlobalObjectA()->Add(layout);
            ++added;
        }
    }
    return added;
}
