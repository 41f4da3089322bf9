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

    // Puts one use of the failure into the reply's error object at field.
    bool take(CNMessageBase& reply, FieldId field) {
        if (remaining == 0) return false;
        if (remaining > 0) --remaining;
        CNMessageBase& error = msgf::child<VSDKLogin::QReplyErrorMsg>(reply, field);
        msgf::putInt(error, msgf::kErrorCode, code);
        msgf::putText(error, msgf::kErrorText, text);
        return true;
    }
};

}  // namespace

struct LoginService::State {
    mutable std::mutex mutex;
    std::string fixedToken;
    Failure loginFailure;
    Failure logoutFailure;
    int referenceCount = -1;  // < 0: the logins that remain
    std::vector<std::string> issued;
    std::vector<std::string> active;

    template <class F>
    auto locked(F f) {
        std::lock_guard<std::mutex> lock(mutex);
        return f();
    }

    void answerLogin(const CNMessageBase& request, CNMessageBase& reply) {
        std::lock_guard<std::mutex> lock(mutex);
        if (loginFailure.take(reply, VSDKLogin::kLoginRespError)) return;
        const std::string token =
            fixedToken.empty() ? "simtoken-" + std::to_string(issued.size() + 1) : fixedToken;
        issued.push_back(token);
        active.push_back(token);
        msgf::putInt(reply, VSDKLogin::kLoginRespUserId, 1001);
        msgf::putBytes(reply, VSDKLogin::kLoginRespToken, token);
        if (msgf::getInt(request, VSDKLogin::kLoginSamlRequest) != 0) {
            msgf::putText(reply, VSDKLogin::kLoginRespSamlToken, "simsaml-token");
        }
    }

    void answerLogout(const CNMessageBase& request, CNMessageBase& reply) {
        std::lock_guard<std::mutex> lock(mutex);
        const bool failed = logoutFailure.take(reply, msgf::kReplyError);
        const long long code = logoutFailure.code;
        if (!failed || code == 0x50d || code == 0x10b) {
            const CNMessageBase* session =
                msgf::findChild(request, msgf::kRequestSession, VSDKLogin::QSessionInfoMsg::kTag);
            if (msgf::getInt(request, VSDKLogin::kLogoutAllUsers) != 0) {
                active.clear();
            } else if (session) {
                auto it = std::find(active.begin(), active.end(),
                                    msgf::getBytes(*session, VSDKLogin::kSessionGuid));
                if (it != active.end()) active.erase(it);
            }
        }
        msgf::putInt(reply, VSDKLogin::kLogoutRespRefCount,
                     referenceCount >= 0 ? referenceCount : static_cast<int>(active.size()));
    }
};

LoginService::LoginService(SimServer& server) : m_state(std::make_shared<State>()) {
    std::shared_ptr<State> state = m_state;
    Action login, logout;  // the paired reply, code 0, then filled
    login.fill = [state](const CNMessageBase& rq, CNMessageBase& rp) {
        state->answerLogin(rq, rp);
    };
    logout.fill = [state](const CNMessageBase& rq, CNMessageBase& rp) {
        state->answerLogout(rq, rp);
    };
    server.script(VSDKLogin::QLoginInfoMsg::kTag, login);
    server.script(VSDKLogin::QLogoutInfoMsg::kTag, logout);
}

void LoginService::setToken(const std::string& bytes) {
    m_state->locked([&] { m_state->fixedToken = bytes; });
}
void LoginService::failLogins(long long code, const std::string& text, int times) {
    m_state->locked([&] { m_state->loginFailure = Failure{code, text, times}; });
}
void LoginService::failLogouts(long long code, const std::string& text, int times) {
    m_state->locked([&] { m_state->logoutFailure = Failure{code, text, times}; });
}
void LoginService::setReferenceCount(int count) {
    m_state->locked([&] { m_state->referenceCount = count; });
}
std::vector<std::string> LoginService::issuedTokens() const {
    return m_state->locked([&] { return m_state->issued; });
}
std::string LoginService::lastToken() const {
    return m_state->locked(
        [&] { return m_state->issued.empty() ? std::string() : m_state->issued.back(); });
}
int LoginService::activeLogins() const {
    return m_state->locked([&] { return static_cast<int>(m_state->active.size()); });
}

}  // namespace simserver
