// The document's open and save hooks: a design survives the round trip, a file that cannot
// be read leaves the design, its path, title and modified flag as they were, and a save that
// fails leaves them and the previous file alone.  Neither hook shows anything: each leaves
// the key of its message.
#include <windows.h>
#include <gtest/gtest.h>

#include "base/Globals.h"
#include "base/KeyStore.h"
#include "model/ktb/DocumentFile.h"
#include "model/design/DocumentHost.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/paper/PaperGlobals.h"
#include "model/design/RegionData.h"
#include "model/design/TextItem.h"
#include "model/tests/KtbFuzz.h"
#include "model/tests/KtbTestUtil.h"
#include "model/tests/design_fixture.h"

using namespace ktb;
using namespace Gdiplus;

namespace {

class CanvasHost : public CDocumentHost
{
public:
    void AttachDocument(CFrostwellDoc*) override {}
    void DestroyPanels(BOOL) override {}
    CRect GetCanvasClientRect() override { return CRect(0, 0, 1200, 900); }
    int AskSaveChanges() override { return IDCANCEL; }
    BOOL SaveDesign(CFrostwellDoc*, int) override { return FALSE; }
    CObject* CreateFileBrowser(CFrostwellDoc*) override { return NULL; }
    void InvalidateCanvas(CFrostwellDoc*, const CRect&) override {}
};

ARGB Checker(int x, int y) { return ((x + y) & 1) ? 0xFF2040E0 : 0x80FFD000; }

class KtbDocument : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FillCatalogues();
        m_previous = GetDocumentHost();
        SetDocumentHost(&m_host);
        m_layout.CopyFrom(*GetPaperLayout());
        doc = new CFrostwellDoc;
        doc->m_bAutoDelete = FALSE;
        folder = ScratchFolder("ktb_document");
        TakeDesignFileMessage();
    }
    void TearDown() override
    {
        delete doc;
        GetPaperLayout()->CopyFrom(m_layout);
        SetDocumentHost(m_previous);
    }
    // Three frames of layout 10, two layers, a filled text, a frame image and a region.
    void FillDesign()
    {
        GetPaperLayout()->CopyFrom(*GetGlobalObjectA()->Lookup(10));
        doc->GetLayers()->Reset(3);
        std::vector<BYTE> png = design_test::MakePng(6, 3, Checker);
        for (int frame : {0, 2}) {
            CImageLayer* l = new CImageLayer();
            l->LoadFromMemory(png.data(), png.size());
            l->m_frameIndex = frame;
            l->m_angle = 30.0f * (frame + 1);
            doc->GetImageList()->Add(l);
        }
        CImageLayer* frameImage = new CImageLayer();
        frameImage->LoadFromMemory(png.data(), png.size());
        doc->GetLayers()->GetAt(1).frameImage = frameImage;
        doc->GetLayers()->GetAt(1).frameStyle = 4;
        CTextItem* text = new CTextItem();
        text->m_text = "Cake";
        doc->GetTextList()->AddPair(text);
        Bitmap fill(2, 2, PixelFormat32bppARGB);
        text->SetFillImage(&fill);
    }
    Bytes Fingerprint()
    {
        return DesignFingerprint(*doc->GetLayers(), *doc->GetImageList(), *doc->GetTextList(), *GetPaperLayout(),
                                 GetGlobalValueA());
    }
    std::string Path(const char* name) { return folder + "\\" + name; }

    CFrostwellDoc* doc = NULL;
    std::string folder;

private:
    CanvasHost m_host;
    CDocumentHost* m_previous = NULL;
    CPaperLayout m_layout;
};

TEST_F(KtbDocument, SaveOpenSaveKeepsTheDesign)
{
    FillDesign();
    doc->SetModifiedFlag(TRUE);
    const std::string first = Path("first.ktb"), second = Path("second.ktb");
    ASSERT_TRUE(doc->OnSaveDocument(first.c_str()));
    EXPECT_EQ("", TakeDesignFileMessage());
    EXPECT_STREQ(first.c_str(), doc->GetDesignPath());
    EXPECT_STREQ(first.c_str(), doc->GetPathName());
    EXPECT_FALSE(doc->IsModified());

    delete doc;
    doc = new CFrostwellDoc;
    doc->m_bAutoDelete = FALSE;
    ASSERT_TRUE(doc->OnOpenDocument(first.c_str()));
    EXPECT_STREQ(first.c_str(), doc->GetDesignPath());
    EXPECT_EQ(3, doc->GetLayers()->GetCount());
    EXPECT_EQ(2, doc->GetImageList()->GetCount());
    EXPECT_EQ(1, doc->GetTextList()->GetCount());
    EXPECT_EQ(10, GetPaperLayout()->GetId());
    EXPECT_TRUE(doc->NeedsPreviewRefresh());
    // Placed in the document's design rectangle.
    POSITION head = doc->GetImageList()->GetHeadPosition();
    CImageLayerPair pair = doc->GetImageList()->GetNext(head);
    EXPECT_EQ(doc->GetDesignRect(), pair.layer->m_designRect);
    ASSERT_TRUE(doc->OnSaveDocument(second.c_str()));
    EXPECT_EQ(StreamOf(ReadFileAll(first), "CakeData"), StreamOf(ReadFileAll(second), "CakeData"));
}

TEST_F(KtbDocument, FailedOpensLeaveEverythingAsItWas)
{
    FillDesign();
    const std::string good = Path("good.ktb");
    ASSERT_TRUE(doc->OnSaveDocument(good.c_str()));
    doc->SetTitle("My cake");
    doc->SetModifiedFlag(TRUE);
    const Bytes before = Fingerprint();

    Records tooOld;
    tooOld.Key("CAKEDATA3", 1).Text("6.9").I4(1);
    Records negative;
    negative.Key("CAKEDATA3", 1).Append(HeaderRecords("10.15", -1, (LPCTSTR)GetPaperLayout()->FormatCsv()));
    Records index99;
    index99.Key("CAKEDATA3", 1)
        .Append(HeaderRecords("10.15", 1, (LPCTSTR)GetPaperLayout()->FormatCsv()))
        .Key("FRAME", 1)
        .Append(DefaultFrameEntry(99))
        .Key("END", 0);
    // A header key line of 0 followed by a sound header and sections.  Reading on with the
    // header skipped would take the version, frame count and layout records for key lines
    // and build a design of no known frame count; refusing it, with the design untouched
    // and the message shown, is kept on purpose.
    Records headerOfZero;
    headerOfZero.Key("CAKEDATA3", 0)
        .Append(HeaderRecords("10.15", 1, (LPCTSTR)GetPaperLayout()->FormatCsv()))
        .Key("FRAME", 1)
        .Append(DefaultFrameEntry(0))
        .Key("END", 0);
    struct Case
    {
        const char* what;
        Bytes file;
        const char* message;
    } cases[] = {
        {"not a compound file", Bytes(3000, 'k'), "IDS_DESIGN_NOT_OPENED"},
        {"no CakeData", MakeCompoundFile({{"Thumbnail", Bytes(10, 1)}}), "IDS_DESIGN_NOT_OPENED"},
        {"third form of 6.9", MakeCompoundFile({{"CakeData", tooOld.bytes}}), "IDS_DESIGN_TOO_OLD"},
        {"frame count -1", MakeCompoundFile({{"CakeData", negative.bytes}}), "IDS_DESIGN_NOT_OPENED"},
        {"record index 99", MakeCompoundFile({{"CakeData", index99.bytes}}), "IDS_DESIGN_NOT_OPENED"},
        {"CAKEDATA3=0", MakeCompoundFile({{"CakeData", headerOfZero.bytes}}), "IDS_DESIGN_NOT_OPENED"},
    };
    for (const Case& c : cases) {
        const std::string path = Path("bad.ktb");
        ASSERT_TRUE(WriteFileBytes(path, c.file));
        DWORD start = GetTickCount();
        EXPECT_FALSE(doc->OnOpenDocument(path.c_str())) << c.what;
        EXPECT_LT(GetTickCount() - start, 2000u) << c.what;
        EXPECT_EQ(c.message, TakeDesignFileMessage()) << c.what;
        EXPECT_EQ(before, Fingerprint()) << c.what;
        EXPECT_STREQ(good.c_str(), doc->GetDesignPath()) << c.what;
        EXPECT_STREQ(good.c_str(), doc->GetPathName()) << c.what;
        EXPECT_STREQ("My cake", doc->GetTitle()) << c.what;
        EXPECT_TRUE(doc->IsModified()) << c.what;
    }
    EXPECT_FALSE(doc->OnOpenDocument(Path("missing.ktb").c_str()));
    EXPECT_EQ("IDS_DESIGN_NOT_OPENED", TakeDesignFileMessage());
    EXPECT_FALSE(doc->OnOpenDocument(""));
    EXPECT_EQ(before, Fingerprint());
}

TEST_F(KtbDocument, OldestFormReplacesTheDesignAndOpens)
{
    FillDesign();
    Records cake;
    cake.Key("CAKEDATA", 1)
        .Append(OldLayoutRecords(2, "5.0", 0))
        .Key("FRAME", 1)
        .I4(0)
        .I4(0x00336699)
        .R4(0.0f)
        .Bool(false)
        .Bool(false)
        .Key("END", 0);
    const std::string path = Path("old.ktb");
    ASSERT_TRUE(WriteFileBytes(path, MakeCompoundFile({{"CakeData", cake.bytes}})));
    ASSERT_TRUE(doc->OnOpenDocument(path.c_str()));
    EXPECT_EQ(1, doc->GetLayers()->GetCount());
    EXPECT_EQ(0x00336699u, doc->GetLayers()->GetAt(0).bgColour1);
    EXPECT_EQ(0, doc->GetImageList()->GetCount());
    EXPECT_EQ(0, doc->GetTextList()->GetCount());
    EXPECT_EQ(2, GetPaperLayout()->GetId());
}

TEST_F(KtbDocument, FailedSavesLeaveThePreviousFileAndTheDocument)
{
    FillDesign();
    const std::string target = Path("kept.ktb");
    ASSERT_TRUE(doc->OnSaveDocument(target.c_str()));
    const Bytes previous = ReadFileAll(target);
    doc->SetTitle("Kept");
    doc->SetModifiedFlag(TRUE);
    doc->GetLayers()->GetAt(0).frameStyle = 9; // a change that must not reach the file

    // The target is held open elsewhere: everything is written, the last step fails.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(doc->OnSaveDocument(target.c_str()));
    CloseHandle(held);
    EXPECT_EQ("IDS_STRING343", TakeDesignFileMessage());
    EXPECT_EQ(previous, ReadFileAll(target));
    EXPECT_EQ(1, CountFiles(folder));

    // A folder that is not there; one given by the build's script that cannot be written.
    std::vector<std::string> unwritable = {folder + "\\no such folder\\cake.ktb"};
    if (const char* readOnly = getenv("SL_KTB_READONLY_DIR"))
        unwritable.push_back(std::string(readOnly) + "\\cake.ktb");
    for (const std::string& path : unwritable) {
        DWORD start = GetTickCount();
        EXPECT_FALSE(doc->OnSaveDocument(path.c_str())) << path;
        EXPECT_LT(GetTickCount() - start, 2000u) << path;
        EXPECT_EQ("IDS_STRING343", TakeDesignFileMessage()) << path;
    }
    EXPECT_STREQ(target.c_str(), doc->GetDesignPath());
    EXPECT_STREQ("Kept", doc->GetTitle());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(doc->OnSaveDocument(""));

    // The previous file still opens, without the change.
    CFrostwellDoc other;
    other.m_bAutoDelete = FALSE;
    ASSERT_TRUE(other.OnOpenDocument(target.c_str()));
    EXPECT_EQ(4, other.GetLayers()->GetAt(1).frameStyle);
    EXPECT_EQ(0, other.GetLayers()->GetAt(0).frameStyle);
}

// The images of another design saved into the scans folder, each as its stream holds it;
// streams that are no sound PNG, or not named as image layers, stay behind.
TEST_F(KtbDocument, ImportsTheImagesOfAnotherDesign)
{
    FillDesign(); // two image layers, a frame image and a text fill
    const std::string design = Path("birthday cake.ktb");
    ASSERT_TRUE(doc->OnSaveDocument(design.c_str()));
    const std::string scans = Path("scans");
    CreateDirectoryA(scans.c_str(), NULL);
    const CString before = GetSetting("path_SCANS_DIR");
    SetSetting("path_SCANS_DIR", scans.c_str());

    EXPECT_EQ(2, doc->ImportImagesFromDesign(design.c_str()));
    const Bytes saved = ReadFileAll(design);
    for (const char* n : {"1", "2"}) {
        const Bytes png = ReadFileAll(scans + "\\birthday cake-" + n + ".png");
        EXPECT_FALSE(png.empty()) << n;
        EXPECT_EQ(StreamOf(saved, (std::string("Image") + n + ".png").c_str()), png) << n;
    }
    EXPECT_TRUE(ReadFileAll(scans + "\\birthday cake-3.png").empty());

    const Bytes png = design_test::MakePng(3, 2, Checker);
    const Bytes file = MakeCompoundFile({{"CakeData", Records().Key("END", 0).bytes},
                                         {"Image1.png", Bytes(300, 0x55)}, // no PNG
                                         {"Image7.png", png},
                                         {"Image07.png", png},
                                         {"Frame0.png", png},
                                         {"Image8.jpg", png}});
    ASSERT_TRUE(WriteFileBytes(Path("odd.ktb"), file));
    EXPECT_EQ(1, doc->ImportImagesFromDesign(Path("odd.ktb").c_str()));
    EXPECT_EQ(png, ReadFileAll(scans + "\\odd-7.png"));
    EXPECT_TRUE(ReadFileAll(scans + "\\odd-1.png").empty());

    EXPECT_EQ(0, doc->ImportImagesFromDesign(Path("missing.ktb").c_str()));
    ASSERT_TRUE(WriteFileBytes(Path("junk.ktb"), Bytes(4000, 'j')));
    EXPECT_EQ(0, doc->ImportImagesFromDesign(Path("junk.ktb").c_str()));
    SetSetting("path_SCANS_DIR", before);
}

// A key line in an archive: one of the archive's length-prefixed strings.
TEST(KtbKeyLine, WrittenAsAnArchiveString)
{
    const std::string path = ScratchFolder("ktb_key_line") + "\\lines.bin";
    const std::string longKey(300, 'K');
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        CFrostwellDoc::WriteKeyLine(ar, "IMAGE", 2);
        CFrostwellDoc::WriteKeyLine(ar, "END", -1);
        CFrostwellDoc::WriteKeyLine(ar, longKey.c_str(), 0);
    }
    Bytes expected = {7, 'I', 'M', 'A', 'G', 'E', '=', '2', 6, 'E', 'N', 'D', '=', '-', '1'};
    expected.insert(expected.end(), {0xFF, 302 & 0xFF, 302 >> 8}); // 302 bytes: 0xFF, then 16 bits
    expected.insert(expected.end(), longKey.begin(), longKey.end());
    expected.insert(expected.end(), {'=', '0'});
    EXPECT_EQ(expected, ReadFileAll(path));
}

} // namespace
