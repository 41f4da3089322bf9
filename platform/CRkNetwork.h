// Stand-in for the platform's network connection: a TCP client that opens a
// named service on a host and carries one serialised message per frame
// (wire format in RkWire.h).
//
// The port of the services comes from the registry stand-in (section
// "Network", value "nCmdLineServicePort", default 8401). A connection is used
// by one thread at a time. After a failed or timed-out receive, a failed send
// or a closed peer the connection is closed (IsConnected() false): a late
// reply must never be taken for the answer to a later request.
#pragma once

#include "CPvError.h"

#include <string>

class CNMessageBase;

enum AuthType_e {
    RK_AUTH_DEFAULT = 0,
    RK_AUTH_PREINSTALL = 1,
};

constexpr unsigned short kDefaultCmdLineServicePort = 8401;

class CRkNetwork {
public:
    CRkNetwork();
    ~CRkNetwork();  // closes the connection
    CRkNetwork(const CRkNetwork&) = delete;
    CRkNetwork& operator=(const CRkNetwork&) = delete;

    // Used by the next attach.
    void SetAuthenticationMethod(AuthType_e method) { m_auth = method; }
    AuthType_e GetAuthenticationMethod() const { return m_auth; }

    // host is a name or address, optionally mangled (MangleHostName); the
    // host's addresses are tried in the order of the preferred family until
    // one connects, all within timeoutSeconds. The service's handshake on
    // that connection decides: a refusal or a failed handshake is not retried
    // on another address.
    CPvError Attach_RemoteService(const std::string& host, const std::string& service,
                                  const std::string& localClientName, int timeoutSeconds,
                                  bool& abort);

    // Sends one message. timeoutSeconds < 0: no limit.
    CPvError SendXMLMessage(const CNMessageBase& message, int flags, int timeoutSeconds,
                            bool& abort);
    // Waits up to timeoutSeconds (< 0: no limit) for one message. On success
    // message is the received message (owned by the caller) or null for an
    // empty frame, and *messageType (when given) its tag code. A message of a
    // family whose RegisterSubsystem() has not run is a failure that still
    // hands the message out.
    CPvError ReceiveXMLMessage(unsigned long* messageType, CNMessageBase*& message,
                               void* protocolHeader, int flags, int timeoutSeconds, bool& abort);
    // The message a received payload holds, rebuilt as ReceiveXMLMessage
    // rebuilds it (an empty payload: none; a message of a family that is not
    // registered is handed out and reported as an error).
    static CPvError rebuildMessage(const std::string& payload, unsigned long* messageType,
                                   CNMessageBase*& message);

    // Takes over fd, a connected stream socket whose service handshake is
    // done (the fuzzer feeds the receive path through a socket pair).
    void adoptSocket(int fd) {
        closeSocket();
        m_fd = fd;
    }

    CPvError Disconnect(int timeoutSeconds, bool& abort);
    bool IsConnected() const { return m_fd >= 0; }

    // Whether the peer has closed or sent unasked bytes since the last
    // exchange (the pool tests idle connections with it).
    bool isStale() const;
    // The service port of the registry stand-in.
    static unsigned short servicePort();

private:
    void closeSocket();

    int m_fd = -1;
    std::string m_pending;  // bytes received past the last message
    AuthType_e m_auth = RK_AUTH_DEFAULT;
};

// The host text to attach to for a Mardock reached under its client name:
// "<host>*<client name>*<port1>*<port2>". Attach reads the host before the
// first '*'.
std::string MangleHostName(const std::string& host, const std::string& clientName, int port1,
                           int port2);
