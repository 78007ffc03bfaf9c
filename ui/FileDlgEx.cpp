#include "ui/FileDlgEx.h"

#include "base/ComOwner.h"

#include <shlobj.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#ifndef _WIN64
static_assert(sizeof(OPENFILENAME) == 88 && offsetof(OPENFILENAME, lpTemplateName) + sizeof(LPCTSTR) == 76,
              "the two structure sizes of the 32-bit target");
#endif

CFileDlgEx::CFileDlgEx()
{
    memset(&m_ofn, 0, sizeof m_ofn);
    m_ofn.lpstrFile = m_file;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_title;
    m_ofn.nMaxFileTitle = MAX_PATH;
}

CFileDlgEx::CFileDlgEx(BOOL open, LPCTSTR defaultExt, LPTSTR fileBuffer, DWORD flags, LPCTSTR filter, CWnd* parent)
    : CFileDlgEx()
{
    m_bOpen = open;
    m_ofn.lpstrDefExt = defaultExt;
    if (fileBuffer != nullptr)
        m_ofn.lpstrFile = fileBuffer;
    m_ofn.Flags = flags | OFN_EXPLORER;
    m_ofn.lpstrFilter = filter;
    m_ofn.hwndOwner = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
}

DWORD CFileDlgEx::StructSizeFor(DWORD version)
{
    return LOBYTE(LOWORD(version)) < 5 ? (DWORD)OPENFILENAME_SIZE_VERSION_400 : (DWORD)sizeof(OPENFILENAME);
}

INT_PTR CFileDlgEx::DoModal()
{
    m_ofn.lStructSize = StructSizeFor(::GetVersion());
    // The system may write into the buffers before the user cancels.
    char file[MAX_PATH], title[MAX_PATH];
    memcpy(file, m_ofn.lpstrFile, MAX_PATH);
    memcpy(title, m_title, MAX_PATH);
    const BOOL confirmed = m_bOpen ? ::GetOpenFileName(&m_ofn) : ::GetSaveFileName(&m_ofn);
    if (confirmed)
        return IDOK;
    memcpy(m_ofn.lpstrFile, file, MAX_PATH);
    memcpy(m_title, title, MAX_PATH);
    return IDCANCEL;
}

void CFileDlgEx::Split(char* drive, char* dir, char* name, char* ext) const
{
    _splitpath(m_ofn.lpstrFile, drive, dir, name, ext);
}

CString CFileDlgEx::GetFileName() const
{
    char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
    Split(drive, dir, name, ext);
    return CString(name);
}

CString CFileDlgEx::GetFileExt() const
{
    char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
    Split(drive, dir, name, ext);
    return CString(ext);
}

CString CFileDlgEx::GetFolder() const
{
    char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
    Split(drive, dir, name, ext);
    return CString(drive) + dir;
}

CString CFileDlgEx::GetDrive() const
{
    char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
    Split(drive, dir, name, ext);
    return CString(drive);
}

CString CFileDlgEx::GetNextPathName(POSITION& position) const
{
    return NextPathName(m_ofn.lpstrFile, (m_ofn.Flags & OFN_EXPLORER) != 0, position);
}

CString CFileDlgEx::NextPathName(LPCTSTR buffer, bool explorer, POSITION& position)
{
    LPCTSTR at = (LPCTSTR)position;
    if (buffer == nullptr || at == nullptr) {
        position = nullptr;
        return CString();
    }
    const char separator = explorer ? '\0' : ' ';
    // The end of the first entry tells one file (the whole path) from several.
    LPCTSTR firstEnd = buffer;
    while (*firstEnd != '\0' && *firstEnd != separator)
        ++firstEnd;
    const bool several = explorer ? firstEnd[1] != '\0' : *firstEnd == ' ';
    if (!several) {
        position = nullptr;
        return CString(buffer);
    }
    if (at == buffer) // the first entry is the folder, not a file
        at = firstEnd + 1;
    LPCTSTR end = at;
    while (*end != '\0' && *end != separator)
        ++end;
    CString name(at, (int)(end - at));
    const bool last = explorer ? end[1] == '\0' : *end == '\0';
    position = last ? nullptr : (POSITION)(end + 1);

    CString folder(buffer, (int)(firstEnd - buffer));
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\' && folder[folder.GetLength() - 1] != '/')
        folder += '\\';
    return folder + name;
}

namespace {

int CALLBACK SelectStartFolder(HWND wnd, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data != 0)
        ::SendMessage(wnd, BFFM_SETSELECTION, TRUE, data);
    return 0;
}

} // namespace

INT_PTR CFileDlgEx::BrowseForFolder(LPCTSTR title, LPCTSTR startFolder, UINT flags, CWnd* parent)
{
    ComScope com = EnsureCom();
    BROWSEINFO info = {};
    info.hwndOwner = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    info.pszDisplayName = m_folder;
    info.lpszTitle = title;
    info.ulFlags = flags;
    if (startFolder != nullptr && startFolder[0] != '\0') {
        info.lpfn = &SelectStartFolder;
        info.lParam = (LPARAM)startFolder;
    }
    LPITEMIDLIST chosen = ::SHBrowseForFolder(&info);
    if (chosen == nullptr)
        return IDCANCEL;
    const BOOL read = ::SHGetPathFromIDList(chosen, m_folder);
    ::CoTaskMemFree(chosen); // the shell's allocator
    return read ? IDOK : IDCANCEL;
}
