// Digest throughput: hashes one large file with every algorithm through the calculator's
// file source and prints MB/s for each; then compares SHA-256 and MD5 on a memory buffer
// with plain portable C versions of the same algorithms.
//
//   digest_bench.exe [megabytes]     (default 256; the file is made in the current folder
//                                     as digest_bench.tmp and removed at the end)
#include "digest/hash_calculator.h"
#include "digest/md5.h"
#include "digest/sha2.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

void Fill(std::vector<uint8_t>& buf, size_t offset)
{
    for (size_t i = 0; i < buf.size(); ++i)
        buf[i] = static_cast<uint8_t>((static_cast<uint32_t>(offset + i) * 2654435761u) >> 24);
}

bool MakeFile(const char* path, size_t megabytes)
{
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    std::vector<uint8_t> chunk(1 << 20);
    bool ok = true;
    for (size_t m = 0; m < megabytes && ok; ++m) {
        Fill(chunk, m << 20);
        ok = std::fwrite(chunk.data(), 1, chunk.size(), f) == chunk.size();
    }
    return std::fclose(f) == 0 && ok;
}

// ---- Plain portable C references: textbook loops, no unrolling, bytes read one by one.

uint32_t Ror(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

void RefSha256(const uint8_t* p, size_t n, uint8_t out[32])
{
    static const uint32_t k[64] = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
        0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
        0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
        0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
        0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
        0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
        0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
    };
    uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    // Whole blocks only: the buffer is a multiple of 64 bytes, and the padding block
    // is the same work for both sides.
    for (size_t off = 0; off + 64 <= n; off += 64) {
        uint32_t w[64];
        for (int i = 0; i < 16; ++i) {
            const uint8_t* q = p + off + 4 * i;
            w[i] = (uint32_t)q[0] << 24 | (uint32_t)q[1] << 16 | (uint32_t)q[2] << 8 | q[3];
        }
        for (int i = 16; i < 64; ++i) {
            const uint32_t s0 = Ror(w[i - 15], 7) ^ Ror(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 = Ror(w[i - 2], 17) ^ Ror(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];
        for (int i = 0; i < 64; ++i) {
            const uint32_t t1 = hh + (Ror(e, 6) ^ Ror(e, 11) ^ Ror(e, 25)) + ((e & f) ^ (~e & g)) + k[i] + w[i];
            const uint32_t t2 = (Ror(a, 2) ^ Ror(a, 13) ^ Ror(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            hh = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
        h[4] += e;
        h[5] += f;
        h[6] += g;
        h[7] += hh;
    }
    for (int i = 0; i < 8; ++i) {
        out[4 * i] = (uint8_t)(h[i] >> 24);
        out[4 * i + 1] = (uint8_t)(h[i] >> 16);
        out[4 * i + 2] = (uint8_t)(h[i] >> 8);
        out[4 * i + 3] = (uint8_t)h[i];
    }
}

void RefMd5(const uint8_t* p, size_t n, uint8_t out[16])
{
    static const int s[64] = {7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 5,  9,  14, 20, 5,  9,
                              14, 20, 5,  9,  14, 20, 5,  9,  14, 20, 4,  11, 16, 23, 4,  11, 16, 23, 4,  11, 16, 23,
                              4,  11, 16, 23, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21};
    static const uint32_t k[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
        0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
        0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
        0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
        0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
        0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
        0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
    };
    uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (size_t off = 0; off + 64 <= n; off += 64) {
        uint32_t m[16];
        for (int i = 0; i < 16; ++i) {
            const uint8_t* q = p + off + 4 * i;
            m[i] = q[0] | (uint32_t)q[1] << 8 | (uint32_t)q[2] << 16 | (uint32_t)q[3] << 24;
        }
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
        for (int i = 0; i < 64; ++i) {
            uint32_t f;
            int g;
            if (i < 16) {
                f = (b & c) | (~b & d);
                g = i;
            } else if (i < 32) {
                f = (d & b) | (~d & c);
                g = (5 * i + 1) & 15;
            } else if (i < 48) {
                f = b ^ c ^ d;
                g = (3 * i + 5) & 15;
            } else {
                f = c ^ (b | ~d);
                g = (7 * i) & 15;
            }
            const uint32_t t = d;
            d = c;
            c = b;
            const uint32_t x = a + f + k[i] + m[g];
            b = b + ((x << s[i]) | (x >> (32 - s[i])));
            a = t;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
    }
    for (int i = 0; i < 16; ++i)
        out[i] = (uint8_t)(h[i / 4] >> (8 * (i % 4)));
}

double MBps(size_t bytes, double seconds)
{
    return seconds > 0 ? static_cast<double>(bytes) / (1024.0 * 1024.0) / seconds : 0.0;
}

// Best of three runs of fn over the buffer.
template <class Fn> double BestMBps(size_t bytes, Fn fn)
{
    double best = 1e30;
    for (int run = 0; run < 3; ++run) {
        const double t0 = Now();
        fn();
        const double t = Now() - t0;
        if (t < best)
            best = t;
    }
    return MBps(bytes, best);
}

} // namespace

int main(int argc, char** argv)
{
    size_t megabytes = 256;
    if (argc > 1 && std::atoi(argv[1]) > 0)
        megabytes = static_cast<size_t>(std::atoi(argv[1]));
    const char* path = "digest_bench.tmp";
    const size_t bytes = megabytes << 20;

    std::printf("Digest benchmark: %u MB file through the file source\n", static_cast<unsigned>(megabytes));
    double t0 = Now();
    if (!MakeFile(path, megabytes)) {
        std::printf("cannot write %s\n", path);
        return 1;
    }
    std::printf("  (file written in %.1f s)\n", Now() - t0);

    static const struct
    {
        const char* name;
        int algorithm;
        int shaLength;
    } rows[] = {
        {"CRC-32", 1, 256}, {"GOST R 34.11-94", 2, 256}, {"MD2", 3, 256},     {"MD4", 4, 256},     {"MD5", 5, 256},
        {"SHA-1", 6, 256},  {"SHA-256", 7, 256},         {"SHA-384", 7, 384}, {"SHA-512", 7, 512},
    };
    int failures = 0;
    for (const auto& r : rows) {
        CHashCalculator calc;
        calc.SetAlgorithm(r.algorithm);
        calc.SetShaLength(r.shaLength);
        calc.SetSource(2);
        calc.SetFileName(path);
        t0 = Now();
        const CString digest = calc.Compute();
        const double t = Now() - t0;
        if (digest.IsEmpty())
            ++failures;
        std::printf("%-16s %8.1f MB/s  %.16s...\n", r.name, MBps(bytes, t), (LPCTSTR)digest);
        std::fflush(stdout);
    }
    std::remove(path);

    // In memory, whole blocks only: the library's update against the plain loops.
    const size_t memBytes = (megabytes < 64 ? megabytes : 64) << 20;
    std::vector<uint8_t> buf(memBytes);
    Fill(buf, 0);
    uint8_t ref[32], lib[32];
    std::printf("\nIn memory, %u MB (best of 3):      library   plain C   ratio\n",
                static_cast<unsigned>(memBytes >> 20));
    {
        SHA256_CTX ctx;
        const double libRate = BestMBps(memBytes, [&] {
            SHA256Init(&ctx);
            SHA256Update(buf.data(), static_cast<uint32_t>(memBytes), &ctx);
        });
        const double refRate = BestMBps(memBytes, [&] { RefSha256(buf.data(), memBytes, ref); });
        for (int i = 0; i < 8; ++i)
            reinterpret_cast<uint32_t*>(lib)[i] = __builtin_bswap32(ctx.hash[i]);
        const bool same = std::memcmp(lib, ref, 32) == 0;
        failures += same ? 0 : 1;
        std::printf("%-33s %8.1f  %8.1f   %5.2f%s\n", "SHA-256", libRate, refRate, libRate / refRate,
                    same ? "" : "  (state differs!)");
    }
    {
        MD5_CTX ctx;
        const double libRate = BestMBps(memBytes, [&] {
            MD5Init(&ctx, 0);
            MD5Update(&ctx, buf.data(), static_cast<uint32_t>(memBytes));
        });
        const double refRate = BestMBps(memBytes, [&] { RefMd5(buf.data(), memBytes, ref); });
        const bool same = std::memcmp(ctx.state, ref, 16) == 0;
        failures += same ? 0 : 1;
        std::printf("%-33s %8.1f  %8.1f   %5.2f%s\n", "MD5", libRate, refRate, libRate / refRate,
                    same ? "" : "  (state differs!)");
    }
    return failures == 0 ? 0 : 1;
}
