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
};
