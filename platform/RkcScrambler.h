// Stand-in for the platform's file scrambler: authenticated encryption
// (AES-256-GCM from OpenSSL's libcrypto) under a key built into the library.
//
// A scrambled block is the format marker "RKSC", a version byte, a random
// 12-byte nonce, the encrypted bytes and a 16-byte authentication tag.
// descramble refuses, with RkcScramblerError, any block that scramble did not
// write or that was altered since; it never hands out unauthenticated bytes.
// This keeps a store from casual reading and detects damage; it does not
// protect it from someone holding the library.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

class RkcScramblerError : public std::runtime_error {
public:
    explicit RkcScramblerError(const std::string& what) : std::runtime_error(what) {}
};

class RkcScrambler {
public:
    // Bytes a scrambled block adds to its plain text.
    static constexpr std::size_t kOverhead = 4 + 1 + 12 + 16;

    RkcScrambler() = default;
    RkcScrambler(const RkcScrambler&) = delete;
    RkcScrambler& operator=(const RkcScrambler&) = delete;
    ~RkcScrambler() = default;

    // Scrambles length bytes of in into out (capacity bytes) and returns the
    // length of the block. Throws RkcScramblerError when the block would not
    // fit or the cipher fails; out is then unspecified. The last argument is
    // the platform's text-mode flag; blocks are the same either way.
    std::size_t scramble(const char* in, std::size_t length, char* out, std::size_t capacity,
                         bool textMode);

    // Descrambles a block into out (capacity bytes), writes a zero byte after
    // the plain text and returns its length, which is always below capacity.
    // Throws RkcScramblerError, leaving out untouched, for a block that is not
    // one of scramble's, was altered, or whose plain text does not fit.
    std::size_t descramble(const char* in, std::size_t length, char* out, std::size_t capacity,
                           bool textMode);
};
