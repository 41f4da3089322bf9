// AES-256-GCM sealing (OpenSSL's libcrypto) shared by the platform's password
// protection and its file scrambler. A sealed block is a random 12-byte
// nonce, the cipher text (as long as the plain text) and a 16-byte tag; the
// caller's associated data (its format marker) is authenticated with it.
#pragma once

#include <cstddef>

namespace aesgcm {

constexpr std::size_t kKeySize = 32;
constexpr std::size_t kNonceSize = 12;
constexpr std::size_t kTagSize = 16;
// Bytes a sealed block adds to its plain text.
constexpr std::size_t kSealOverhead = kNonceSize + kTagSize;

// Seals length bytes of plain into sealed (length + kSealOverhead bytes) with
// a fresh nonce. False when the cipher fails or length exceeds INT_MAX.
bool seal(const unsigned char (&key)[kKeySize], const unsigned char* aad, std::size_t aadLength,
          const unsigned char* plain, std::size_t length, unsigned char* sealed);

// Opens a sealed block of sealedLength bytes into plain (room for
// sealedLength - kSealOverhead bytes). False, with plain wiped, for a block
// that is too short, was not sealed under this key and associated data, or
// was altered; nothing unauthenticated is left in plain.
bool open(const unsigned char (&key)[kKeySize], const unsigned char* aad, std::size_t aadLength,
          const unsigned char* sealed, std::size_t sealedLength, unsigned char* plain);

}  // namespace aesgcm
