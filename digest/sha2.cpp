#include "digest/sha2.h"

int SHA2Begin(uint32_t length, SHA2_CTX* ctx)
{
    switch (length) {
    case 256:
    case 32:
        SHA256Init(&ctx->ctx256);
        ctx->digestBytes = 32;
        return 0;
    case 384:
    case 48:
        SHA384Init(&ctx->ctx512);
        ctx->digestBytes = 48;
        return 0;
    case 512:
    case 64:
        SHA512Init(&ctx->ctx512);
        ctx->digestBytes = 64;
        return 0;
    default:
        return 1;
    }
}

void SHA2Hash(const void* bytes, uint32_t length, SHA2_CTX* ctx)
{
    switch (ctx->digestBytes) {
    case 32:
        SHA256Update(bytes, length, &ctx->ctx256);
        break;
    case 48:
    case 64:
        SHA512Update(bytes, length, &ctx->ctx512);
        break;
    default:
        break;
    }
}

void SHA2End(uint8_t* out, SHA2_CTX* ctx)
{
    switch (ctx->digestBytes) {
    case 32:
        SHA256Final(out, &ctx->ctx256);
        break;
    case 48:
    case 64:
        SHA512FinalBytes(out, &ctx->ctx512, ctx->digestBytes);
        break;
    default:
        break;
    }
}

int SHA2Digest(uint8_t* out, uint32_t length, const void* bytes, uint32_t byteCount)
{
    SHA2_CTX ctx;
    if (SHA2Begin(length, &ctx) != 0)
        return 1;
    SHA2Hash(bytes, byteCount, &ctx);
    SHA2End(out, &ctx);
    return 0;
}
