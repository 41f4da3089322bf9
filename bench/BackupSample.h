// The backup the benchmarks make: the caller's record, and the request and
// reply frames of one exchange with the simulated server.
#pragma once

#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "support/TestEnv.h"

#include <cstring>
#include <string>
#include <thread>

namespace benchsample {

constexpr long long kJobId = 0x123456789ALL;

template <std::size_t N>
void setText(char (&array)[N], const char* text) {
    std::strncpy(array, text, N - 1);
    array[N - 1] = '\0';
}

// A backup of one subclient as a caller would fill it.
inline _QBackupParameters backupRecord() {
    _QBackupParameters p;
    p.options = 0x2;
    p.clientId = 12;
    setText(p.clientName, "client-a.example.com");
    p.appTypeId = 29;
    setText(p.appName, "File System");
    setText(p.instanceName, "DefaultInstanceName");
    setText(p.backupSetName, "defaultBackupSet");
    setText(p.subclientName, "default");
    setText(p.backupDescription, "nightly incremental");
    setText(p.storagePolicyName, "SP-gold");
    p.storagePolicyId = 7;
    p.dataPath.mediaAgentIds = {1, 2};
    p.jobDescription = {"started by the benchmark"};
    return p;
}

// The fixture as the benchmarks run it: debug level 1 (failure and result
// lines written, as in production), a command time-out of 60 seconds.
inline vsdktest::EnvOptions backupEnvOptions() {
    vsdktest::EnvOptions options;
    options.debugLevel = 1;
    options.commandTimeout = 60;
    return options;
}

// Makes the simulated server answer backups with a reply carrying kJobId.
inline void scriptBackupReply(vsdktest::TestEnv& env) {
    using namespace OrvaneOperations;
    env.server().replyWith(QBackupInfoMsg::kTag, QBackupRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) { msgf::putInt(reply, kReplyJobId, kJobId); });
}

// The payloads of one backup exchange: the request as the server received it
// and a reply carrying kJobId.
struct Frames {
    std::string request;
    std::string reply;
};

// One backup from a fresh thread; other requests the thread sent are named in
// others (their tags), the journal is left empty.
inline Frames captureBackupFrames(vsdktest::TestEnv& env, std::string* others = nullptr) {
    using namespace OrvaneOperations;
    Frames f;
    env.server().clearJournal();
    std::thread([&env] {
        env.initThread();
        const _QBackupParameters p = backupRecord();
        _QJobStartInfo result;
        VSDKBackup(&p, &result);
        VSDKDeInitialize();
    }).join();
    for (const simserver::Request& r : env.server().journal()) {
        if (r.tag == QBackupInfoMsg::kTag) f.request = r.xml;
        else if (others) *others += (others->empty() ? "" : " ") + std::to_string(r.tag);
    }
    env.server().clearJournal();
    QBackupRespMsg reply;
    msgf::putInt(msgf::child<QReplyErrorMsg>(reply, msgf::kReplyError), msgf::kErrorCode, 0);
    msgf::putInt(reply, kReplyJobId, kJobId);
    reply.serialize(f.reply, false);
    return f;
}

}  // namespace benchsample
