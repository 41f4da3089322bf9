// The media manager's archive-job check for the simulated server: it answers
// generic requests (QExecuteReqMsg) whose XML document is a
// MediaManager::CheckForArchiveJobReq with a CheckForArchiveJobResp document
// in the reply's XML field, and keeps what it received. Generic requests
// carrying any other document get the plain generic reply.
//
//   simserver::SimServer server;
//   simserver::ArchiveCheckService archive(server);   // installs its rule
//   archive.setAnswer(1, 0);                          // first indicator only
//   archive.setReplyDocument("<not a message");       // or: exactly this text
//
// The rule is an ordinary script rule of the server (rules added before it
// take precedence): after server.reset() or clearScripts() call install()
// again. All members are thread-safe.
#pragma once

#include "SimServer.h"

#include <memory>
#include <string>
#include <vector>

namespace simserver {

// One check as the server received it.
struct ArchiveCheck {
    std::string document;               // the inner document, as sent
    std::vector<CNMessageBase> jobs;    // its job list (1,1), decoded
    bool hasJobList = false;            // whether the list field was present
};

class ArchiveCheckService {
public:
    explicit ArchiveCheckService(SimServer& server);
    ~ArchiveCheckService();
    ArchiveCheckService(const ArchiveCheckService&) = delete;
    ArchiveCheckService& operator=(const ArchiveCheckService&) = delete;

    // (Re)adds the rule to the server.
    void install();

    // The two indicators of the following answers (default 0 and 0).
    void setAnswer(long long first, long long second);
    // The reply's XML field holds exactly text instead of an answer document
    // (malformed, truncated or of another type); setAnswer() undoes this.
    void setReplyDocument(const std::string& text);

    std::vector<ArchiveCheck> checks() const;

private:
    struct State;
    SimServer& m_server;
    std::shared_ptr<State> m_state;
};

}  // namespace simserver
