// MD4 message digest (RFC 1320).
#pragma once
#include <cstdint>

struct MD4_CTX
{
    uint32_t state[4];
    uint32_t count[2]; // message length in bits, low word first
    uint8_t buffer[64];
};

void MD4Init(MD4_CTX* ctx);
void MD4Update(MD4_CTX* ctx, const void* bytes, uint32_t length);
// Writes the digest, then clears the whole context.
void MD4Final(uint8_t out[16], MD4_CTX* ctx);
void MD4Transform(uint32_t state[4], const uint8_t block[64]);
