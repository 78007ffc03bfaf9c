#include "model/swatches/SwatchFile.h"

#include "base/KeyStore.h"

#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const LPCTSTR kLineEnd = "\r\n"; // the file is text: CR LF, as the panels always wrote it

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsWholeNumber(const char* begin, const char* end)
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    if (begin < end && (*begin == '-' || *begin == '+'))
        ++begin;
    if (begin == end)
        return false;
    for (const char* p = begin; p < end; ++p)
        if (*p < '0' || *p > '9')
            return false;
    return true;
}

// The whole file, read without write access; false when it cannot be opened or read.
bool ReadWholeFile(LPCTSTR path, std::string& bytes)
{
    HANDLE file = ::CreateFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    bool ok = true;
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    ::CloseHandle(file);
    return ok;
}

// The lines as a text-mode reader gives them: split at LF, a CR before it dropped; a last
// line without a line end still counts.
std::vector<CString> SplitLines(const std::string& bytes)
{
    std::vector<CString> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            end = bytes.size();
        size_t len = end - start;
        if (len > 0 && bytes[start + len - 1] == '\r')
            --len;
        lines.push_back(CString(bytes.substr(start, len).c_str()));
        start = next;
    }
    return lines;
}

bool WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return bytes.empty() ||
           (::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size());
}

CString FolderOf(LPCTSTR path)
{
    CString p(path);
    int slash = p.ReverseFind('\\');
    int other = p.ReverseFind('/');
    if (other > slash)
        slash = other;
    return slash < 0 ? CString(".") : p.Left(slash);
}

} // namespace

CString SwatchFilePath()
{
    CString path;
    path.Format("%s\\swatches.txt", (LPCTSTR)GetDataFolder("swatches"));
    return path;
}

int SplitString(LPCTSTR text, int values[15], LPCTSTR separator, bool* allNumbers)
{
    const size_t sepLen = strlen(separator);
    int fields = 0;
    bool numbers = true;
    const char* p = text;
    for (;;) {
        const char* sep = sepLen == 0 ? nullptr : strstr(p, separator);
        const char* end = sep != nullptr ? sep : p + strlen(p);
        if (sep == nullptr && end == p)
            break; // nothing after the last separator
        if (fields < 15)
            values[fields] = atoi(std::string(p, end).c_str());
        numbers = numbers && IsWholeNumber(p, end);
        ++fields;
        if (sep == nullptr)
            break;
        p = sep + sepLen;
    }
    if (allNumbers != nullptr)
        *allNumbers = numbers;
    return fields;
}

CString SwatchLine(const SwatchRecord& r)
{
    // The file's order: colours 1, 2, 5, 3, 4.
    static const int kOrder[5] = {0, 1, 4, 2, 3};
    CString line;
    for (int i = 0; i < 5; ++i) {
        const COLORREF c = r.colour[kOrder[i]];
        CString part;
        part.Format(i == 0 ? "%d,%d,%d" : ",%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
        line += part;
    }
    return line;
}

bool ParseSwatchLine(const CString& line, SwatchRecord& record)
{
    int v[15] = {};
    bool numbers = false;
    if (SplitString(line, v, ",", &numbers) != 15 || !numbers)
        return false;
    record = SwatchRecord{};
    static const int kSlot[5] = {0, 1, 4, 2, 3}; // triple i holds colour kSlot[i] + 1
    for (int i = 0; i < 5; ++i)
        record.colour[kSlot[i]] = RGB(v[3 * i] & 0xFF, v[3 * i + 1] & 0xFF, v[3 * i + 2] & 0xFF);
    return true;
}

void LoadSwatches(CRecordMap& map, LPCTSTR path)
{
    map.RemoveAll();
    map.SetAt(BuiltInSwatch());
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return;
    DWORD key = 1;
    for (const CString& line : SplitLines(bytes)) {
        SwatchRecord r;
        if (!ParseSwatchLine(line, r))
            continue;
        r.id = key++;
        map.SetAt(r);
    }
}

SwatchWrite AppendSwatchLine(LPCTSTR path, const CString& line)
{
    HANDLE file = ::CreateFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return SwatchWrite::Failed;
    std::string bytes;
    bool ok = true;
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    SwatchWrite result = SwatchWrite::Failed;
    if (ok) {
        result = SwatchWrite::Unchanged;
        for (const CString& existing : SplitLines(bytes))
            if (existing == line)
                ok = false;
        if (ok) {
            std::string tail;
            if (!bytes.empty() && bytes.back() != '\n')
                tail = kLineEnd;
            tail += (LPCTSTR)line;
            tail += kLineEnd;
            LARGE_INTEGER zero = {};
            LARGE_INTEGER at = {};
            if (::SetFilePointerEx(file, zero, &at, FILE_END) && WriteAll(file, tail)) {
                result = SwatchWrite::Written;
            } else {
                // Cut back what part of the line went out: the file stays as it was.
                LARGE_INTEGER size;
                size.QuadPart = (LONGLONG)bytes.size();
                ::SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
                ::SetEndOfFile(file);
                result = SwatchWrite::Failed;
            }
        }
    }
    ::CloseHandle(file);
    return result;
}

SwatchWrite RemoveSwatchLine(LPCTSTR path, const CString& line)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return SwatchWrite::Failed;
    std::string kept;
    bool removed = false;
    for (const CString& existing : SplitLines(bytes)) {
        if (existing == line) {
            removed = true;
            continue;
        }
        kept += (LPCTSTR)existing;
        kept += kLineEnd;
    }
    if (!removed)
        return SwatchWrite::Unchanged;
    char temp[MAX_PATH];
    if (::GetTempFileName(FolderOf(path), "sw", 0, temp) == 0)
        return SwatchWrite::Failed;
    HANDLE file = ::CreateFile(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        ok = WriteAll(file, kept) && ::FlushFileBuffers(file);
        ok = ::CloseHandle(file) && ok;
    }
    if (ok)
        ok = ::MoveFileEx(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!ok) {
        ::DeleteFile(temp);
        return SwatchWrite::Failed;
    }
    return SwatchWrite::Written;
}
