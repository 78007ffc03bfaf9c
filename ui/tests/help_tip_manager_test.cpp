// The help-tip manager: the tips file's line rules, splitting, loading again, missing files,
// the bubbles it registers with a dialog's tooltip, and the installed tips file with a
// well-formed entry for every control key and every paper layout and size.
#include "ui/HelpTipManager.h"
#include "ui/PPToolTip.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "testsupport/TestApp.h"
#include "tip_test_util.h"

#include <memory>
#include <vector>

namespace {

using tip_test::HelpFolder;
using tip_test::OwnerWindow;

class HelpTips : public ::testing::Test
{
protected:
    HelpTips() { EnsureTestApp(); }
    // The texts of the control's tools.
    std::vector<CString> Bubbles(HWND control) const
    {
        std::vector<CString> texts;
        for (const PPToolInfo& tool : tip.GetTools(control))
            texts.push_back(tool.sTooltip);
        return texts;
    }

    OwnerWindow dialog;
    CPPToolTip tip;
    CHelpTipManager help;
};

TEST_F(HelpTips, SplitString)
{
    struct Case
    {
        const char* text;
        std::vector<const char*> parts;
    };
    const Case cases[] = {
        {"a~b~c", {"a", "b", "c"}}, {"a~b~", {"a", "b"}},
        {"a~~c", {"a", "", "c"}},   {"~", {""}},
        {"~~", {"", ""}},           {"", {}},
        {"abc", {"abc"}},           {"~b", {"", "b"}},
    };
    for (const Case& c : cases) {
        CStringArray parts;
        parts.Add("left over");
        EXPECT_EQ((int)c.parts.size(), CHelpTipManager::SplitString(c.text, parts, '~')) << c.text;
        ASSERT_EQ((INT_PTR)c.parts.size(), parts.GetSize()) << c.text;
        for (size_t i = 0; i < c.parts.size(); ++i)
            EXPECT_STREQ(c.parts[i], parts[(INT_PTR)i]) << c.text << " part " << i;
    }
}

TEST_F(HelpTips, LineRulesOfTheTipsFile)
{
    HelpFolder folder;
    folder.Write("tips.txt", {
                                 "THREE=Title~Body~Footer",
                                 "TWO=Title~Body",
                                 "EMPTY_FOOTER=Title~Body~",
                                 "EMPTY_BODY=Title~~Footer",
                                 "TWO_EQUALS=a=b~c~d",
                                 "NOTHING_AFTER=",
                                 "=No~key~here",
                                 "no equals at all",
                                 " BLANKS = t ~ b ~ f ",
                                 "lower=t~b~f",
                                 "LATER=first~b~f",
                                 "LATER=second~b~f",
                             });
    ASSERT_TRUE(help.LoadHelpFile("tips.txt"));
    ASSERT_TRUE(tip.GetSafeHwnd() == nullptr);
    help.CreateTooltip(&dialog.wnd, &tip);
    ASSERT_NE(nullptr, tip.GetSafeHwnd());

    struct Case
    {
        const char* key;
        const char* stored; // nullptr: the line was dropped
        bool bubble;
    };
    const Case cases[] = {
        {"THREE", "Title~Body~Footer", true},
        {"TWO", "Title~Body", false},
        {"EMPTY_FOOTER", "Title~Body~", false},
        {"EMPTY_BODY", "Title~~Footer", true},
        {"TWO_EQUALS", nullptr, false},
        {"NOTHING_AFTER", nullptr, false},
        {"", "No~key~here", true},
        {"no equals at all", nullptr, false},
        {" BLANKS ", " t ~ b ~ f ", true},
        {"BLANKS", nullptr, false},
        {"LATER", "second~b~f", true},
        {"MISSING", nullptr, false},
    };
    int id = 100;
    for (const Case& c : cases) {
        EXPECT_STREQ(c.stored ? c.stored : "", help.GetHelpText(c.key)) << "'" << c.key << "'";
        CWnd control;
        control.Attach(dialog.AddButton(id++, 0, 0));
        help.AddHelpTool(&dialog.wnd, &control, c.key);
        const std::vector<CString> bubbles = Bubbles(control.m_hWnd);
        ASSERT_EQ(c.bubble ? 1u : 0u, bubbles.size()) << "'" << c.key << "'";
        if (c.bubble) {
            CStringArray parts;
            ASSERT_EQ(3, CHelpTipManager::SplitString(c.stored, parts, '~'));
            EXPECT_STREQ(CHelpTipManager::FormatBubble(parts[0], parts[1], parts[2]), bubbles[0]);
        }
        control.Detach();
    }
    // The bubble of a tip, as the template makes it (its <b> is never closed).
    EXPECT_STREQ("<center><ilst idres=0 cx=10 cy=10 mask width=100% height=100%><br><h2>T</h2><br>"
                 "<hr color=blue></center><br><justify><b>B</justify><br=2><right><i>F</i></right>",
                 CHelpTipManager::FormatBubble("T", "B", "F"));
}

TEST_F(HelpTips, PartsAreAskedInUpperCaseAndToolsAsWritten)
{
    HelpFolder folder;
    folder.Write("tips.txt", {"SHAPE_BTN=Shape~Pick a shape~Wizard", "lower_btn=l~m~n", "SHORT=a~b"});
    ASSERT_TRUE(help.LoadHelpFile("tips.txt"));
    help.CreateTooltip(&dialog.wnd, &tip);

    CString title = "kept", body = "kept", footer = "kept";
    EXPECT_TRUE(help.GetHelpParts("shape_btn", title, body, footer));
    EXPECT_STREQ("Shape", title);
    EXPECT_STREQ("Pick a shape", body);
    EXPECT_STREQ("Wizard", footer);
    // A key stored in lower case is never found, and a text of two parts fills nothing.
    title = body = footer = "kept";
    EXPECT_FALSE(help.GetHelpParts("lower_btn", title, body, footer));
    EXPECT_FALSE(help.GetHelpParts("short", title, body, footer));
    EXPECT_STREQ("kept", title);
    EXPECT_STREQ("kept", footer);

    CWnd lower, upper;
    lower.Attach(dialog.AddButton(1, 0, 0));
    upper.Attach(dialog.AddButton(2, 0, 30));
    help.AddHelpTool(&dialog.wnd, &lower, "shape_btn"); // as written: no such key
    help.AddHelpTool(&dialog.wnd, &upper, "SHAPE_BTN");
    EXPECT_EQ(0u, Bubbles(lower.m_hWnd).size());
    EXPECT_EQ(1u, Bubbles(upper.m_hWnd).size());
    help.AddHelpTool(&dialog.wnd, &lower, "lower_btn");
    EXPECT_EQ(1u, Bubbles(lower.m_hWnd).size());
    lower.Detach();
    upper.Detach();
}

TEST_F(HelpTips, LoadingAgainDropsTheFirstFileAndAMissingFileAddsNoTool)
{
    HelpFolder folder;
    folder.Write("tips.txt", {"FIRST=a~b~c"});
    folder.Write("other.txt", {"SECOND=d~e~f"});
    help.CreateTooltip(&dialog.wnd, &tip);
    CWnd button;
    button.Attach(dialog.AddButton(1, 0, 0));

    ASSERT_TRUE(help.LoadHelpFile("tips.txt"));
    EXPECT_STREQ("a~b~c", help.GetHelpText("FIRST"));
    ASSERT_TRUE(help.LoadHelpFile("other.txt"));
    EXPECT_STREQ("", help.GetHelpText("FIRST"));
    EXPECT_STREQ("d~e~f", help.GetHelpText("SECOND"));

    EXPECT_FALSE(help.LoadHelpFile("no_such_tips.txt"));
    EXPECT_STREQ("", help.GetHelpText("SECOND"));
    help.AddHelpTool(&dialog.wnd, &button, "SECOND");
    EXPECT_EQ(0u, Bubbles(button.m_hWnd).size());

    // The control: with the file back, the same call adds the bubble.
    ASSERT_TRUE(help.LoadHelpFile("other.txt"));
    help.AddHelpTool(&dialog.wnd, &button, "SECOND");
    EXPECT_EQ(1u, Bubbles(button.m_hWnd).size());
    // Added again: still one record, with the same text.
    help.AddHelpTool(&dialog.wnd, &button, "SECOND");
    EXPECT_EQ(1u, Bubbles(button.m_hWnd).size());
    button.Detach();
}

TEST_F(HelpTips, DialogWithoutATooltipGetsNoBubbles)
{
    HelpFolder folder;
    folder.Write("tips.txt", {"KEY=a~b~c"});
    ASSERT_TRUE(help.LoadHelpFile("tips.txt"));
    OwnerWindow other;
    CWnd button, otherButton;
    button.Attach(dialog.AddButton(1, 0, 0));
    otherButton.Attach(other.AddButton(1, 0, 0));
    help.CreateTooltip(&dialog.wnd, &tip);

    help.AddHelpTool(&other.wnd, &otherButton, "KEY"); // no tooltip remembered for it
    EXPECT_EQ(0u, Bubbles(otherButton.m_hWnd).size());
    help.AddHelpTool(&dialog.wnd, &button, "KEY");
    EXPECT_EQ(1u, Bubbles(button.m_hWnd).size());
    button.Detach();
    otherButton.Detach();
}

TEST_F(HelpTips, InstalledTipsFileCoversEveryKeyLayoutAndPaperSize)
{
    // The help folder of the tests' data folder: "root\help" while "path_help" is not set.
    const CString oldRoot = GetSetting("root"), oldPath = GetSetting("path_help");
    char current[MAX_PATH];
    ::GetCurrentDirectory(MAX_PATH, current);
    SetSetting("root", current);
    SetSetting("path_help", "");
    const BOOL loaded = help.LoadHelpFile("tips.txt");
    SetSetting("root", oldRoot);
    SetSetting("path_help", oldPath);
    ASSERT_TRUE(loaded) << "tips.txt in " << current << "\\help";

    const char* keys[] = {
        "ADD_SWATCH_BTN",
        "REMOVE_SWATCH_BTN",
        "SWATCH_LIST",
        "COLOUR_SELECTION",
        "COLOUR_SELECTION1",
        "COLOUR_SELECTION2",
        "COLOUR_SELECTION3",
        "COLOUR_SELECTION4",
        "COLOUR_SELECTION5",
        "COLOUR_ROTATION",
        "COLOUR_EFFECT",
        "BACKGROUND_FILL_SOLID_BTN",
        "BACKGROUND_FILL_LINEAR_BTN",
        "BACKGROUND_FILL_RADIAL_BTN",
        "BACKGROUND_FILL_CLEAR_BTN",
        "BACKGROUND_NEW_IMAGE_BTN",
        "BACKGROUND_CUT_IMAGE_BTN",
        "BACKGROUND_CANCEL_IMAGE_BTN",
        "BACKGROUND_FILE_CTRL",
        "BACKGROUND_TILE_ROTATION",
        "BACKGROUND_TILE_SIZE",
        "BACKGROUND_TILE_TRANS",
        "BACK_NEW_BTN",
        "BACK_CUT_BTN",
        "BACK_CANCEL_BTN",
        "BACKGROUND_CLONE_BTN",
        "BACKGROUND_CLONE_SOURCE",
        "BACKGROUND_CLONE_DESTINATION",
        "BACKGROUND_DESIGN_SELECTION",
        "FRAME_CUT_BTN",
        "FRAME_LIST",
        "FRAME_THICKNESS",
        "FRAME_EFFECT",
        "FRAME_PEN",
        "FRAME_PEN_THICKNESS",
        "FRAME_ADD_SWATCH_BTN",
        "FRAME_REMOVE_SWATCH_BTN",
        "FRAME_FILL_CLEAR_BTN",
        "FRAME_FILL_SOLID_BTN",
        "FRAME_FILL_LINEAR_BTN",
        "FRAME_FILL_RADIAL_BTN",
        "FRAME_IMAGE_FILL_NEW_BTN",
        "FRAME_IMAGE_FILL_CUT_BTN",
        "FRAME_IMAGE_FILL_CANCEL_BTN",
        "FRAME_IMAGE_SIZE",
        "FRAME_IMAGE_OFFSET",
        "FRAME_IMAGE_TRANS",
        "FRAME_IMAGE_ROTATION",
        "DESIGN_WIZARD_ICING_BTN",
        "DESIGN_WIZARD_SQUARE_BTN",
        "DESIGN_WIZARD_CIRCLE_BTN",
        "DESIGN_WIZARD_RECTANGLE_BTN",
        "DESIGN_WIZARD_OVAL_BTN",
        "DESIGN_WIZARD_CUSTOM_BTN",
        "DESIGN_WIZARD_TEMPLATE_BTN",
        "DESIGN_WIZARD_INDIVIDUAL_BTN",
        "DESIGN_WIZARD_OVERSIZED_BTN",
        "DESIGN_WIZARD_MULTIPLE_BTN",
        "DESIGN_WIZARD_PAPER_WIDTH_BTN",
        "DESIGN_WIZARD_PAPER_HEIGHT_BTN",
        "DESIGN_WIZARD_PAPER_SIZE_BTN",
        "DESIGN_WIZARD_PAPER_GAP_X_BTN",
        "DESIGN_WIZARD_PAPER_GAP_Y_BTN",
        "DESIGN_WIZARD_PAPER_GAP_TOP_BTN",
        "DESIGN_WIZARD_PAPER_GAP_LEFT_BTN",
        "DESIGN_WIZARD_RULER",
        "DESIGN_WIZARD_PREVIEW_LAYOUT",
        "FILE_SAVEAS",
        "FILE_SNAPSHOT",
        "FILE_OK",
        "FILE_CANCEL",
        "IMAGE_FIT_BTN",
        "IMAGE_CENTRE_BTN",
        "IMAGE_UPLAYER_BTN",
        "IMAGE_DOWNLAYER_BTN",
        "IMAGE_TRASH_BTN",
        "IMAGE_EFFECTS_BTN",
        "IMAGE_REDEYE_BTN",
        "IMAGE_CROPPING_BTN",
        "IMAGE_SIZE_CTRL",
        "IMAGE_TRANS_CTRL",
        "IMAGE_ROTATION_CTRL",
    };
    std::vector<CString> all(std::begin(keys), std::end(keys));

    // Every name of the catalogues, as the wizard asks for it.
    CPaperSizeMap sizes;
    sizes.AddOversizedPapers();
    EXPECT_EQ(8, sizes.GetCount());
    CPaperLayoutMap layouts;
    layouts.AddBuiltInLayouts(&sizes);
    EXPECT_EQ(92, layouts.GetCount());
    std::unique_ptr<CPaperLayoutList> layoutList(layouts.GetLayoutList());
    for (POSITION pos = layoutList->GetHeadPosition(); pos;)
        all.push_back(layoutList->GetNext(pos)->GetName());
    std::unique_ptr<CPaperSizeList> sizeList(sizes.GetAll());
    for (POSITION pos = sizeList->GetHeadPosition(); pos;)
        all.push_back(sizeList->GetNext(pos)->GetName());

    help.CreateTooltip(&dialog.wnd, &tip);
    CWnd control;
    control.Attach(dialog.AddButton(1, 0, 0));
    for (const CString& key : all) {
        CString title, body, footer;
        EXPECT_TRUE(help.GetHelpParts(key, title, body, footer)) << (LPCTSTR)key;
        EXPECT_FALSE(title.IsEmpty() || body.IsEmpty() || footer.IsEmpty()) << (LPCTSTR)key;
        tip.RemoveAllTools();
        CString upper = key;
        upper.MakeUpper();
        help.AddHelpTool(&dialog.wnd, &control, upper);
        EXPECT_EQ(1u, Bubbles(control.m_hWnd).size()) << (LPCTSTR)key;
    }
    control.Detach();
}

} // namespace
