#include "ArchiveCheckService.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"

#include <mutex>

namespace simserver {

struct ArchiveCheckService::State {
    mutable std::mutex mutex;
    long long first = 0;
    long long second = 0;
    bool raw = false;
    std::string rawText;
    std::vector<ArchiveCheck> checks;

    void answer(const CNMessageBase& request, CNMessageBase& reply) {
        const std::string inner = msgf::getText(request, OrvaneOperations::kExecuteXml);
        CNMessageBase* decoded = nullptr;
        std::string why;
        if (CNMessageBase::ConstructAny(inner.data(), inner.size(), decoded, why) != 0) return;
        std::unique_ptr<CNMessageBase> document(decoded);
        if (!document || document->getTagID() != MediaManager::CheckForArchiveJobReq::kTag) return;

        ArchiveCheck check;
        check.document = inner;
        if (const std::vector<CNMessageBase>* jobs =
                msgf::findList(*document, MediaManager::kArchiveCheckJobs)) {
            check.jobs = *jobs;
            check.hasJobList = true;
        }

        std::lock_guard<std::mutex> lock(mutex);
        checks.push_back(std::move(check));
        std::string text;
        if (raw) {
            text = rawText;
        } else {
            MediaManager::CheckForArchiveJobResp answer;
            msgf::putInt(answer, MediaManager::kArchiveCheckFirst, first);
            msgf::putInt(answer, MediaManager::kArchiveCheckSecond, second);
            answer.serialize(text, false);
        }
        msgf::putText(reply, OrvaneOperations::kExecuteRespXml, text);
    }
};

ArchiveCheckService::ArchiveCheckService(SimServer& server)
    : m_server(server), m_state(std::make_shared<State>()) {
    install();
}

ArchiveCheckService::~ArchiveCheckService() = default;

void ArchiveCheckService::install() {
    std::shared_ptr<State> state = m_state;
    m_server.replyWith(OrvaneOperations::QExecuteReqMsg::kTag,
                       OrvaneOperations::QExecuteRespMsg::kTag,
                       [state](const CNMessageBase& request, CNMessageBase& reply) {
                           state->answer(request, reply);
                       });
}

void ArchiveCheckService::setAnswer(long long first, long long second) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->first = first;
    m_state->second = second;
    m_state->raw = false;
}

void ArchiveCheckService::setReplyDocument(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->raw = true;
    m_state->rawText = text;
}

std::vector<ArchiveCheck> ArchiveCheckService::checks() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->checks;
}

}  // namespace simserver
