// Fuzzes the token string decoder: each input is used as a token string a
// caller hands in, and as the plain text inside one (encrypted as the library
// does, then decoded into a saved login). The password decryption's buffer
// form reads the same strings.
#include "FuzzSupport.h"

#include "VSDK/Token.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "platform/CNMessageBase.h"
#include "platform/RKPassword.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

const char kTarget[] = "tokenstring_fuzz";

void checkEntry(const _VSDKTokenFileContents& entry) {
    if (!zeroTerminated(entry.mardockName) || !zeroTerminated(entry.mardockClientName) ||
        !zeroTerminated(entry.user) || !zeroTerminated(entry.token))
        fuzzBroken(kTarget, "entry without a terminating zero");
}

void decode(const std::string& tokenString) {
    _VSDKTokenFileContents entry;
    if (destructVSDKTokenString(tokenString, &entry) == 0) checkEntry(entry);
    _VSDKTokenFileContents last;
    if (getVSDKTokenInfoWS(tokenString, &last) == 0) checkEntry(last);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    useEmptyRegistry();
    if (CNMessageBase::Initialize() != 0) fuzzBroken(kTarget, "message library");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    // As a token string.
    decode(input);

    // The buffer form of the decryption, into a buffer the input sizes.
    const std::string terminated = input.c_str();
    std::vector<char> out(size == 0 ? 1 : 1 + data[0] * 8u, '\x55');
    unsigned long length = out.size();
    if (RKPassword::decrypt(terminated.c_str(), out.data(), &length) != 0) {
        if (length >= out.size() || out[length] != '\0') fuzzBroken(kTarget, "decryption overran");
    } else if (length != out.size()) {
        fuzzBroken(kTarget, "failed decryption changed the length");
    }

    // As the text inside a token string.
    std::string cipher;
    if (RKPassword::encryptStrong(input, cipher) != 0) return 0;
    decode(cipher);
    std::string plain;
    if (RKPassword::decrypt(cipher, plain) != 0 || plain != input) fuzzBroken(kTarget, "no round trip");
    return 0;
}
