// Login and logout for the simulated server: it answers login requests with a
// user id, a session token and, when the login asks for one, a SAML token, and
// logout requests with the number of logins that remain. Tests choose the
// token bytes and script login and logout failures.
//
//   simserver::SimServer server;
//   simserver::LoginService logins(server);       // installs its rules
//   logins.setToken(std::string("\x01\x02tok", 5));
//   logins.failLogins(0x103, "Invalid Login/Password");   // the next login fails
//
// The rules are ordinary script rules of the server, added when the service is
// made: they come before rules added later, so server.relogin(kAnyRequest, n)
// puts code 9 into the next n replies to other requests while logins still
// succeed (script login failures with failLogins). After server.reset() or
// clearScripts() call install() again. All members are thread-safe.
#pragma once

#include "SimServer.h"

#include <memory>
#include <string>
#include <vector>

namespace simserver {

class LoginService {
public:
    explicit LoginService(SimServer& server);
    ~LoginService();
    LoginService(const LoginService&) = delete;
    LoginService& operator=(const LoginService&) = delete;

    // (Re)adds the login and logout rules to the server.
    void install();

    // User id of the login replies (default 1001).
    void setUserId(long long id);
    // Token bytes of the following logins (any bytes, zero bytes included);
    // empty (the default): a new token per login, "simtoken-<n>".
    void setToken(const std::string& bytes);
    // SAML token returned to logins that ask for one (default "simsaml-token").
    void setSamlToken(const std::string& text);
    // The next `times` logins (times < 0: every login) fail with code and text.
    void failLogins(long long code, const std::string& text, int times = 1);
    // The next `times` logouts fail with code and text (0x50d and 0x10b
    // included: they come with the reference count as well).
    void failLogouts(long long code, const std::string& text, int times = 1);
    // Reference count of the following logout replies (any value).
    void setReferenceCount(int count);
    // Back to the default: the logins that remain after each logout.
    void countRemainingLogins();

    // Logins answered with a token, in order.
    std::vector<std::string> issuedTokens() const;
    std::string lastToken() const;
    int loginCount() const;       // logins answered with a token
    int failedLoginCount() const; // logins answered with a failure
    int logoutCount() const;      // logouts answered
    int activeLogins() const;     // tokens issued and not yet logged out

private:
    struct State;
    SimServer& m_server;
    std::shared_ptr<State> m_state;
};

}  // namespace simserver
