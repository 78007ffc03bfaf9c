// MD5 message digest (RFC 1321), with an optional keyed start.
#pragma once
#include <cstdint>

struct MD5_CTX
{
    uint32_t count[2]; // message length in bits, low word first
    uint32_t state[4];
    uint8_t buffer[64];
    uint8_t digest[16]; // written by MD5Final
};

// n = 0 gives RFC 1321's digest; any other n offsets the four starting values by
// n*11, n*71, n*37 and n*97 (a keyed variant no standard defines).
void MD5Init(MD5_CTX* ctx, uint32_t n);
void MD5Update(MD5_CTX* ctx, const void* bytes, uint32_t length);
// Leaves the digest in ctx->digest.
void MD5Final(MD5_CTX* ctx);
void MD5Transform(uint32_t state[4], const uint8_t block[64]);

// Hashes a file read in blocks of 2048 bytes, the digest left in ctx->digest.
// Returns the number of bytes hashed (0 for an empty file), or -1 when the file
// cannot be opened or a read fails.
long long MD5File(const char* path, uint32_t n, MD5_CTX* ctx);
