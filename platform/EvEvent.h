// Stand-in for the platform's localized event texts: a small built-in
// catalogue of message ids with English texts. Arguments fill the text's
// "%s" places in order (a missing argument is empty).
#pragma once

#include <string>
#include <vector>

class EvEvent {
public:
    static constexpr int kTextArgument = 11;

    EvEvent() = default;

    // Adds one argument of the given type; only text arguments are kept.
    void addArgument(const char* text, int type);
    EvEvent& operator<<(const char* text) {
        addArgument(text, kTextArgument);
        return *this;
    }

    // Writes the text of messageId into buffer, cut to at most size - 1
    // characters, and a terminating zero. Every locale reads the English
    // catalogue. 0 = success; non-zero (buffer untouched) for an unknown id,
    // a null buffer or a size below 1.
    int evPrintf(unsigned long messageId, char* buffer, int size, unsigned long locale) const;

    // The catalogue text of messageId, or null.
    static const char* catalogueText(unsigned long messageId);

private:
    std::vector<std::string> m_arguments;
};
