// The design wizard inside a real frame and view: what Finish makes of each choice on the
// shape page, the layouts it lists and their preview bitmaps, a Finish with no layout
// chosen, Cancel, the paper page on its own, and the home panel's New button with the
// "Save Changes" question before it.
#include "app/home/PanelManager.h"
#include "app/home/SystemDlg.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/view/FrostwellView.h"
#include "app/wizard/DesignWizardDlg.h"
#include "base/Globals.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "res/app_res.h"
#include "res/view_res.h"
#include "res/wizard_res.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// The program's document, noting each change of its modified flag and whether a wizard was
// open then.
class NotingDoc : public CFrostwellDoc
{
    DECLARE_DYNCREATE(NotingDoc)
public:
    void SetModifiedFlag(BOOL modified = TRUE) override
    {
        changes.push_back({modified != FALSE, ::FindWindow("#32770", GetLangText("48")) != nullptr});
        CFrostwellDoc::SetModifiedFlag(modified);
    }
    struct Change
    {
        bool modified;
        bool wizardOpen;
    };
    std::vector<Change> changes;
};
IMPLEMENT_DYNCREATE(NotingDoc, CFrostwellDoc)

class DesignWizard : public DesignWindowTest
{
protected:
    CRuntimeClass* DocClass() const override { return RUNTIME_CLASS(NotingDoc); }
    void SetUp() override
    {
        EnsureTestApp();
        SetMetric(FALSE);
        DesignWindowTest::SetUp();
        GetPaperLayout()->CopyFrom(*GetGlobalObjectA()->Lookup(2));
    }
    void TearDown() override
    {
        wizard.reset();
        DesignWindowTest::TearDown();
        SetMetric(FALSE);
        SetGlobalValueA(0);
    }

    // The wizard as a window of its own, so that a test can look at it between inputs.
    void OpenWizard()
    {
        wizard.reset(new CDesignWizardDlg(frame));
        wizard->m_pDoc = doc;
        ASSERT_TRUE(wizard->Create(IDD_DESIGN_WIZARD, frame));
        wizard->ShowWindow(SW_SHOW);
        ASSERT_TRUE(PumpPending(5000));
    }
    HWND Wizard() const { return wizard->GetSafeHwnd(); }
    HWND Shape() const { return wizard->m_shapePage.GetSafeHwnd(); }
    bool Shown(HWND dlg, int id) const { return ::IsWindowVisible(::GetDlgItem(dlg, id)) != FALSE; }
    bool Enabled(HWND dlg, int id) const { return ::IsWindowEnabled(::GetDlgItem(dlg, id)) != FALSE; }
    void Click(HWND dlg, int id)
    {
        Press(dlg, id);
        ASSERT_TRUE(PumpPending(5000));
    }
    // Chooses the layout's thumbnail as a click does: the item becomes selected and focused.
    void Choose(int layoutId)
    {
        CThumbListCtrl& list = wizard->m_shapePage.m_layouts;
        const int before = wizard->m_shapePage.GetSelectionCount();
        for (int i = 0; i < list.GetItemCount(); ++i)
            if (list.GetItemFileName(i) == CString(std::to_string(layoutId).c_str())) {
                list.SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                ASSERT_TRUE(PumpUntil([&] { return wizard->m_shapePage.GetSelectionCount() > before; }));
                return;
            }
        FAIL() << "layout " << layoutId << " is not listed";
    }
    void Finish()
    {
        Press(Wizard(), kHostFinishPlain);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(Wizard()); }, 10000)) << "Finish ended the wizard";
    }

    std::unique_ptr<CDesignWizardDlg> wizard;
};

TEST_F(DesignWizard, OpensOnLayoutTwoWithFinishOnlyAndTheLocalisedTexts)
{
    OpenWizard();
    EXPECT_EQ(2, wizard->m_shapePage.GetSelectedLayoutId());
    CThumbListCtrl& list = wizard->m_shapePage.m_layouts;
    const int selected = list.GetNextItem(-1, LVNI_SELECTED);
    ASSERT_GE(selected, 0);
    EXPECT_STREQ("2", list.GetItemFileName(selected));
    EXPECT_TRUE(Enabled(Wizard(), kHostFinishPlain));
    EXPECT_FALSE(Enabled(Wizard(), kHostNextPlain));
    EXPECT_FALSE(Enabled(Wizard(), kHostBackPlain));
    EXPECT_FALSE(Shown(Shape(), IDC_SHAPE_CUSTOM)) << "the custom button stays hidden";
    EXPECT_FALSE(Enabled(Shape(), IDC_SHAPE_LAYOUTS2));
    EXPECT_STREQ(GetLangText("48"), WindowText(Wizard()));
    EXPECT_STREQ(GetLangText("FINISH"), ItemText(Wizard(), kHostFinishPlain));
    EXPECT_STREQ(GetLangText("CANCEL"), ItemText(Wizard(), IDCANCEL));
    EXPECT_EQ(312, wizard->m_nLayoutId) << "the wizard's own start";
    EXPECT_TRUE(SaveScreenshot(Wizard(), "wizard_shape_page"));
}

// What Finish makes of a layout and the options, case by case.
TEST_F(DesignWizard, FinishTable)
{
    struct Case
    {
        const char* what;
        int layout;
        bool individual, oversized;
        int records;
        int width, height; // hundredths; 0: the layout's printable size
        BYTE noInset, perCell;
        bool overlay;
        int series;
    };
    const Case cases[] = {
        {"layout 2 as it opens", 2, false, false, 1, 0, 0, 0, 0, false, 0},
        {"layout 10", 10, false, false, 10, 354, 177, 0, 0, false, 0},
        {"layout 10 oversized", 10, false, true, 10, 370, 192, 1, 0, false, 0},
        {"layout 10 individual", 10, true, false, 10, 354, 177, 0, 1, false, 0},
        {"layout 21 with its template", 21, false, false, 15, 0, 0, 0, 0, true, 0},
        {"restricted layout 391", 391, false, false, 1, 0, 0, 0, 0, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GetPaperLayout()->SetTurned(1);
        doc->GetLayers()->Reset(3);
        OpenWizard();
        if (c.layout != 2)
            Choose(c.layout);
        if (c.individual)
            Click(Shape(), IDC_SHAPE_INDIVIDUAL);
        if (c.oversized)
            Click(Shape(), IDC_SHAPE_OVERSIZED);
        Finish();
        const CPaperLayout* source = GetGlobalObjectA()->Lookup((WORD)c.layout);
        const CPaperLayout* now = GetPaperLayout();
        EXPECT_EQ(c.layout, now->GetId());
        EXPECT_EQ(c.records, doc->GetLayers()->GetCount());
        const CSize printable = now->GetPrintableRect();
        EXPECT_EQ(c.width ? c.width : printable.cx, doc->GetLayers()->GetPrintableWidth());
        EXPECT_EQ(c.height ? c.height : printable.cy, doc->GetLayers()->GetPrintableHeight());
        EXPECT_EQ(c.noInset, now->IsNoInset());
        EXPECT_EQ(c.perCell, now->IsOneDesignPerCell());
        EXPECT_EQ(0, now->IsTurned()) << "the flag only the wizard writes is cleared";
        EXPECT_EQ(source->IsMultiple(), now->IsMultiple());
        EXPECT_EQ(c.overlay, doc->GetLayers()->GetLayoutOverlay() != nullptr);
        EXPECT_EQ(c.series, GetGlobalValueA());
        EXPECT_STREQ("Untitled", doc->GetTitle());
        EXPECT_FALSE(doc->IsModified());
        wizard.reset();
    }
}

TEST_F(DesignWizard, ALayoutWithoutIndividualDesignsDisablesTheButtonAndClearsTheOption)
{
    OpenWizard();
    Choose(10);
    ASSERT_TRUE(Enabled(Shape(), IDC_SHAPE_INDIVIDUAL));
    Click(Shape(), IDC_SHAPE_INDIVIDUAL);
    EXPECT_EQ(1, wizard->m_bIndividual);
    EXPECT_TRUE(Shown(Shape(), IDC_MARK_INDIVIDUAL));
    Click(Shape(), IDC_SHAPE_INDIVIDUAL);
    EXPECT_EQ(0, wizard->m_bIndividual) << "a second press restores it";
    EXPECT_FALSE(Shown(Shape(), IDC_MARK_INDIVIDUAL));
    Click(Shape(), IDC_SHAPE_INDIVIDUAL);
    Choose(9); // one sheet, no several items
    EXPECT_FALSE(Enabled(Shape(), IDC_SHAPE_INDIVIDUAL));
    EXPECT_EQ(0, wizard->m_bIndividual);
    EXPECT_FALSE(Shown(Shape(), IDC_MARK_INDIVIDUAL));
    Finish();
    EXPECT_EQ(0, GetPaperLayout()->IsOneDesignPerCell());
}

TEST_F(DesignWizard, ListsExactlyTheAdmittedLayoutsWithPreviewsOfTheirSize)
{
    OpenWizard();
    std::set<int> expected;
    std::set<UINT> previews;
    std::unique_ptr<CPaperLayoutList> all(GetGlobalObjectA()->GetLayoutList());
    for (POSITION pos = all->GetHeadPosition(); pos != nullptr;) {
        const CPaperLayout* l = all->GetNext(pos);
        if (l->IsCustom() || (l->IsSeries() && !l->IsListed()))
            continue;
        expected.insert(l->GetId());
        previews.insert((UINT)l->GetPreviewBitmap());
    }
    std::unique_ptr<CPaperSizeList> papers(GetGlobalObjectB()->GetAll());
    for (POSITION pos = papers->GetHeadPosition(); pos != nullptr;)
        previews.insert((UINT)papers->GetNext(pos)->GetPreviewBitmap());
    std::set<int> listed;
    CThumbListCtrl& list = wizard->m_shapePage.m_layouts;
    for (int i = 0; i < list.GetItemCount(); ++i)
        listed.insert(atoi(list.GetItemFileName(i)));
    EXPECT_EQ(expected, listed);
    EXPECT_EQ((int)GetGlobalObjectB()->GetCount(), wizard->m_shapePage.m_papers.GetItemCount());
    for (UINT id : previews) {
        HBITMAP bitmap = ::LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(id));
        ASSERT_NE(nullptr, bitmap) << "preview " << id;
        BITMAP info = {};
        ::GetObject(bitmap, sizeof(info), &info);
        EXPECT_EQ(140, info.bmWidth) << "preview " << id;
        EXPECT_EQ(120, info.bmHeight) << "preview " << id;
        ::DeleteObject(bitmap);
    }
}

TEST_F(DesignWizard, CatalogueThenFinishKeepsTheWizardOpenUntilAnItemIsChosen)
{
    doc->GetLayers()->Reset(3);
    OpenWizard();
    Click(Shape(), IDC_SHAPE_TEMPLATE);
    EXPECT_EQ(-1, wizard->m_shapePage.GetSelectedLayoutId());
    Press(Wizard(), kHostFinishPlain);
    ASSERT_TRUE(PumpPending(5000));
    EXPECT_TRUE(::IsWindowVisible(Wizard())) << "no layout to copy: the wizard stays";
    EXPECT_EQ(3, doc->GetLayers()->GetCount()) << "nothing was created";
    EXPECT_EQ(2, GetPaperLayout()->GetId());
    Choose(10);
    Finish();
    EXPECT_EQ(10, doc->GetLayers()->GetCount());
}

TEST_F(DesignWizard, CancelLeavesTheDocumentAndTheLayoutAsTheyWere)
{
    GetPaperLayout()->CopyFrom(*GetGlobalObjectA()->Lookup(13));
    GetPaperLayout()->SetTurned(1);
    GetPaperLayout()->SetNoInset(1);
    const CString layoutBefore = GetPaperLayout()->FormatCsv();
    CPaperSize* paperBefore = GetPaperLayout()->GetPaperSize();
    doc->GetLayers()->Reset(4);
    doc->SetTitle("Cake");
    doc->SetModifiedFlag(TRUE);
    OpenWizard();
    Choose(10);
    Click(Shape(), IDC_SHAPE_INDIVIDUAL);
    Press(Wizard(), IDCANCEL);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(Wizard()); }));
    EXPECT_STREQ(layoutBefore, GetPaperLayout()->FormatCsv());
    EXPECT_EQ(paperBefore, GetPaperLayout()->GetPaperSize());
    EXPECT_EQ(1, GetPaperLayout()->IsTurned());
    EXPECT_EQ(4, doc->GetLayers()->GetCount());
    EXPECT_STREQ("Cake", doc->GetTitle());
    EXPECT_TRUE(doc->IsModified());
}

// The paper page is reached only through Next in custom mode, whose button stays hidden:
// the test puts the wizard in that mode as the button would and goes on with Next.
class PaperPage : public DesignWizard
{
protected:
    void OpenPaperPage(int layoutId)
    {
        OpenWizard();
        wizard->m_nShapeMode = kShapeCustom;
        wizard->m_nLayoutId = layoutId;
        wizard->m_shapePage.OnActivate();
        Click(Wizard(), kHostNextPlain);
        page = &wizard->m_paperPage;
        ASSERT_TRUE(::IsWindowVisible(page->GetSafeHwnd()));
    }
    void RulerMoves(int value)
    {
        RulerNotification n = {};
        n.hwndFrom = page->m_ruler.GetSafeHwnd();
        n.idFrom = IDC_PAPER_RULER;
        n.code = RULER_NOTIFY_CODE;
        n.action = 1;
        n.newPosition = value;
        ::SendMessage(page->GetSafeHwnd(), WM_NOTIFY, IDC_PAPER_RULER, (LPARAM)&n);
        // The ruler then leaves its marker where it was dropped.
        if (RulerMarker* marker = page->m_ruler.GetMarker(0))
            marker->position = value;
        page->m_ruler.Invalidate(TRUE);
    }
    int Marker() { return page->m_ruler.GetMarker(0) != nullptr ? page->m_ruler.GetMarker(0)->position : -1; }
    CWizardPaperDlg* page = nullptr;
};

TEST_F(PaperPage, InchesRulerClampRoundShapesAndOneRedrawPerBurst)
{
    OpenPaperPage(312);
    EXPECT_TRUE(Enabled(Wizard(), kHostFinishPlain));
    EXPECT_FALSE(Enabled(Wizard(), kHostNextPlain));
    // A4 portrait's printable width is 8.2677 in: the item starts as the whole paper.
    EXPECT_EQ(826, page->GetItemSize().cx);
    Click(page->GetSafeHwnd(), IDC_PAPER_WIDTH);
    RulerMoves(50); // 5 inches
    Click(page->GetSafeHwnd(), IDC_PAPER_HEIGHT);
    EXPECT_EQ(500, page->GetItemSize().cx) << "an item width of 5 in is 500 units";
    Click(page->GetSafeHwnd(), IDC_PAPER_WIDTH);
    EXPECT_EQ(50, Marker());

    // A left margin of 2 in leaves 6.26 in beside it: the 7-inch item gets shorter.
    RulerMoves(70);
    Click(page->GetSafeHwnd(), IDC_PAPER_LEFT);
    RulerMoves(20);
    EXPECT_EQ(200, page->GetMargin().x);
    Click(page->GetSafeHwnd(), IDC_PAPER_WIDTH);
    EXPECT_EQ(626, page->GetItemSize().cx);

    // Three moves within the delay draw the sheet once.
    const int before = page->GetPreviewUpdates();
    RulerMoves(40);
    RulerMoves(41);
    RulerMoves(42);
    EXPECT_TRUE(PumpUntil([&] { return page->GetPreviewUpdates() > before; }, 3000)) << "the sheet is drawn";
    EXPECT_FALSE(PumpUntil([&] { return page->GetPreviewUpdates() > before + 1; }, 1500)) << "... once";
    EXPECT_TRUE(SaveScreenshot(Wizard(), "wizard_paper_page"));
}

TEST_F(PaperPage, ARoundLayoutEditsOnlyTheSize)
{
    OpenPaperPage(313);
    EXPECT_EQ(kEditSize, page->GetEditMode());
    EXPECT_FALSE(Shown(page->GetSafeHwnd(), IDC_PAPER_WIDTH));
    EXPECT_FALSE(Shown(page->GetSafeHwnd(), IDC_PAPER_HEIGHT));
    EXPECT_TRUE(Shown(page->GetSafeHwnd(), IDC_PAPER_SIZE));
    RulerMoves(40);
    EXPECT_EQ(page->GetItemSize().cx, page->GetItemSize().cy);
    EXPECT_EQ(400, page->GetItemSize().cx);
}

TEST_F(PaperPage, FinishTakesTheItemSizeAndAtLeastOneCellFromTheSheet)
{
    OpenPaperPage(312);
    Click(page->GetSafeHwnd(), IDC_PAPER_WIDTH);
    RulerMoves(25);
    Click(page->GetSafeHwnd(), IDC_PAPER_HEIGHT);
    RulerMoves(30);
    Finish();
    const Gdiplus::SizeF item = GetPaperLayout()->GetItemSize();
    EXPECT_FLOAT_EQ(2.5f, item.Width);
    EXPECT_FLOAT_EQ(3.0f, item.Height);
    EXPECT_EQ(312, GetPaperLayout()->GetId());
    EXPECT_EQ(1, doc->GetLayers()->GetCount()) << "one item on the sheet, one design area";
    EXPECT_EQ(250, doc->GetLayers()->GetPrintableWidth());
    EXPECT_EQ(10, GetPaperLayout()->GetPaperSize() != nullptr ? GetPaperLayout()->GetPaperSize()->GetId() : -1);
}

// The home panel's New button: the question first when the design has changes.
class NewButton : public DesignWizard
{
protected:
    void PressNew()
    {
        CSystemDlg home;
        home.m_pDoc = doc;
        ASSERT_TRUE(home.Create(IDD_HOME_PANEL, frame));
        ::SendMessage(home.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_HOME_NEW, BN_CLICKED),
                      (LPARAM)::GetDlgItem(home.GetSafeHwnd(), IDC_HOME_NEW));
        home.DestroyWindow();
    }
};

TEST_F(NewButton, ModifiedDesignAsksFirstAndCancelOpensNoWizard)
{
    doc->GetLayers()->Reset(4);
    doc->SetModifiedFlag(TRUE);
    CString title;
    {
        DialogDriver driver([&](HWND dlg) {
            title = WindowText(dlg);
            Press(dlg, IDCANCEL);
        });
        PressNew();
        EXPECT_EQ(1u, driver.StepsTaken());
        EXPECT_TRUE(driver.Unexpected().empty()) << "no wizard after Cancel";
    }
    EXPECT_STREQ("Save Changes", title);
    EXPECT_EQ(4, doc->GetLayers()->GetCount());
    EXPECT_TRUE(doc->IsModified());

    // Unmodified: the wizard opens at once, and its Finish brings the Background menu.
    doc->SetModifiedFlag(FALSE);
    std::vector<NotingDoc::Change>& changes = static_cast<NotingDoc*>(doc)->changes;
    changes.clear();
    bool finishEnabled = false, nextEnabled = true;
    {
        DialogDriver driver([&](HWND dlg) {
            title = WindowText(dlg);
            finishEnabled = ::IsWindowEnabled(::GetDlgItem(dlg, kHostFinishPlain)) != FALSE;
            nextEnabled = ::IsWindowEnabled(::GetDlgItem(dlg, kHostNextPlain)) != FALSE;
            Press(dlg, kHostFinishPlain);
        });
        PressNew();
        EXPECT_EQ(1u, driver.StepsTaken());
    }
    EXPECT_STREQ(GetLangText("48"), title);
    EXPECT_TRUE(finishEnabled);
    EXPECT_FALSE(nextEnabled);
    EXPECT_EQ(1, doc->GetLayers()->GetCount());
    // Unmodified when the wizard returned: its reset cleared the flag, and only the
    // Background menu built anew afterwards marks the design again.
    ASSERT_FALSE(changes.empty());
    EXPECT_FALSE(changes.front().modified);
    for (const auto& c : changes)
        EXPECT_FALSE(c.modified && c.wizardOpen) << "marked modified while the wizard was open";
    CBackgroundMenuDlg* menu = GetGlobalObjectC()->GetBackgroundMenu();
    ASSERT_NE(nullptr, menu);
    EXPECT_TRUE(::IsWindowVisible(menu->GetSafeHwnd()));
}

} // namespace
