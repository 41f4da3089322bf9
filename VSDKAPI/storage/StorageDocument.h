// Storage-policy documents of the App family: the copy definition builder
// and the course every document operation follows (write the document, send
// it through the generic request, rebuild the reply, read its error object).
#pragma once

#include "VSDKAPI/messages/App.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"

#include <string>

namespace storagedoc {

// Which operation a copy definition is for; each sets its own share of it.
enum class DefinitionKind { Copy, DataPath, PrimaryCopy };

// What a copy definition is built from, gathered from either parameter
// record. Texts are the records' texts up to their terminator.
struct DefinitionInput {
    DefinitionKind kind = DefinitionKind::Copy;
    std::string copyName;        // data path: names the copy that gains the path
    std::string policyName;
    unsigned int copyType = 0;
    unsigned int isDefault = 0;
    unsigned int snapCopy = 0;
    unsigned int mirrorCopy = 0;
    std::string libraryName;
    int mediaAgentId = 0;        // sent only inside the deduplication chain
    std::string mediaAgentName;
    std::string drivePoolName;
    std::string scratchPoolName;
    std::string sourceCopyName;
    std::string provisioningPolicy;
    std::string resourcePool;
    std::string ddbPath;
    int encryptData = 0;
    unsigned int cipher = 0;
    int keyLength = 0;
    int mediaAccess = 0;
    int existingEncryptedData = 0;
};

// Fills definition from in, as its kind asks.
void buildDefinition(CNMessageBase& definition, const DefinitionInput& in);

// How one document operation differs from the others.
struct DocumentSpec {
    const char* function;       // log tag
    const char* failurePhrase;  // "<phrase> failed with Error code [0x%x] Error string [%s]"
    bool logSending;            // "Sending XML[%s]." at level 6
    FieldId errorField;         // the reply's error object; number -1: the reply is one
    FieldId createdCopy = FieldId{0, 0, 0};  // a creation reply's copy reference (hash 0: none)
};
constexpr FieldId kReplyIsError{-1, -1, 0};

// Writes request, sends it through the generic request and rebuilds reply
// (of its own type) from the answer. 0: reply holds a successful answer.
// Else: 0x201 when the document cannot be written, the generic request's
// code, 0x207 when the answer cannot be rebuilt as reply or its error object
// or copy reference is of another type, or the server's code (low 32 bits, sign-extended) with
// its text as the last error, the failure line and *failureOut = -1.
unsigned long exchangeDocument(VSDKAPIGlobalData& state, const DocumentSpec& spec,
                               const CNMessageBase& request, CNMessageBase& reply,
                               int* failureOut);

// Stores the low 32 bits of a field of the creation reply's copy reference
// in value; the reply has passed exchangeDocument. A reply without the
// reference or the number is no creation: 0x207 with its line, value untouched.
unsigned long takeCreatedValue(VSDKAPIGlobalData& state, const DocumentSpec& spec,
                               const CNMessageBase& reply, FieldId field, int& value);

}  // namespace storagedoc
