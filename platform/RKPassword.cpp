#include "RKPassword.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

const char* const kMarker = "RKP1:";
const char* const kStrongMarker = "RKS1:";
constexpr std::size_t kMarkerLength = 5;
constexpr int kNonceLength = 12;
constexpr int kTagLength = 16;

// The built-in key.
constexpr unsigned char kKey[32] = {
    0x3c, 0x91, 0x5e, 0x0a, 0xd7, 0x62, 0x48, 0xb3, 0x1f, 0xa4, 0x7d, 0xe9, 0x25, 0x80, 0xcb, 0x36,
    0x6a, 0xf2, 0x13, 0x9d, 0x54, 0xbe, 0x07, 0xc8, 0x71, 0x2b, 0xe6, 0x4f, 0x98, 0x0d, 0xa3, 0x5c};

struct CtxDeleter {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using Ctx = std::unique_ptr<EVP_CIPHER_CTX, CtxDeleter>;

std::string toHex(const std::vector<unsigned char>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool fromHex(const char* text, std::size_t length, std::vector<unsigned char>& out) {
    if (length % 2 != 0) return false;
    out.resize(length / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int hi = hexValue(text[2 * i]);
        const int lo = hexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        out[i] = static_cast<unsigned char>(hi << 4 | lo);
    }
    return true;
}

int seal(const std::string& plain, const char* marker, std::string& cipherText) {
    if (plain.size() > 0x7FFFFFF0UL) return -1;
    unsigned char nonce[kNonceLength];
    if (RAND_bytes(nonce, kNonceLength) != 1) return -1;
    Ctx ctx(EVP_CIPHER_CTX_new());
    if (!ctx) return -1;
    std::vector<unsigned char> body(kNonceLength + plain.size() + kTagLength);
    std::memcpy(body.data(), nonce, kNonceLength);
    int len = 0;
    const auto* aad = reinterpret_cast<const unsigned char*>(marker);
    if (EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceLength, nullptr) != 1 ||
        EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, kKey, nonce) != 1 ||
        EVP_EncryptUpdate(ctx.get(), nullptr, &len, aad, static_cast<int>(kMarkerLength)) != 1) {
        return -1;
    }
    int written = 0;
    if (!plain.empty()) {
        if (EVP_EncryptUpdate(ctx.get(), body.data() + kNonceLength, &len,
                              reinterpret_cast<const unsigned char*>(plain.data()),
                              static_cast<int>(plain.size())) != 1) {
            return -1;
        }
        written = len;
    }
    if (EVP_EncryptFinal_ex(ctx.get(), body.data() + kNonceLength + written, &len) != 1) return -1;
    written += len;
    if (static_cast<std::size_t>(written) != plain.size()) return -1;
    if (EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, kTagLength,
                            body.data() + kNonceLength + written) != 1) {
        return -1;
    }
    cipherText = std::string(marker) + toHex(body);
    return 0;
}

}  // namespace

int RKPassword::encrypt(const std::string& plain, std::string& cipherText) {
    return seal(plain, kMarker, cipherText);
}

int RKPassword::encryptStrong(const std::string& plain, std::string& cipherText) {
    return seal(plain, kStrongMarker, cipherText);
}

int RKPassword::decrypt(const std::string& cipherText, std::string& plain) {
    if (cipherText.size() < kMarkerLength) return -1;
    const char* marker = nullptr;
    if (cipherText.compare(0, kMarkerLength, kMarker) == 0) {
        marker = kMarker;
    } else if (cipherText.compare(0, kMarkerLength, kStrongMarker) == 0) {
        marker = kStrongMarker;
    } else {
        return -1;
    }
    std::vector<unsigned char> body;
    if (!fromHex(cipherText.data() + kMarkerLength, cipherText.size() - kMarkerLength, body) ||
        body.size() < static_cast<std::size_t>(kNonceLength + kTagLength) || body.size() > 0x7FFFFFF0UL) {
        return -1;
    }
    const std::size_t cipherLength = body.size() - kNonceLength - kTagLength;
    unsigned char* tag = body.data() + kNonceLength + cipherLength;
    Ctx ctx(EVP_CIPHER_CTX_new());
    if (!ctx) return -1;
    std::vector<unsigned char> out(cipherLength + 1);
    int len = 0;
    const auto* aad = reinterpret_cast<const unsigned char*>(marker);
    if (EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceLength, nullptr) != 1 ||
        EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, kKey, body.data()) != 1 ||
        EVP_DecryptUpdate(ctx.get(), nullptr, &len, aad, static_cast<int>(kMarkerLength)) != 1) {
        return -1;
    }
    int written = 0;
    if (cipherLength > 0) {
        if (EVP_DecryptUpdate(ctx.get(), out.data(), &len, body.data() + kNonceLength,
                              static_cast<int>(cipherLength)) != 1) {
            return -1;
        }
        written = len;
    }
    if (EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, kTagLength, tag) != 1 ||
        EVP_DecryptFinal_ex(ctx.get(), out.data() + written, &len) != 1) {
        return -1;
    }
    written += len;
    plain.assign(reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(written));
    return 0;
}

int RKPassword::encrypt(const char* in, char* out, unsigned long* length) {
    if (in == nullptr || out == nullptr || length == nullptr) return 0;
    std::string cipherText;
    if (encrypt(std::string(in), cipherText) != 0 || cipherText.size() >= *length) return 0;
    std::memcpy(out, cipherText.c_str(), cipherText.size() + 1);
    *length = cipherText.size();
    return 1;
}

int RKPassword::decrypt(const char* in, char* out, unsigned long* length) {
    if (in == nullptr || out == nullptr || length == nullptr) return 0;
    std::string plain;
    if (decrypt(std::string(in), plain) != 0 || plain.find('\0') != std::string::npos ||
        plain.size() >= *length) {
        return 0;
    }
    std::memcpy(out, plain.c_str(), plain.size() + 1);
    *length = plain.size();
    return 1;
}
