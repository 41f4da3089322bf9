#include "CNMessageBase.h"

#include "MessageCatalog.h"

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
    if (o.b) b = new bstring(*o.b);
    if (o.obj) obj = new CNMessageBase(*o.obj);
    if (o.objList) objList = new std::vector<CNMessageBase>(*o.objList);
    if (o.intList) intList = new std::vector<int>(*o.intList);
    if (o.textList) textList = new std::vector<std::string>(*o.textList);
    if (o.int64List) int64List = new std::vector<long long>(*o.int64List);
    return *this;
}

Field::~Field() { clear(); }

void Field::clear() {
    delete b;
    delete obj;
    delete objList;
    delete intList;
    delete textList;
    delete int64List;
    b = nullptr;
    obj = nullptr;
    objList = nullptr;
    intList = nullptr;
    textList = nullptr;
    int64List = nullptr;
    i = 0;
    s.clear();
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

const char* CNMessageBase::getTagName() const {
    const vsdkmsg::MessageType* t = vsdkmsg::findByTag(m_tag);
    return t ? t->name : "UnknownMessage";
}

Field& CNMessageBase::slotFor(short fieldNumber, short slot, unsigned long ownerTag,
                              unsigned int fieldHash, FieldKind kind) {
    Field& f = m_fields[fieldNumber];
    if (f.number == 0 || f.kind != kind) {
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

CNMessageBase*& CNMessageBase::getObjectAccessor(bool create, bool, short fieldNumber, short slot,
                                                 unsigned long ownerTag, unsigned int fieldHash,
                                                 int moduleId, int classNumber) {
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Object);
    const CNMessageBase probe(moduleId, classNumber);
    if (f.obj && f.obj->getTagID() != probe.getTagID()) {
        // A nested object of another type than the reader expects reads as absent.
        delete f.obj;
        f.obj = nullptr;
    }
    if (!f.obj && create) f.obj = new CNMessageBase(probe);
    if (!f.obj) {
        // Nothing was there and nothing was made: leave no empty field behind.
        static thread_local CNMessageBase* none = nullptr;
        none = nullptr;
        m_fields.erase(fieldNumber);
        return none;
    }
    return f.obj;
}

void CNMessageBase::setObjectAccessor(const void* object, short fieldNumber, short slot,
                                      unsigned long ownerTag, unsigned int fieldHash) {
    if (!object) return;
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Object);
    const auto* src = static_cast<const CNMessageBase*>(object);
    if (f.obj) {
        *f.obj = *src;
    } else {
        f.obj = new CNMessageBase(*src);
    }
}

namespace {

template <typename T>
T*& listRef(Field& f, T* Field::*member, bool create) {
    if (!(f.*member) && create) f.*member = new T();
    return f.*member;
}

}  // namespace

std::vector<CNMessageBase>*& CNMessageBase::getlistobject(short fieldNumber, short slot,
                                                          unsigned long ownerTag,
                                                          unsigned int fieldHash, bool create) {
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::ObjectList);
    return listRef(f, &Field::objList, create);
}

std::vector<int>*& CNMessageBase::getlistint(short fieldNumber, short slot, unsigned long ownerTag,
                                             unsigned int fieldHash, bool create) {
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::IntList);
    return listRef(f, &Field::intList, create);
}

std::vector<std::string>*& CNMessageBase::getliststring(short fieldNumber, short slot,
                                                        unsigned long ownerTag,
                                                        unsigned int fieldHash, bool create) {
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::TextList);
    return listRef(f, &Field::textList, create);
}

std::vector<long long>*& CNMessageBase::getlistlonglong(short fieldNumber, short slot,
                                                        unsigned long ownerTag,
                                                        unsigned int fieldHash, bool create) {
    Field& f = slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Int64List);
    return listRef(f, &Field::int64List, create);
}

namespace {

template <typename T>
void setList(Field& f, T* Field::*member, const T* values) {
    if (f.*member) {
        *(f.*member) = values ? *values : T();
    } else {
        f.*member = values ? new T(*values) : new T();
    }
}

}  // namespace

void CNMessageBase::setlistobject(short fieldNumber, short slot,
                                  const std::vector<CNMessageBase>* values,
                                  unsigned long ownerTag, unsigned int fieldHash) {
    setList(slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::ObjectList),
            &Field::objList, values);
}

void CNMessageBase::setlistint(short fieldNumber, short slot, const std::vector<int>* values,
                               unsigned long ownerTag, unsigned int fieldHash) {
    setList(slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::IntList), &Field::intList,
            values);
}

void CNMessageBase::setliststring(short fieldNumber, short slot,
                                  const std::vector<std::string>* values,
                                  unsigned long ownerTag, unsigned int fieldHash) {
    setList(slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::TextList),
            &Field::textList, values);
}

void CNMessageBase::setlistlonglong(short fieldNumber, short slot,
                                    const std::vector<long long>* values,
                                    unsigned long ownerTag, unsigned int fieldHash) {
    setList(slotFor(fieldNumber, slot, ownerTag, fieldHash, FieldKind::Int64List),
            &Field::int64List, values);
}

bool CNMessageBase::isSet(short fieldNumber, unsigned long, unsigned long) const {
    const Field* f = findByNumber(fieldNumber);
    if (!f) return false;
    switch (f->kind) {
        case FieldKind::Object:
            return f->obj != nullptr;
        case FieldKind::ObjectList:
            return f->objList != nullptr;
        case FieldKind::IntList:
            return f->intList != nullptr;
        case FieldKind::TextList:
            return f->textList != nullptr;
        case FieldKind::Int64List:
            return f->int64List != nullptr;
        default:
            return true;
    }
}

bool CNMessageBase::isOldWay(unsigned long tagCode) {
    // Every known type has its logged text masked.
    return vsdkmsg::findByTag(tagCode) != nullptr;
}

CNMessageBase* CNMessageBase::createByTag(unsigned long tagCode) {
    const vsdkmsg::MessageType* t = vsdkmsg::findByTag(tagCode);
    return t ? new CNMessageBase(t->module, t->classNumber) : nullptr;
}
