#include "Fields.h"
#include "FieldRows.h"
#include "VSDKAPIGlobalData/TextConversion.h"

namespace msgf {

std::string getBytes(const CNMessageBase& m, FieldId f) {
    auto it = m.fields().find(f.number);
    if (it == m.fields().end() || it->second.kind != vsdkmsg::FieldKind::Bytes || !it->second.b) {
        return std::string();
    }
    return it->second.b->str();
}

bool hasInt(const CNMessageBase& m, FieldId f) {
    // getInt reads by slot: a field of this number at another slot would
    // pass here and then read as 0.
    auto it = m.fields().find(f.number);
    return it != m.fields().end() && it->second.kind == vsdkmsg::FieldKind::Int64 &&
           it->second.slot == f.slot;
}

bool intOrAbsent(const CNMessageBase& m, FieldId f) {
    return m.fields().count(f.number) == 0 || hasInt(m, f);
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

std::vector<int> getIntList(const CNMessageBase& m, FieldId f) {
    std::vector<int> values;
    auto it = m.fields().find(f.number);
    if (it == m.fields().end()) return values;
    const vsdkmsg::Field& field = it->second;
    if (field.kind == vsdkmsg::FieldKind::IntList && field.intList) {
        values = *field.intList;
    } else if (field.kind == vsdkmsg::FieldKind::Int64List && field.int64List) {
        for (long long v : *field.int64List) values.push_back(static_cast<int>(v));
    }
    return values;
}

const std::vector<int>* findIntList(const CNMessageBase& m, FieldId f) {
    auto it = m.fields().find(f.number);
    if (it == m.fields().end() || it->second.kind != vsdkmsg::FieldKind::IntList) return nullptr;
    return it->second.intList;
}

const std::vector<std::string>* findTextList(const CNMessageBase& m, FieldId f) {
    auto it = m.fields().find(f.number);
    if (it == m.fields().end() || it->second.kind != vsdkmsg::FieldKind::TextList) {
        return nullptr;
    }
    return it->second.textList;
}

CNMessageBase& commonChild(CNMessageBase& m, FieldId f, unsigned long commonTag) {
    const int module = m.getModuleId();
    const vsdkmsg::MessageType* type =
        vsdkmsg::findByTag((static_cast<unsigned long>(module) << 24) | commonTag);
    return child(m, f, module, type ? type->classNumber : 0);
}

}  // namespace msgf

namespace fieldrows {

void putTime(CNMessageBase& message, FieldId field, const _QTime& time) {
    QTimeCopy(msgf::commonChild(message, field, msgf::kCommonTime), time);
}

}  // namespace fieldrows

namespace vsdkfields {
namespace {

// Filled at load time by the registrars of the family headers, read after.
std::vector<FieldTable>& tables() {
    static std::vector<FieldTable> all;
    return all;
}

}  // namespace

void addFieldTable(const FieldTable& table) {
    tables().push_back(table);
    for (std::size_t i = 0; i < table.count; ++i) {
        if (table.fields[i].id.secret) vsdkmsg::addSecretField(table.fields[i].id.hash);
    }
}

const FieldTable* fieldTables(std::size_t& count) {
    count = tables().size();
    return tables().data();
}

}  // namespace vsdkfields
