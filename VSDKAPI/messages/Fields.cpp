#include "Fields.h"

namespace msgf {

std::string getBytes(const CNMessageBase& m, FieldId f) {
    auto it = m.fields().find(f.number);
    if (it == m.fields().end() || it->second.kind != vsdkmsg::FieldKind::Bytes || !it->second.b) {
        return std::string();
    }
    return it->second.b->str();
}

const CNMessageBase* findChild(const CNMessageBase& m, FieldId f, unsigned long tag) {
    auto it = m.fields().find(f.number);
    if (it == m.fields().end() || it->second.kind != vsdkmsg::FieldKind::Object) return nullptr;
    const CNMessageBase* obj = it->second.obj;
    return (obj && obj->getTagID() == tag) ? obj : nullptr;
}

const std::vector<CNMessageBase>* findList(const CNMessageBase& m, FieldId f) {
    auto it = m.fields().find(f.number);
    if (it == m.fields().end() || it->second.kind != vsdkmsg::FieldKind::ObjectList) {
        return nullptr;
    }
    return it->second.objList;
}

}  // namespace msgf
