// The design document: design rectangle, cell counting, frames, reset and the question
// asked before a changed design is closed.
#include "model/design/DocumentHost.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/design/TextItem.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// What the document told its windows, each with its redraw and modified flags then.
std::vector<std::string> g_told;

void Tell(CFrostwellDoc* doc, const std::string& what)
{
    g_told.push_back(what + (doc->NeedsRedraw() ? " redraw" : "") + (doc->IsModified() ? " modified" : ""));
}

// A view without a window that notes its updates.
class NotingView : public CView
{
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM hint, CObject*) override
    {
        Tell(static_cast<CFrostwellDoc*>(GetDocument()), "update " + std::to_string((long long)hint));
    }
};

class FakeHost : public CDocumentHost
{
public:
    void InvalidateCanvas(CFrostwellDoc* doc, const CRect& r) override
    {
        Tell(doc, "invalidate " + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                      "," + std::to_string(r.bottom));
    }
    void RefreshActivePanel(CFrostwellDoc* doc) override { Tell(doc, "panel"); }
    void AttachDocument(CFrostwellDoc* doc) override { attached = doc; }
    void DestroyPanels(BOOL spareOne) override { destroyed.push_back(spareOne); }
    CRect GetCanvasClientRect() override { return client; }
    int AskSaveChanges() override
    {
        ++asked;
        return answer;
    }
    BOOL SaveDesign(CFrostwellDoc*, int mode) override
    {
        modes.push_back(mode);
        return saveWorks;
    }
    CObject* CreateFileBrowser(CFrostwellDoc*) override { return NULL; }

    CFrostwellDoc* attached = NULL;
    std::vector<BOOL> destroyed;
    CRect client{0, 0, 1280, 1000};
    int asked = 0;
    int answer = IDCANCEL;
    std::vector<int> modes;
    BOOL saveWorks = TRUE;
};

class DocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = GetDocumentHost();
        SetDocumentHost(&host);
        doc = new CFrostwellDoc;
        doc->m_bAutoDelete = FALSE;
    }
    void TearDown() override
    {
        delete doc;
        SetDocumentHost(m_previous);
    }
    FakeHost host;
    CFrostwellDoc* doc = NULL;

private:
    CDocumentHost* m_previous = NULL;
};

TEST_F(DocumentTest, StartsOnLayoutTwoAndHandsItselfToTheSwitcher)
{
    EXPECT_EQ(2, GetPaperLayout()->GetId());
    EXPECT_EQ(doc, host.attached);
    EXPECT_TRUE(doc->NeedsRedraw());
    EXPECT_EQ(1, doc->GetLayers()->GetCount());
    EXPECT_EQ(NULL, doc->GetSelectedImage());
}

TEST_F(DocumentTest, DesignRectangleOfLayoutTwo) { EXPECT_EQ(CRect(229, 25, 930, 995), doc->GetDesignRect()); }

TEST(DesignRect, FittingCases)
{
    // Client areas less the margins 125 / 25 / 245 / 5.
    struct
    {
        const char* name;
        CRect base;
        int w, h;
        BOOL shift;
        CRect expect;
    } cases[] = {
        {"tall item, wide view: centred horizontally", CRect(125, 25, 1035, 995), 750, 1000, TRUE,
         CRect(125 + 91, 25, 125 + 91 + 727, 995)},
        {"wide item, tall view: centred vertically", CRect(125, 25, 525, 995), 1000, 500, TRUE,
         CRect(125, 25 + 385, 525, 25 + 385 + 200)},
        {"fixed rectangle: no margin shift", CRect(0, 0, 200, 200), 100, 100, FALSE, CRect(0, 0, 200, 200)},
        {"no printable width", CRect(125, 25, 1035, 995), 0, 1000, TRUE, CRect()},
        {"no printable height", CRect(125, 25, 1035, 995), 750, 0, TRUE, CRect()},
        {"no room", CRect(125, 25, 125, 25), 750, 1000, TRUE, CRect()},
    };
    for (const auto& c : cases) {
        CRect r = CFrostwellDoc::FitDesignRect(c.base, c.w, c.h, c.shift);
        EXPECT_EQ(c.expect, r) << c.name;
    }
}

TEST_F(DocumentTest, FixedRectangleIsUsedAsItIs)
{
    doc->SetFixedDesignRectValue(CRect(0, 0, 300, 300));
    doc->SetFixedDesignRect(TRUE);
    CRect r = doc->GetDesignRect();
    EXPECT_EQ(300, r.Height());
    EXPECT_EQ(0, r.top);
    EXPECT_LT(r.left, 125) << "no margin shift";
    doc->SetFixedDesignRect(FALSE);
}

TEST(CellCounting, StepsThatDoNotAdvanceCountOneCell)
{
    struct
    {
        float offset, item, gap, sheet;
        int expect;
    } cases[] = {
        {0.5f, 2.0f, 0.25f, 8.0f, 3},                               // 2.5, 4.75, 7.0 fit; 9.25 does not
        {0.0f, 2.0f, 0.0f, 8.0f, 4},  {0.5f, 8.0f, 0.25f, 8.0f, 1}, // the first item already fills the sheet
        {0.0f, 0.0f, 0.0f, 8.0f, 1},                                // no size, no gap: one cell, and the loop ends
        {0.0f, 1.0f, -1.0f, 8.0f, 1},                               // a gap that cancels the item
        {0.0f, 1.0f, -3.0f, 8.0f, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expect, CFrostwellDoc::CountCells(c.offset, c.item, c.gap, c.sheet))
            << c.offset << " " << c.item << " " << c.gap;
}

TEST_F(DocumentTest, SaveModifiedAnswers)
{
    struct
    {
        const char* name;
        BOOL modified;
        int answer;
        BOOL saveWorks;
        const char* path;
        BOOL result;
        int asked;
        int mode;
    } cases[] = {
        {"unchanged: no question", FALSE, IDOK, TRUE, "", TRUE, 0, 0},
        {"yes, saved", TRUE, IDOK, TRUE, "", TRUE, 1, 2},
        {"yes, save failed or cancelled: keep the design", TRUE, IDOK, FALSE, "", FALSE, 1, 2},
        {"yes with a known path", TRUE, IDOK, TRUE, "c:\\cake.ktb", TRUE, 1, 1},
        {"cancel", TRUE, IDCANCEL, TRUE, "", FALSE, 1, 0},
        {"no: changes dropped", TRUE, 100, TRUE, "", TRUE, 1, 0},
    };
    for (const auto& c : cases) {
        host.asked = 0;
        host.modes.clear();
        host.answer = c.answer;
        host.saveWorks = c.saveWorks;
        doc->SetDesignPath(c.path);
        doc->SetModifiedFlag(c.modified);
        EXPECT_EQ(c.result, doc->SaveModified()) << c.name;
        EXPECT_EQ(c.asked, host.asked) << c.name;
        if (c.mode != 0) {
            ASSERT_EQ(1u, host.modes.size()) << c.name;
            EXPECT_EQ(c.mode, host.modes[0]) << c.name;
        } else {
            EXPECT_TRUE(host.modes.empty()) << c.name;
        }
    }
}

// After an edit: both flags first, then the scope painted again, then the panel, once.
TEST_F(DocumentTest, DesignEditedByScope)
{
    NotingView view;
    doc->AddView(&view);
    const struct
    {
        EditScope scope;
        bool hosted;
        std::vector<std::string> told;
    } cases[] = {
        {EditScope::DesignArea, true, {"invalidate 120,20,1040,1000 redraw modified", "panel redraw modified"}},
        {EditScope::DesignAreaAndRulers, true, {"invalidate 120,0,1040,1000 redraw modified", "panel redraw modified"}},
        {EditScope::AllViews, true, {"update 0 redraw modified", "panel redraw modified"}},
        // Without windows around it only the document's own views hear of it.
        {EditScope::DesignArea, false, {}},
        {EditScope::AllViews, false, {"update 0 redraw modified"}},
    };
    for (const auto& c : cases) {
        SetDocumentHost(c.hosted ? &host : NULL);
        doc->ClearRedrawFlag();
        doc->SetModifiedFlag(FALSE);
        g_told.clear();
        doc->DesignEdited(c.scope);
        EXPECT_EQ(c.told, g_told) << (int)c.scope << (c.hosted ? " hosted" : "");
        EXPECT_TRUE(doc->NeedsRedraw());
        EXPECT_TRUE(doc->IsModified());
    }
    SetDocumentHost(&host);
    doc->RemoveView(&view);
}

TEST_F(DocumentTest, CurrentFrameBeyondTheLastIsTheFirst)
{
    doc->GetLayers()->Reset(3);
    doc->SetCurrentFrame(2);
    EXPECT_EQ(2, doc->GetCurrentFrame());
    EXPECT_EQ(2, doc->GetImageList()->GetCurrentFrame());
    doc->ClearRedrawFlag();
    host.destroyed.clear();
    doc->SetCurrentFrame(5);
    EXPECT_EQ(0, doc->GetCurrentFrame());
    EXPECT_EQ(0, doc->GetLayers()->GetCurrent());
    ASSERT_EQ(1u, host.destroyed.size());
    EXPECT_TRUE(host.destroyed[0]) << "one host is spared";
    EXPECT_TRUE(doc->NeedsRedraw());

    doc->SetCurrentFrameNoUpdate(1);
    EXPECT_EQ(0, doc->GetCurrentFrame()) << "the document's own frame stays";
    EXPECT_EQ(1, doc->GetTextList()->GetCurrentFrame());
}

TEST_F(DocumentTest, CloseLeavesAnEmptyUntitledDesign)
{
    CImageLayer* layer = new CImageLayer;
    doc->GetImageList()->Add(layer);
    doc->SetSelectedLayerA(layer);
    EXPECT_TRUE(layer->m_selected);
    doc->GetLayers()->Reset(4);
    doc->SetDesignPath("c:\\cake.ktb");
    doc->SetModifiedFlag(TRUE);
    host.destroyed.clear();
    doc->OnCloseDocument();
    EXPECT_STREQ("Untitled", (LPCTSTR)doc->GetTitle());
    EXPECT_EQ(1, doc->GetLayers()->GetCount());
    EXPECT_EQ(0, doc->GetImageList()->GetCount());
    EXPECT_EQ(0, doc->GetTextList()->GetCount());
    EXPECT_EQ(NULL, doc->GetSelectedImage());
    EXPECT_TRUE(doc->GetDesignPath().IsEmpty());
    EXPECT_FALSE(doc->IsModified());
    ASSERT_EQ(1u, host.destroyed.size());
    EXPECT_FALSE(host.destroyed[0]);
}

TEST_F(DocumentTest, SmallQueries)
{
    struct
    {
        const char* key;
        BOOL image;
        BOOL text;
        int frameStyle;
        BOOL expect;
    } cases[] = {
        {"IMAGE_EXISTS", FALSE, TRUE, 2, FALSE},     {"IMAGE_EXISTS", TRUE, FALSE, 0, TRUE},
        {"TEXT_EXISTS", TRUE, FALSE, 2, FALSE},      {"TEXT_EXISTS", FALSE, TRUE, 0, TRUE},
        {"FRAME_INTENSITY", FALSE, FALSE, 1, FALSE}, {"FRAME_INTENSITY", FALSE, FALSE, 9, FALSE},
        {"FRAME_INTENSITY", FALSE, FALSE, 3, TRUE},  {"FRAME_EXISTS", FALSE, FALSE, 0, FALSE},
        {"FRAME_EXISTS", FALSE, FALSE, 1, TRUE},     {"ANYTHING_ELSE", FALSE, FALSE, 0, TRUE},
    };
    CImageLayer image;
    CTextItem text;
    for (const auto& c : cases) {
        doc->SetSelectedLayerA(c.image ? &image : NULL);
        doc->SetSelectedLayerB(c.text ? &text : NULL);
        doc->GetLayers()->SetFrameStyle(c.frameStyle);
        EXPECT_EQ(c.expect, doc->QueryState(c.key)) << c.key << " style " << c.frameStyle;
    }
    doc->SetSelectedLayerA(NULL);
    doc->SetSelectedLayerB(NULL);
}

TEST_F(DocumentTest, TextItemsAddedAndRemoved)
{
    CTextItem* loose = doc->AddTextLayer(false);
    EXPECT_EQ(20, loose->m_fontSize);
    EXPECT_TRUE(loose->m_text.IsEmpty());
    EXPECT_EQ(0, doc->GetTextList()->GetCount());
    delete loose;

    EXPECT_FALSE(doc->RemoveSelectedText()) << "nothing selected";
    CTextItem* item = doc->AddTextLayer(true);
    EXPECT_EQ(1, doc->GetTextList()->CountInFrame(0));
    doc->SetSelectedLayerB(item);
    EXPECT_TRUE(doc->RemoveSelectedText());
    EXPECT_EQ(NULL, doc->GetCurrentObject());
    EXPECT_EQ(0, doc->GetTextList()->GetCount());
}

TEST_F(DocumentTest, UsedAreaCountsAreas)
{
    Gdiplus::SizeF item = GetPaperLayout()->GetPrintableSize();
    doc->GetLayers()->Reset(3);
    EXPECT_FLOAT_EQ(item.Width * item.Height * 3, doc->GetUsedArea());
    BYTE perCell = GetPaperLayout()->IsOneDesignPerCell();
    GetPaperLayout()->SetOneDesignPerCell(1);
    EXPECT_FLOAT_EQ(0.0f, doc->GetUsedArea()) << "three empty areas";
    doc->SetCurrentFrame(1);
    doc->AddTextLayer(true);
    EXPECT_FLOAT_EQ(item.Width * item.Height, doc->GetUsedArea());
    GetPaperLayout()->SetOneDesignPerCell(perCell);
}

TEST_F(DocumentTest, RebuildFramesLeavesTheSheetImage)
{
    EXPECT_EQ(nullptr, doc->GetSheetImage());
    doc->ClearRedrawFlag();
    doc->RebuildFrames();
    EXPECT_TRUE(doc->NeedsRedraw());
    Gdiplus::Bitmap* sheet = doc->GetSheetImage();
    ASSERT_NE(nullptr, sheet);
    EXPECT_GT(sheet->GetWidth(), 0u);
    doc->SetSheetImage(NULL);
}

} // namespace

namespace {

// The save command (Ctrl+S): a design without a file asks for a place through the host's
// dialog (mode 2); one with a file is saved to it at once, and only a save that worked
// retitles it and clears its changes.
TEST_F(DocumentTest, SaveCommandSavesToTheFileOrAsksForOne)
{
    char cwd[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, cwd);
    const CString good = CString(cwd) + "\\save_command.ktb";
    const CString bad = CString(cwd) + "\\no such folder\\save_command.ktb";
    struct
    {
        const char* name;
        CString path;
        bool asks;    // the host is asked for a place (mode 2)
        bool written; // saved: retitled, unchanged
    } cases[] = {
        {"no file yet", "", true, false},
        {"its own file", good, false, true},
        {"a file that cannot be written", bad, false, false},
    };
    for (const auto& c : cases) {
        ::DeleteFileA(good);
        host.modes.clear();
        doc->SetDesignPath(c.path);
        doc->SetTitle("Before");
        doc->SetModifiedFlag(TRUE);
        EXPECT_TRUE(doc->OnCmdMsg(ID_FILE_SAVE, CN_COMMAND, NULL, NULL)) << c.name;
        EXPECT_EQ(c.asks ? 1u : 0u, host.modes.size()) << c.name;
        if (c.asks && !host.modes.empty()) {
            EXPECT_EQ(2, host.modes[0]) << c.name;
        }
        EXPECT_EQ(c.written, ::GetFileAttributesA(good) != INVALID_FILE_ATTRIBUTES) << c.name;
        EXPECT_STREQ(c.written ? (LPCTSTR)c.path : "Before", doc->GetTitle()) << c.name;
        EXPECT_EQ(!c.written, doc->IsModified() != FALSE) << c.name;
    }
    ::DeleteFileA(good);
    doc->SetDesignPath("");
    doc->SetModifiedFlag(FALSE);
}

} // namespace
