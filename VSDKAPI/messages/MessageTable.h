// Shared shape of the message family tables.
//
// Each family header lists its types once, as X(Name, classNumber, tagCode,
// replyTagCode) rows; the rows become thin message types here and the
// family's catalog table in its .cpp.
//
// The fields of each message are listed once too, beside it, as
// F(name, number, slot, hash) rows, with kSecret as a fifth value for a
// password, pass phrase, token or GUID. VSDK_MESSAGE_FIELDS turns a list into
// FieldId constants in a namespace of the message's own and into a named
// table that is registered at load time: secret fields are then written
// under a "password" attribute wherever they occur, so every log of a
// message masks them, and the tests can walk every field by name.
#pragma once

#include "platform/CNMessageBase.h"
#include "platform/MessageCatalog.h"

#include <cstddef>

struct FieldId {
    short number;
    short slot;
    unsigned int hash;
    bool secret = false;
};

constexpr bool kSecret = true;

struct NamedField {
    const char* name;
    FieldId id;
};

namespace vsdkfields {

struct FieldTable {
    const char* group;
    const NamedField* fields;
    std::size_t count;
};

// Adds a message's field table (and its secrets to the catalog).
void addFieldTable(const FieldTable& table);
// Every table added so far, for checks over all fields.
const FieldTable* fieldTables(std::size_t& count);

struct FieldTableRegistrar {
    template <std::size_t N>
    FieldTableRegistrar(const char* group, const NamedField (&fields)[N]) {
        addFieldTable(FieldTable{group, fields, N});
    }
};

}  // namespace vsdkfields

#define VSDK_FIELD_CONSTANT(Name, Number, Slot, Hash, ...) \
    constexpr FieldId Name{Number, Slot, Hash, ##__VA_ARGS__};
#define VSDK_FIELD_ENTRY(Name, ...) {#Name, Name},

// namespace Group { the constants; kFields, the named table }. Preceded by
// `inline`, the constants are also reachable from the enclosing namespace.
#define VSDK_MESSAGE_FIELDS(Group, LIST)                                             \
    namespace Group {                                                                \
    LIST(VSDK_FIELD_CONSTANT)                                                        \
    inline constexpr NamedField kFields[] = {LIST(VSDK_FIELD_ENTRY)};                \
    inline const vsdkfields::FieldTableRegistrar kFieldsRegistrar{#Group, kFields}; \
    }

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
#define VSDK_DEFINE_FAMILY(FamilyName, LIST)                                     \
    namespace {                                                                  \
    const vsdkmsg::MessageType kTypes[] = {LIST(VSDK_MESSAGE_ROW)};              \
    const vsdkmsg::FamilyRegistrar kRegistrar(vsdkmsg::MessageFamily{            \
        kModuleId, #FamilyName, kTypes, sizeof kTypes / sizeof kTypes[0]});      \
    }                                                                            \
    void RegisterSubsystem() { vsdkmsg::markRegistered(kModuleId); }
