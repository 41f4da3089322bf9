// Fuzzes the token store reader two ways with each input: as the bytes of a
// store file (which the descrambler must refuse unless they are a block it
// wrote), and as the store text inside a file (scrambled as the writer does,
// read back, and parsed into saved logins). An altered block must be refused.
#include "FuzzSupport.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "VSDKAPIUtils/TokenStoreInternal.h"
#include "platform/RkcScrambler.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

const char kTarget[] = "tokenstore_fuzz";

void checkText(const std::string& text) {
    if (text.find('\0') != std::string::npos) fuzzBroken(kTarget, "store text holds a zero byte");
    if (text.size() >= tokenstore::kStoreBufferSize) fuzzBroken(kTarget, "store text over its buffer");
}

// What the look-up and the changes do with a parsed store.
void readEntries(const std::string& text) {
    VSDKLogin::QAllTokenInfo all;
    if (!tokenstore::parseStoreText(text, all)) return;
    for (const CNMessageBase& e : tokenstore::entriesOf(all)) {
        if (e.getTagID() != VSDKLogin::QLoginTokenInfo::kTag) fuzzBroken(kTarget, "entry of another type");
        const _VSDKTokenFileContents entry = tokenstore::entryFromMessage(e, true);
        if (!zeroTerminated(entry.mardockName) || !zeroTerminated(entry.mardockClientName) ||
            !zeroTerminated(entry.user) || !zeroTerminated(entry.token))
            fuzzBroken(kTarget, "entry without a terminating zero");
        (void)entry.c_str();
        std::string again;
        if (tokenstore::makeEntryMessage(entry).serialize(again, false) != 0)
            fuzzBroken(kTarget, "entry does not write back");
    }
    std::string out;
    if (all.serialize(out, false) != 0) fuzzBroken(kTarget, "store does not write back");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    useEmptyRegistry();
    if (CNMessageBase::Initialize() != 0) fuzzBroken(kTarget, "message library");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);

    // The input as a store file.
    std::string text;
    if (tokenstore::descrambleStore(bytes, size, text)) {
        checkText(text);
        readEntries(text);
    }

    // The input as the text inside a store file.
    std::vector<char> block(tokenstore::kStoreBufferSize, 0);
    std::size_t length = 0;
    try {
        RkcScrambler scrambler;
        length = scrambler.scramble(bytes, size, block.data(), block.size(), true);
    } catch (const RkcScramblerError&) {
        return 0;  // too large for a store
    }
    text.clear();
    if (!tokenstore::descrambleStore(block.data(), length, text)) fuzzBroken(kTarget, "own block refused");
    checkText(text);
    if (text != tokenstore::upToZero(std::string(bytes, size))) fuzzBroken(kTarget, "text changed");
    readEntries(text);

    // One altered bit anywhere in the block, or a cut block, is refused.
    std::string ignored;
    if (size > 0) {
        const std::size_t at = (data[0] * 131u + size) % length;
        block[at] = static_cast<char>(block[at] ^ (1u << (data[size - 1] & 7)));
        if (tokenstore::descrambleStore(block.data(), length, ignored)) fuzzBroken(kTarget, "altered block read");
        block[at] = static_cast<char>(block[at] ^ (1u << (data[size - 1] & 7)));
    }
    if (tokenstore::descrambleStore(block.data(), length - 1, ignored)) fuzzBroken(kTarget, "cut block read");
    return 0;
}
