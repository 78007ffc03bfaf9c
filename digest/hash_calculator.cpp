#include "digest/hash_calculator.h"

#include "digest/crc32.h"
#include "digest/gost.h"
#include "digest/md2.h"
#include "digest/md4.h"
#include "digest/md5.h"
#include "digest/sha1.h"
#include "digest/sha2.h"

#include <cstdio>
#include <string>

namespace {

const size_t kFileBlock = 16000;

CString ToHex(const uint8_t* bytes, size_t count)
{
    static const char kDigits[] = "0123456789abcdef";
    char text[2 * 64 + 1];
    size_t n = 0;
    for (size_t i = 0; i < count && i < 64; ++i) {
        text[n++] = kDigits[bytes[i] >> 4];
        text[n++] = kDigits[bytes[i] & 15];
    }
    text[n] = '\0';
    return CString(text);
}

} // namespace

CHashCalculator::CHashCalculator()
    : m_algorithm(AlgSHA1), m_outputFormat(LowerHex), m_source(SourceText), m_shaLength(256)
{}

void CHashCalculator::SetAlgorithm(int algorithm) { m_algorithm = algorithm; }

void CHashCalculator::SetOutputFormat(int format)
{
    m_outputFormat = (format >= LowerHex && format <= UpperHexBlanks) ? format : LowerHex;
}

void CHashCalculator::SetSource(int source)
{
    m_source = (source == SourceText || source == SourceFile) ? source : SourceText;
}

void CHashCalculator::SetFileName(const CString& path) { m_fileName = path; }

void CHashCalculator::SetShaLength(int bits) { m_shaLength = (bits == 256 || bits == 384 || bits == 512) ? bits : 256; }

void CHashCalculator::SetText(const CString& text)
{
    m_text.Empty();
    m_text = text;
}

template <class Update> bool CHashCalculator::FeedSource(Update update) const
{
    if (m_source != SourceFile) {
        update(reinterpret_cast<const uint8_t*>(static_cast<LPCTSTR>(m_text)),
               static_cast<uint32_t>(m_text.GetLength()));
        return true;
    }
    FILE* f = std::fopen(m_fileName, "rb");
    if (!f)
        return false;
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16); // fewer, larger reads from the system
    uint8_t block[kFileBlock];
    size_t got;
    do {
        got = std::fread(block, 1, kFileBlock, f);
        if (got > 0)
            update(block, static_cast<uint32_t>(got));
    } while (got == kFileBlock);
    // A read that fails half-way must not pass for the digest of a shorter file.
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

CString CHashCalculator::ComputeGost()
{
    if (NoFileNamed())
        return CString();
    GOST_CTX ctx;
    GostInit(&ctx);
    if (!FeedSource([&ctx](const uint8_t* p, uint32_t n) { GostUpdate(&ctx, p, n); }))
        return CString();
    uint8_t digest[32];
    GostFinal(&ctx, digest);
    return ToHex(digest, sizeof digest);
}

CString CHashCalculator::ComputeMD2()
{
    if (NoFileNamed())
        return CString();
    CMD2 md2;
    md2.Init();
    if (!FeedSource([&md2](const uint8_t* p, uint32_t n) { md2.Update(p, n); }))
        return CString();
    uint8_t digest[16];
    md2.Final(digest, sizeof digest);
    return ToHex(digest, sizeof digest);
}

CString CHashCalculator::ComputeMD4()
{
    if (NoFileNamed())
        return CString();
    MD4_CTX ctx;
    MD4Init(&ctx);
    if (!FeedSource([&ctx](const uint8_t* p, uint32_t n) { MD4Update(&ctx, p, n); }))
        return CString();
    uint8_t digest[16];
    MD4Final(digest, &ctx);
    return ToHex(digest, sizeof digest);
}

CString CHashCalculator::ComputeMD5()
{
    if (NoFileNamed())
        return CString();
    MD5_CTX ctx;
    if (m_source == SourceFile) {
        // An empty file is the empty message; only a file that cannot be read gives "".
        if (MD5File(m_fileName, 0, &ctx) < 0)
            return CString();
    } else {
        MD5Init(&ctx, 0);
        MD5Update(&ctx, static_cast<LPCTSTR>(m_text), static_cast<uint32_t>(m_text.GetLength()));
        MD5Final(&ctx);
    }
    return ToHex(ctx.digest, sizeof ctx.digest);
}

CString CHashCalculator::ComputeSHA1()
{
    if (NoFileNamed())
        return CString();
    SHA1_CTX ctx;
    SHA1Init(&ctx);
    if (!FeedSource([&ctx](const uint8_t* p, uint32_t n) { SHA1Update(p, n, &ctx); }))
        return CString();
    uint8_t digest[20];
    SHA1Final(digest, &ctx);
    return ToHex(digest, sizeof digest);
}

CString CHashCalculator::ComputeSHA2()
{
    if (NoFileNamed())
        return CString();
    SHA2_CTX ctx;
    if (SHA2Begin(static_cast<uint32_t>(m_shaLength), &ctx) != 0)
        return CString();
    if (!FeedSource([&ctx](const uint8_t* p, uint32_t n) { SHA2Hash(p, n, &ctx); }))
        return CString();
    uint8_t digest[64];
    SHA2End(digest, &ctx);
    return ToHex(digest, ctx.digestBytes);
}

CString CHashCalculator::Compute()
{
    m_result.Empty();
    switch (m_algorithm) {
    case AlgCrc32: {
        CCrc32 crc32;
        DWORD crc = 0;
        const DWORD rc = (m_source == SourceFile) ? crc32.FileCrc32(m_fileName, crc) : crc32.StringCrc32(m_text, crc);
        // A file that cannot be read gives "" as for every other algorithm, never the
        // CRC of an empty file.
        if (rc == CCrc32::kOk) {
            char text[9];
            std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(crc));
            m_result = text;
        }
        break;
    }
    case AlgGost:
        m_result = ComputeGost();
        break;
    case AlgMD2:
        m_result = ComputeMD2();
        break;
    case AlgMD4:
        m_result = ComputeMD4();
        break;
    case AlgMD5:
        m_result = ComputeMD5();
        break;
    case AlgSHA1:
        m_result = ComputeSHA1();
        break;
    case AlgSHA2:
        m_result = ComputeSHA2();
        break;
    default:
        break;
    }

    if (m_outputFormat == LowerHexBlanks || m_outputFormat == UpperHexBlanks) {
        // A blank after every pair of digits, the last pair included.
        const int length = m_result.GetLength();
        std::string spaced;
        spaced.reserve(static_cast<size_t>(length) * 3 / 2 + 1);
        for (int i = 0; i < length; ++i) {
            spaced += m_result[i];
            if (i % 2 == 1)
                spaced += ' ';
        }
        m_result = spaced.c_str();
    }
    if (m_outputFormat == UpperHex || m_outputFormat == UpperHexBlanks)
        m_result.MakeUpper();
    return m_result;
}
