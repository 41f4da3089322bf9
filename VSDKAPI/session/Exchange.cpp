#include "Exchange.h"

#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKErrors/MessageLogging.h"
#include "VSDKAPIUtils/Connection.h"
#include "VSDKErrors/VSDKErrors.h"
#include "platform/CRkNetwork.h"
#include "platform/MessageCatalog.h"
#include "platform/RKPlatformInfo.h"
#include "platform/RkNetworkPool.h"

#include <climits>
#include <cstring>
#include <ctime>
#include <memory>
#include <unistd.h>

std::atomic<ExchangeReplySource> g_exchangeReplySource{nullptr};

namespace {

constexpr int kDefaultTimeout = 3600;
constexpr int kLongWaitTimeout = 86400;

// A connection borrowed from a pool for one exchange: given back on every
// path, dropped when the exchange saw it fail.
class PoolLease {
public:
    PoolLease() = default;
    PoolLease(const PoolLease&) = delete;
    PoolLease& operator=(const PoolLease&) = delete;
    ~PoolLease() { giveBack(); }

    void hold(std::shared_ptr<RkNetworkPool> pool, CRkNetwork* connection) {
        m_pool = std::move(pool);
        m_connection = connection;
    }
    bool held() const { return m_connection != nullptr; }
    void markBroken() { m_broken = true; }
    void giveBack() {
        if (!m_pool || !m_connection) return;
        if (m_broken) {
            m_pool->discardSessionObject(m_connection);
        } else {
            m_pool->releaseSessionObject(m_connection);
        }
        m_connection = nullptr;
        m_pool.reset();
    }

private:
    std::shared_ptr<RkNetworkPool> m_pool;
    CRkNetwork* m_connection = nullptr;
    bool m_broken = false;
};

int selectTimeout(const ExchangeOptions& options) {
    if (options.longWait) return kLongWaitTimeout;
    if (options.minTimeout > static_cast<unsigned long>(kDefaultTimeout)) {
        return options.minTimeout > static_cast<unsigned long>(INT_MAX)
                   ? INT_MAX
                   : static_cast<int>(options.minTimeout);
    }
    return kDefaultTimeout;
}

// The registry's time-out (0: none configured). It is asked for on every
// request: kept per thread and read again at most once a second, or at once
// after the registry was reloaded or the focus changed.
int configuredTimeout() {
    thread_local long long readAt = -1;
    thread_local unsigned long readGeneration = 0;
    thread_local int configured = 0;
    const long long now = static_cast<long long>(std::time(nullptr));
    const unsigned long generation = RKPlatformInfo::generation();
    if (now != readAt || generation != readGeneration) {
        int value = 0;
        configured = RKPlatformInfo().getRegInt("~EventManager", "nVCommandTimeOut", &value) ? value : 0;
        readAt = now;
        readGeneration = generation;
    }
    return configured;
}

// The request header (field (1,1)) stamped with host name, version and build.
void stampHeader(CNMessageBase& request) {
    const int module = request.getModuleId();
    const vsdkmsg::MessageType* headerType =
        vsdkmsg::findByTag((static_cast<unsigned long>(module) << 24) | 1UL);
    if (!headerType) return;  // a family without a request header
    CNMessageBase& header =
        msgf::child(request, msgf::kRequestHeader, module, headerType->classNumber);
    // The host name, asked for at most once a second per thread.
    thread_local long long askedAt = -1;
    thread_local bool known = false;
    thread_local char host[257];
    const long long now = static_cast<long long>(std::time(nullptr));
    if (now != askedAt) {
        std::memset(host, 0, sizeof host);
        known = ::gethostname(host, sizeof host) == 0;
        host[sizeof host - 1] = '\0';
        askedAt = now;
    }
    if (known) msgf::putText(header, msgf::kHeaderHost, std::string(host));
    msgf::putText(header, msgf::kHeaderVersion, msgf::kClientVersion);
    msgf::putInt(header, msgf::kHeaderBuild, msgf::kBuildNumber);
}

// Code of the error object of a reply of the expected type (0 without one).
long long replyErrorCode(const CNMessageBase& reply) {
    const FieldId field = reply.getTagID() == VSDKLogin::QLoginRespMsg::kTag
                              ? VSDKLogin::kLoginRespError
                              : msgf::kReplyError;
    const CNMessageBase* error =
        msgf::findChild(reply, field, (reply.getTagID() & 0xFF000000UL) | 2UL);
    return error ? msgf::getInt(*error, msgf::kErrorCode) : 0;
}

// The seam's reply, rebuilt as a received frame is.
CPvError scriptedReply(ExchangeReplySource source, const CNMessageBase& request,
                       unsigned long& messageType, CNMessageBase*& message) {
    std::string xml;
    if (!source(request, xml)) return CPvError(kPvErrClosed, "connection closed by peer");
    return CRkNetwork::rebuildMessage(xml, &messageType, message);
}

void responseFailureLine(QEvDebug& log, const char* name, unsigned long code) {
    log.debugLvl(0, "Response [%s] from VSDK Server failed with Error code [0x%x] Error string [%s]",
                 name, static_cast<unsigned int>(code), GetErrorString(code));
}

}  // namespace

unsigned long exchange(VSDKAPIGlobalData& state, CRkNetwork* connection, CNMessageBase& request,
                       unsigned long expectedTag, CNMessageBase*& reply,
                       const ExchangeOptions& options) {
    reply = nullptr;
    QEvDebug& log = state.getEvDebug();
    // The registry's time-out replaces the chosen one; 0 or less is no time-out
    // at all and is ignored. It bounds the send as well as the wait: a server
    // that stops reading must not hold the thread (or a pool's connection) for ever.
    int timeout = selectTimeout(options);
    const int configured = configuredTimeout();
    if (configured > 0) timeout = configured;
    bool abort = false;

    // The connection: one borrowed from the Mardock's pool, or the thread's own.
    PoolLease lease;
    CRkNetwork* network = connection;
    if (VSDKAPIGlobalRegKeys::isRkSessionPoolEnabled()) {
        std::shared_ptr<RkNetworkPool> pool =
            VSDKAPIGlobalData::getSessionPool(state.getMardockName());
        if (pool) {
            CRkNetwork* borrowed = nullptr;
            CPvError e = pool->getSessionObject(borrowed);
            if (e.IsError() || !borrowed) {
                log.debugLvl(0,
                             "Connection to VSDK Service failed with network error:[%s] Error code "
                             "[0x%x] Error string [%s]",
                             e.AsString().c_str(), static_cast<unsigned int>(vsdkerr::kCannotConnect),
                             GetErrorString(vsdkerr::kCannotConnect));
                return vsdkerr::kCannotConnect;
            }
            lease.hold(pool, borrowed);
            network = borrowed;
        }
    }
    if (network && !lease.held() && !options.receiveOnly) {
        // The thread's own connection, before a request goes out: one the
        // library closed after a failure, or with bytes nobody asked for
        // waiting (out of step: they would be read as this request's answer),
        // is replaced by a fresh one to the same service, once per request.
        _QHandle& handle = state.getVSDKHandle();
        if (network == handle.network && (!network->IsConnected() || network->isStale())) {
            log.debugLvl(1, "Retrying Connection to VSDK Server");
            const bool preInstall = network->GetAuthenticationMethod() == RK_AUTH_PREINSTALL;
            const unsigned long rc = ConnectToVSDKService(handle, preInstall);
            if (rc != 0) return rc;
            network = connection = handle.network;
        }
    }
    const ExchangeReplySource scripted = g_exchangeReplySource.load(std::memory_order_acquire);
    if (!network && !scripted) {
        log.debugLvl(0, "Connection to VSDK Service failed with Error code [0x%x] Error string [%s]",
                     static_cast<unsigned int>(vsdkerr::kCannotConnect),
                     GetErrorString(vsdkerr::kCannotConnect));
        return vsdkerr::kCannotConnect;
    }

    if (!options.receiveOnly) {
        stampHeader(request);
        log.debugLvl(6, "Sending commandline request [%s] to VSDK Server", request.getTagName());
        CPvError sent =
            scripted ? CPvError::Success() : network->SendXMLMessage(request, 0, timeout, abort);
        if (sent.IsError()) {
            lease.markBroken();
            log.debugLvl(0,
                         "Sending commandline request [%s] to VSDK Server failed with Network "
                         "Error:[%s] Client Error code [0x%x] Error string [%s]",
                         request.getTagName(), sent.AsString().c_str(),
                         static_cast<unsigned int>(vsdkerr::kSendFailed),
                         GetErrorString(vsdkerr::kSendFailed));
            return vsdkerr::kSendFailed;
        }
        if (log.getDebugLevel() > 9) {
            if (request.getTagID() == OrvaneOperations::QExecuteReqMsg::kTag) {
                log.debugLvl(10, "XML request to VSDK Server sent in binary format: [%s]",
                             request.getTagName());
            } else {
                log.debugLvl(10, "XML request to VSDK Server sent in binary format: [%s]",
                             logXMLMessage(&request).c_str());
            }
        }
    }

    if (log.getDebugLevel() > 5) {
        log.debugLvl(6, "Waiting for receive message with time out [%d] seconds", timeout);
    }

    unsigned long messageType = 0;
    CNMessageBase* received = nullptr;
    CPvError got = scripted ? scriptedReply(scripted, request, messageType, received)
                            : network->ReceiveXMLMessage(&messageType, received, nullptr, 0,
                                                         timeout, abort);
    std::unique_ptr<CNMessageBase> message(received);
    if (got.IsError()) {
        lease.markBroken();
        log.debugLvl(0, "Receive response failed with Network error:[%s]", got.AsString().c_str());
        responseFailureLine(log, message ? message->getTagName() : "NULL", vsdkerr::kReceiveFailed);
        return vsdkerr::kReceiveFailed;
    }
    if (!message) {
        responseFailureLine(log, "NULL", vsdkerr::kNoResponse);
        return vsdkerr::kNoResponse;
    }

    log.debugLvl(6, "Received response [%s] from VSDK Server", message->getTagName());
    if (log.getDebugLevel() > 9) {
        // Replies carry login tokens: they are masked like requests.
        log.debugLvl(10, "XML response from VSDK Server received in binary format: [%s]",
                     logXMLMessage(message.get()).c_str());
    }

    if (message->getTagID() != expectedTag) {
        if (message->getTagID() == OrvaneUtilities::QErrorMsg::kTag) {
            const long long code = msgf::getInt(*message, msgf::kErrorCode);
            if (code != 0) {
                state.setErrorString(msgf::getText(*message, msgf::kErrorText));
                return static_cast<unsigned long>(code);
            }
            // An error reply that names no error answers nothing.
        }
        responseFailureLine(log, message->getTagName(), vsdkerr::kInvalidResponse);
        return vsdkerr::kInvalidResponse;
    }

    reply = message.release();
    if (replyErrorCode(*reply) == static_cast<long long>(vsdkerr::kRelogin)) {
        // Re-login and resend borrow connections of their own.
        lease.giveBack();
        bool relogged = false;
        const unsigned long rc =
            forcedRelogin(state, connection, request, expectedTag, reply, options, relogged);
        if (relogged) return rc;
    }
    return 0;
}
