// Shared shape of the message family tables.
//
// Each family header lists its types once, as X(Name, classNumber, tagCode,
// replyTagCode) rows; the rows become thin message types here and the
// family's catalog table in its .cpp. Fields are FieldId constants declared
// beside the message that holds them.
#pragma once

#include "platform/CNMessageBase.h"
#include "platform/MessageCatalog.h"

struct FieldId {
    short number;
    short slot;
    unsigned int hash;
};

#define VSDK_DECLARE_MESSAGE(Name, ClassNumber, Tag, ReplyTag)                  \
    struct Name : CNMessageBase {                                               \
        static constexpr int kModule = kModuleId;                               \
        static constexpr int kClass = ClassNumber;                              \
        static constexpr unsigned long kTag = Tag;                              \
        static constexpr unsigned long kReplyTag = ReplyTag;                    \
        Name() : CNMessageBase(kModuleId, ClassNumber) {}                       \
    };

#define VSDK_MESSAGE_ROW(Name, ClassNumber, Tag, ReplyTag) \
    {kModuleId, ClassNumber, Tag, #Name, ReplyTag},

// Defines the family's catalog table, its load-time registration and its
// RegisterSubsystem().
#define VSDK_DEFINE_FAMILY(FamilyName, LIST, ...)                                        \
    namespace {                                                                          \
    const vsdkmsg::MessageType kTypes[] = {LIST(VSDK_MESSAGE_ROW)};                      \
    const unsigned int kSecrets[] = {0u, ##__VA_ARGS__};                                 \
    const vsdkmsg::FamilyRegistrar kRegistrar(vsdkmsg::MessageFamily{                    \
        kModuleId, #FamilyName, kTypes, sizeof kTypes / sizeof kTypes[0], kSecrets + 1, \
        sizeof kSecrets / sizeof kSecrets[0] - 1});                                      \
    }                                                                                    \
    void RegisterSubsystem() { vsdkmsg::markRegistered(kModuleId); }
