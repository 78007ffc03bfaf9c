// The Background menu of a sheet whose ten cells each carry a design of their own, inside a
// real frame and view, shown by the panel switcher as the home panel shows it after a new
// design: which panels it holds and what every quick-links list names, a click on the
// sheet of the design selection panel, and the clone panel's refusal and copy.
#include "app/home/PanelManager.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/view/FrostwellView.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayerList.h"
#include "model/design/TextItemList.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/tests/rich_design.h"
#include "res/app_res.h"
#include "res/background_res.h"
#include "res/ui_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Dump.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/Input.h"
#include "testsupport/Pixels.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "ui/ColourPicker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const int kCells = 10;

// Cell k's solid background, so the canvas shows which record is current.
COLORREF CellColour(int k) { return RGB(20 * k + 10, 100, 230 - 20 * k); }

class BackgroundDesigns : public DesignWindowTest
{
protected:
    void SetUp() override
    {
        DesignWindowTest::SetUp();

        m_savedLayout.CopyFrom(*GetPaperLayout());
        // The layout with individual designs, as the wizard's Finish leaves it (the new
        // document has just made it layout 2).
        const CPaperLayout* layout = GetGlobalObjectA()->Lookup(layoutId);
        ASSERT_NE(nullptr, layout);
        GetPaperLayout()->CopyFrom(*layout);
        GetPaperLayout()->SetOneDesignPerCell(1);
        ASSERT_EQ(cells, GetPaperLayout()->GetItemCount());

        CLayerArray* layers = doc->GetLayers();
        layers->Reset(cells);
        const CSize size = GetPaperLayout()->GetPrintableRect();
        layers->SetRecordRects(doc->GetDesignRect(), size.cx, size.cy);
        for (int k = 0; k < cells; ++k) {
            layers->SetCurrent(k);
            layers->SetBgColour1(CellColour(k));
        }
        doc->SetCurrentFrameNoUpdate(0);
        doc->SetPreviewRefresh(TRUE);
        ShowMenu();
    }
    void TearDown() override
    {
        DesignWindowTest::TearDown();
        GetPaperLayout()->CopyFrom(m_savedLayout);
    }
    void ShowMenu()
    {
        GetGlobalObjectC()->ShowBackgroundMenu();
        menu = GetGlobalObjectC()->GetBackgroundMenu();
        ASSERT_NE(nullptr, menu);
        ASSERT_TRUE(PumpPending(10000));
    }
    // A new menu for the flags as they are now, as after a new design.
    void RebuildMenu()
    {
        GetGlobalObjectC()->DestroyPanels(FALSE);
        ShowMenu();
    }
    std::vector<int> PanelIds() const
    {
        std::vector<int> ids;
        for (int i = 0; i < menu->GetPanelCount(); ++i)
            ids.push_back(menu->GetPanelAt(i)->m_nPanelId);
        return ids;
    }
    // Chooses entry n of the panel's quick links as a click does.
    void ChooseQuickLink(HWND panel, int n)
    {
        HWND list = ::GetDlgItem(panel, IDC_QUICK_LINKS);
        ASSERT_NE(nullptr, list);
        ::SendMessage(list, LB_SETCURSEL, n, 0);
        ::PostMessage(panel, WM_COMMAND, MAKEWPARAM(IDC_QUICK_LINKS, LBN_SELCHANGE), (LPARAM)list);
        ASSERT_TRUE(PumpPending(10000));
    }
    std::vector<std::string> QuickLinkTexts(HWND panel) const
    {
        std::vector<std::string> texts;
        const int n = (int)::SendDlgItemMessage(panel, IDC_QUICK_LINKS, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i) {
            char text[128] = "";
            ::SendDlgItemMessage(panel, IDC_QUICK_LINKS, LB_GETTEXT, i, (LPARAM)text);
            texts.push_back(text);
        }
        return texts;
    }
    static std::vector<std::string> Texts(std::initializer_list<const char*> keys)
    {
        std::vector<std::string> texts;
        for (const char* key : keys)
            texts.push_back((LPCTSTR)GetLangText(key));
        return texts;
    }
    // The client point over the centre of cell i of a sheet preview.
    static CPoint CellCentre(CPaperPreviewWnd& preview, int i)
    {
        const PreviewCell* cell = preview.GetPreview()->GetCell(i);
        EXPECT_NE(nullptr, cell);
        if (cell == nullptr)
            return CPoint(-1, -1);
        const CPoint origin = preview.GetImageOrigin();
        return CPoint((int)((cell->left + cell->right) / 2) + origin.x,
                      (int)((cell->top + cell->bottom) / 2) + origin.y);
    }
    // A click on cell i of the preview, through the preview's own message loop.
    void ClickCell(CPaperPreviewWnd& preview, int i)
    {
        const CPoint p = CellCentre(preview, i);
        ::PostMessage(preview.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::PostMessage(preview.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        ASSERT_TRUE(PumpPending(10000));
    }
    // The canvas as the screen shows it, the design area only.
    Picture Canvas()
    {
        view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        return PictureOfWindow(view->GetSafeHwnd(), view->GetDesignRectOnScreen());
    }
    COLORREF CanvasCentre()
    {
        view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const CRect r = view->GetDesignRectOnScreen();
        CClientDC dc(view);
        return dc.GetPixel(r.CenterPoint().x, r.CenterPoint().y);
    }
    bool MenuStillShown() const
    {
        return GetGlobalObjectC()->GetBackgroundMenu() == menu && ::IsWindowVisible(menu->GetSafeHwnd());
    }

    // Layout 10: ten cells of their own.
    int layoutId = 10;
    int cells = kCells;
    CPaperLayout m_savedLayout;
    CBackgroundMenuDlg* menu = NULL;
};

} // namespace

TEST_F(BackgroundDesigns, PanelsAndEveryQuickLinksListFollowTheMenuOrder)
{
    const std::vector<int> expected = {IDD_BACKGROUND_DESIGNS, IDD_BACKGROUND_FILL, IDD_BACKGROUND_IMAGE,
                                       IDD_BACKGROUND_CLONE};
    EXPECT_EQ(expected, PanelIds());
    EXPECT_EQ(0, menu->GetCurrentPanelIndex()) << "design selection shows first";
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(menu->GetSafeHwnd(), kHostBack))) << "the first panel";
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(menu->GetSafeHwnd(), kHostNext)));

    // Each panel, reached through the list of the one before, names all four entries and
    // selects its own.
    const std::vector<std::string> four = Texts({"13", "14", "15", "17"});
    static const struct
    {
        int panelId, ownEntry;
    } panels[] = {
        {IDD_BACKGROUND_DESIGNS, 0}, {IDD_BACKGROUND_FILL, 1}, {IDD_BACKGROUND_IMAGE, 2}, {IDD_BACKGROUND_CLONE, 3}};
    HWND previous = nullptr;
    for (const auto& p : panels) {
        if (previous != nullptr)
            ChooseQuickLink(previous, p.ownEntry);
        CSkinPanelDlg* panel = menu->FindPanel(p.panelId);
        ASSERT_NE(nullptr, panel);
        ASSERT_EQ(menu->GetPanelIndex(panel), menu->GetCurrentPanelIndex()) << "panel " << p.panelId;
        EXPECT_TRUE(::IsWindowVisible(panel->GetSafeHwnd()));
        EXPECT_EQ(four, QuickLinkTexts(panel->GetSafeHwnd())) << "panel " << p.panelId;
        EXPECT_EQ(p.ownEntry, (int)::SendDlgItemMessage(panel->GetSafeHwnd(), IDC_QUICK_LINKS, LB_GETCURSEL, 0, 0))
            << "panel " << p.panelId;
        previous = panel->GetSafeHwnd();
    }
    // The clone panel is the last: Back on, Next off.
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(menu->GetSafeHwnd(), kHostBack)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(menu->GetSafeHwnd(), kHostNext)));
    SaveScreenshot(frame->GetSafeHwnd(), "background_clone_panel");
    // Its two sheets in their places, its labels in the paler yellow, Clone's caption.
    CBackgroundCloneDlg& clone = menu->m_cloneDlg;
    CRect client;
    clone.GetClientRect(&client);
    static const struct
    {
        CPaperPreviewWnd& preview;
        int top, bottomMargin;
    } sheets[] = {{clone.SourcePreview(), 105, 280}, {clone.DestinationPreview(), 295, 80}};
    for (const auto& sheet : sheets) {
        CRect placed;
        sheet.preview.GetWindowRect(&placed);
        clone.ScreenToClient(&placed);
        EXPECT_EQ(CRect(10, sheet.top, client.right, client.bottom - sheet.bottomMargin), placed);
        EXPECT_EQ(IDC_SHEET_PREVIEW, sheet.preview.GetDlgCtrlID());
    }
    for (int label : {IDC_CLONE_SOURCE_LABEL, IDC_CLONE_DESTINATION_LABEL}) {
        CRect r;
        ::GetWindowRect(::GetDlgItem(clone.GetSafeHwnd(), label), &r);
        clone.ScreenToClient(&r);
        const Picture text = PictureOfWindow(clone.GetSafeHwnd(), r);
        int yellow = 0;
        for (DWORD px : text.pixels)
            yellow += (px & 0xFFFFFF) == 0xFFFF40;
        EXPECT_GT(yellow, 20) << "label " << label;
    }
    EXPECT_STREQ("Clone", ItemText(clone.GetSafeHwnd(), IDC_CLONE));

    // With the frames tool the "16" entry and the frames panel come before the clone panel's,
    // which moves down.
    doc->GetLayers()->SetFrameToolEnabled(1);
    RebuildMenu();
    ChooseQuickLink(menu->m_designDlg.GetSafeHwnd(), 4);
    ASSERT_EQ(menu->GetPanelIndex(&menu->m_cloneDlg), menu->GetCurrentPanelIndex());
    EXPECT_EQ(Texts({"13", "14", "15", "16", "17"}), QuickLinkTexts(menu->m_cloneDlg.GetSafeHwnd()));
    EXPECT_EQ(4, (int)::SendDlgItemMessage(menu->m_cloneDlg.GetSafeHwnd(), IDC_QUICK_LINKS, LB_GETCURSEL, 0, 0));
    EXPECT_EQ((std::vector<int>{IDD_BACKGROUND_DESIGNS, IDD_BACKGROUND_FILL, IDD_BACKGROUND_IMAGE,
                                IDD_BACKGROUND_FRAMES, IDD_BACKGROUND_CLONE}),
              PanelIds());
    // Next stays on with the frames tool, though the clone panel is still the last.
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(menu->GetSafeHwnd(), kHostNext)));
    doc->GetLayers()->SetFrameToolEnabled(0);

    // Without individual designs neither panel is made.
    GetPaperLayout()->SetOneDesignPerCell(0);
    RebuildMenu();
    EXPECT_EQ((std::vector<int>{IDD_BACKGROUND_FILL, IDD_BACKGROUND_IMAGE}), PanelIds());
    EXPECT_EQ(nullptr, menu->m_designDlg.GetSafeHwnd());
    EXPECT_EQ(nullptr, menu->m_cloneDlg.GetSafeHwnd());
}

TEST_F(BackgroundDesigns, AClickOnTheSheetMakesThatCellCurrent)
{
    CBackgroundDesignDlg& panel = menu->m_designDlg;
    ASSERT_TRUE(::IsWindowVisible(panel.GetSafeHwnd()));
    HWND preview = panel.Preview().GetSafeHwnd();
    ASSERT_NE(nullptr, preview);
    ASSERT_EQ(kCells, panel.Preview().GetPreview()->GetCellCount());
    // The sheet fills the panel less 85 pixels at the top and 50 at the bottom.
    CRect client, placed;
    panel.GetClientRect(&client);
    ::GetWindowRect(preview, &placed);
    panel.ScreenToClient(&placed);
    EXPECT_EQ(CRect(0, 85, client.right, client.bottom - 50), placed);
    EXPECT_EQ(CellColour(0), CanvasCentre()) << "the canvas starts on cell 0";

    ClickCell(panel.Preview(), 2);
    ASSERT_TRUE(PumpUntil([&] { return doc->GetCurrentFrame() == 2; })) << "the third cell";
    EXPECT_EQ(2, doc->GetLayers()->GetCurrent());
    EXPECT_EQ(CellColour(2), CanvasCentre()) << "the canvas shows the third cell's design";
    EXPECT_TRUE(MenuStillShown()) << "the switch keeps the Background menu";
    EXPECT_TRUE(::IsWindowVisible(panel.GetSafeHwnd()));
    SaveScreenshot(frame->GetSafeHwnd(), "background_design_selection");
}

TEST_F(BackgroundDesigns, CloneRefusesOneCellThenCopiesTheWholeDesign)
{
    rich_design::BuildRichDesign(doc, 0, doc->GetDesignRect());
    // A copied text keeps no speech bubble (the text list's copy): the source has none, so
    // the copy can look exactly like it.
    for (POSITION pos = doc->GetTextList()->GetHeadPosition(); pos != nullptr;)
        doc->GetTextList()->GetNext(pos).item->m_bubbleKind = 0;
    doc->SetCurrentFrame(0);
    const Picture source = Canvas();
    ASSERT_EQ(2, doc->GetImageList()->CountInFrame(0));
    ASSERT_EQ(2, doc->GetTextList()->CountInFrame(0));

    ChooseQuickLink(menu->m_designDlg.GetSafeHwnd(), 3);
    CBackgroundCloneDlg& clone = menu->m_cloneDlg;
    ASSERT_EQ(menu->GetPanelIndex(&clone), menu->GetCurrentPanelIndex());
    HWND panel = clone.GetSafeHwnd();

    // Both sheets start on cell 0: Clone at once is refused, in English, and copies nothing.
    CString message;
    {
        DialogDriver driver([&](HWND dlg) {
            message = ItemText(dlg, IDC_MESSAGE_TEXT);
            Press(dlg, IDOK);
        });
        LoadLanguageFile("french"); // the refusals are not translated
        ASSERT_STREQ("Cloner", GetLangText("17")) << "French is the language";
        Press(panel, IDC_CLONE);
        ASSERT_TRUE(PumpUntil([&] { return driver.Acted(); }, 15000));
        LoadLanguageFile("english");
        ASSERT_TRUE(PumpPending(5000));
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    EXPECT_STREQ("Source and Destination cannot be the same", message);
    EXPECT_EQ(0, doc->GetImageList()->CountInFrame(1));
    EXPECT_EQ(CellColour(1), doc->GetLayers()->GetAt(1).bgColour1);

    // Source 0 shows cell 0 on the canvas; destination 1 only records the click.
    ClickCell(clone.SourcePreview(), 0);
    ClickCell(clone.DestinationPreview(), 1);
    EXPECT_EQ(0, clone.SourcePreview().GetSelectedCell());
    EXPECT_EQ(1, clone.DestinationPreview().GetSelectedCell());
    EXPECT_EQ(0, doc->GetCurrentFrame()) << "a destination click leaves the canvas";

    doc->SetModifiedFlag(FALSE);
    Press(panel, IDC_CLONE);
    ASSERT_TRUE(PumpUntil([&] { return doc->GetCurrentFrame() == 1; })) << "the destination becomes current";
    ASSERT_TRUE(PumpPending(5000));
    // Cell 1 now holds cell 0's background, border, images and texts, and looks the same.
    const FrameRecord& s = doc->GetLayers()->GetAt(0);
    const FrameRecord& d = doc->GetLayers()->GetAt(1);
    EXPECT_EQ(s.bgColour1, d.bgColour1);
    EXPECT_EQ(s.bgLinear, d.bgLinear);
    EXPECT_EQ(s.bgAngle, d.bgAngle);
    EXPECT_EQ(s.frameStyle, d.frameStyle);
    EXPECT_EQ(s.frameColour1, d.frameColour1);
    ASSERT_NE(nullptr, d.frameImage);
    EXPECT_NE(s.frameImage, d.frameImage) << "a copy of its own";
    EXPECT_EQ(2, doc->GetImageList()->CountInFrame(1));
    EXPECT_EQ(2, doc->GetTextList()->CountInFrame(1));
    EXPECT_EQ(2, doc->GetImageList()->CountInFrame(0)) << "the source keeps its own";
    EXPECT_TRUE(SamePixels(Canvas(), source)) << "cell 1 on the canvas looks as cell 0 did";
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(MenuStillShown());
    EXPECT_EQ(menu->GetPanelIndex(&clone), menu->GetCurrentPanelIndex()) << "the clone panel stays";
    SaveScreenshot(frame->GetSafeHwnd(), "background_clone_done");
}

// A cell past the frame records, or the same cell twice, copies nothing at all: neither the
// record nor the image layers and texts; two existing cells copy.
TEST_F(BackgroundDesigns, CopyNeedsTwoDifferentCellsWithRecords)
{
    rich_design::BuildRichDesign(doc, 0, doc->GetDesignRect());
    doc->SetCurrentFrame(0);
    static const struct
    {
        int source, destination;
        bool copies;
    } cases[] = {
        {0, kCells, false}, {0, kCells + 5, false}, {kCells, 1, false}, {-1, 1, false},
        {0, -1, false},     {0, 0, false},          {0, 1, true},
    };
    for (const auto& c : cases) {
        const int images = doc->GetImageList()->GetCount(), texts = doc->GetTextList()->GetCount();
        EXPECT_EQ(c.copies, CBackgroundCloneDlg::CopyDesign(doc, c.source, c.destination))
            << c.source << " -> " << c.destination;
        EXPECT_EQ(images + (c.copies ? 2 : 0), doc->GetImageList()->GetCount()) << c.source << " -> " << c.destination;
        EXPECT_EQ(texts + (c.copies ? 2 : 0), doc->GetTextList()->GetCount()) << c.source << " -> " << c.destination;
        EXPECT_EQ(c.copies ? doc->GetLayers()->GetAt(0).bgColour1 : CellColour(1), doc->GetLayers()->GetAt(1).bgColour1)
            << c.source << " -> " << c.destination;
    }
}

namespace {

// Layout 5: fifteen circles, as the wizard makes them with individual designs on.
class FifteenDesigns : public BackgroundDesigns
{
protected:
    FifteenDesigns()
    {
        layoutId = 5;
        cells = 15;
    }
    // The cell a sheet preview rings as the screen shows it: the one with the most pure
    // red pixels inside its rectangle; -1 when no cell has any.
    static int RingedCell(CPaperPreviewWnd& preview)
    {
        CRect client;
        preview.GetClientRect(&client);
        const Picture shown = PictureOfWindow(preview.GetSafeHwnd(), client);
        const CPoint origin = preview.GetImageOrigin();
        int best = -1, bestCount = 0;
        for (int i = 0; i < preview.GetPreview()->GetCellCount(); ++i) {
            const PreviewCell* cell = preview.GetPreview()->GetCell(i);
            if (cell == nullptr)
                continue;
            int red = 0;
            for (int y = (int)cell->top + origin.y; y < (int)cell->bottom + origin.y && y < shown.height; ++y)
                for (int x = (int)cell->left + origin.x; x < (int)cell->right + origin.x && x < shown.width; ++x)
                    red += x >= 0 && y >= 0 && (shown.At(x, y) & 0xFFFFFF) == 0xFF0000;
            if (red > bestCount) {
                best = i;
                bestCount = red;
            }
        }
        return best;
    }
    void ShowPanel(CSkinPanelDlg& panel, int quickLink)
    {
        if (menu->GetCurrentPanelIndex() == menu->GetPanelIndex(&panel))
            return;
        CSkinPanelDlg* shown = menu->GetPanelAt(menu->GetCurrentPanelIndex());
        ChooseQuickLink(shown->GetSafeHwnd(), quickLink);
        ASSERT_EQ(menu->GetPanelIndex(&panel), menu->GetCurrentPanelIndex());
    }
    // Picks colour 1 on the fill panel as its picker's popup does.
    void FillWith(COLORREF colour)
    {
        CBackgroundFillDlg& fill = menu->m_fillDlg;
        const int id = CBackgroundFillDlg::PickerId(1);
        auto* picker = dynamic_cast<CColourPicker*>(CWnd::FromHandlePermanent(::GetDlgItem(fill.GetSafeHwnd(), id)));
        ASSERT_NE(nullptr, picker);
        picker->SetColour(colour);
        ::SendMessage(fill.GetSafeHwnd(), WM_USER + 1004, colour, id);
        ASSERT_TRUE(PumpPending(5000));
    }
};

} // namespace

// Every step names one cell three ways: the ring on the design map, the cell the canvas
// shows, and the cell a fill changes.  The clone panel's sheets ring their own choices
// (cell 0 until clicked), which Clone takes.
TEST_F(FifteenDesigns, RingCanvasAndEditedCellAgreeAfterEveryStep)
{
    enum Kind { Pick, PickSource, PickDestination, Clone, Fill };
    struct Step
    {
        Kind kind;
        int cell; // the cell clicked; for Fill, a colour index
    };
    static const struct
    {
        const char* what;
        std::vector<Step> steps;
    } sequences[] = {
        {"pick, clone 1 to 3, fill",
         {{Pick, 5}, {PickSource, 1}, {PickDestination, 3}, {Clone, 0}, {Fill, 0}, {Pick, 9}, {Fill, 1}}},
        {"clone from the picked cell, back to the map",
         {{Pick, 7}, {PickDestination, 14}, {Clone, 0}, {Pick, 2}, {Fill, 2}, {PickSource, 0}, {Fill, 3}}},
        {"two clones, then the last cell",
         {{PickSource, 4},
          {PickDestination, 0},
          {Clone, 0},
          {PickSource, 12},
          {PickDestination, 6},
          {Clone, 0},
          {Pick, 14},
          {Fill, 4}}},
    };
    const COLORREF fills[] = {RGB(250, 240, 10), RGB(10, 250, 250), RGB(250, 10, 250), RGB(120, 250, 10),
                              RGB(250, 120, 0)};
    int sourceChoice = 0, destinationChoice = 0; // the clone panel keeps them throughout
    for (const auto& sequence : sequences) {
        // Each sequence starts from fresh cells on the design map.
        std::vector<COLORREF> colours;
        for (int k = 0; k < cells; ++k) {
            doc->GetLayers()->SetCurrent(k);
            doc->GetLayers()->SetBgColour1(CellColour(k));
            colours.push_back(CellColour(k));
        }
        doc->SetCurrentFrame(0);
        ShowPanel(menu->m_designDlg, 0);
        int n = 0;
        for (const Step& step : sequence.steps) {
            const std::string at = std::string(sequence.what) + ", step " + std::to_string(++n);
            int edited = -1;
            switch (step.kind) {
            case Pick:
                ShowPanel(menu->m_designDlg, 0);
                ClickCell(menu->m_designDlg.Preview(), step.cell);
                break;
            case PickSource:
                ShowPanel(menu->m_cloneDlg, 3);
                ClickCell(menu->m_cloneDlg.SourcePreview(), step.cell);
                sourceChoice = step.cell;
                break;
            case PickDestination:
                ShowPanel(menu->m_cloneDlg, 3);
                ClickCell(menu->m_cloneDlg.DestinationPreview(), step.cell);
                destinationChoice = step.cell;
                break;
            case Clone: {
                ShowPanel(menu->m_cloneDlg, 3);
                ASSERT_NE(sourceChoice, destinationChoice) << at << ": the table would clone a cell onto itself";
                Press(menu->m_cloneDlg.GetSafeHwnd(), IDC_CLONE);
                ASSERT_TRUE(PumpUntil([&] { return doc->GetCurrentFrame() == destinationChoice; })) << at;
                ASSERT_TRUE(PumpPending(5000));
                colours[destinationChoice] = colours[sourceChoice];
                break;
            }
            case Fill: {
                ShowPanel(menu->m_fillDlg, 1);
                std::vector<COLORREF> before;
                for (int k = 0; k < cells; ++k)
                    before.push_back(doc->GetLayers()->GetAt(k).bgColour1);
                FillWith(fills[step.cell]);
                for (int k = 0; k < cells; ++k) {
                    if (doc->GetLayers()->GetAt(k).bgColour1 != before[k]) {
                        EXPECT_EQ(-1, edited) << at << ": a fill changed more than one cell";
                        edited = k;
                    }
                }
                ASSERT_NE(-1, edited) << at << ": the fill changed no cell";
                colours[edited] = fills[step.cell];
                break;
            }
            }
            const int current = doc->GetCurrentFrame();
            EXPECT_EQ(colours[current], CanvasCentre()) << at << ": the canvas shows cell " << current;
            if (edited != -1) {
                EXPECT_EQ(current, edited) << at << ": the fill went to another cell than the canvas shows";
            }
            if (step.kind == Pick || step.kind == Fill) {
                ShowPanel(menu->m_designDlg, 0);
                ASSERT_TRUE(PumpPending(5000));
                EXPECT_EQ(current, RingedCell(menu->m_designDlg.Preview())) << at << ": the design map's ring";
            } else {
                CBackgroundCloneDlg& clone = menu->m_cloneDlg;
                EXPECT_EQ(sourceChoice, RingedCell(clone.SourcePreview())) << at << ": the source sheet's ring";
                EXPECT_EQ(sourceChoice, clone.SourcePreview().GetSelectedCell()) << at << ": the source Clone takes";
                EXPECT_EQ(destinationChoice, RingedCell(clone.DestinationPreview()))
                    << at << ": the destination sheet's ring";
                EXPECT_EQ(destinationChoice, clone.DestinationPreview().GetSelectedCell())
                    << at << ": the destination Clone takes";
            }
            if (step.kind == Pick || step.kind == PickSource) {
                EXPECT_EQ(step.cell, current) << at << ": the clicked cell is current";
            }
        }
        SaveScreenshot(frame->GetSafeHwnd(), "background_fifteen_designs");
    }
}
