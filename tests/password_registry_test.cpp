// Password protection and registry look-up exports.
#include "support/TempRegistry.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr unsigned long kInvalid = 0x303;
constexpr unsigned long kCannot = 0x103;

using AnsiFn = unsigned long (*)(const char*, char*, int*);

// Calls fill(buffer, &size) with a '#'-filled buffer and the given size;
// checks that a failure changes neither, and a success writes the text and
// its zero (its length into size) and nothing past them.
template <typename Fill>
unsigned long callWithBuffer(Fill fill, int size, std::string* out = nullptr) {
    std::vector<char> buffer(4096, '#');
    int inOut = size;
    const unsigned long rc = fill(buffer.data(), &inOut);
    const std::size_t used = rc == 0 ? std::strlen(buffer.data()) + 1 : 0;
    EXPECT_EQ(rc == 0 ? static_cast<int>(used) - 1 : size, inOut);
    EXPECT_EQ(std::string(buffer.size() - used, '#'), std::string(buffer.begin() + used, buffer.end()));
    if (out && rc == 0) *out = buffer.data();
    return rc;
}

unsigned long callAnsi(AnsiFn fn, const char* in, int size, std::string* out = nullptr) {
    return callWithBuffer([=](char* buffer, int* n) { return fn(in, buffer, n); }, size, out);
}

std::string encrypted(const std::string& plain) {
    std::string out;
    EXPECT_EQ(0u, QEncryptPassword(plain, out));
    return out;
}

// Both forms round trip; an altered or foreign text is refused and logged;
// inputs and outputs are bounded; null arguments are refused; failures are
// not stored on the thread.
TEST(PasswordTest, RoundTripsRefusalsAndLimits) {
    vsdktest::TempRegistry reg{0};
    for (const std::string& plain : {std::string(), std::string("pass word:[1]"), std::string(510, 'p')}) {
        std::string back = "old", ansi;
        ASSERT_EQ(0u, QDecryptPassword(encrypted(plain), back));
        EXPECT_EQ(plain, back);
        ASSERT_EQ(0u, callAnsi(QEncryptPasswordAnsi, plain.c_str(), 4096, &ansi));
        ASSERT_EQ(0u, callAnsi(QDecryptPasswordAnsi, ansi.c_str(), 4096, &back));
        EXPECT_EQ(plain, back);
    }
    EXPECT_NE(encrypted("same"), encrypted("same"));  // a fresh nonce each time

    const std::string good = encrypted("secret");
    std::string flipped = good;
    flipped[good.size() / 2] = flipped[good.size() / 2] == '0' ? '1' : '0';
    for (const std::string& text : {std::string("secret"), std::string("RKP1:zz"), good.substr(0, good.size() - 2),
                                    flipped, "RKS1:" + good.substr(5)}) {
        std::string out = "untouched";
        EXPECT_EQ(kCannot, QDecryptPassword(text, out)) << text;
        EXPECT_EQ("untouched", out);
    }
    EXPECT_TRUE(reg.logContains("QDecryptPassword() [0] Decryption of Password failed with Error code [0x103]"));

    std::string out = "untouched";
    EXPECT_EQ(kInvalid, QEncryptPassword(std::string(511, 'x'), out));
    EXPECT_EQ(kInvalid, QDecryptPassword(std::string(2048, 'x'), out));
    // Inputs within the limits reach the platform, which refuses these.
    EXPECT_EQ(kCannot, QDecryptPassword(std::string(2047, 'x'), out));
    EXPECT_EQ("untouched", out);
    EXPECT_EQ(kInvalid, callAnsi(QDecryptPasswordAnsi, std::string(2049, 'x').c_str(), 4096));
    EXPECT_EQ(kCannot, callAnsi(QDecryptPasswordAnsi, std::string(2048, 'x').c_str(), 4096));

    // The Ansi output must hold the text and its zero.
    for (int size : {-1, 0, 6}) EXPECT_EQ(kInvalid, callAnsi(QDecryptPasswordAnsi, good.c_str(), size));
    EXPECT_EQ(0u, callAnsi(QDecryptPasswordAnsi, good.c_str(), 7));
    EXPECT_EQ(kInvalid, callAnsi(QEncryptPasswordAnsi, "secret", static_cast<int>(good.size())));
    EXPECT_EQ(0u, callAnsi(QEncryptPasswordAnsi, "secret", static_cast<int>(good.size()) + 1));

    g_dataMap.insert(VSDKAPIGlobalData());
    setErrorString("earlier");
    char buffer[8] = "kept";
    int size = sizeof buffer;
    for (AnsiFn fn : {QEncryptPasswordAnsi, QDecryptPasswordAnsi}) {
        EXPECT_EQ(kInvalid, callAnsi(fn, nullptr, 64));
        EXPECT_EQ(kInvalid, fn("x", nullptr, &size));
        EXPECT_EQ(kInvalid, fn("x", buffer, nullptr));
    }
    EXPECT_STREQ("kept", buffer);
    EXPECT_STREQ("earlier", VSDKGetLastErrorString());
    g_dataMap.erase();
}

TEST(RegistryTest, FoundAbsentAndTooSmall) {
    vsdktest::TempRegistry reg{20};
    reg.setValue("Instance002", "Mardock", "sMardockHostName", "cs.example.com");
    reg.setValue("Instance002", "Session", "nPreferredIPFamily", "6");
    auto ansi = [](const char* focus, const char* section, const char* key, int size, std::string* out = nullptr) {
        auto fill = [=](char* buf, int* n) { return GetStringFromOrvaneRegistryAnsi(focus, section, key, buf, n); };
        return callWithBuffer(fill, size, out);
    };
    std::string out;
    ASSERT_EQ(0u, GetStringFromOrvaneRegistry("Instance002", "Mardock", "sMardockHostName", out));
    EXPECT_EQ("cs.example.com", out);
    ASSERT_EQ(0u, ansi("Instance002", "Mardock", "sMardockHostName", 15, &out));
    EXPECT_EQ("cs.example.com", out);
    unsigned long value = 99;
    ASSERT_EQ(0u, GetNumberFromOrvaneRegistry("Instance002", "Session", "nPreferredIPFamily", &value));
    EXPECT_EQ(6UL, value);

    // Room for the 14 characters but not their zero.
    EXPECT_EQ(kInvalid, ansi("Instance002", "Mardock", "sMardockHostName", 14));
    EXPECT_TRUE(reg.logContains("Returned string size[14] is greater than input size [14]"));

    const char* absent[][3] = {{"Instance002", "Mardock", "sNoSuchValue"}, {nullptr, "Mardock", "sMardockHostName"},
                               {"Instance002", "../Instance002/Mardock", "sMardockHostName"},
                               {"Instance404", "Mardock", "sMardockHostName"},
                               {"Instance002", nullptr, "sMardockHostName"}};
    out = "untouched";
    for (const auto& a : absent) {
        EXPECT_EQ(kInvalid, ansi(a[0], a[1], a[2], 64));
        EXPECT_EQ(kInvalid, GetNumberFromOrvaneRegistry(a[0], a[1], a[2], &value));
        EXPECT_EQ(kInvalid, GetStringFromOrvaneRegistry(a[0] ? a[0] : "", a[1] ? a[1] : "", a[2], out));
    }
    EXPECT_EQ(6UL, value);
    EXPECT_EQ("untouched", out);
    EXPECT_EQ(kInvalid, GetNumberFromOrvaneRegistry("Instance002", "Session", "nPreferredIPFamily", nullptr));
}

}  // namespace
