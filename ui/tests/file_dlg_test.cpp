// The file dialog wrapper run as a person uses it: a name typed into the system's save
// dialog, Cancel, the folder browser; and the pure parts (structure size, flags, the split
// of a path, the entries of a multiple selection).
#include "ui/FileDlgEx.h"

#include "testsupport/DialogDriver.h"
#include "testsupport/Input.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <string.h>
#include <string>

namespace {

TEST(FileDlgEx, StructureSizeByVersion)
{
    struct
    {
        DWORD version;
        DWORD size;
    } cases[] = {
        {0x00000004, OPENFILENAME_SIZE_VERSION_400}, // Windows NT 4
        {0x0A280105, sizeof(OPENFILENAME)},          // 5.1
        {0x1DB10106, sizeof(OPENFILENAME)},          // 6.1, as this Wine says
        {0x00000003, OPENFILENAME_SIZE_VERSION_400},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.size, CFileDlgEx::StructSizeFor(c.version)) << std::hex << c.version;
#ifndef _WIN64
    EXPECT_EQ(76u, CFileDlgEx::StructSizeFor(4));
    EXPECT_EQ(88u, CFileDlgEx::StructSizeFor(5));
#endif
}

TEST(FileDlgEx, FlagsAreTheCallersWithExplorerAdded)
{
    const DWORD flags[] = {0, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY};
    for (DWORD f : flags) {
        CFileDlgEx dlg(FALSE, nullptr, nullptr, f, "JPEG\0*.JPG\0");
        EXPECT_EQ(f | OFN_EXPLORER, dlg.m_ofn.Flags) << std::hex << f;
    }
    CFileDlgEx plain;
    EXPECT_EQ(0u, plain.m_ofn.Flags);
    EXPECT_STREQ("", (LPCTSTR)plain.GetPathName());
}

TEST(FileDlgEx, PathSplitting)
{
    struct
    {
        const char* path;
        const char* name;
        const char* ext;
        const char* folder;
        const char* drive;
    } cases[] = {
        {"C:\\cakes\\top.ktb", "top", ".ktb", "C:\\cakes\\", "C:"},
        {"Z:\\a.b\\name", "name", "", "Z:\\a.b\\", "Z:"},
        {"C:\\x\\archive.tar.gz", "archive.tar", ".gz", "C:\\x\\", "C:"},
        {"plain.jpg", "plain", ".jpg", "", ""},
        {"D:top", "top", "", "D:", "D:"},
    };
    for (const auto& c : cases) {
        char buffer[MAX_PATH];
        strcpy(buffer, c.path);
        CFileDlgEx dlg(TRUE, nullptr, buffer, 0, nullptr);
        EXPECT_STREQ(c.path, (LPCTSTR)dlg.GetPathName());
        EXPECT_STREQ(c.name, (LPCTSTR)dlg.GetFileName()) << c.path;
        EXPECT_STREQ(c.ext, (LPCTSTR)dlg.GetFileExt()) << c.path;
        EXPECT_STREQ(c.folder, (LPCTSTR)dlg.GetFolder()) << c.path;
        EXPECT_STREQ(c.drive, (LPCTSTR)dlg.GetDrive()) << c.path;
    }
}

TEST(FileDlgEx, MultipleSelectionEntries)
{
    struct
    {
        const char* what;
        const char* buffer; // with its zero characters, up to the double zero
        size_t length;
        bool explorer;
        std::vector<std::string> paths;
    } cases[] = {
        {"explorer, two files", "C:\\dir\0a.jpg\0b.jpg\0", 19, true, {"C:\\dir\\a.jpg", "C:\\dir\\b.jpg"}},
        {"explorer, one file", "C:\\dir\\a.jpg\0", 13, true, {"C:\\dir\\a.jpg"}},
        {"explorer, folder with its backslash", "C:\\\0a.jpg\0", 10, true, {"C:\\a.jpg"}},
        {"explorer, folder with a slash", "Z:/x/\0a\0b\0", 10, true, {"Z:/x/a", "Z:/x/b"}},
        {"old style, two files", "C:\\dir a.jpg b.jpg", 18, false, {"C:\\dir\\a.jpg", "C:\\dir\\b.jpg"}},
        {"old style, one file", "C:\\dir\\a.jpg", 12, false, {"C:\\dir\\a.jpg"}},
    };
    for (const auto& c : cases) {
        char buffer[64] = {};
        memcpy(buffer, c.buffer, c.length);
        std::vector<std::string> paths;
        POSITION at = (POSITION)buffer;
        while (at != nullptr && paths.size() < 10)
            paths.push_back((LPCTSTR)CFileDlgEx::NextPathName(buffer, c.explorer, at));
        EXPECT_EQ(c.paths, paths) << c.what;
    }
}

// The edit box of the system's file dialog that takes the file name: the old dialog's
// own edit, or the edit inside the explorer dialog's name combo box.
HWND FileNameEdit(HWND dlg)
{
    if (HWND edit = ::GetDlgItem(dlg, 0x480 /* edt1 */))
        return edit;
    HWND combo = ::GetDlgItem(dlg, 0x47C /* cmb13 */);
    for (HWND w = combo; w != nullptr; w = ::GetWindow(w, GW_CHILD)) {
        char cls[32] = {};
        ::GetClassName(w, cls, sizeof cls);
        if (lstrcmpi(cls, "Edit") == 0)
            return w;
    }
    return nullptr;
}

// Types the name into that box as a person would.
bool TypeFileName(HWND dlg, const char* name)
{
    HWND edit = FileNameEdit(dlg);
    if (edit == nullptr)
        return false;
    ::SetWindowText(edit, "");
    TypeText(::GetParent(edit), ::GetDlgCtrlID(edit), name);
    return true;
}

std::string CurrentFolder()
{
    char folder[MAX_PATH];
    ::GetCurrentDirectory(MAX_PATH, folder);
    return folder;
}

TEST(FileDlgEx, TypedNameConfirmsWithPathAndTitle)
{
    const std::string expected = CurrentFolder() + "\\skin_typed_name.jpg";
    ::DeleteFile(expected.c_str());
    bool typed = false;
    DialogDriver driver([&](HWND dlg) {
        typed = TypeFileName(dlg, "skin_typed_name.jpg");
        Press(dlg, IDOK);
    });
    CFileDlgEx dlg(FALSE, nullptr, nullptr, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, "JPEG\0*.JPG\0");
    const INT_PTR result = dlg.DoModal();
    ASSERT_TRUE(typed) << "no file name box in the system's dialog";
    ASSERT_EQ(IDOK, result);
    EXPECT_STREQ(expected.c_str(), (LPCTSTR)dlg.GetPathName());
    EXPECT_STREQ("skin_typed_name.jpg", (LPCTSTR)dlg.GetFileTitle());
    EXPECT_STREQ("skin_typed_name", (LPCTSTR)dlg.GetFileName());
}

TEST(FileDlgEx, CancelLeavesTheBuffers)
{
    char buffer[MAX_PATH] = "keep.jpg";
    DialogDriver driver([&](HWND dlg) {
        EXPECT_TRUE(TypeFileName(dlg, "other.jpg"));
        Press(dlg, IDCANCEL);
    });
    CFileDlgEx dlg(FALSE, nullptr, buffer, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, "JPEG\0*.JPG\0");
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_TRUE(driver.Acted());
    EXPECT_STREQ("keep.jpg", buffer);
    EXPECT_STREQ("", (LPCTSTR)dlg.GetFileTitle());
}

TEST(FileDlgEx, FolderBrowserStartsAtTheFolderAndReturnsIt)
{
    // A folder of the prefix: the browser lists it at once (a folder under the Unix root
    // can keep it waiting for the root's volume).
    char windows[MAX_PATH];
    ::GetWindowsDirectory(windows, MAX_PATH);
    const std::string start = windows;
    struct
    {
        int button;
        INT_PTR result;
    } cases[] = {{IDOK, IDOK}, {IDCANCEL, IDCANCEL}};
    for (const auto& c : cases) {
        DialogDriver driver([&](HWND dlg) { Press(dlg, c.button); });
        CFileDlgEx dlg;
        EXPECT_EQ(c.result, dlg.BrowseForFolder("Pick a folder", start.c_str(), BIF_RETURNONLYFSDIRS));
        ASSERT_TRUE(driver.Acted());
        if (c.result == IDOK) {
            EXPECT_STREQ(start.c_str(), (LPCTSTR)dlg.GetFolderPath());
        }
    }
}

} // namespace
