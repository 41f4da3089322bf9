#include "CNMessageBase.h"

#include "MessageCatalog.h"

#include <memory>
#include <new>
#include <utility>

namespace vsdkmsg {

Field::Field(const Field& o) { *this = o; }

Field& Field::operator=(const Field& o) {
    if (this == &o) return *this;
    clear();
    number = o.number;
    slot = o.slot;
    hash = o.hash;
    ownerTag = o.ownerTag;
    kind = o.kind;
    i = o.i;
    s = o.s;
    if (!o.b) return *this;  // no value of a pointer kind
    switch (o.kind) {
        case FieldKind::Bytes: b = new bstring(*o.b); break;
        case FieldKind::Object: obj = new CNMessageBase(*o.obj); break;
        case FieldKind::ObjectList: objList = new std::vector<CNMessageBase>(*o.objList); break;
        case FieldKind::IntList: intList = new std::vector<int>(*o.intList); break;
        case FieldKind::TextList: textList = new std::vector<std::string>(*o.textList); break;
        case FieldKind::Int64List: int64List = new std::vector<long long>(*o.int64List); break;
        default: break;
    }
    return *this;
}

Field::~Field() { clear(); }

void Field::clear() {
    if (b) {
        switch (kind) {
            case FieldKind::Bytes: delete b; break;
            case FieldKind::Object: delete obj; break;
            case FieldKind::ObjectList: delete objList; break;
            case FieldKind::IntList: delete intList; break;
            case FieldKind::TextList: delete textList; break;
            case FieldKind::Int64List: delete int64List; break;
            default: break;
        }
    }
    b = nullptr;
    i = 0;
    s.clear();
}

namespace {

// Released nodes of one size, kept per thread; given back when the thread ends.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kKeptNodes = 0;  // each node its own allocation, as the checks need
#else
constexpr std::size_t kKeptNodes = 256;
#endif

thread_local bool t_nodesGone = false;

struct KeptNodes {
    struct Node {
        Node* next;
    };
    Node* head = nullptr;
    std::size_t count = 0;
    std::size_t size = 0;
    ~KeptNodes() {
        t_nodesGone = true;
        while (head) {
            Node* next = head->next;
            ::operator delete(head);
            head = next;
        }
    }
};

thread_local KeptNodes t_nodes;

}  // namespace

void* takeNode(std::size_t size) {
    if (!t_nodesGone && t_nodes.head && t_nodes.size == size) {
        KeptNodes::Node* node = t_nodes.head;
        t_nodes.head = node->next;
        --t_nodes.count;
        return node;
    }
    return ::operator new(size);
}

void keepNode(void* node, std::size_t size) noexcept {
    if (!t_nodesGone && t_nodes.count < kKeptNodes && size >= sizeof(KeptNodes::Node) &&
        (t_nodes.count == 0 || t_nodes.size == size)) {
        t_nodes.size = size;
        t_nodes.head = new (node) KeptNodes::Node{t_nodes.head};
        ++t_nodes.count;
        return;
    }
    ::operator delete(node);
}

}  // namespace vsdkmsg

using vsdkmsg::Field;
using vsdkmsg::FieldKind;

CNMessageBase::CNMessageBase(int moduleId, int classNumber)
    : m_module(moduleId), m_class(classNumber) {
    const vsdkmsg::MessageType* t = vsdkmsg::findByClass(moduleId, classNumber);
    // A pair missing from the catalog still gets a distinct, recognisable tag.
    m_tag = t ? t->tag
              : (static_cast<unsigned long>(moduleId & 0xFF) << 24) | 0xFF0000UL |
                    static_cast<unsigned long>(classNumber & 0xFFFF);
}

CNMessageBase& CNMessageBase::operator=(const CNMessageBase& other) {
    if (this != &other) {
        // Copied whole first: other may be a nested object or list element of this message.
        CNMessageBase copy(other);
        *this = std::move(copy);
    }
    return *this;
}

const char* CNMessageBase::getTagName() const {
    const vsdkmsg::MessageType* t = vsdkmsg::findByTag(m_tag);
    return t ? t->name : "UnknownMessage";
}

Field& CNMessageBase::slotFor(short fieldNumber, short slot, unsigned long ownerTag,
                              unsigned int fieldHash, FieldKind kind) {
    // Field number 0 is a valid field of some families: a new entry is told
    // by its insertion, not by its number.
    auto [it, inserted] = m_fields.try_emplace(fieldNumber);
    Field& f = it->second;
    if (inserted || f.kind != kind) {
        // New field, or one of another kind (untrusted input): start it afresh.
        f.clear();
        f.kind = kind;
    }
    f.number = fieldNumber;
    f.slot = slot;
    f.hash = fieldHash;
    f.ownerTag = ownerTag;
    return f;
}

const Field* CNMessageBase::findBySlot(short slot) const {
    for (const auto& kv : m_fields) {
        if (kv.second.slot == slot) return &kv.second;
    }
    return nullptr;
}

const Field* CNMessageBase::findByNumber(short fieldNumber) const {
    auto it = m_fields.find(fieldNumber);
    return it == m_fields.end() ? nullptr : &it->second;
}

void CNMessageBase::setint64(short fieldNumber, short slot, long long value,
                             unsigned long ownerTag, unsigned int fieldHash) {
    slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Int64).i = value;
}

long long CNMessageBase::getint64(short slot, unsigned long, unsigned int) const {
    const Field* f = findBySlot(slot);
    return (f && f->kind == FieldKind::Int64) ? f->i : 0;
}

void CNMessageBase::setstring(short fieldNumber, short slot, const std::string& value,
                              unsigned long ownerTag, unsigned int fieldHash) {
    slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Text).s = value;
}

std::string& CNMessageBase::getstringByRef(short fieldNumber, short slot, unsigned long ownerTag,
                                           unsigned int fieldHash) {
    return slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Text).s;
}

std::string CNMessageBase::getstring(short fieldNumber, short, unsigned long,
                                     unsigned int) const {
    const Field* f = findByNumber(fieldNumber);
    return (f && f->kind == FieldKind::Text) ? f->s : std::string();
}

bstring*& CNMessageBase::getbstringobjectByRef(short fieldNumber, short slot,
                                               unsigned long ownerTag, unsigned int fieldHash) {
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Bytes);
    if (!f.b) f.b = new bstring();
    return f.b;
}

void CNMessageBase::setbstringobject(short fieldNumber, short slot, const bstring& value,
                                     unsigned long ownerTag, unsigned int fieldHash) {
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Bytes);
    if (f.b) {
        *f.b = value;
    } else {
        f.b = new bstring(value);
    }
}

namespace {

// What a reading accessor returns for a field that is absent or of another
// kind: a null pointer of the caller's thread, reset on every use.
template <typename T>
T*& noValue() {
    static thread_local T* none = nullptr;
    none = nullptr;
    return none;
}

}  // namespace

CNMessageBase*& CNMessageBase::getObjectAccessor(bool create, bool, short fieldNumber, short slot,
                                                 unsigned long ownerTag, unsigned int fieldHash,
                                                 int moduleId, int classNumber) {
    const CNMessageBase probe(moduleId, classNumber);
    if (!create) {
        // Reading only: an absent field, one of another kind, or a nested
        // object of another type than the reader expects reads as absent and
        // stays as it is.
        auto it = m_fields.find(fieldNumber);
        if (it == m_fields.end() || it->second.kind != FieldKind::Object || !it->second.obj ||
            it->second.obj->getTagID() != probe.getTagID()) {
            return noValue<CNMessageBase>();
        }
        return it->second.obj;
    }
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Object);
    if (f.obj && f.obj->getTagID() != probe.getTagID()) {
        // Built on demand as the expected type: what was there of another type goes.
        delete f.obj;
        f.obj = nullptr;
    }
    if (!f.obj) f.obj = new CNMessageBase(probe);
    return f.obj;
}

void CNMessageBase::setObjectAccessor(const void* object, short fieldNumber, short slot,
                                      unsigned long ownerTag, unsigned int fieldHash) {
    if (!object) return;
    // Copied first: the object may be part of this message (even this field).
    std::unique_ptr<CNMessageBase> copy(
        new CNMessageBase(*static_cast<const CNMessageBase*>(object)));
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Object);
    delete f.obj;
    f.obj = copy.release();
}

template <typename T>
T*& CNMessageBase::listField(short fieldNumber, short slot, unsigned long ownerTag,
                             unsigned int fieldHash, bool create, FieldKind kind,
                             T* Field::*member) {
    if (!create) {
        // Reading only: the list of a present field of that kind, else a null
        // pointer; the message is not changed.
        auto it = m_fields.find(fieldNumber);
        if (it == m_fields.end() || it->second.kind != kind || !(it->second.*member)) {
            return noValue<T>();
        }
        return it->second.*member;
    }
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, kind);
    if (!(f.*member)) f.*member = new T();
    return f.*member;
}

template <typename T>
void CNMessageBase::setListField(short fieldNumber, short slot, const T* values,
                                 unsigned long ownerTag, unsigned int fieldHash, FieldKind kind,
                                 T* Field::*member) {
    // Copied first: values may be held inside this message.
    T copy = values ? *values : T();
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, kind);
    if (f.*member) {
        *(f.*member) = std::move(copy);
    } else {
        f.*member = new T(std::move(copy));
    }
}

std::vector<CNMessageBase>*& CNMessageBase::getlistobject(short fieldNumber, short slot,
                                                          unsigned long ownerTag,
                                                          unsigned int fieldHash, bool create) {
    return listField(fieldNumber, slot, ownerTag, fieldHash, create, FieldKind::ObjectList,
                     &Field::objList);
}

std::vector<int>*& CNMessageBase::getlistint(short fieldNumber, short slot, unsigned long ownerTag,
                                             unsigned int fieldHash, bool create) {
    return listField(fieldNumber, slot, ownerTag, fieldHash, create, FieldKind::IntList,
                     &Field::intList);
}

std::vector<std::string>*& CNMessageBase::getliststring(short fieldNumber, short slot,
                                                        unsigned long ownerTag,
                                                        unsigned int fieldHash, bool create) {
    return listField(fieldNumber, slot, ownerTag, fieldHash, create, FieldKind::TextList,
                     &Field::textList);
}

std::vector<long long>*& CNMessageBase::getlistlonglong(short fieldNumber, short slot,
                                                        unsigned long ownerTag,
                                                        unsigned int fieldHash, bool create) {
    return listField(fieldNumber, slot, ownerTag, fieldHash, create, FieldKind::Int64List,
                     &Field::int64List);
}

void CNMessageBase::setlistobject(short fieldNumber, short slot,
                                  const std::vector<CNMessageBase>* values,
                                  unsigned long ownerTag, unsigned int fieldHash) {
    setListField(fieldNumber, slot, values, ownerTag, fieldHash, FieldKind::ObjectList,
                 &Field::objList);
}

void CNMessageBase::setlistint(short fieldNumber, short slot, const std::vector<int>* values,
                               unsigned long ownerTag, unsigned int fieldHash) {
    setListField(fieldNumber, slot, values, ownerTag, fieldHash, FieldKind::IntList,
                 &Field::intList);
}

void CNMessageBase::setliststring(short fieldNumber, short slot,
                                  const std::vector<std::string>* values,
                                  unsigned long ownerTag, unsigned int fieldHash) {
    setListField(fieldNumber, slot, values, ownerTag, fieldHash, FieldKind::TextList,
                 &Field::textList);
}

void CNMessageBase::setlistlonglong(short fieldNumber, short slot,
                                    const std::vector<long long>* values,
                                    unsigned long ownerTag, unsigned int fieldHash) {
    setListField(fieldNumber, slot, values, ownerTag, fieldHash, FieldKind::Int64List,
                 &Field::int64List);
}

bool CNMessageBase::isSet(short fieldNumber, unsigned long, unsigned long) const {
    const Field* f = findByNumber(fieldNumber);
    if (!f) return false;
    // Texts and integers are present once set; the other kinds while their
    // value exists (only the pointer of the field's own kind is ever held).
    return f->kind == FieldKind::Int64 || f->kind == FieldKind::Text || f->b != nullptr;
}

bool CNMessageBase::isOldWay(unsigned long tagCode) {
    // Every known type has its logged text masked.
    return vsdkmsg::findByTag(tagCode) != nullptr;
}

CNMessageBase* CNMessageBase::createByTag(unsigned long tagCode) {
    const vsdkmsg::MessageType* t = vsdkmsg::findByTag(tagCode);
    return t ? new CNMessageBase(t->module, t->classNumber) : nullptr;
}
