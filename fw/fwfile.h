// Files: CFile (binary, over a Win32 handle), CStdioFile (text mode) and CArchive.
// Failures of the throwing calls surface as CFileException* (thrown by pointer).
#pragma once
#include "fw/fwobject.h"
#include "fw/fwstring.h"
#include "fw/fwexcept.h"
#include "fw/fwtime.h"
#include <stdio.h>

struct CFileStatus
{
    CTime m_ctime;
    CTime m_mtime;
    CTime m_atime;
    ULONGLONG m_size;
    BYTE m_attribute;
    char m_szFullName[MAX_PATH];
};

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };
    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE file);            // attaches; Close() closes it
    CFile(LPCSTR fileName, UINT openFlags); // throws CFileException*
    ~CFile() override;                      // closes without throwing

    // FALSE on failure, with the reason in *error when given.
    virtual BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = NULL);
    virtual void Close();                               // throws on a failed close
    virtual void Abort();                               // closes, ignoring errors
    virtual UINT Read(void* buffer, UINT count);        // bytes read; 0 at the end
    virtual void Write(const void* buffer, UINT count); // throws unless all were written
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG newLength);
    virtual void Flush();

    virtual CString GetFileName() const;  // name with extension
    virtual CString GetFileTitle() const; // name without extension
    virtual CString GetFilePath() const;
    void SetFilePath(LPCSTR path) { m_strFileName = path; }
    BOOL GetStatus(CFileStatus& status) const;
    static BOOL GetStatus(LPCSTR fileName, CFileStatus& status);

    static void Rename(LPCSTR oldName, LPCSTR newName); // throws CFileException*
    static void Remove(LPCSTR fileName);                // throws CFileException*

    operator HANDLE() const { return m_hFile; }

    HANDLE m_hFile;

protected:
    CString m_strFileName;
    BOOL m_bCloseOnDelete;
};

// Text file through the C runtime in text mode: a CR LF on disk reads as one line end and
// each "\n" written becomes CR LF.
class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    explicit CStdioFile(FILE* stream);           // attached; not closed by this object
    CStdioFile(LPCSTR fileName, UINT openFlags); // throws CFileException*
    ~CStdioFile() override;

    BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = NULL) override;
    void Close() override;
    void Abort() override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void Flush() override;

    // Writes the text; every "\n" becomes a line end (CR LF in text mode).
    virtual void WriteString(LPCSTR text);
    // Reads the next line without its line end. FALSE only at the end of the file with
    // nothing read; a last line without a line end is still returned.
    virtual BOOL ReadString(CString& line);
    // fgets-like: at most maxChars-1 characters, the "\n" kept; NULL at the end.
    virtual LPSTR ReadString(LPSTR buffer, UINT maxChars);

    FILE* m_pStream;

private:
    BOOL m_bOwnStream;
};

// Sequential store/load of values on a CFile. Numbers are little-endian; a CString is
// stored length-prefixed: one byte below 255, else 0xFF and a 16-bit length below 0xFFFF,
// else 0xFF 0xFFFF and a 32-bit length, then the ANSI bytes.
class CArchive
{
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };
    CArchive(CFile* file, UINT mode, int bufferSize = 4096, void* buffer = NULL);
    ~CArchive();

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }
    void Flush() {}
    void Close() { m_pFile = NULL; }
    void Abort() { m_pFile = NULL; }

    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    void WriteString(LPCSTR text);
    BOOL ReadString(CString& text);

    CArchive& operator<<(BYTE v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(WORD v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(LONG v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(DWORD v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(int v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(UINT v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(short v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(char v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(float v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(double v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(LONGLONG v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(ULONGLONG v)
    {
        Write(&v, sizeof v);
        return *this;
    }
    CArchive& operator<<(const CString& s);

    CArchive& operator>>(BYTE& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(WORD& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(LONG& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(DWORD& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(int& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(UINT& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(short& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(char& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(float& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(double& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(LONGLONG& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(ULONGLONG& v)
    {
        ReadExact(&v, sizeof v);
        return *this;
    }
    CArchive& operator>>(CString& s);

    void* m_pDocument; // the document being serialised, when there is one

private:
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    void ReadExact(void* buffer, UINT count); // throws CArchiveException* at the end
    CFile* m_pFile;
    UINT m_nMode;
};
