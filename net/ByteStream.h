// A byte stream over either a runtime file stream or a growing memory buffer, with the
// runtime's file functions as its operations. It carries the bodies of web service replies.
//
// The rules it keeps: every size is checked before it is added or multiplied, so no sum
// wraps; a memory stream never grows past kMaxMemory; a handed-in file or buffer is the
// caller's, so Close refuses it and a handed-in buffer is never reallocated; operations on
// a closed stream fail (-1, or 0 for counts).
#pragma once
#include <windows.h>

#include <cstdio>

class CByteStream
{
public:
    enum Mode { kFileStream = 0, kMemory = 1 };
    // The largest memory stream.
    static constexpr int kMaxMemory = 0x7FFFF000;
    static constexpr int kGrowStep = 4096;

    explicit CByteStream(int mode = kMemory);
    // Attaches an open file stream; the caller closes it.
    explicit CByteStream(FILE* file);
    // Attaches a buffer of size bytes (position 0, length and capacity size); the caller frees it.
    CByteStream(void* buffer, int size);
    ~CByteStream();
    CByteStream(const CByteStream&) = delete;
    CByteStream& operator=(const CByteStream&) = delete;

    // File mode: fopen(path, modeText). Memory mode: an empty buffer. An open stream
    // returns its handle unchanged; null when the file cannot be opened.
    void* Open(LPCSTR path = nullptr, LPCSTR modeText = nullptr);
    // 0 when closed; -1 for an attached or closed stream.
    int Close();

    // Whole items read; 0 at the end, for a size x count of 0 or one that overflows.
    size_t Read(void* buffer, size_t size, size_t count);
    // count when written; 0 when the stream could not hold it.
    size_t Write(const void* buffer, size_t size, size_t count);
    // origin SEEK_SET, SEEK_CUR or SEEK_END; 0, or -1 with the position kept.
    int Seek(long offset, int origin);
    long Tell();
    int GetPos(__int64* pos);
    long Length();
    int Flush();
    int Eof();
    int Error();
    // The byte written, or -1.
    int PutByte(int byte);
    // The byte at the position, which does not move; -1 at or past the end.
    int GetByte();
    // Memory mode: capacity for size bytes, grown in steps of kGrowStep. 0, or -1 when the
    // size is beyond kMaxMemory or the memory cannot be had (the buffer is then kept).
    int Reserve(size_t size);

    bool IsOpen() const { return m_handle != nullptr; }
    int GetMode() const { return m_mode; }
    // Memory mode: the bytes, their count and the room allocated.
    const BYTE* GetData() const { return static_cast<const BYTE*>(m_handle); }
    int GetLength() const { return m_length; }
    int GetCapacity() const { return m_capacity; }
    int GetPosition() const { return m_position; }

private:
    FILE* File() const { return static_cast<FILE*>(m_handle); }

    void* m_handle = nullptr;
    int m_mode = kMemory;
    int m_position = 0;
    int m_length = 0;
    int m_capacity = 0;
    int m_attached = 0;
};
