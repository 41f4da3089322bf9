#include "RkcScrambler.h"

#include "AesGcm.h"

#include <openssl/crypto.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned char kMarker[4] = {'R', 'K', 'S', 'C'};
constexpr unsigned char kVersion = 1;
constexpr std::size_t kHeaderSize = sizeof kMarker + 1;
static_assert(RkcScrambler::kOverhead == kHeaderSize + aesgcm::kSealOverhead,
              "overhead matches the block layout");

// The scrambler's built-in key.
constexpr unsigned char kKey[aesgcm::kKeySize] = {
    0x5a, 0x1f, 0x93, 0xc4, 0x07, 0x6e, 0xb2, 0x38, 0xd1, 0x4c, 0xe9, 0x72, 0x0b, 0xa5, 0x36, 0xf8,
    0x8d, 0x21, 0x6a, 0xfe, 0x43, 0x97, 0x1c, 0xb0, 0x65, 0xda, 0x0e, 0x89, 0x3f, 0xc2, 0x54, 0xe7};

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
    // The header is authenticated with the contents.
    if (!aesgcm::seal(kKey, block, kHeaderSize, reinterpret_cast<const unsigned char*>(in), length,
                      block + kHeaderSize))
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

    // Opened into a buffer of our own: nothing reaches out before the tag has
    // been checked.
    std::vector<unsigned char> plain(plainSize + 1, 0);
    if (!aesgcm::open(kKey, block, kHeaderSize, block + kHeaderSize, length - kHeaderSize,
                      plain.data()))
        throw RkcScramblerError("scrambled block altered or not ours");
    std::memcpy(out, plain.data(), plainSize);
    out[plainSize] = '\0';
    OPENSSL_cleanse(plain.data(), plain.size());
    return plainSize;
}
