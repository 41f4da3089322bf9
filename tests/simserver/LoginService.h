// Login and logout for the simulated server: login requests get user id 1001,
// a session token and, when asked, a SAML token; logout requests get the
// number of logins that remain. Tests choose the token bytes and script
// failures.
//
//   simserver::LoginService logins(server);       // installs its rules
//   logins.setToken(std::string("\x01\x02tok", 5));
//   logins.failLogins(0x103, "Invalid Login/Password");   // the next login fails
//
// Its rules are added when it is made, so they come before rules added later:
// server.relogin(kAnyRequest, n) then puts code 9 into other replies while
// logins still succeed. After server.reset() or clearScripts() call install()
// again. All members are thread-safe.
#pragma once

#include "SimServer.h"

#include <memory>
#include <string>
#include <vector>

namespace simserver {

class LoginService {
public:
    explicit LoginService(SimServer& server);
    void install();

    // Token bytes of the following logins; empty (the default): a new token
    // per login, "simtoken-<n>".
    void setToken(const std::string& bytes);
    void setSamlToken(const std::string& text);  // default "simsaml-token"
    // The next `times` logins (or logouts; times < 0: all) fail with code and
    // text. Failed logouts still carry the reference count.
    void failLogins(long long code, const std::string& text, int times = 1);
    void failLogouts(long long code, const std::string& text, int times = 1);
    // Reference count of the following logout replies instead of the logins
    // that remain (count < 0: back to those).
    void setReferenceCount(int count);

    std::vector<std::string> issuedTokens() const;  // in order
    std::string lastToken() const;
    int loginCount() const;  // logins answered with a token
    int logoutCount() const;
    int activeLogins() const;  // tokens issued and not logged out

private:
    struct State;
    SimServer& m_server;
    std::shared_ptr<State> m_state;
};

}  // namespace simserver
