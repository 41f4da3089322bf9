#include "AesGcm.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>
#include <cstring>
#include <memory>

namespace aesgcm {
namespace {

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};
using Ctx = std::unique_ptr<EVP_CIPHER_CTX, CtxFree>;

constexpr std::size_t kMaxLength = static_cast<std::size_t>(INT_MAX);

// A context keyed for one block, the associated data already fed in.
Ctx start(bool encrypting, const unsigned char (&key)[kKeySize], const unsigned char* nonce,
          const unsigned char* aad, std::size_t aadLength) {
    Ctx ctx(EVP_CIPHER_CTX_new());
    if (!ctx || aadLength > kMaxLength) return nullptr;
    int n = 0;
    const int ok =
        encrypting
            ? EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1 &&
                  EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN,
                                      static_cast<int>(kNonceSize), nullptr) == 1 &&
                  EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, key, nonce) == 1 &&
                  (aadLength == 0 || EVP_EncryptUpdate(ctx.get(), nullptr, &n, aad,
                                                       static_cast<int>(aadLength)) == 1)
            : EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1 &&
                  EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN,
                                      static_cast<int>(kNonceSize), nullptr) == 1 &&
                  EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, key, nonce) == 1 &&
                  (aadLength == 0 || EVP_DecryptUpdate(ctx.get(), nullptr, &n, aad,
                                                       static_cast<int>(aadLength)) == 1);
    if (!ok) return nullptr;
    return ctx;
}

}  // namespace

bool seal(const unsigned char (&key)[kKeySize], const unsigned char* aad, std::size_t aadLength,
          const unsigned char* plain, std::size_t length, unsigned char* sealed) {
    if (!sealed || (!plain && length) || length > kMaxLength) return false;
    unsigned char* nonce = sealed;
    unsigned char* body = sealed + kNonceSize;
    if (RAND_bytes(nonce, static_cast<int>(kNonceSize)) != 1) return false;
    Ctx ctx = start(true, key, nonce, aad, aadLength);
    if (!ctx) return false;
    int written = 0;
    if (length > 0 &&
        EVP_EncryptUpdate(ctx.get(), body, &written, plain, static_cast<int>(length)) != 1) {
        return false;
    }
    int tail = 0;
    if (EVP_EncryptFinal_ex(ctx.get(), body + written, &tail) != 1 ||
        static_cast<std::size_t>(written) + static_cast<std::size_t>(tail) != length) {
        return false;
    }
    return EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, static_cast<int>(kTagSize),
                               body + length) == 1;
}

bool open(const unsigned char (&key)[kKeySize], const unsigned char* aad, std::size_t aadLength,
          const unsigned char* sealed, std::size_t sealedLength, unsigned char* plain) {
    if (!sealed || !plain || sealedLength < kSealOverhead ||
        sealedLength - kSealOverhead > kMaxLength) {
        return false;
    }
    const std::size_t length = sealedLength - kSealOverhead;
    const unsigned char* nonce = sealed;
    const unsigned char* body = sealed + kNonceSize;
    unsigned char tag[kTagSize];
    std::memcpy(tag, body + length, kTagSize);

    Ctx ctx = start(false, key, nonce, aad, aadLength);
    if (!ctx) return false;
    int written = 0;
    int tail = 0;
    const bool authentic =
        (length == 0 ||
         EVP_DecryptUpdate(ctx.get(), plain, &written, body, static_cast<int>(length)) == 1) &&
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, static_cast<int>(kTagSize), tag) ==
            1 &&
        EVP_DecryptFinal_ex(ctx.get(), plain + written, &tail) == 1 &&
        static_cast<std::size_t>(written) + static_cast<std::size_t>(tail) == length;
    if (!authentic) OPENSSL_cleanse(plain, length);
    return authentic;
}

}  // namespace aesgcm
