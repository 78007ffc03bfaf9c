// The home panel's Print and Preview in the real frame and view. The print jobs are
// DISABLED_: home_print.sh runs each alone and reads the PDF it prints back (the first
// cell's design is red, the others empty, so the page shows which way the cell stands).
#include "app/print/PrinterByName.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperSize.h"
#include "model/design/LayerArray.h"
#include "res/print_res.h"
#include "res/view_res.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/PrintQueue.h"

#include <string>
#include <vector>

namespace {

class HomePrint : public DesignWindowTest
{
protected:
    void SetUp() override
    {
        DesignWindowTest::SetUp();
        m_savedPaper = GetPaperLayout()->GetPaperSize();
        m_savedOnePerCell = GetPaperLayout()->IsOneDesignPerCell();
        REQUIRE_PRINT_QUEUE("cake_pdf");
        SetSetting("printer", "cake_pdf");
        SetSetting("printing_security", "");
        ASSERT_TRUE(SelectPrinterByName("cake_pdf"));
        doc->GetLayers()->Reset(1);
    }
    void TearDown() override
    {
        GetPaperLayout()->SetPaperSize(m_savedPaper);
        GetPaperLayout()->SetOneDesignPerCell(m_savedOnePerCell);
        SetSetting("printer", "");
        AfxGetApp()->SelectPrinter(nullptr, nullptr, TRUE);
        DesignWindowTest::TearDown();
    }
    // The current layout on a sheet of the paper code, wider than high when landscape.
    void UsePaper(WORD code, float width, float height)
    {
        m_paper.SetId(99);
        m_paper.SetSheetSize(width, height);
        m_paper.SetPrintableSize(width, height);
        m_paper.SetPaperCode(code);
        GetPaperLayout()->SetPaperSize(&m_paper);
        GetPaperLayout()->SetOneDesignPerCell(1);
        CLayerArray* layers = doc->GetLayers();
        layers->Reset(1);
        const CSize size = GetPaperLayout()->GetPrintableRect();
        layers->SetRecordRects(CRect(0, 0, size.cx, size.cy), size.cx, size.cy);
        layers->SetCurrent(0);
        layers->SetBgColour1(RGB(200, 40, 40));
        doc->SetCurrentFrameNoUpdate(0);
    }
    // Presses the button; the print dialog is answered with Print (OK), any other with
    // Cancel. Returns the dialogs' titles.
    std::vector<std::string> PressPrint()
    {
        std::vector<std::string> seen;
        DialogDriver driver(DialogDriver::EveryDialog(), [&](HWND dlg) {
            const bool print = ::GetDlgItem(dlg, IDC_PRINT_OUTLINE) != nullptr;
            seen.push_back(print ? "print" : std::string(WindowText(dlg)));
            Press(dlg, print ? IDOK : IDCANCEL);
        });
        Press(Home()->GetSafeHwnd(), IDC_HOME_PRINT);
        PumpUntil([&] { return driver.Acted(); }, 20000);
        PumpPending(2000);
        return seen;
    }
    // The paper fields of the application's printer.
    void ExpectPrinterPaper(short paper, short orientation)
    {
        PRINTDLG pd = {};
        ASSERT_TRUE(AfxGetApp()->GetPrinterDeviceDefaults(&pd));
        const DEVMODEA* dm = (const DEVMODEA*)::GlobalLock(pd.hDevMode);
        ASSERT_NE(nullptr, dm);
        EXPECT_EQ(paper, dm->dmPaperSize);
        EXPECT_EQ(orientation, dm->dmOrientation);
        EXPECT_EQ(DMRES_HIGH, dm->dmPrintQuality);
        ::GlobalUnlock(pd.hDevMode);
    }
    CPaperSize* m_savedPaper = nullptr;
    BYTE m_savedOnePerCell = 0;
    CPaperSize m_paper;
};

TEST_F(HomePrint, DISABLED_JobTabloidLandscape)
{
    UsePaper(DMPAPER_TABLOID, 17.0f, 11.0f);
    EXPECT_EQ((std::vector<std::string>{"print"}), PressPrint());
    ExpectPrinterPaper(DMPAPER_TABLOID, DMORIENT_LANDSCAPE);
}

TEST_F(HomePrint, DISABLED_JobA4Portrait)
{
    UsePaper(DMPAPER_A4, 8.2677f, 11.6929f);
    EXPECT_EQ((std::vector<std::string>{"print"}), PressPrint());
    ExpectPrinterPaper(DMPAPER_A4, DMORIENT_PORTRAIT);
}

// Print keeps the application's printer; Preview takes the printer of the settings first.
TEST_F(HomePrint, PreviewSelectsThePrinterOfTheSettingsPrintDoesNot)
{
    REQUIRE_PRINT_QUEUE("cake_a4a3");
    UsePaper(DMPAPER_A4, 8.2677f, 11.6929f);
    SetSetting("printer", "cake_a4a3");
    auto device = [] {
        const DEVNAMES* dn = (const DEVNAMES*)::GlobalLock(AfxGetApp()->m_hDevNames);
        std::string name = dn != nullptr ? (const char*)dn + dn->wDeviceOffset : "";
        ::GlobalUnlock(AfxGetApp()->m_hDevNames);
        return name;
    };
    {
        // The print dialog cancelled: the checks ran, the printer stays.
        std::vector<std::string> seen;
        DialogDriver driver(DialogDriver::EveryDialog(), [&](HWND dlg) {
            seen.push_back(WindowText(dlg).GetString());
            Press(dlg, IDCANCEL);
        });
        Press(Home()->GetSafeHwnd(), IDC_HOME_PRINT);
        ASSERT_TRUE(PumpUntil([&] { return driver.Acted(); }, 20000));
        PumpPending(1000);
    }
    EXPECT_EQ("cake_pdf", device()) << "Print does not change the printer";
    Press(Home()->GetSafeHwnd(), IDC_HOME_PREVIEW);
    ASSERT_TRUE(PumpUntil([&] { return device() == "cake_a4a3"; }, 20000)) << device();
    ExpectPrinterPaper(DMPAPER_A4, DMORIENT_PORTRAIT);
    // The preview replaces the view in the frame.
    ASSERT_TRUE(PumpUntil([&] { return frame->GetActiveView() != view; }, 20000)) << "no preview";
    PumpPending(1000);
    EXPECT_TRUE(SaveScreenshot(frame->GetSafeHwnd(), "home_preview"));
    frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    PumpPending(1000);
}

// An unknown printer in the settings: Preview runs on the default printer.
TEST_F(HomePrint, PreviewWithAnUnknownPrinterRunsAllTheSame)
{
    SetSetting("printer", "no such printer here");
    UsePaper(DMPAPER_A4, 8.2677f, 11.6929f);
    Press(Home()->GetSafeHwnd(), IDC_HOME_PREVIEW);
    ASSERT_TRUE(PumpUntil([&] { return frame->GetActiveView() != view; }, 20000)) << "no preview";
    frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    PumpPending(1000);
}

} // namespace
