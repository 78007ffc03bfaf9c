// The block digests through their own start/update/final interfaces.
#include "digest/gost.h"
#include "digest/md2.h"
#include "digest/md4.h"
#include "digest/md5.h"
#include "digest/sha1.h"
#include "digest/sha2.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum class Alg { Gost, MD2, MD4, MD5, SHA1, SHA256, SHA384, SHA512 };

const char* Name(Alg a)
{
    static const char* const names[] = {"GOST", "MD2", "MD4", "MD5", "SHA-1", "SHA-256", "SHA-384", "SHA-512"};
    return names[static_cast<int>(a)];
}

const Alg kAll[] = {Alg::Gost, Alg::MD2, Alg::MD4, Alg::MD5, Alg::SHA1, Alg::SHA256, Alg::SHA384, Alg::SHA512};

std::string Hex(const uint8_t* p, size_t n)
{
    std::string s;
    char b[3];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, "%02x", p[i]);
        s += b;
    }
    return s;
}

struct Chunk
{
    const void* bytes;
    uint32_t length;
};

// Runs one algorithm over the chunks, one update per chunk.
std::string Digest(Alg alg, const std::vector<Chunk>& chunks)
{
    uint8_t out[64];
    switch (alg) {
    case Alg::Gost: {
        GOST_CTX ctx;
        GostInit(&ctx);
        for (const Chunk& c : chunks)
            GostUpdate(&ctx, c.bytes, c.length);
        GostFinal(&ctx, out);
        return Hex(out, 32);
    }
    case Alg::MD2: {
        CMD2 md2;
        md2.Init();
        for (const Chunk& c : chunks)
            md2.Update(c.bytes, c.length);
        md2.Final(out, 16);
        return Hex(out, 16);
    }
    case Alg::MD4: {
        MD4_CTX ctx;
        MD4Init(&ctx);
        for (const Chunk& c : chunks)
            MD4Update(&ctx, c.bytes, c.length);
        MD4Final(out, &ctx);
        return Hex(out, 16);
    }
    case Alg::MD5: {
        MD5_CTX ctx;
        MD5Init(&ctx, 0);
        for (const Chunk& c : chunks)
            MD5Update(&ctx, c.bytes, c.length);
        MD5Final(&ctx);
        return Hex(ctx.digest, 16);
    }
    case Alg::SHA1: {
        SHA1_CTX ctx;
        SHA1Init(&ctx);
        for (const Chunk& c : chunks)
            SHA1Update(c.bytes, c.length, &ctx);
        SHA1Final(out, &ctx);
        return Hex(out, 20);
    }
    case Alg::SHA256: {
        SHA256_CTX ctx;
        SHA256Init(&ctx);
        for (const Chunk& c : chunks)
            SHA256Update(c.bytes, c.length, &ctx);
        SHA256Final(out, &ctx);
        return Hex(out, 32);
    }
    case Alg::SHA384: {
        SHA512_CTX ctx;
        SHA384Init(&ctx);
        for (const Chunk& c : chunks)
            SHA512Update(c.bytes, c.length, &ctx);
        SHA384Final(out, &ctx);
        return Hex(out, 48);
    }
    case Alg::SHA512: {
        SHA512_CTX ctx;
        SHA512Init(&ctx);
        for (const Chunk& c : chunks)
            SHA512Update(c.bytes, c.length, &ctx);
        SHA512Final(out, &ctx);
        return Hex(out, 64);
    }
    }
    return std::string();
}

std::string Digest(Alg alg, const std::string& text)
{
    return Digest(alg, {{text.data(), static_cast<uint32_t>(text.size())}});
}

// A message without a period that lines up with any block size.
std::vector<uint8_t> Pattern(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>((static_cast<uint32_t>(i) * 2654435761u) >> 24);
    return v;
}

} // namespace

// One million 'a' fed in 1000 updates of 1000 bytes: partial blocks carried between
// updates and bit counts beyond 2^23.  Values from rhash, coreutils' sha*sum and
// RFC 1319's reference algorithm (MD2).
TEST(BlockDigest, MillionA)
{
    static const struct
    {
        Alg alg;
        const char* digest;
    } cases[] = {
        {Alg::Gost, "5c00ccc2734cdd3332d3d4749576e3c1a7dbaf0e7ea74e9fa602413c90a129fa"},
        {Alg::MD2, "8c0a09ff1216ecaf95c8130953c62efd"},
        {Alg::MD4, "bbce80cc6bb65e5c6745e30d4eeca9a4"},
        {Alg::MD5, "7707d6ae4e027c70eea2a935c2296f21"},
        {Alg::SHA1, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
        {Alg::SHA256, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {Alg::SHA384, "9d0e1809716474cb086e834e310a4a1ced149e9c00f248527972cec5704c2a5b"
                      "07b8b3dc38ecc4ebae97ddd87f3d8985"},
        {Alg::SHA512, "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973eb"
                      "de0ff244877ea60a4cb0432ce577c31beb009c5c2c49aa2e4eadb217ad8cc09b"},
    };
    const std::string thousand(1000, 'a');
    const std::vector<Chunk> chunks(1000, Chunk{thousand.data(), 1000});
    for (const auto& c : cases)
        EXPECT_EQ(c.digest, Digest(c.alg, chunks)) << Name(c.alg);
}

// Two updates split at every byte boundary of a 100-byte message give the one-shot digest.
TEST(BlockDigest, SplitUpdateAtEveryBoundary)
{
    const std::vector<uint8_t> msg = Pattern(100);
    for (Alg alg : kAll) {
        const std::string whole = Digest(alg, {{msg.data(), 100}});
        for (uint32_t k = 0; k <= 100; ++k) {
            EXPECT_EQ(whole, Digest(alg, {{msg.data(), k}, {msg.data() + k, 100 - k}}))
                << Name(alg) << " split at " << k;
        }
    }
}

TEST(BlockDigest, OneShotFormsMatchIncremental)
{
    const char* text = "abc";
    uint8_t out[64];
    SHA1Digest(out, text, 3);
    EXPECT_EQ(Digest(Alg::SHA1, text), Hex(out, 20));
    SHA256Digest(out, text, 3);
    EXPECT_EQ(Digest(Alg::SHA256, text), Hex(out, 32));
    SHA384Digest(out, text, 3);
    EXPECT_EQ(Digest(Alg::SHA384, text), Hex(out, 48));
    SHA512Digest(out, text, 3);
    EXPECT_EQ(Digest(Alg::SHA512, text), Hex(out, 64));
}

// The standard's two example messages and where blocks are held between calls.
// Expected digests from `rhash --gost94`, which prints the same byte order.
TEST(Gost, StandardExamplesAndHeldBlocks)
{
    static const struct
    {
        std::string text;
        uint32_t heldAfterUpdate;
        const char* digest;
    } cases[] = {
        {"", 0, "ce85b99cc46752fffee35cab9a7b0278abb4c2d2055cff685af4912c49490f8d"},
        // Exactly one block: hashed in the update, nothing left for the final step.
        {"This is message, length=32 bytes", 0, "b1c466d37519b82e8319819ff32595e047a28cb6f83eff1c6916a815a637fffa"},
        {"Suppose the original message has length = 50 bytes", 18,
         "471aba57a60a770d3a76130635c1fbea4ef14de51f78b4ae57dd893b62f55208"},
        // Two blocks: the second stays held and is hashed by the final step.
        {std::string(64, 'U'), 32, "a58f3ee2e9f2f5ee3103b59a4b0f29bff67e85f60a5260c48115c4fa46c1e118"},
        {std::string(128, 'U'), 32, "53a3a3ed25180cef0c1d85a074273e551c25660a87062a52d926a9e8fe5733a4"},
    };
    for (const auto& c : cases) {
        GOST_CTX ctx;
        GostInit(&ctx);
        GostUpdate(&ctx, c.text.data(), static_cast<uint32_t>(c.text.size()));
        EXPECT_EQ(c.heldAfterUpdate, ctx.held) << c.text.size() << " bytes";
        uint8_t out[32];
        GostFinal(&ctx, out);
        EXPECT_EQ(c.digest, Hex(out, 32)) << c.text.size() << " bytes";
    }
}

TEST(Gost, UsesTestParameterSetNotCryptoPro)
{
    const std::string digest = Digest(Alg::Gost, "The quick brown fox jumps over the lazy dog");
    EXPECT_EQ("77b7fa410c9ac58a25f49bca7d0468c9296529315eaca76bd1a10f376d1f4294", digest);
    EXPECT_NE("9004294a361a508c586fe53d1f1b02746765e71b765472786e4770d565830a76", digest);
}

TEST(Gost, HashBlockCarriesChecksumAcrossWords)
{
    GOST_CTX ctx;
    GostInit(&ctx);
    uint8_t ones[32];
    std::memset(ones, 0xFF, sizeof ones);
    ctx.sum[0] = 1;
    GostHashBlock(&ctx, ones, 256);
    // 1 + (2^256 - 1) wraps to 0: the carry ran through every word and fell off the top.
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(0u, ctx.sum[i]) << i;
    EXPECT_EQ(256u, ctx.len[0]);
    EXPECT_EQ(0u, ctx.len[1]);
}

TEST(Sha2ByLength, BitsOrBytesSelectTheDigest)
{
    static const struct
    {
        uint32_t length;
        int ret;
        uint32_t bytes;
        const char* digest; // of "abc"
    } cases[] = {
        {256, 0, 32, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {32, 0, 32, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {384, 0, 48,
         "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed"
         "8086072ba1e7cc2358baeca134c825a7"},
        {48, 0, 48,
         "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed"
         "8086072ba1e7cc2358baeca134c825a7"},
        {512, 0, 64,
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
         "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
        {64, 0, 64,
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
         "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
        {224, 1, 0, ""},
        {28, 1, 0, ""},
        {0, 1, 0, ""},
        {1024, 1, 0, ""},
    };
    for (const auto& c : cases) {
        SHA2_CTX ctx;
        std::memset(&ctx, 0xA5, sizeof ctx);
        SHA2_CTX before = ctx;
        ASSERT_EQ(c.ret, SHA2Begin(c.length, &ctx)) << c.length;
        uint8_t out[64];
        std::memset(out, 0, sizeof out);
        if (c.ret != 0) {
            EXPECT_EQ(0, std::memcmp(&before, &ctx, sizeof ctx)) << "context touched for " << c.length;
            EXPECT_EQ(1, SHA2Digest(out, c.length, "abc", 3)) << c.length;
            continue;
        }
        EXPECT_EQ(c.bytes, ctx.digestBytes);
        SHA2Hash("ab", 2, &ctx);
        SHA2Hash("c", 1, &ctx);
        SHA2End(out, &ctx);
        EXPECT_EQ(c.digest, Hex(out, c.bytes)) << c.length;
        EXPECT_EQ(0, SHA2Digest(out, c.length, "abc", 3));
        EXPECT_EQ(c.digest, Hex(out, c.bytes)) << c.length;
    }
}

TEST(MD5, StartWithNumber)
{
    static const struct
    {
        uint32_t n;
        uint32_t state[4];
    } cases[] = {
        {0, {0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u}},
        {1, {0x67452301u + 11, 0xefcdab89u + 71, 0x98badcfeu + 37, 0x10325476u + 97}},
        // Modulo 2^32.
        {0xFFFFFFFFu, {0x67452301u - 11, 0xefcdab89u - 71, 0x98badcfeu - 37, 0x10325476u - 97}},
    };
    for (const auto& c : cases) {
        MD5_CTX ctx;
        MD5Init(&ctx, c.n);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.state[i], ctx.state[i]) << "n=" << c.n << " word " << i;
        MD5Update(&ctx, "", 0);
        MD5Final(&ctx);
        if (c.n == 0) {
            EXPECT_EQ("d41d8cd98f00b204e9800998ecf8427e", Hex(ctx.digest, 16));
        } else {
            EXPECT_NE("d41d8cd98f00b204e9800998ecf8427e", Hex(ctx.digest, 16));
        }
    }
}

TEST(MD5, FileTellsEmptyFromMissing)
{
    static const struct
    {
        const char* name;
        const char* content; // nullptr: no file
        long long ret;
        const char* digest;
    } cases[] = {
        {"md5file_empty.bin", "", 0, "d41d8cd98f00b204e9800998ecf8427e"},
        {"md5file_abc.bin", "abc", 3, "900150983cd24fb0d6963f7d28e17f72"},
        {"md5file_missing.bin", nullptr, -1, nullptr},
    };
    for (const auto& c : cases) {
        std::remove(c.name);
        if (c.content) {
            FILE* f = std::fopen(c.name, "wb");
            ASSERT_NE(nullptr, f);
            std::fputs(c.content, f);
            std::fclose(f);
        }
        MD5_CTX ctx;
        EXPECT_EQ(c.ret, MD5File(c.name, 0, &ctx)) << c.name;
        if (c.digest) {
            EXPECT_EQ(c.digest, Hex(ctx.digest, 16)) << c.name;
        }
        std::remove(c.name);
    }
}

TEST(MD2, FinalResetsForTheNextMessage)
{
    CMD2 md2;
    md2.Update("abc", 3);
    uint8_t out[16];
    md2.Final(out, 16);
    EXPECT_EQ("da853b0d3f88d99b30283a69e6ded6bb", Hex(out, 16));
    md2.Update("a", 1);
    std::memset(out, 0xEE, sizeof out);
    md2.Final(out, 8); // only the first 8 bytes are written
    EXPECT_EQ("32ec01ec4a6dac72eeeeeeeeeeeeeeee", Hex(out, 16));
}

TEST(MD4, FinalClearsTheContext)
{
    MD4_CTX ctx;
    MD4Init(&ctx);
    MD4Update(&ctx, "abc", 3);
    uint8_t out[16];
    MD4Final(out, &ctx);
    EXPECT_EQ("a448017aaf21d8525fc10ae87aa6729d", Hex(out, 16));
    const MD4_CTX zero = {};
    EXPECT_EQ(0, std::memcmp(&zero, &ctx, sizeof ctx));
}
