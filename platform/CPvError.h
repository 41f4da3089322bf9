// Stand-in for the platform's result object and string. A negative code is a
// failure; codes 0 and above are success.
#pragma once

#include <boost/shared_ptr.hpp>
#include <string>

class CPvString {
public:
    CPvString() = default;
    CPvString(const char* s) : m_held(s != nullptr), m_s(s ? s : "") {}
    CPvString(const std::string& s) : m_held(true), m_s(s) {}
    const char* c_str() const { return m_held ? m_s.c_str() : ""; }
    bool empty() const { return !m_held || m_s.empty(); }

private:
    bool m_held = false;
    std::string m_s;
};

struct CPvErrorDetail {
    std::string text;
};

class CPvError {
public:
    CPvError() = default;
    explicit CPvError(int code, const std::string& text = std::string())
        : m_code(code) {
        if (!text.empty()) {
            m_detail.reset(new CPvErrorDetail{text});
        }
    }

    static CPvError Success() { return CPvError(); }

    bool IsError() const { return m_code < 0; }
    int GetErrorCode() const { return m_code; }
    std::string AsString() const {
        if (m_detail) return m_detail->text;
        return m_code < 0 ? "error " + std::to_string(m_code) : "success";
    }

private:
    int m_code = 0;
    boost::shared_ptr<CPvErrorDetail> m_detail;
};

// Codes the stand-in network, pool and file layers return.
enum : int {
    kPvErrGeneric = -1,
    kPvErrResolve = -2,
    kPvErrConnect = -3,
    kPvErrRefused = -4,
    kPvErrSend = -5,
    kPvErrReceive = -6,
    kPvErrTimeout = -7,
    kPvErrClosed = -8,
    kPvErrFrame = -9,
    kPvErrDecode = -10,
    kPvErrNotConnected = -11,
    kPvErrPoolExhausted = -12,
    kPvErrFile = -13,
};
