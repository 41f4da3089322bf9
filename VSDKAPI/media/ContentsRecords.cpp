// Value semantics of the media-content records: member by member, in
// declaration order. A chunk's key is binary, so every copy of it counts
// its length and keeps zero bytes.
#include "VSDK/Media.h"

#include <utility>

_QCLChunkInfo::_QCLChunkInfo(const _QCLChunkInfo& other)
    : value1(other.value1), value2(other.value2), key(other.key), keyLength(other.keyLength) {}

_QCLChunkInfo& _QCLChunkInfo::operator=(const _QCLChunkInfo& other) {
    if (this == &other) return *this;
    value1 = other.value1;
    value2 = other.value2;
    key.assign(other.key.data(), other.key.size());
    keyLength = other.keyLength;
    return *this;
}

_QCLChunkInfo::_QCLChunkInfo(_QCLChunkInfo&& other) noexcept
    : value1(other.value1),
      value2(other.value2),
      key(std::move(other.key)),
      keyLength(other.keyLength) {
    // The length goes with the key: a source that kept it would count bytes
    // its empty key no longer has.
    other.key.clear();
    other.keyLength = 0;
}

// If a member cannot be built the ones already built are destroyed and the
// failure goes to the caller: no partly built job remains.
_QCLJobInfo::_QCLJobInfo(const _QCLJobInfo& other)
    : jobId(other.jobId),
      mediaId(other.mediaId),
      text1(other.text1),
      clientName(other.clientName),
      text3(other.text3),
      backupSetName(other.backupSetName),
      instanceName(other.instanceName),
      subclientName(other.subclientName),
      text7(other.text7),
      text8(other.text8),
      text9(other.text9),
      text10(other.text10),
      text11(other.text11),
      text12(other.text12),
      mediaSideName(other.mediaSideName),
      text14(other.text14),
      text15(other.text15),
      text16(other.text16),
      text17(other.text17),
      chunks(other.chunks) {}

namespace {

// The seventeen texts, in declaration order.
constexpr std::string _QCLJobInfo::*kJobTexts[] = {
    &_QCLJobInfo::text1,         &_QCLJobInfo::clientName,   &_QCLJobInfo::text3,
    &_QCLJobInfo::backupSetName, &_QCLJobInfo::instanceName, &_QCLJobInfo::subclientName,
    &_QCLJobInfo::text7,         &_QCLJobInfo::text8,        &_QCLJobInfo::text9,
    &_QCLJobInfo::text10,        &_QCLJobInfo::text11,       &_QCLJobInfo::text12,
    &_QCLJobInfo::mediaSideName, &_QCLJobInfo::text14,       &_QCLJobInfo::text15,
    &_QCLJobInfo::text16,        &_QCLJobInfo::text17,
};

}  // namespace

// The chunk list is assigned as a whole: the target ends with copies of
// exactly the source's chunks, in order.
_QCLJobInfo& _QCLJobInfo::operator=(const _QCLJobInfo& other) {
    if (this == &other) return *this;
    jobId = other.jobId;
    mediaId = other.mediaId;
    for (auto text : kJobTexts) this->*text = other.*text;
    chunks = other.chunks;
    return *this;
}

_QCLJobInfo::_QCLJobInfo(_QCLJobInfo&& other) noexcept
    : jobId(other.jobId),
      mediaId(other.mediaId),
      text1(std::move(other.text1)),
      clientName(std::move(other.clientName)),
      text3(std::move(other.text3)),
      backupSetName(std::move(other.backupSetName)),
      instanceName(std::move(other.instanceName)),
      subclientName(std::move(other.subclientName)),
      text7(std::move(other.text7)),
      text8(std::move(other.text8)),
      text9(std::move(other.text9)),
      text10(std::move(other.text10)),
      text11(std::move(other.text11)),
      text12(std::move(other.text12)),
      mediaSideName(std::move(other.mediaSideName)),
      text14(std::move(other.text14)),
      text15(std::move(other.text15)),
      text16(std::move(other.text16)),
      text17(std::move(other.text17)),
      chunks(std::move(other.chunks)) {
    for (auto text : kJobTexts) (other.*text).clear();
    other.chunks.clear();
}
