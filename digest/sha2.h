// SHA-256, SHA-384 and SHA-512 (FIPS 180-2), and SHA-2 chosen by digest length.
#pragma once
#include <cstdint>

struct SHA256_CTX
{
    uint32_t count[2]; // message length in bytes, low word first
    uint32_t hash[8];
    uint32_t buffer[16]; // the partial block, as bytes in message order
};

struct SHA512_CTX
{
    uint64_t count[2]; // message length in bytes, low word first
    uint64_t hash[8];
    uint64_t buffer[16];
};

struct SHA2_CTX
{
    union
    {
        SHA256_CTX ctx256;
        SHA512_CTX ctx512;
    };
    uint32_t digestBytes; // 32, 48 or 64
};

void SHA256Init(SHA256_CTX* ctx);
void SHA256Update(const void* bytes, uint32_t length, SHA256_CTX* ctx);
void SHA256Final(uint8_t out[32], SHA256_CTX* ctx);
void SHA256Digest(uint8_t out[32], const void* bytes, uint32_t length);

void SHA384Init(SHA512_CTX* ctx);
void SHA384Final(uint8_t out[48], SHA512_CTX* ctx);
void SHA384Digest(uint8_t out[48], const void* bytes, uint32_t length);

void SHA512Init(SHA512_CTX* ctx);
void SHA512Update(const void* bytes, uint32_t length, SHA512_CTX* ctx);
void SHA512Final(uint8_t out[64], SHA512_CTX* ctx);
void SHA512Digest(uint8_t out[64], const void* bytes, uint32_t length);
// Pads, then writes the first `count` bytes of the hash (48 for SHA-384, 64 for SHA-512).
void SHA512FinalBytes(uint8_t* out, SHA512_CTX* ctx, uint32_t count);

// `length` is the digest length in bits or bytes: 256/32, 384/48 or 512/64.
// Returns 0, or 1 for any other length (the context is then left untouched).
int SHA2Begin(uint32_t length, SHA2_CTX* ctx);
void SHA2Hash(const void* bytes, uint32_t length, SHA2_CTX* ctx);
void SHA2End(uint8_t* out, SHA2_CTX* ctx);
int SHA2Digest(uint8_t* out, uint32_t length, const void* bytes, uint32_t byteCount);
