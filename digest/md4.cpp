#include "digest/md4.h"
#include "digest/byteorder.h"

#include <cstring>

using namespace digest_bytes;

#define MD4_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define MD4_G(x, y, z) (((x) & (y)) | ((z) & ((x) | (y))))
#define MD4_H(x, y, z) ((x) ^ (y) ^ (z))
#define MD4_STEP(f, a, b, c, d, x, s) (a) = Rotl32((a) + f((b), (c), (d)) + (x), (s))

void MD4Transform(uint32_t state[4], const uint8_t block[64])
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = LoadLE32(block + 4 * i);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    for (int i = 0; i < 16; i += 4) {
        MD4_STEP(MD4_F, a, b, c, d, x[i + 0], 3);
        MD4_STEP(MD4_F, d, a, b, c, x[i + 1], 7);
        MD4_STEP(MD4_F, c, d, a, b, x[i + 2], 11);
        MD4_STEP(MD4_F, b, c, d, a, x[i + 3], 19);
    }
    for (int i = 0; i < 4; ++i) {
        MD4_STEP(MD4_G, a, b, c, d, x[i + 0] + 0x5a827999u, 3);
        MD4_STEP(MD4_G, d, a, b, c, x[i + 4] + 0x5a827999u, 5);
        MD4_STEP(MD4_G, c, d, a, b, x[i + 8] + 0x5a827999u, 9);
        MD4_STEP(MD4_G, b, c, d, a, x[i + 12] + 0x5a827999u, 13);
    }
    static const int kOrder[4] = {0, 2, 1, 3};
    for (int k = 0; k < 4; ++k) {
        const int i = kOrder[k];
        MD4_STEP(MD4_H, a, b, c, d, x[i + 0] + 0x6ed9eba1u, 3);
        MD4_STEP(MD4_H, d, a, b, c, x[i + 8] + 0x6ed9eba1u, 9);
        MD4_STEP(MD4_H, c, d, a, b, x[i + 4] + 0x6ed9eba1u, 11);
        MD4_STEP(MD4_H, b, c, d, a, x[i + 12] + 0x6ed9eba1u, 15);
    }

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

void MD4Init(MD4_CTX* ctx)
{
    ctx->state[0] = 0x67452301u;
    ctx->state[1] = 0xefcdab89u;
    ctx->state[2] = 0x98badcfeu;
    ctx->state[3] = 0x10325476u;
    ctx->count[0] = ctx->count[1] = 0;
}

void MD4Update(MD4_CTX* ctx, const void* bytes, uint32_t length)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    uint32_t have = (ctx->count[0] >> 3) & 63;
    const uint32_t bits = length << 3;
    if ((ctx->count[0] += bits) < bits)
        ++ctx->count[1];
    ctx->count[1] += length >> 29;

    if (have > 0) {
        const uint32_t take = length < 64 - have ? length : 64 - have;
        std::memcpy(ctx->buffer + have, p, take);
        have += take;
        p += take;
        length -= take;
        if (have < 64)
            return;
        MD4Transform(ctx->state, ctx->buffer);
    }
    for (; length >= 64; p += 64, length -= 64)
        MD4Transform(ctx->state, p);
    std::memcpy(ctx->buffer, p, length);
}

void MD4Final(uint8_t out[16], MD4_CTX* ctx)
{
    uint8_t bits[8];
    for (int i = 0; i < 2; ++i)
        StoreLE32(bits + 4 * i, ctx->count[i]);
    static const uint8_t kPad[64] = {0x80};
    const uint32_t have = (ctx->count[0] >> 3) & 63;
    MD4Update(ctx, kPad, have < 56 ? 56 - have : 120 - have);
    MD4Update(ctx, bits, 8);
    for (int i = 0; i < 4; ++i)
        StoreLE32(out + 4 * i, ctx->state[i]);
    std::memset(ctx, 0, sizeof *ctx);
}
