// Fuzzes the inner reply documents that operations rebuild from the generic
// request's text: each input is read as the archive check's answer, and as
// the generic reply whose document text (and error object) the generic
// request hands on, whose text is read as an answer again.
#include "FuzzSupport.h"

#include "VSDKAPI/backup/ArchiveCheck.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"

#include <cstdint>
#include <memory>
#include <string>

namespace {

const char kTarget[] = "innerreply_fuzz";

void readAnswer(const std::string& document) {
    int flags = 0;
    const bool ok = readArchiveCheckReply(document, flags);
    if ((!ok && flags != 0) || (flags & ~3) != 0) fuzzBroken(kTarget, "flags of no answer");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    useEmptyRegistry();
    if (CNMessageBase::Initialize() != 0) fuzzBroken(kTarget, "message library");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string document(reinterpret_cast<const char*>(data), size);
    readAnswer(document);

    // The generic reply, as the generic request reads it.
    using namespace OrvaneOperations;
    CNMessageBase* raw = nullptr;
    std::string why;
    if (CNMessageBase::ConstructObject(QExecuteRespMsg::kTag, document.c_str(), raw, false, why) != 0) {
        if (raw) fuzzBroken(kTarget, "failure with a message");
        return 0;
    }
    std::unique_ptr<CNMessageBase> reply(raw);
    if (!reply || reply->getTagID() != QExecuteRespMsg::kTag) fuzzBroken(kTarget, "reply of another type");
    const std::string output = msgf::getText(*reply, kExecuteRespXml);
    if (const CNMessageBase* error = msgf::findChild(*reply, msgf::kReplyError, QReplyErrorMsg::kTag))
        (void)msgf::getInt(*error, kErrorExtra);
    readAnswer(output);
    return 0;
}
