#include "LoginService.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"

#include <algorithm>
#include <mutex>

namespace simserver {

namespace {

struct Failure {
    long long code = 0;
    std::string text;
    int remaining = 0;  // < 0: for ever
};

// Takes one use of a scripted failure; false when none is pending.
bool takeFailure(Failure& failure, long long& code, std::string& text) {
    if (failure.remaining == 0) return false;
    if (failure.remaining > 0) --failure.remaining;
    code = failure.code;
    text = failure.text;
    return true;
}

void setError(CNMessageBase& reply, FieldId field, long long code, const std::string& text) {
    CNMessageBase& error = msgf::child<VSDKLogin::QReplyErrorMsg>(reply, field);
    msgf::putInt(error, msgf::kErrorCode, code);
    msgf::putText(error, msgf::kErrorText, text);
}

}  // namespace

struct LoginService::State {
    mutable std::mutex mutex;
    long long userId = 1001;
    std::string fixedToken;
    std::string samlToken = "simsaml-token";
    Failure loginFailure;
    Failure logoutFailure;
    bool fixedCount = false;
    int referenceCount = 0;
    int nextToken = 1;
    std::vector<std::string> issued;
    std::vector<std::string> active;
    int failedLogins = 0;
    int logouts = 0;

    void answerLogin(const CNMessageBase& request, CNMessageBase& reply) {
        std::lock_guard<std::mutex> lock(mutex);
        long long code = 0;
        std::string text;
        if (takeFailure(loginFailure, code, text)) {
            ++failedLogins;
            setError(reply, VSDKLogin::kLoginRespError, code, text);
            return;
        }
        const std::string token =
            fixedToken.empty() ? "simtoken-" + std::to_string(nextToken++) : fixedToken;
        issued.push_back(token);
        active.push_back(token);
        msgf::putInt(reply, VSDKLogin::kLoginRespUserId, userId);
        msgf::putBytes(reply, VSDKLogin::kLoginRespToken, token);
        if (msgf::getInt(request, VSDKLogin::kLoginSamlRequest) != 0) {
            msgf::putText(reply, VSDKLogin::kLoginRespSamlToken, samlToken);
        }
    }

    void answerLogout(const CNMessageBase& request, CNMessageBase& reply) {
        std::lock_guard<std::mutex> lock(mutex);
        ++logouts;
        long long code = 0;
        std::string text;
        const bool failed = takeFailure(logoutFailure, code, text);
        if (failed) setError(reply, msgf::kReplyError, code, text);
        if (!failed || code == 0x50d || code == 0x10b) {
            if (msgf::getInt(request, VSDKLogin::kLogoutAllUsers) != 0) {
                active.clear();
            } else if (const CNMessageBase* session = msgf::findChild(
                           request, msgf::kRequestSession, VSDKLogin::QSessionInfoMsg::kTag)) {
                const std::string guid = msgf::getBytes(*session, VSDKLogin::kSessionGuid);
                auto it = std::find(active.begin(), active.end(), guid);
                if (it != active.end()) active.erase(it);
            }
        }
        const int count = fixedCount ? referenceCount : static_cast<int>(active.size());
        msgf::putInt(reply, VSDKLogin::kLogoutRespRefCount, count);
    }
};

LoginService::LoginService(SimServer& server)
    : m_server(server), m_state(std::make_shared<State>()) {
    install();
}

LoginService::~LoginService() = default;

void LoginService::install() {
    std::shared_ptr<State> state = m_state;
    m_server.script(VSDKLogin::QLoginInfoMsg::kTag,
                    Action::defaultReply().withFill(
                        [state](const CNMessageBase& request, CNMessageBase& reply) {
                            state->answerLogin(request, reply);
                        }));
    m_server.script(VSDKLogin::QLogoutInfoMsg::kTag,
                    Action::defaultReply().withFill(
                        [state](const CNMessageBase& request, CNMessageBase& reply) {
                            state->answerLogout(request, reply);
                        }));
}

void LoginService::setUserId(long long id) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->userId = id;
}

void LoginService::setToken(const std::string& bytes) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->fixedToken = bytes;
}

void LoginService::setSamlToken(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->samlToken = text;
}

void LoginService::failLogins(long long code, const std::string& text, int times) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->loginFailure = Failure{code, text, times};
}

void LoginService::failLogouts(long long code, const std::string& text, int times) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->logoutFailure = Failure{code, text, times};
}

void LoginService::setReferenceCount(int count) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->fixedCount = true;
    m_state->referenceCount = count;
}

void LoginService::countRemainingLogins() {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->fixedCount = false;
}

std::vector<std::string> LoginService::issuedTokens() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->issued;
}

std::string LoginService::lastToken() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->issued.empty() ? std::string() : m_state->issued.back();
}

int LoginService::loginCount() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return static_cast<int>(m_state->issued.size());
}

int LoginService::failedLoginCount() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->failedLogins;
}

int LoginService::logoutCount() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->logouts;
}

int LoginService::activeLogins() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return static_cast<int>(m_state->active.size());
}

}  // namespace simserver
