#include "digest/sha1.h"
#include "digest/byteorder.h"

#include <cstring>

using namespace digest_bytes;

namespace {

#define SHA1_CH(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define SHA1_PARITY(x, y, z) ((x) ^ (y) ^ (z))
#define SHA1_MAJ(x, y, z) (((x) & (y)) | ((z) & ((x) | (y))))

// Message schedule over a ring of 16 words.
#define SHA1_W(i) \
    (i < 16 ? w[i] : (w[(i)&15] = Rotl32(w[((i)-3) & 15] ^ w[((i)-8) & 15] ^ w[((i)-14) & 15] ^ w[(i)&15], 1)))
#define SHA1_ROUND(f, k, a, b, c, d, e, i)            \
    e += Rotl32(a, 5) + f(b, c, d) + (k) + SHA1_W(i); \
    b = Rotl32(b, 30)
#define SHA1_ROUND5(f, k, i)                \
    SHA1_ROUND(f, k, a, b, c, d, e, i + 0); \
    SHA1_ROUND(f, k, e, a, b, c, d, i + 1); \
    SHA1_ROUND(f, k, d, e, a, b, c, i + 2); \
    SHA1_ROUND(f, k, c, d, e, a, b, i + 3); \
    SHA1_ROUND(f, k, b, c, d, e, a, i + 4)
#define SHA1_ROUND20(f, k, i)  \
    SHA1_ROUND5(f, k, i + 0);  \
    SHA1_ROUND5(f, k, i + 5);  \
    SHA1_ROUND5(f, k, i + 10); \
    SHA1_ROUND5(f, k, i + 15)

void Compress(uint32_t hash[5], const uint8_t* block)
{
    uint32_t w[16];
    for (int i = 0; i < 16; ++i)
        w[i] = LoadBE32(block + 4 * i);
    uint32_t a = hash[0], b = hash[1], c = hash[2], d = hash[3], e = hash[4];
    SHA1_ROUND20(SHA1_CH, 0x5a827999u, 0);
    SHA1_ROUND20(SHA1_PARITY, 0x6ed9eba1u, 20);
    SHA1_ROUND20(SHA1_MAJ, 0x8f1bbcdcu, 40);
    SHA1_ROUND20(SHA1_PARITY, 0xca62c1d6u, 60);
    hash[0] += a;
    hash[1] += b;
    hash[2] += c;
    hash[3] += d;
    hash[4] += e;
}

} // namespace

void SHA1Init(SHA1_CTX* ctx)
{
    ctx->count[0] = ctx->count[1] = 0;
    ctx->hash[0] = 0x67452301u;
    ctx->hash[1] = 0xefcdab89u;
    ctx->hash[2] = 0x98badcfeu;
    ctx->hash[3] = 0x10325476u;
    ctx->hash[4] = 0xc3d2e1f0u;
}

void SHA1Update(const void* bytes, uint32_t length, SHA1_CTX* ctx)
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

void SHA1Final(uint8_t out[20], SHA1_CTX* ctx)
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
    for (int i = 0; i < 5; ++i)
        StoreBE32(out + 4 * i, ctx->hash[i]);
}

void SHA1Digest(uint8_t out[20], const void* bytes, uint32_t length)
{
    SHA1_CTX ctx;
    SHA1Init(&ctx);
    SHA1Update(bytes, length, &ctx);
    SHA1Final(out, &ctx);
}
