// SHA-1 (FIPS 180-1).
#pragma once
#include <cstdint>

struct SHA1_CTX
{
    uint32_t count[2]; // message length in bytes, low word first
    uint32_t hash[5];
    uint32_t buffer[16]; // the partial block, as bytes in message order
};

void SHA1Init(SHA1_CTX* ctx);
void SHA1Update(const void* bytes, uint32_t length, SHA1_CTX* ctx);
void SHA1Final(uint8_t out[20], SHA1_CTX* ctx);
void SHA1Digest(uint8_t out[20], const void* bytes, uint32_t length);
