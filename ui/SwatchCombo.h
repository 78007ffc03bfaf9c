// The swatch list of the fill panels: an owner-drawn drop-down list whose items are swatch
// keys (item data) drawn as five colour boxes from the panel's record map; and CSwatchList,
// the one copy of loading, adding, removing, applying and matching swatches that every fill
// panel uses, the panel giving and taking its five colours.
//
// The rules it keep: the combo draws no text and no selection highlight (only the focus
// rectangle marks the selection); the map and the list change together; the file is only
// touched through the swatch store (model/swatches/SwatchFile.h).
#pragma once
#include "fw/fwwin.h"
#include "model/swatches/RecordMap.h"

class CSwatchCombo : public CComboBox
{
public:
    CSwatchCombo() = default;
    // The panel's map (not owned), set before the list is drawn.
    void SetRecordMap(CRecordMap* map) { m_map = map; }
    CRecordMap* GetRecordMap() const { return m_map; }
    void DrawItem(LPDRAWITEMSTRUCT dis) override;

private:
    CRecordMap* m_map = nullptr;
};

// The commands of a fill panel's swatch buttons.
const UINT kSwatchAddCommand = 1091;
const UINT kSwatchRemoveCommand = 1092;

// What a panel does for its swatch list: give its five colours (colours 1 to 5), take a
// swatch's, and follow a change of the list.
class CSwatchPanel
{
public:
    virtual ~CSwatchPanel() = default;
    virtual void GetSwatchColours(COLORREF colours[5]) const = 0;
    virtual void SetSwatchColours(const COLORREF colours[5]) = 0;
    // After an add or a remove: the panel updates its add and remove buttons; after a
    // remove (designChanged) it also marks the design changed.
    virtual void SwatchesChanged(bool designChanged) = 0;
};

class CSwatchList
{
public:
    // The panel's combo and the panel; the file is the program's swatches file unless set.
    CSwatchList(CSwatchCombo& combo, CSwatchPanel& panel);
    void SetFilePath(LPCTSTR path) { m_path = path; }
    const CString& GetFilePath() const { return m_path; }
    CRecordMap& Map() { return m_map; }

    // Loads the file and lists one entry per key, in the map's order.
    void Fill();
    // The panel's colours as a new swatch, unless the file holds that line already or
    // cannot be written (then nothing changes).
    void Add();
    // The selected swatch leaves the list and the map, and every line of it the file;
    // without a selection nothing happens.
    void Remove();
    // The selected swatch's colours go to the panel (CBN_SELENDOK of the list).
    void Apply();
    // The panel's colours against every swatch: 0 none, -1 the built-in one, 1 another.
    int Match() const;
    // A panel's WM_COMMAND: the add and remove buttons and the list's CBN_SELENDOK; TRUE
    // when it was one of them.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam);

private:
    SwatchRecord PanelRecord() const;
    int AddEntry(DWORD key);

    CSwatchCombo& m_combo;
    CSwatchPanel& m_panel;
    CRecordMap m_map;
    CString m_path;
};
