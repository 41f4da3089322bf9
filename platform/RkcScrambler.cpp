#include "RkcScrambler.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr unsigned char kMarker[4] = {'R', 'K', 'S', 'C'};
constexpr unsigned char kVersion = 1;
constexpr std::size_t kHeaderSize = sizeof kMarker + 1;
constexpr std::size_t kNonceSize = 12;
constexpr std::size_t kTagSize = 16;
static_assert(RkcScrambler::kOverhead == kHeaderSize + kNonceSize + kTagSize,
              "overhead matches the block layout");

// The scrambler's built-in key.
constexpr unsigned char kKey[32] = {
    0x5a, 0x1f, 0x93, 0xc4, 0x07, 0x6e, 0xb2, 0x38, 0xd1, 0x4c, 0xe9, 0x72, 0x0b, 0xa5, 0x36, 0xf8,
    0x8d, 0x21, 0x6a, 0xfe, 0x43, 0x97, 0x1c, 0xb0, 0x65, 0xda, 0x0e, 0x89, 0x3f, 0xc2, 0x54, 0xe7};

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};
using Ctx = std::unique_ptr<EVP_CIPHER_CTX, CtxFree>;

Ctx newContext() {
    Ctx ctx(EVP_CIPHER_CTX_new());
    if (!ctx) throw RkcScramblerError("cipher context unavailable");
    return ctx;
}

}  // namespace

std::size_t RkcScrambler::scramble(const char* in, std::size_t length, char* out,
                                   std::size_t capacity, bool) {
    if ((!in && length) || !out) throw RkcScramblerError("no buffer");
    if (length > capacity || capacity - length < kOverhead ||
        length > static_cast<std::size_t>(INT32_MAX))
        throw RkcScramblerError("scrambled block does not fit");

    unsigned char* block = reinterpret_cast<unsigned char*>(out);
    std::memcpy(block, kMarker, sizeof kMarker);
    block[sizeof kMarker] = kVersion;
    unsigned char* nonce = block + kHeaderSize;
    if (RAND_bytes(nonce, static_cast<int>(kNonceSize)) != 1)
        throw RkcScramblerError("no random nonce");

    Ctx ctx = newContext();
    int n = 0;
    if (EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(kNonceSize),
                            nullptr) != 1 ||
        EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, kKey, nonce) != 1 ||
        // The header is authenticated with the contents.
        EVP_EncryptUpdate(ctx.get(), nullptr, &n, block, static_cast<int>(kHeaderSize)) != 1)
        throw RkcScramblerError("cipher set-up failed");

    unsigned char* body = nonce + kNonceSize;
    int written = 0;
    if (length > 0 &&
        EVP_EncryptUpdate(ctx.get(), body, &written, reinterpret_cast<const unsigned char*>(in),
                          static_cast<int>(length)) != 1)
        throw RkcScramblerError("encryption failed");
    int tail = 0;
    if (EVP_EncryptFinal_ex(ctx.get(), body + written, &tail) != 1)
        throw RkcScramblerError("encryption failed");
    const std::size_t bodySize = static_cast<std::size_t>(written) + static_cast<std::size_t>(tail);
    if (bodySize != length) throw RkcScramblerError("encryption failed");
    if (EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, static_cast<int>(kTagSize),
                            body + bodySize) != 1)
        throw RkcScramblerError("encryption failed");
    return kOverhead + length;
}

std::size_t RkcScrambler::descramble(const char* in, std::size_t length, char* out,
                                     std::size_t capacity, bool) {
    if (!in || !out) throw RkcScramblerError("no buffer");
    if (length < kOverhead || length > static_cast<std::size_t>(INT32_MAX))
        throw RkcScramblerError("not a scrambled block");
    const unsigned char* block = reinterpret_cast<const unsigned char*>(in);
    if (std::memcmp(block, kMarker, sizeof kMarker) != 0 || block[sizeof kMarker] != kVersion)
        throw RkcScramblerError("not a scrambled block");
    const std::size_t plainSize = length - kOverhead;
    if (plainSize >= capacity) throw RkcScramblerError("descrambled text does not fit");

    const unsigned char* nonce = block + kHeaderSize;
    const unsigned char* body = nonce + kNonceSize;
    const unsigned char* tag = body + plainSize;

    Ctx ctx = newContext();
    int n = 0;
    if (EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(kNonceSize),
                            nullptr) != 1 ||
        EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, kKey, nonce) != 1 ||
        EVP_DecryptUpdate(ctx.get(), nullptr, &n, block, static_cast<int>(kHeaderSize)) != 1)
        throw RkcScramblerError("cipher set-up failed");

    // Decrypted into a buffer of our own: nothing reaches out before the tag
    // has been checked.
    std::vector<unsigned char> plain(plainSize + 1, 0);
    int written = 0;
    if (plainSize > 0 &&
        EVP_DecryptUpdate(ctx.get(), plain.data(), &written, body,
                          static_cast<int>(plainSize)) != 1)
        throw RkcScramblerError("not a scrambled block");
    if (EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, static_cast<int>(kTagSize),
                            const_cast<unsigned char*>(tag)) != 1)
        throw RkcScramblerError("not a scrambled block");
    int tail = 0;
    const bool authentic = EVP_DecryptFinal_ex(ctx.get(), plain.data() + written, &tail) == 1;
    if (!authentic || static_cast<std::size_t>(written) + static_cast<std::size_t>(tail) != plainSize) {
        OPENSSL_cleanse(plain.data(), plain.size());
        throw RkcScramblerError("scrambled block altered or not ours");
    }
    std::memcpy(out, plain.data(), plainSize);
    out[plainSize] = '\0';
    OPENSSL_cleanse(plain.data(), plain.size());
    return plainSize;
}
