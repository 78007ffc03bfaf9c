#include "model/paper/PaperSize.h"

CPaperSize::CPaperSize()
    : m_id(0), m_sheetSize(0, 0), m_printableSize(0, 0), m_previewBitmap(0), m_paperCode(0), m_landscape(0),
      m_margin(0, 0)
{}

CPaperSize::~CPaperSize() {}

void CPaperSize::SetSheetSize(float width, float height)
{
    m_sheetSize = Gdiplus::SizeF(width, height);
    m_landscape = width > height ? 1 : 0;
}

CPaperSizeMap::CPaperSizeMap() {}

CPaperSizeMap::~CPaperSizeMap() { RemoveAll(); }

void CPaperSizeMap::AddOversizedPapers()
{
    struct Def
    {
        int id;
        const char* name;
        float sheetW, sheetH, printW, printH, marginX, marginY;
        int preview, code;
    };
    static const Def defs[] = {
        {10, "A4P", 8.2677f, 11.6929f, 8.2677f, 11.6929f, 0.2362f, 0.8661f, 925, 9},
        {11, "A4L", 11.6929f, 8.2677f, 11.6929f, 8.2677f, 0.8661f, 0.2362f, 926, 9},
        {12, "IDS_STRING557", 11.6929f, 16.5354f, 11.0f, 16.0f, 0.3462f, 0.2677f, 447, 8},
        {13, "IDS_STRING558", 16.5354f, 11.6929f, 16.0f, 11.0f, 0.2677f, 0.3462f, 448, 8},
        {6, "IDS_STRING563", 4.8f, 10.4f, 4.8f, 10.4f, 0.25f, 0.25f, 737, 9},
        {7, "IDS_STRING563", 8.267f, 11.69f, 8.1f, 11.44f, 0.25f, 0.25f, 736, 9},
        {9, "IDS_STRING563", 8.267f, 11.69f, 7.767f, 11.19f, 0.25f, 0.25f, 736, 9},
        {8, "IDS_STRING563", 11.69f, 8.267f, 11.19f, 7.767f, 0.25f, 0.25f, 739, 9},
    };
    for (const Def& d : defs) {
        CPaperSize* size = new CPaperSize;
        size->SetId(d.id);
        size->SetName(d.name);
        size->SetSheetSize(d.sheetW, d.sheetH);
        size->SetPrintableSize(d.printW, d.printH);
        size->SetMargin(d.marginX, d.marginY);
        size->SetPreviewBitmap(d.preview);
        size->SetPaperCode(d.code);
        Add(size);
    }
}

void CPaperSizeMap::Add(CPaperSize* size)
{
    if (!size)
        return;
    const WORD id = (WORD)size->GetId();
    CPaperSize* old = NULL;
    if (m_map.Lookup(id, old) && old != size)
        delete old;
    m_map.SetAt(id, size);
}

CPaperSize* CPaperSizeMap::Lookup(WORD id) const
{
    CPaperSize* size = NULL;
    return m_map.Lookup(id, size) ? size : NULL;
}

CPaperSizeList* CPaperSizeMap::GetAll() const
{
    // The wizard lists the sizes in the order the map walks them.
    CPaperSizeList* list = new CPaperSizeList;
    POSITION pos = m_map.GetStartPosition();
    while (pos) {
        WORD id;
        CPaperSize* size;
        m_map.GetNextAssoc(pos, id, size);
        list->AddTail(size);
    }
    return list;
}

void CPaperSizeMap::RemoveAll()
{
    POSITION pos = m_map.GetStartPosition();
    while (pos) {
        WORD id;
        CPaperSize* size;
        m_map.GetNextAssoc(pos, id, size);
        delete size;
    }
    m_map.RemoveAll();
}
