#include "digest/sha2.h"
#include "digest/byteorder.h"

#include <cstring>

using namespace digest_bytes;

namespace {

const uint64_t K[80] = {
    0x428a2f98d728ae22ull, 0x7137449123ef65cdull, 0xb5c0fbcfec4d3b2full, 0xe9b5dba58189dbbcull, 0x3956c25bf348b538ull,
    0x59f111f1b605d019ull, 0x923f82a4af194f9bull, 0xab1c5ed5da6d8118ull, 0xd807aa98a3030242ull, 0x12835b0145706fbeull,
    0x243185be4ee4b28cull, 0x550c7dc3d5ffb4e2ull, 0x72be5d74f27b896full, 0x80deb1fe3b1696b1ull, 0x9bdc06a725c71235ull,
    0xc19bf174cf692694ull, 0xe49b69c19ef14ad2ull, 0xefbe4786384f25e3ull, 0x0fc19dc68b8cd5b5ull, 0x240ca1cc77ac9c65ull,
    0x2de92c6f592b0275ull, 0x4a7484aa6ea6e483ull, 0x5cb0a9dcbd41fbd4ull, 0x76f988da831153b5ull, 0x983e5152ee66dfabull,
    0xa831c66d2db43210ull, 0xb00327c898fb213full, 0xbf597fc7beef0ee4ull, 0xc6e00bf33da88fc2ull, 0xd5a79147930aa725ull,
    0x06ca6351e003826full, 0x142929670a0e6e70ull, 0x27b70a8546d22ffcull, 0x2e1b21385c26c926ull, 0x4d2c6dfc5ac42aedull,
    0x53380d139d95b3dfull, 0x650a73548baf63deull, 0x766a0abb3c77b2a8ull, 0x81c2c92e47edaee6ull, 0x92722c851482353bull,
    0xa2bfe8a14cf10364ull, 0xa81a664bbc423001ull, 0xc24b8b70d0f89791ull, 0xc76c51a30654be30ull, 0xd192e819d6ef5218ull,
    0xd69906245565a910ull, 0xf40e35855771202aull, 0x106aa07032bbd1b8ull, 0x19a4c116b8d2d0c8ull, 0x1e376c085141ab53ull,
    0x2748774cdf8eeb99ull, 0x34b0bcb5e19b48a8ull, 0x391c0cb3c5c95a63ull, 0x4ed8aa4ae3418acbull, 0x5b9cca4f7763e373ull,
    0x682e6ff3d6b2b8a3ull, 0x748f82ee5defb2fcull, 0x78a5636f43172f60ull, 0x84c87814a1f0ab72ull, 0x8cc702081a6439ecull,
    0x90befffa23631e28ull, 0xa4506cebde82bde9ull, 0xbef9a3f7b2c67915ull, 0xc67178f2e372532bull, 0xca273eceea26619cull,
    0xd186b8c721c0c207ull, 0xeada7dd6cde0eb1eull, 0xf57d4f7fee6ed178ull, 0x06f067aa72176fbaull, 0x0a637dc5a2c898a6ull,
    0x113f9804bef90daeull, 0x1b710b35131c471bull, 0x28db77f523047d84ull, 0x32caab7b40c72493ull, 0x3c9ebe0a15c9bebcull,
    0x431d67c49c100d4cull, 0x4cc5d4becb3e42b6ull, 0x597f299cfc657e2aull, 0x5fcb6fab3ad6faecull, 0x6c44198c4a475817ull,
};

#define S512_SIG0(x) (Rotr64(x, 28) ^ Rotr64(x, 34) ^ Rotr64(x, 39))
#define S512_SIG1(x) (Rotr64(x, 14) ^ Rotr64(x, 18) ^ Rotr64(x, 41))
#define S512_sig0(x) (Rotr64(x, 1) ^ Rotr64(x, 8) ^ ((x) >> 7))
#define S512_sig1(x) (Rotr64(x, 19) ^ Rotr64(x, 61) ^ ((x) >> 6))
#define S512_CH(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define S512_MAJ(x, y, z) (((x) & (y)) | ((z) & ((x) | (y))))

#define S512_W(i) \
    ((i) < 16 ? w[(i)&15] : (w[(i)&15] += S512_sig1(w[((i)-2) & 15]) + w[((i)-7) & 15] + S512_sig0(w[((i)-15) & 15])))
#define S512_ROUND(a, b, c, d, e, f, g, h, i)                                       \
    {                                                                               \
        const uint64_t t1 = h + S512_SIG1(e) + S512_CH(e, f, g) + K[i] + S512_W(i); \
        d += t1;                                                                    \
        h = t1 + S512_SIG0(a) + S512_MAJ(a, b, c);                                  \
    }
#define S512_ROUND8(i)                          \
    S512_ROUND(a, b, c, d, e, f, g, h, (i) + 0) \
    S512_ROUND(h, a, b, c, d, e, f, g, (i) + 1) \
    S512_ROUND(g, h, a, b, c, d, e, f, (i) + 2) \
    S512_ROUND(f, g, h, a, b, c, d, e, (i) + 3) \
    S512_ROUND(e, f, g, h, a, b, c, d, (i) + 4) \
    S512_ROUND(d, e, f, g, h, a, b, c, (i) + 5) \
    S512_ROUND(c, d, e, f, g, h, a, b, (i) + 6) \
    S512_ROUND(b, c, d, e, f, g, h, a, (i) + 7)

void Compress(uint64_t hash[8], const uint8_t* block)
{
    uint64_t w[16];
    for (int i = 0; i < 16; ++i)
        w[i] = LoadBE64(block + 8 * i);
    uint64_t a = hash[0], b = hash[1], c = hash[2], d = hash[3];
    uint64_t e = hash[4], f = hash[5], g = hash[6], h = hash[7];
    S512_ROUND8(0)
    S512_ROUND8(8)
    S512_ROUND8(16)
    S512_ROUND8(24)
    S512_ROUND8(32)
    S512_ROUND8(40)
    S512_ROUND8(48)
    S512_ROUND8(56)
    S512_ROUND8(64)
    S512_ROUND8(72)
    hash[0] += a;
    hash[1] += b;
    hash[2] += c;
    hash[3] += d;
    hash[4] += e;
    hash[5] += f;
    hash[6] += g;
    hash[7] += h;
}

void Start(SHA512_CTX* ctx, const uint64_t start[8])
{
    ctx->count[0] = ctx->count[1] = 0;
    std::memcpy(ctx->hash, start, 8 * sizeof(uint64_t));
}

} // namespace

void SHA384Init(SHA512_CTX* ctx)
{
    static const uint64_t kStart[8] = {
        0xcbbb9d5dc1059ed8ull, 0x629a292a367cd507ull, 0x9159015a3070dd17ull, 0x152fecd8f70e5939ull,
        0x67332667ffc00b31ull, 0x8eb44a8768581511ull, 0xdb0c2e0d64f98fa7ull, 0x47b5481dbefa4fa4ull,
    };
    Start(ctx, kStart);
}

void SHA512Init(SHA512_CTX* ctx)
{
    static const uint64_t kStart[8] = {
        0x6a09e667f3bcc908ull, 0xbb67ae8584caa73bull, 0x3c6ef372fe94f82bull, 0xa54ff53a5f1d36f1ull,
        0x510e527fade682d1ull, 0x9b05688c2b3e6c1full, 0x1f83d9abfb41bd6bull, 0x5be0cd19137e2179ull,
    };
    Start(ctx, kStart);
}

void SHA512Update(const void* bytes, uint32_t length, SHA512_CTX* ctx)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    uint8_t* buf = reinterpret_cast<uint8_t*>(ctx->buffer);
    uint32_t have = static_cast<uint32_t>(ctx->count[0] & 127);
    if ((ctx->count[0] += length) < length)
        ++ctx->count[1];

    if (have > 0) {
        const uint32_t take = length < 128 - have ? length : 128 - have;
        std::memcpy(buf + have, p, take);
        have += take;
        p += take;
        length -= take;
        if (have < 128)
            return;
        Compress(ctx->hash, buf);
    }
    for (; length >= 128; p += 128, length -= 128)
        Compress(ctx->hash, p);
    std::memcpy(buf, p, length);
}

void SHA512FinalBytes(uint8_t* out, SHA512_CTX* ctx, uint32_t count)
{
    uint8_t* buf = reinterpret_cast<uint8_t*>(ctx->buffer);
    uint32_t have = static_cast<uint32_t>(ctx->count[0] & 127);
    buf[have++] = 0x80;
    if (have > 112) {
        std::memset(buf + have, 0, 128 - have);
        Compress(ctx->hash, buf);
        have = 0;
    }
    std::memset(buf + have, 0, 112 - have);
    StoreBE64(buf + 112, ctx->count[1] << 3 | ctx->count[0] >> 61);
    StoreBE64(buf + 120, ctx->count[0] << 3);
    Compress(ctx->hash, buf);
    uint8_t full[64];
    for (int i = 0; i < 8; ++i)
        StoreBE64(full + 8 * i, ctx->hash[i]);
    std::memcpy(out, full, count < 64 ? count : 64);
}

void SHA384Final(uint8_t out[48], SHA512_CTX* ctx) { SHA512FinalBytes(out, ctx, 48); }

void SHA512Final(uint8_t out[64], SHA512_CTX* ctx) { SHA512FinalBytes(out, ctx, 64); }

void SHA384Digest(uint8_t out[48], const void* bytes, uint32_t length)
{
    SHA512_CTX ctx;
    SHA384Init(&ctx);
    SHA512Update(bytes, length, &ctx);
    SHA384Final(out, &ctx);
}

void SHA512Digest(uint8_t out[64], const void* bytes, uint32_t length)
{
    SHA512_CTX ctx;
    SHA512Init(&ctx);
    SHA512Update(bytes, length, &ctx);
    SHA512Final(out, &ctx);
}
