// MD2 message digest (RFC 1319).
#pragma once
#include <cstdint>

class CMD2
{
public:
    CMD2() { Init(); }
    virtual ~CMD2() { Init(); }

    void Init();
    void Update(const void* bytes, uint32_t length);
    // Writes `count` bytes (at most 16) of the digest, then resets for a new message.
    void Final(uint8_t* out, uint32_t count);

private:
    void Transform(const uint8_t block[16]);

    uint8_t m_state[48];
    uint8_t m_checksum[16];
    uint8_t m_buffer[16];
    uint32_t m_count;
};
