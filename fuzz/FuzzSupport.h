// Shared by the fuzz targets: a broken expectation aborts, so that libFuzzer
// keeps the input.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

[[noreturn]] inline void fuzzBroken(const char* target, const char* what) {
    std::fprintf(stderr, "%s: %s\n", target, what);
    std::abort();
}

// Whether a fixed array holds a terminating zero byte.
template <std::size_t N>
bool zeroTerminated(const char (&array)[N]) {
    return std::memchr(array, 0, N) != nullptr;
}

// The readers that log or read the registry must not touch the machine's
// registry: every fuzz target points it at a folder of its own.
inline void useEmptyRegistry() { setenv("VSDK_REGISTRY_ROOT", "/nonexistent/vsdk-fuzz-registry", 1); }
