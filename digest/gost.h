// GOST R 34.11-94 hash with the standard's test parameter set S-boxes.
// The digest is the hash state's eight 32-bit words, word 0 first, each least
// significant byte first (the byte-reverse of the number the standard prints).
#pragma once
#include <cstdint>

struct GOST_CTX
{
    uint32_t sum[8];   // checksum: the 256-bit sum of all blocks
    uint32_t hash[8];  // hash state
    uint32_t len[8];   // message length in bits; only the low 64 bits are counted
    uint8_t block[32]; // bytes held until a block is full
    uint32_t held;     // bytes in block
};

void GostInitTables();
void GostInit(GOST_CTX* ctx);
void GostUpdate(GOST_CTX* ctx, const void* bytes, uint32_t length);
void GostFinal(GOST_CTX* ctx, uint8_t out[32]);

// Folds one 32-byte block carrying `bits` message bits into the checksum, state and length.
void GostHashBlock(GOST_CTX* ctx, const uint8_t block[32], uint32_t bits);
// The step function: hash = f(hash, block), both as eight little-endian words.
void GostCompress(uint32_t hash[8], const uint32_t block[8]);
