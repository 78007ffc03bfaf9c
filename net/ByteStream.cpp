#include "net/ByteStream.h"

#include <cstdlib>
#include <cstring>

namespace {

// a x b when it fits in an int no larger than the limit; -1 otherwise.
long long CheckedProduct(size_t a, size_t b, long long limit)
{
    if (a != 0 && b > (size_t)limit / a)
        return -1;
    const long long product = (long long)(a * b);
    return product <= limit ? product : -1;
}

} // namespace

CByteStream::CByteStream(int mode) : m_mode(mode == kFileStream ? kFileStream : kMemory) {}

CByteStream::CByteStream(FILE* file) : m_handle(file), m_mode(kFileStream), m_attached(file != nullptr ? 1 : 0) {}

CByteStream::CByteStream(void* buffer, int size) : m_handle(buffer), m_mode(kMemory)
{
    if (buffer == nullptr || size < 0)
        size = 0;
    m_length = m_capacity = size;
    m_attached = buffer != nullptr ? 1 : 0;
}

CByteStream::~CByteStream()
{
    if (!m_attached)
        Close();
}

void* CByteStream::Open(LPCSTR path, LPCSTR modeText)
{
    if (m_handle != nullptr)
        return m_handle;
    if (m_mode == kFileStream) {
        if (path == nullptr)
            return nullptr;
        m_handle = std::fopen(path, modeText != nullptr ? modeText : "rb");
        return m_handle;
    }
    m_handle = std::malloc(1);
    m_position = m_length = m_capacity = 0;
    return m_handle;
}

int CByteStream::Close()
{
    if (m_handle == nullptr || m_attached)
        return -1;
    int result = 0;
    if (m_mode == kFileStream)
        result = std::fclose(File());
    else
        std::free(m_handle);
    m_handle = nullptr;
    m_position = m_length = m_capacity = 0;
    return result;
}

size_t CByteStream::Read(void* buffer, size_t size, size_t count)
{
    if (m_handle == nullptr || buffer == nullptr)
        return 0;
    if (m_mode == kFileStream)
        return std::fread(buffer, size, count, File());
    const long long wanted = CheckedProduct(size, count, kMaxMemory);
    if (wanted <= 0 || m_position >= m_length)
        return 0;
    const int left = m_length - m_position;
    const int n = wanted < left ? (int)wanted : left;
    std::memcpy(buffer, GetData() + m_position, (size_t)n);
    m_position += n;
    return (size_t)n / size;
}

size_t CByteStream::Write(const void* buffer, size_t size, size_t count)
{
    if (m_handle == nullptr || (buffer == nullptr && size != 0 && count != 0))
        return 0;
    if (m_mode == kFileStream)
        return std::fwrite(buffer, size, count, File());
    const long long n = CheckedProduct(size, count, kMaxMemory);
    if (n < 0 || n > (long long)kMaxMemory - m_position)
        return 0;
    if (n == 0)
        return count;
    const int end = m_position + (int)n;
    if (end > m_capacity && Reserve((size_t)end) != 0)
        return 0;
    // A write after a seek past the end leaves zeros in the gap, not old heap bytes.
    if (m_position > m_length)
        std::memset(static_cast<BYTE*>(m_handle) + m_length, 0, (size_t)(m_position - m_length));
    std::memcpy(static_cast<BYTE*>(m_handle) + m_position, buffer, (size_t)n);
    m_position = end;
    if (m_length < m_position)
        m_length = m_position;
    return count;
}

int CByteStream::Seek(long offset, int origin)
{
    if (m_handle == nullptr)
        return -1;
    if (m_mode == kFileStream)
        return std::fseek(File(), offset, origin);
    long long base = 0;
    if (origin == SEEK_CUR)
        base = m_position;
    else if (origin == SEEK_END)
        base = m_length;
    else if (origin != SEEK_SET)
        return -1;
    const long long target = base + offset;
    if (target < 0 || target > kMaxMemory)
        return -1;
    m_position = (int)target;
    return 0;
}

long CByteStream::Tell()
{
    if (m_handle == nullptr)
        return -1;
    return m_mode == kFileStream ? std::ftell(File()) : m_position;
}

int CByteStream::GetPos(__int64* pos)
{
    if (m_handle == nullptr || pos == nullptr)
        return -1;
    if (m_mode == kFileStream) {
        const __int64 at = _ftelli64(File());
        if (at < 0)
            return -1;
        *pos = at;
        return 0;
    }
    *pos = m_position;
    return 0;
}

long CByteStream::Length()
{
    if (m_handle == nullptr)
        return -1;
    if (m_mode == kMemory)
        return m_length;
    const long at = std::ftell(File());
    if (at < 0 || std::fseek(File(), 0, SEEK_END) != 0)
        return -1;
    const long length = std::ftell(File());
    std::fseek(File(), at, SEEK_SET);
    return length;
}

int CByteStream::Flush()
{
    if (m_handle == nullptr)
        return -1;
    return m_mode == kFileStream ? std::fflush(File()) : 0;
}

int CByteStream::Eof()
{
    if (m_handle == nullptr)
        return -1;
    return m_mode == kFileStream ? std::feof(File()) : (m_position >= m_length ? 1 : 0);
}

int CByteStream::Error()
{
    if (m_handle == nullptr)
        return -1;
    return m_mode == kFileStream ? std::ferror(File()) : (m_position >= m_length ? 1 : 0);
}

int CByteStream::PutByte(int byte)
{
    if (m_handle == nullptr)
        return -1;
    if (m_mode == kFileStream)
        return std::fputc(byte, File());
    const BYTE b = (BYTE)byte;
    return Write(&b, 1, 1) == 1 ? b : -1;
}

int CByteStream::GetByte()
{
    if (m_handle == nullptr)
        return -1;
    if (m_mode == kFileStream)
        return std::fgetc(File());
    if (m_position >= m_length)
        return -1;
    return GetData()[m_position];
}

int CByteStream::Reserve(size_t size)
{
    if (m_handle == nullptr)
        return -1;
    if (m_mode == kFileStream)
        return 0;
    if (size > (size_t)kMaxMemory)
        return -1;
    if ((int)size <= m_capacity)
        return 0;
    // A buffer handed in is the caller's: it is never moved.
    if (m_attached)
        return -1;
    long long capacity = m_capacity;
    while (capacity < (long long)size)
        capacity += kGrowStep;
    if (capacity > kMaxMemory)
        capacity = kMaxMemory;
    void* grown = std::realloc(m_handle, (size_t)capacity);
    if (grown == nullptr)
        return -1;
    m_handle = grown;
    m_capacity = (int)capacity;
    return 0;
}
