// The stand-in message library's catalog of message types: which (module id,
// class number) pairs exist, their tag codes and names, and which fields hold
// secrets (written under a "password" attribute so that log masking hides
// them). Families add their tables at load time through FamilyRegistrar.
#pragma once

#include <cstddef>

namespace vsdkmsg {

struct MessageType {
    int module;
    int classNumber;
    unsigned long tag;
    const char* name;
    unsigned long replyTag;  // 0 when the type is not a request
};

struct MessageFamily {
    int module;
    const char* name;
    const MessageType* types;
    std::size_t count;
};

void addFamily(const MessageFamily& family);
const MessageType* findByClass(int module, int classNumber);
const MessageType* findByTag(unsigned long tag);
const MessageFamily* findFamily(int module);

// A family whose RegisterSubsystem() ran: its messages can be rebuilt from text.
void markRegistered(int module);
bool isRegistered(int module);

// Fields whose values are secrets, by field hash: written under a
// "password" attribute wherever they occur.
void addSecretField(unsigned int fieldHash);
bool isSecretField(unsigned int fieldHash);

struct FamilyRegistrar {
    explicit FamilyRegistrar(const MessageFamily& family) { addFamily(family); }
};

}  // namespace vsdkmsg
