// The spooler calls behind the printer checks, against the test run's print queues.
#include "app/print/PrinterList.h"

#include <winspool.h>

#include "testsupport/PrintQueue.h"
#include <gtest/gtest.h>

namespace {

// The queue with the PDF writer that the test run starts.
const char kPdfQueue[] = "cake_pdf";

} // namespace

TEST(PrintPrinterList, UnknownOrEmptyNameGivesNothing)
{
    static const char* names[] = {"", "no such printer here"};
    for (const char* name : names) {
        CWordArray codes;
        codes.Add(3);
        EXPECT_FALSE(CPrinterList::GetPaperCodes(name, codes)) << name;
        EXPECT_EQ(0, codes.GetSize()) << name;
        EXPECT_FALSE(CPrinterList::GetPaperList(name)) << name;
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
    EXPECT_TRUE(CPrinterList::GetPaperList(kPdfQueue));
    EXPECT_TRUE(CPrinterList::GetPaperList("CAKE_PDF")); // the spooler ignores case
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
