#include "digest/gost.h"
#include "digest/byteorder.h"

#include <cstring>

using namespace digest_bytes;

namespace {

// The standard's test parameter set; row 0 serves the least significant nibble.
const uint8_t kSBox[8][16] = {
    {4, 10, 9, 2, 13, 8, 0, 14, 6, 11, 1, 12, 7, 15, 5, 3}, {14, 11, 4, 12, 6, 13, 15, 10, 2, 3, 8, 1, 0, 7, 5, 9},
    {5, 8, 1, 13, 10, 3, 4, 2, 14, 15, 12, 7, 6, 0, 9, 11}, {7, 13, 10, 1, 0, 8, 9, 15, 14, 4, 6, 12, 11, 2, 5, 3},
    {6, 12, 7, 1, 5, 15, 13, 8, 4, 10, 9, 14, 0, 3, 11, 2}, {4, 11, 10, 0, 7, 2, 1, 13, 3, 6, 8, 5, 9, 12, 15, 14},
    {13, 11, 4, 1, 3, 15, 5, 9, 0, 10, 14, 7, 6, 8, 2, 12}, {1, 15, 13, 0, 5, 7, 10, 4, 9, 2, 3, 14, 6, 11, 8, 12},
};

// One table per byte of the round value: both S-box outputs of that byte, already at
// their place in the word and rotated left by 11, so a round is four look-ups.
uint32_t g_table[4][256];

// The constant added to the key-schedule value before the third key.
const uint32_t kC3[8] = {0xff00ff00, 0xff00ff00, 0x00ff00ff, 0x00ff00ff,
                         0x00ffff00, 0xff0000ff, 0x000000ff, 0xff00ffff};

inline uint32_t Round(uint32_t x)
{
    return g_table[0][x & 0xFF] ^ g_table[1][(x >> 8) & 0xFF] ^ g_table[2][(x >> 16) & 0xFF] ^ g_table[3][x >> 24];
}

// GOST 28147-89 encryption of one 64-bit block (low word first) under a 256-bit key.
void Encrypt(const uint32_t key[8], const uint32_t in[2], uint32_t out[2])
{
    uint32_t n1 = in[0], n2 = in[1];
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i < 8; i += 2) {
            n2 ^= Round(n1 + key[i]);
            n1 ^= Round(n2 + key[i + 1]);
        }
    }
    for (int i = 7; i > 0; i -= 2) {
        n2 ^= Round(n1 + key[i]);
        n1 ^= Round(n2 + key[i - 1]);
    }
    // The last round does not swap the halves.
    out[0] = n2;
    out[1] = n1;
}

// The byte permutation that turns the key-schedule value into a cipher key:
// byte i of key word k is byte 8i + k of w.
void MakeKey(const uint32_t w[8], uint32_t key[8])
{
    for (int k = 0; k < 8; ++k) {
        const int word = k >> 2, shift = 8 * (k & 3);
        key[k] = ((w[word] >> shift) & 0xFF) | (((w[word + 2] >> shift) & 0xFF) << 8) |
                 (((w[word + 4] >> shift) & 0xFF) << 16) | (((w[word + 6] >> shift) & 0xFF) << 24);
    }
}

// The mixing map psi is a linear feedback shift over 16-bit words: applying it n times
// to y[0..15] appends n words, and the result is y[n..n+15].
void Shift16(uint16_t* y, int n)
{
    for (int t = 0; t < n; ++t)
        y[16 + t] = y[t] ^ y[t + 1] ^ y[t + 2] ^ y[t + 3] ^ y[t + 12] ^ y[t + 15];
}

void Split16(const uint32_t w[8], uint16_t* y)
{
    for (int i = 0; i < 8; ++i) {
        y[2 * i] = static_cast<uint16_t>(w[i]);
        y[2 * i + 1] = static_cast<uint16_t>(w[i] >> 16);
    }
}

} // namespace

void GostInitTables()
{
    // Built once per process, thread-safe, before the first digest reads them.
    static const bool built = [] {
        for (int k = 0; k < 4; ++k) {
            for (int a = 0; a < 16; ++a) {
                for (int b = 0; b < 16; ++b) {
                    const uint32_t v = static_cast<uint32_t>(kSBox[2 * k + 1][a] << 4 | kSBox[2 * k][b]) << (8 * k);
                    g_table[k][a * 16 + b] = Rotl32(v, 11);
                }
            }
        }
        return true;
    }();
    (void)built;
}

void GostCompress(uint32_t hash[8], const uint32_t block[8])
{
    uint32_t u[8], v[8], w[8], key[8], s[8];
    std::memcpy(u, hash, sizeof u);
    std::memcpy(v, block, sizeof v);
    for (int i = 0; i < 8; i += 2) {
        for (int j = 0; j < 8; ++j)
            w[j] = u[j] ^ v[j];
        MakeKey(w, key);
        Encrypt(key, hash + i, s + i);
        if (i == 6)
            break;
        // u = A(u), v = A(A(v)), where A(y4|y3|y2|y1) = (y1^y2)|y4|y3|y2 on 64-bit parts.
        const uint32_t a0 = u[0] ^ u[2], a1 = u[1] ^ u[3];
        std::memmove(u, u + 2, 6 * sizeof(uint32_t));
        u[6] = a0;
        u[7] = a1;
        if (i == 2) {
            for (int j = 0; j < 8; ++j)
                u[j] ^= kC3[j];
        }
        const uint32_t b0 = v[0] ^ v[2], b1 = v[1] ^ v[3], b2 = v[2] ^ v[4], b3 = v[3] ^ v[5];
        v[0] = v[4];
        v[1] = v[5];
        v[2] = v[6];
        v[3] = v[7];
        v[4] = b0;
        v[5] = b1;
        v[6] = b2;
        v[7] = b3;
    }

    // hash = psi^61(hash ^ psi(block ^ psi^12(s)))
    uint16_t y[16 + 61], m[16], h[16];
    Split16(s, y);
    Shift16(y, 12);
    Split16(block, m);
    for (int j = 0; j < 16; ++j)
        y[j] = y[12 + j] ^ m[j];
    Shift16(y, 1);
    Split16(hash, h);
    for (int j = 0; j < 16; ++j)
        y[j] = y[1 + j] ^ h[j];
    Shift16(y, 61);
    for (int j = 0; j < 8; ++j)
        hash[j] = y[61 + 2 * j] | static_cast<uint32_t>(y[62 + 2 * j]) << 16;
}

void GostInit(GOST_CTX* ctx)
{
    GostInitTables();
    std::memset(ctx, 0, sizeof *ctx);
}

void GostHashBlock(GOST_CTX* ctx, const uint8_t block[32], uint32_t bits)
{
    uint32_t m[8];
    uint64_t carry = 0;
    for (int i = 0; i < 8; ++i) {
        m[i] = LoadLE32(block + 4 * i);
        carry += static_cast<uint64_t>(ctx->sum[i]) + m[i];
        ctx->sum[i] = static_cast<uint32_t>(carry);
        carry >>= 32;
    }
    GostCompress(ctx->hash, m);
    const uint64_t len = (static_cast<uint64_t>(ctx->len[1]) << 32 | ctx->len[0]) + bits;
    ctx->len[0] = static_cast<uint32_t>(len);
    ctx->len[1] = static_cast<uint32_t>(len >> 32);
}

void GostUpdate(GOST_CTX* ctx, const void* bytes, uint32_t length)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    const uint32_t room = 32 - ctx->held;
    if (length < room) {
        std::memcpy(ctx->block + ctx->held, p, length);
        ctx->held += length;
        return;
    }
    std::memcpy(ctx->block + ctx->held, p, room);
    GostHashBlock(ctx, ctx->block, 256);
    p += room;
    length -= room;
    // Whole blocks straight from the input while more than a block remains; the
    // rest (up to one full block) is held for the next update or the final step.
    while (length > 32) {
        GostHashBlock(ctx, p, 256);
        p += 32;
        length -= 32;
    }
    std::memcpy(ctx->block, p, length);
    ctx->held = length;
}

void GostFinal(GOST_CTX* ctx, uint8_t out[32])
{
    if (ctx->held > 0) {
        std::memset(ctx->block + ctx->held, 0, 32 - ctx->held);
        GostHashBlock(ctx, ctx->block, 8 * ctx->held);
        ctx->held = 0;
    }
    GostCompress(ctx->hash, ctx->len);
    GostCompress(ctx->hash, ctx->sum);
    for (int i = 0; i < 8; ++i)
        StoreLE32(out + 4 * i, ctx->hash[i]);
}
