#include "digest/sha2.h"
#include "digest/byteorder.h"

#include <cstring>

using namespace digest_bytes;

namespace {

const uint32_t K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

#define S256_SIG0(x) (Rotr32(x, 2) ^ Rotr32(x, 13) ^ Rotr32(x, 22))
#define S256_SIG1(x) (Rotr32(x, 6) ^ Rotr32(x, 11) ^ Rotr32(x, 25))
#define S256_sig0(x) (Rotr32(x, 7) ^ Rotr32(x, 18) ^ ((x) >> 3))
#define S256_sig1(x) (Rotr32(x, 17) ^ Rotr32(x, 19) ^ ((x) >> 10))
#define S256_CH(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define S256_MAJ(x, y, z) (((x) & (y)) | ((z) & ((x) | (y))))

// The schedule lives in a ring of 16 words; i is a constant in every expansion.
#define S256_W(i) \
    ((i) < 16 ? w[(i)&15] : (w[(i)&15] += S256_sig1(w[((i)-2) & 15]) + w[((i)-7) & 15] + S256_sig0(w[((i)-15) & 15])))
#define S256_ROUND(a, b, c, d, e, f, g, h, i)                                       \
    {                                                                               \
        const uint32_t t1 = h + S256_SIG1(e) + S256_CH(e, f, g) + K[i] + S256_W(i); \
        d += t1;                                                                    \
        h = t1 + S256_SIG0(a) + S256_MAJ(a, b, c);                                  \
    }
#define S256_ROUND8(i)                          \
    S256_ROUND(a, b, c, d, e, f, g, h, (i) + 0) \
    S256_ROUND(h, a, b, c, d, e, f, g, (i) + 1) \
    S256_ROUND(g, h, a, b, c, d, e, f, (i) + 2) \
    S256_ROUND(f, g, h, a, b, c, d, e, (i) + 3) \
    S256_ROUND(e, f, g, h, a, b, c, d, (i) + 4) \
    S256_ROUND(d, e, f, g, h, a, b, c, (i) + 5) \
    S256_ROUND(c, d, e, f, g, h, a, b, (i) + 6) \
    S256_ROUND(b, c, d, e, f, g, h, a, (i) + 7)

void Compress(uint32_t hash[8], const uint8_t* block)
{
    uint32_t w[16];
    for (int i = 0; i < 16; ++i)
        w[i] = LoadBE32(block + 4 * i);
    uint32_t a = hash[0], b = hash[1], c = hash[2], d = hash[3];
    uint32_t e = hash[4], f = hash[5], g = hash[6], h = hash[7];
    S256_ROUND8(0)
    S256_ROUND8(8)
    S256_ROUND8(16)
    S256_ROUND8(24)
    S256_ROUND8(32)
    S256_ROUND8(40)
    S256_ROUND8(48)
    S256_ROUND8(56)
    hash[0] += a;
    hash[1] += b;
    hash[2] += c;
    hash[3] += d;
    hash[4] += e;
    hash[5] += f;
    hash[6] += g;
    hash[7] += h;
}

} // namespace

void SHA256Init(SHA256_CTX* ctx)
{
    static const uint32_t kStart[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    ctx->count[0] = ctx->count[1] = 0;
    std::memcpy(ctx->hash, kStart, sizeof kStart);
}

void SHA256Update(const void* bytes, uint32_t length, SHA256_CTX* ctx)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    uint8_t* buf = reinterpret_cast<uint8_t*>(ctx->buffer);
    uint32_t have = ctx->count[0] & 63;
    if ((ctx->count[0] += length) < length)
        ++ctx->count[1];

    if (have > 0) {
        const uint32_t take = length < 64 - have ? length : 64 - have;
        std::memcpy(buf + have, p, take);
        have += take;
        p += take;
        length -= take;
        if (have < 64)
            return;
        Compress(ctx->hash, buf);
    }
    for (; length >= 64; p += 64, length -= 64)
        Compress(ctx->hash, p);
    std::memcpy(buf, p, length);
}

void SHA256Final(uint8_t out[32], SHA256_CTX* ctx)
{
    uint8_t* buf = reinterpret_cast<uint8_t*>(ctx->buffer);
    uint32_t have = ctx->count[0] & 63;
    buf[have++] = 0x80;
    if (have > 56) {
        std::memset(buf + have, 0, 64 - have);
        Compress(ctx->hash, buf);
        have = 0;
    }
    std::memset(buf + have, 0, 56 - have);
    StoreBE32(buf + 56, ctx->count[1] << 3 | ctx->count[0] >> 29);
    StoreBE32(buf + 60, ctx->count[0] << 3);
    Compress(ctx->hash, buf);
    for (int i = 0; i < 8; ++i)
        StoreBE32(out + 4 * i, ctx->hash[i]);
}

void SHA256Digest(uint8_t out[32], const void* bytes, uint32_t length)
{
    SHA256_CTX ctx;
    SHA256Init(&ctx);
    SHA256Update(bytes, length, &ctx);
    SHA256Final(out, &ctx);
}
