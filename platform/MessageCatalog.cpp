#include "MessageCatalog.h"

#include <algorithm>
#include <atomic>
#include <vector>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace vsdkmsg {
namespace {

struct PairHash {
    std::size_t operator()(const std::pair<int, int>& p) const {
        return std::hash<long long>()((static_cast<long long>(p.first) << 32) ^ p.second);
    }
};

// Written only at load time (static registrars), read afterwards.
struct Catalog {
    std::unordered_map<std::pair<int, int>, const MessageType*, PairHash> byClass;
    std::unordered_map<unsigned long, const MessageType*> byTag;
    std::unordered_map<int, MessageFamily> families;
    std::vector<unsigned int> secrets;  // sorted: asked for every field written
    std::atomic<unsigned int> registeredMask{0};
};

Catalog& catalog() {
    static Catalog c;
    return c;
}

}  // namespace

void addFamily(const MessageFamily& family) {
    Catalog& c = catalog();
    c.families[family.module] = family;
    for (std::size_t i = 0; i < family.count; ++i) {
        const MessageType& t = family.types[i];
        c.byClass[{t.module, t.classNumber}] = &t;
        c.byTag[t.tag] = &t;
    }
}

const MessageType* findByClass(int module, int classNumber) {
    const auto& m = catalog().byClass;
    auto it = m.find({module, classNumber});
    return it == m.end() ? nullptr : it->second;
}

const MessageType* findByTag(unsigned long tag) {
    const auto& m = catalog().byTag;
    auto it = m.find(tag);
    return it == m.end() ? nullptr : it->second;
}

const MessageFamily* findFamily(int module) {
    const auto& m = catalog().families;
    auto it = m.find(module);
    return it == m.end() ? nullptr : &it->second;
}

void markRegistered(int module) {
    if (module >= 0 && module < 32) {
        catalog().registeredMask.fetch_or(1u << module);
    }
}

bool isRegistered(int module) {
    return module >= 0 && module < 32 && (catalog().registeredMask.load() & (1u << module)) != 0;
}

void addSecretField(unsigned int fieldHash) {
    std::vector<unsigned int>& secrets = catalog().secrets;
    const auto at = std::lower_bound(secrets.begin(), secrets.end(), fieldHash);
    if (at == secrets.end() || *at != fieldHash) secrets.insert(at, fieldHash);
}

bool isSecretField(unsigned int fieldHash) {
    const std::vector<unsigned int>& secrets = catalog().secrets;
    return std::binary_search(secrets.begin(), secrets.end(), fieldHash);
}

}  // namespace vsdkmsg
