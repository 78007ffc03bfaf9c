// Loads and stores of 32- and 64-bit words in a given byte order, from any alignment.
#pragma once
#include <cstdint>
#include <cstring>

namespace digest_bytes {

inline uint32_t LoadLE32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v; // the target is little-endian (x86)
}

inline uint32_t LoadBE32(const uint8_t* p) { return __builtin_bswap32(LoadLE32(p)); }

inline uint64_t LoadBE64(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v);
}

inline void StoreLE32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

inline void StoreBE32(uint8_t* p, uint32_t v) { StoreLE32(p, __builtin_bswap32(v)); }

inline void StoreBE64(uint8_t* p, uint64_t v)
{
    v = __builtin_bswap64(v);
    std::memcpy(p, &v, 8);
}

inline uint32_t Rotl32(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

inline uint32_t Rotr32(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

inline uint64_t Rotr64(uint64_t x, int n) { return (x >> n) | (x << (64 - n)); }

} // namespace digest_bytes
