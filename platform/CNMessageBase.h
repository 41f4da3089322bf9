// Stand-in for the platform's generic message object.
//
// A message is built from a module id and a class number; the message catalog
// (MessageCatalog.h) maps that pair to the type's tag code and name. Fields are
// addressed by field number, slot, owner tag code and field hash; a field never
// set is absent. Messages travel as XML text (see serialize/unserialize).
#pragma once

#include "bstring.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CNMessageBase;

namespace vsdkmsg {

enum class FieldKind : unsigned char {
    Int64,
    Text,
    Bytes,
    Object,
    ObjectList,
    IntList,
    TextList,
    Int64List,
};

struct Field {
    short number = 0;
    short slot = 0;
    unsigned int hash = 0;
    unsigned int ownerTag = 0;  // tag codes are 32-bit values
    FieldKind kind = FieldKind::Int64;
    long long i = 0;
    std::string s;
    // Owned; only the member that matches kind is ever read (one pointer
    // for all, so that a field stays small in messages of many fields).
    union {
        bstring* b = nullptr;
        CNMessageBase* obj;
        std::vector<CNMessageBase>* objList;
        std::vector<int>* intList;
        std::vector<std::string>* textList;
        std::vector<long long>* int64List;
    };

    Field() = default;
    Field(const Field& o);
    Field& operator=(const Field& o);
    ~Field();
    void clear();
};

// A request's fields are made and released by the hundred: a thread keeps
// some released field nodes (a few tens of KB at most) for its next message
// instead of handing each back to the heap.
void* takeNode(std::size_t size);
void keepNode(void* node, std::size_t size) noexcept;

template <class T>
struct NodeAllocator {
    using value_type = T;
    NodeAllocator() noexcept = default;
    template <class U>
    NodeAllocator(const NodeAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        return n == 1 ? static_cast<T*>(takeNode(sizeof(T))) : std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, std::size_t n) noexcept {
        n == 1 ? keepNode(p, sizeof(T)) : std::allocator<T>().deallocate(p, n);
    }
    template <class U>
    bool operator==(const NodeAllocator<U>&) const noexcept { return true; }
    template <class U>
    bool operator!=(const NodeAllocator<U>&) const noexcept { return false; }
};

using FieldMap = std::map<short, Field, std::less<short>, NodeAllocator<std::pair<const short, Field>>>;

}  // namespace vsdkmsg

class CNMessageBase {
public:
    CNMessageBase(int moduleId, int classNumber);
    CNMessageBase(const CNMessageBase& other) = default;
    // Safe also when other is held inside this message.
    CNMessageBase& operator=(const CNMessageBase& other);
    CNMessageBase(CNMessageBase&& other) noexcept = default;
    CNMessageBase& operator=(CNMessageBase&& other) noexcept = default;
    virtual ~CNMessageBase() = default;

    unsigned long getTagID() const { return m_tag; }
    const char* getTagName() const;
    int getModuleId() const { return m_module; }
    int getClassNumber() const { return m_class; }

    void setint64(short fieldNumber, short slot, long long value, unsigned long ownerTag,
                  unsigned int fieldHash);
    long long getint64(short slot, unsigned long ownerTag, unsigned int fieldHash) const;

    void setstring(short fieldNumber, short slot, const std::string& value, unsigned long ownerTag,
                   unsigned int fieldHash);
    std::string& getstringByRef(short fieldNumber, short slot, unsigned long ownerTag,
                                unsigned int fieldHash);
    std::string getstring(short fieldNumber, short slot, unsigned long ownerTag,
                          unsigned int fieldHash) const;

    bstring*& getbstringobjectByRef(short fieldNumber, short slot, unsigned long ownerTag,
                                    unsigned int fieldHash);
    void setbstringobject(short fieldNumber, short slot, const bstring& value,
                          unsigned long ownerTag, unsigned int fieldHash);

    CNMessageBase*& getObjectAccessor(bool create, bool flag, short fieldNumber, short slot,
                                      unsigned long ownerTag, unsigned int fieldHash, int moduleId,
                                      int classNumber);
    void setObjectAccessor(const void* object, short fieldNumber, short slot,
                           unsigned long ownerTag, unsigned int fieldHash);

    std::vector<CNMessageBase>*& getlistobject(short fieldNumber, short slot,
                                               unsigned long ownerTag, unsigned int fieldHash,
                                               bool create);
    std::vector<int>*& getlistint(short fieldNumber, short slot, unsigned long ownerTag,
                                  unsigned int fieldHash, bool create);
    std::vector<std::string>*& getliststring(short fieldNumber, short slot,
                                             unsigned long ownerTag, unsigned int fieldHash,
                                             bool create);
    std::vector<long long>*& getlistlonglong(short fieldNumber, short slot,
                                             unsigned long ownerTag, unsigned int fieldHash,
                                             bool create);
    void setlistobject(short fieldNumber, short slot, const std::vector<CNMessageBase>* values,
                       unsigned long ownerTag, unsigned int fieldHash);
    void setlistint(short fieldNumber, short slot, const std::vector<int>* values,
                    unsigned long ownerTag, unsigned int fieldHash);
    void setliststring(short fieldNumber, short slot, const std::vector<std::string>* values,
                       unsigned long ownerTag, unsigned int fieldHash);
    void setlistlonglong(short fieldNumber, short slot, const std::vector<long long>* values,
                         unsigned long ownerTag, unsigned int fieldHash);

    bool isSet(short fieldNumber, unsigned long ownerTag, unsigned long fieldHash) const;

    // XML form. 0 = success.
    int serialize(std::string& out, bool pretty) const;
    int unserialize(const std::string& xml);
    int unserialize(const char* xml);

    static int Initialize();
    static int ConstructObject(unsigned long tagCode, const char* xml, CNMessageBase*& out,
                               bool strict, std::string& errorText);
    // Builds a message of whatever type the document names.
    static int ConstructAny(const char* xml, size_t length, CNMessageBase*& out,
                            std::string& errorText);
    static bool isOldWay(unsigned long tagCode);

    // Read-only view of the fields, ordered by field number (encoder, tests).
    const vsdkmsg::FieldMap& fields() const { return m_fields; }
    vsdkmsg::FieldMap& mutableFields() { return m_fields; }

    // Builds an empty message of a known tag code; null for an unknown one.
    static CNMessageBase* createByTag(unsigned long tagCode);

private:
    vsdkmsg::Field& slotFor(short fieldNumber, short slot, unsigned long ownerTag,
                            unsigned int fieldHash, vsdkmsg::FieldKind kind);
    // The four list kinds share these; member names the field's vector.
    template <typename T>
    T*& listField(short fieldNumber, short slot, unsigned long ownerTag, unsigned int fieldHash,
                  bool create, vsdkmsg::FieldKind kind, T* vsdkmsg::Field::*member);
    template <typename T>
    void setListField(short fieldNumber, short slot, const T* values, unsigned long ownerTag,
                      unsigned int fieldHash, vsdkmsg::FieldKind kind, T* vsdkmsg::Field::*member);
    const vsdkmsg::Field* findBySlot(short slot) const;
    const vsdkmsg::Field* findByNumber(short fieldNumber) const;

    int m_module = 0;
    int m_class = 0;
    unsigned long m_tag = 0;
    vsdkmsg::FieldMap m_fields;
};
