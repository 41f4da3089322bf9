// Stand-in for the platform's password protection: authenticated encryption
// (AES-256-GCM from OpenSSL's libcrypto) under a key built into the library,
// rendered as printable text. This keeps stored passwords and tokens from
// casual reading; it does not protect them from someone holding the library.
#pragma once

#include <string>

class RKPassword {
public:
    // 0 = success.
    static int encrypt(const std::string& plain, std::string& cipherText);
    static int encryptStrong(const std::string& plain, std::string& cipherText);
    // Refuses (non-zero) anything encrypt/encryptStrong did not produce, or that was altered.
    static int decrypt(const std::string& cipherText, std::string& plain);

    // Buffer forms: *length is in the capacity of out, out the length of the
    // result without its terminating zero (which out also holds). NON-ZERO on
    // success; zero (out and *length untouched) on failure or when the result
    // does not fit. A plain text with a zero byte cannot be decrypted this way.
    static int encrypt(const char* in, char* out, unsigned long* length);
    static int decrypt(const char* in, char* out, unsigned long* length);
};

// The encrypted text: a format marker ("RKP1:", or "RKS1:" from
// encryptStrong) and the lower-case hex of a 12-byte nonce, the cipher text
// and a 16-byte tag.
