#include "RKPassword.h"

#include "AesGcm.h"

#include <openssl/crypto.h>

#include <cstring>
#include <vector>

namespace {

// Overwrites a plain-text copy before its memory is given back.
void wipe(std::string& text) {
    if (!text.empty()) OPENSSL_cleanse(&text[0], text.size());
}

const char* const kMarker = "RKP1:";
const char* const kStrongMarker = "RKS1:";
constexpr std::size_t kMarkerLength = 5;

// The built-in key.
constexpr unsigned char kKey[aesgcm::kKeySize] = {
    0x3c, 0x91, 0x5e, 0x0a, 0xd7, 0x62, 0x48, 0xb3, 0x1f, 0xa4, 0x7d, 0xe9, 0x25, 0x80, 0xcb, 0x36,
    0x6a, 0xf2, 0x13, 0x9d, 0x54, 0xbe, 0x07, 0xc8, 0x71, 0x2b, 0xe6, 0x4f, 0x98, 0x0d, 0xa3, 0x5c};

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

const unsigned char* bytes(const char* text) { return reinterpret_cast<const unsigned char*>(text); }

int seal(const std::string& plain, const char* marker, std::string& cipherText) {
    if (plain.size() > 0x7FFFFFF0UL) return -1;
    std::vector<unsigned char> body(plain.size() + aesgcm::kSealOverhead);
    if (!aesgcm::seal(kKey, bytes(marker), kMarkerLength, bytes(plain.data()), plain.size(),
                      body.data())) {
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
        body.size() < aesgcm::kSealOverhead || body.size() > 0x7FFFFFF0UL) {
        return -1;
    }
    const std::size_t plainLength = body.size() - aesgcm::kSealOverhead;
    std::vector<unsigned char> out(plainLength + 1);
    if (!aesgcm::open(kKey, bytes(marker), kMarkerLength, body.data(), body.size(), out.data())) {
        return -1;
    }
    plain.assign(reinterpret_cast<const char*>(out.data()), plainLength);
    OPENSSL_cleanse(out.data(), out.size());  // no plain text left in freed memory
    return 0;
}

int RKPassword::encrypt(const char* in, char* out, unsigned long* length) {
    if (in == nullptr || out == nullptr || length == nullptr) return 0;
    std::string cipherText, plain(in);
    const int sealed = encrypt(plain, cipherText);
    wipe(plain);
    if (sealed != 0 || cipherText.size() >= *length) return 0;
    std::memcpy(out, cipherText.c_str(), cipherText.size() + 1);
    *length = cipherText.size();
    return 1;
}

int RKPassword::decrypt(const char* in, char* out, unsigned long* length) {
    if (in == nullptr || out == nullptr || length == nullptr) return 0;
    std::string plain;
    const bool fits = decrypt(std::string(in), plain) == 0 &&
                      plain.find('\0') == std::string::npos && plain.size() < *length;
    if (fits) {
        std::memcpy(out, plain.c_str(), plain.size() + 1);
        *length = plain.size();
    }
    wipe(plain);
    return fits ? 1 : 0;
}
