// Stand-in for the platform's byte-string value: opaque bytes, binary-safe.
#pragma once

#include <string>

class bstring {
public:
    bstring() = default;
    explicit bstring(const std::string& s) : m_s(s) {}
    bstring(const bstring&) = default;
    bstring& operator=(const bstring&) = default;
    virtual ~bstring() = default;

    bstring& assign(const std::string& s) { m_s = s; return *this; }
    bstring& assign(const char* p, unsigned long n) { m_s.assign(p, n); return *this; }

    char& operator[](unsigned long i) { return m_s[i]; }
    const char* c_str() const { return m_s.c_str(); }
    const char* data() const { return m_s.data(); }
    unsigned long length() const { return m_s.length(); }
    unsigned long size() const { return m_s.size(); }
    std::string& str() { return m_s; }
    const std::string& str() const { return m_s; }

    bool operator==(const bstring& o) const { return m_s == o.m_s; }

private:
    std::string m_s;
};
