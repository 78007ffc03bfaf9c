// The spooler calls behind the printer checks, against the test run's print queues: the
// PDF writer "Cake_PDF" (letter to tabloid, A4) and "Cake_A4A3" (only A4 and A3).
#include "app/print/PrinterByName.h"
#include "app/print/PrinterList.h"
#include "testsupport/TestApp.h"

#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testsupport/PrintQueue.h"
#include <gtest/gtest.h>

namespace {

// The queue with the PDF writer that the test run starts.
const char kPdfQueue[] = "cake_pdf";
const char kA4A3Queue[] = "cake_a4a3";

// The application's printer as the framework holds it, restored to none afterwards.
class AppPrinter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = &EnsureTestApp();
        REQUIRE_PRINT_QUEUE(kPdfQueue);
        REQUIRE_PRINT_QUEUE(kA4A3Queue);
    }
    void TearDown() override { app->SelectPrinter(nullptr, nullptr, TRUE); }
    const DEVNAMES* LockNames() const { return (const DEVNAMES*)GlobalLock(app->m_hDevNames); }
    CWinApp* app = nullptr;
};

// The printer names as the spooler lists them at level 4 (names only), lower case.
std::vector<std::string> SpoolerNames()
{
    std::vector<std::string> names;
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, buffer.data(), needed, &needed,
                       &count))
        return names;
    const PRINTER_INFO_4A* info = (const PRINTER_INFO_4A*)buffer.data();
    for (DWORD i = 0; i < count; i++) {
        std::string name = info[i].pPrinterName;
        for (char& c : name)
            c = (char)tolower((unsigned char)c);
        names.push_back(name);
    }
    return names;
}

} // namespace

TEST(PrintPrinterList, UnknownOrEmptyNameGivesNothing)
{
    static const char* names[] = {"", "no such printer here"};
    for (const char* name : names) {
        CWordArray codes;
        codes.Add(3);
        EXPECT_FALSE(CPrinterList::GetPaperCodes(name, codes)) << name;
        EXPECT_EQ(0, codes.GetSize()) << name;
        EXPECT_FALSE(CPrinterList::HasPaperCode3(name)) << name;
        EXPECT_EQ(nullptr, CPrinterList::GetPrinterDevMode(name)) << name;
        EXPECT_EQ(nullptr, CPrinterList::GetPrinterDevNames(name)) << name;
    }
}

TEST(PrintPrinterList, PdfQueueListsTabloidAndA4)
{
    REQUIRE_PRINT_QUEUE(kPdfQueue);
    CWordArray codes;
    ASSERT_TRUE(CPrinterList::GetPaperCodes(kPdfQueue, codes));
    bool a4 = false;
    for (INT_PTR i = 0; i < codes.GetSize(); i++)
        a4 = a4 || codes[i] == DMPAPER_A4;
    EXPECT_TRUE(a4);
}

TEST(PrintPrinterList, PaperCode3ByPrinter)
{
    REQUIRE_PRINT_QUEUE(kPdfQueue);
    REQUIRE_PRINT_QUEUE(kA4A3Queue);
    static const struct
    {
        const char* name;
        BOOL tabloid;
    } cases[] = {
        {"cake_pdf", TRUE},
        {"CAKE_PDF", TRUE},   // the spooler ignores case
        {"cake_a4a3", FALSE}, // A4 (9) and A3 (8) only
        {"no such printer here", FALSE},
        {"", FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.tabloid, CPrinterList::HasPaperCode3(c.name)) << c.name;
}

TEST(PrintPrinterList, EnumerateAppendsLowerCaseNamesInSpoolerOrder)
{
    REQUIRE_PRINT_QUEUE(kPdfQueue);
    REQUIRE_PRINT_QUEUE(kA4A3Queue);
    CStringList names;
    names.AddTail("kept");
    CPrinterList::EnumeratePrinters(names);
    std::vector<std::string> got;
    for (POSITION pos = names.GetHeadPosition(); pos != nullptr;)
        got.push_back((LPCTSTR)names.GetNext(pos));
    ASSERT_LE(3u, got.size());
    EXPECT_EQ("kept", got[0]); // appended at the tail, nothing replaced
    got.erase(got.begin());
    EXPECT_EQ(SpoolerNames(), got);
    // The test run's queues are "Cake_A4A3" and "Cake_PDF" in the spooler.
    auto a4a3 = std::find(got.begin(), got.end(), "cake_a4a3");
    auto pdf = std::find(got.begin(), got.end(), "cake_pdf");
    EXPECT_NE(got.end(), a4a3);
    EXPECT_NE(got.end(), pdf);
}

TEST_F(AppPrinter, UnknownOrEmptyNameClearsTheSelection)
{
    for (const char* name : {"no such printer here", ""}) {
        ASSERT_TRUE(SelectPrinterByName(kPdfQueue));
        ASSERT_NE(nullptr, app->m_hDevMode);
        const DEVNAMES* dn = LockNames();
        ASSERT_NE(nullptr, dn);
        EXPECT_STREQ(kPdfQueue, (const char*)dn + dn->wDeviceOffset);
        GlobalUnlock(app->m_hDevNames);

        EXPECT_FALSE(SelectPrinterByName(name)) << name;
        EXPECT_EQ(nullptr, app->m_hDevMode) << name;
        EXPECT_EQ(nullptr, app->m_hDevNames) << name;
    }
}

TEST_F(AppPrinter, PaperAndQualityWrittenWithTheirFields)
{
    static const struct
    {
        WORD paper;
        BYTE landscape;
        short orientation;
    } cases[] = {
        {DMPAPER_TABLOID, 1, DMORIENT_LANDSCAPE},
        {DMPAPER_A4, 0, DMORIENT_PORTRAIT},
        {DMPAPER_A3, 2, DMORIENT_PORTRAIT}, // only 1 means landscape
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SelectPrinterByName(kA4A3Queue));
        DEVMODEA* dm = (DEVMODEA*)GlobalLock(app->m_hDevMode);
        ASSERT_NE(nullptr, dm);
        // As a driver that fills none of the three fields leaves it.
        dm->dmFields &= ~(DM_PAPERSIZE | DM_ORIENTATION | DM_PRINTQUALITY);
        dm->dmPrintQuality = 300;
        GlobalUnlock(app->m_hDevMode);
        HGLOBAL before = app->m_hDevMode;

        CPrinterList::SetPaperAndQuality(c.paper, c.landscape);
        EXPECT_EQ(before, app->m_hDevMode) << "the printer itself stays";
        dm = (DEVMODEA*)GlobalLock(app->m_hDevMode);
        EXPECT_EQ((short)c.paper, dm->dmPaperSize) << c.paper;
        EXPECT_EQ(c.orientation, dm->dmOrientation) << c.paper;
        EXPECT_EQ(DMRES_HIGH, dm->dmPrintQuality) << c.paper;
        EXPECT_EQ((DWORD)(DM_PAPERSIZE | DM_ORIENTATION | DM_PRINTQUALITY),
                  dm->dmFields & (DM_PAPERSIZE | DM_ORIENTATION | DM_PRINTQUALITY))
            << c.paper;
        GlobalUnlock(app->m_hDevMode);
    }
}

TEST_F(AppPrinter, PaperAndQualityWithoutDevModeChangesNothing)
{
    ASSERT_TRUE(SelectPrinterByName(kPdfQueue));
    HGLOBAL names = app->m_hDevNames;
    GlobalFree(app->m_hDevMode);
    app->m_hDevMode = nullptr;
    CPrinterList::SetPaperAndQuality(DMPAPER_TABLOID, 1);
    EXPECT_EQ(nullptr, app->m_hDevMode);
    EXPECT_EQ(names, app->m_hDevNames);
    // Positive control: with the DEVMODE back the same call writes it.
    ASSERT_TRUE(SelectPrinterByName(kPdfQueue));
    CPrinterList::SetPaperAndQuality(DMPAPER_TABLOID, 1);
    const DEVMODEA* dm = (const DEVMODEA*)GlobalLock(app->m_hDevMode);
    EXPECT_EQ(DMPAPER_TABLOID, dm->dmPaperSize);
    GlobalUnlock(app->m_hDevMode);
}

TEST(PrintPrinterList, DevModeAndDevNamesOfThePdfQueue)
{
    REQUIRE_PRINT_QUEUE(kPdfQueue);
    HGLOBAL mode = CPrinterList::GetPrinterDevMode(kPdfQueue);
    ASSERT_NE(nullptr, mode);
    const DEVMODEA* dm = (const DEVMODEA*)GlobalLock(mode);
    EXPECT_STRCASEEQ(kPdfQueue, (const char*)dm->dmDeviceName);
    EXPECT_GE(GlobalSize(mode), (SIZE_T)dm->dmSize + dm->dmDriverExtra);
    GlobalUnlock(mode);
    GlobalFree(mode);

    HGLOBAL names = CPrinterList::GetPrinterDevNames(kPdfQueue);
    ASSERT_NE(nullptr, names);
    const DEVNAMES* dn = (const DEVNAMES*)GlobalLock(names);
    const char* base = (const char*)dn;
    // Driver right after the header, then the name as given, then the port.
    EXPECT_EQ(sizeof(DEVNAMES), dn->wDriverOffset);
    const size_t driverLength = strlen(base + dn->wDriverOffset);
    EXPECT_LT(0u, driverLength);
    EXPECT_EQ(dn->wDriverOffset + driverLength + 1, dn->wDeviceOffset);
    EXPECT_STREQ(kPdfQueue, base + dn->wDeviceOffset);
    EXPECT_EQ(dn->wDeviceOffset + sizeof(kPdfQueue), dn->wOutputOffset);
    EXPECT_LT(0u, strlen(base + dn->wOutputOffset));
    EXPECT_EQ(0, dn->wDefault);
    GlobalUnlock(names);
    GlobalFree(names);
}
