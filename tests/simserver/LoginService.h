// Login and logout for the simulated server: logins get user id 1001, a
// session token and, when asked, the SAML token "simsaml-token"; logouts get
// the number of logins that remain. Its rules are added when it is made, so
// they come before later ones (server.relogin(kAnyRequest, n) leaves logins
// working). Thread-safe.
#pragma once

#include "SimServer.h"

#include <memory>
#include <string>
#include <vector>

namespace simserver {

class LoginService {
public:
    explicit LoginService(SimServer& server);

    // Token bytes of the following logins; empty (the default): a new token
    // per login, "simtoken-<n>".
    void setToken(const std::string& bytes);
    // The next `times` logins (or logouts; times < 0: all) fail with code and
    // text. Failed logouts still carry the reference count.
    void failLogins(long long code, const std::string& text, int times = 1);
    void failLogouts(long long code, const std::string& text, int times = 1);
    // Reference count of the following logout replies instead of the logins
    // that remain (count < 0: back to those).
    void setReferenceCount(int count);

    std::vector<std::string> issuedTokens() const;  // in order
    std::string lastToken() const;
    int activeLogins() const;  // tokens issued and not logged out

private:
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace simserver
