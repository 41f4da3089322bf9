// Password protection and registry look-up exports.
#include "support/TempRegistry.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "platform/RKPassword.h"
#include "platform/RKPlatformInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr unsigned long kInvalidArgument = 0x303;
constexpr unsigned long kCannotProtect = 0x103;

bool printable(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 0x21 || c > 0x7e) return false;
    }
    return !text.empty();
}

std::string encrypted(const std::string& plain) {
    std::string out;
    EXPECT_EQ(0u, QEncryptPassword(plain, out));
    return out;
}

// A buffer with a recognisable filling, to see that nothing was written.
struct Buffer {
    explicit Buffer(std::size_t size) : bytes(size, '#') {}
    bool untouched() const {
        for (char c : bytes) {
            if (c != '#') return false;
        }
        return true;
    }
    std::vector<char> bytes;
};

class PasswordTest : public ::testing::Test {
protected:
    vsdktest::TempRegistry reg{0};
};

TEST_F(PasswordTest, StringFormsRoundTrip) {
    for (const std::string& plain : {std::string(), std::string("secret"), std::string("pass word:[1]\t"),
                                    std::string(510, 'p')}) {
        SCOPED_TRACE(plain.size());
        std::string cipher;
        ASSERT_EQ(0u, QEncryptPassword(plain, cipher));
        EXPECT_TRUE(printable(cipher)) << cipher;
        EXPECT_EQ(std::string::npos, cipher.find(plain.empty() ? "\x01" : plain));
        std::string back = "old";
        ASSERT_EQ(0u, QDecryptPassword(cipher, back));
        EXPECT_EQ(plain, back);
    }
    // A fresh nonce each time.
    EXPECT_NE(encrypted("same"), encrypted("same"));
}

TEST_F(PasswordTest, AnsiFormsRoundTrip) {
    const std::string plain(510, 'a');  // the largest text the decryption can give back
    char cipher[2048];
    int cipherSize = sizeof(cipher);
    ASSERT_EQ(0u, QEncryptPasswordAnsi(plain.c_str(), cipher, &cipherSize));
    EXPECT_EQ(std::strlen(cipher), static_cast<std::size_t>(cipherSize));
    char back[600];
    int backSize = sizeof(back);
    ASSERT_EQ(0u, QDecryptPasswordAnsi(cipher, back, &backSize));
    EXPECT_EQ(plain, back);
    EXPECT_EQ(510, backSize);

    // The string and buffer forms read each other's texts.
    std::string viaString;
    EXPECT_EQ(0u, QDecryptPassword(cipher, viaString));
    EXPECT_EQ(plain, viaString);
}

TEST_F(PasswordTest, InputLimits) {
    struct Case {
        const char* name;
        unsigned long (*call)(const std::string&);
        std::size_t length;
        unsigned long expected;
    };
    auto enc = [](const std::string& in) {
        std::string out = "untouched";
        const unsigned long rc = QEncryptPassword(in, out);
        if (rc != 0) {
            EXPECT_EQ("untouched", out);
        }
        return rc;
    };
    auto dec = [](const std::string& in) {
        std::string out = "untouched";
        const unsigned long rc = QDecryptPassword(in, out);
        if (rc != 0) {
            EXPECT_EQ("untouched", out);
        }
        return rc;
    };
    auto encAnsi = [](const std::string& in) {
        Buffer out(4096);
        int size = 4096;
        const unsigned long rc = QEncryptPasswordAnsi(in.c_str(), out.bytes.data(), &size);
        if (rc != 0) {
            EXPECT_TRUE(out.untouched() && size == 4096);
        }
        return rc;
    };
    auto decAnsi = [](const std::string& in) {
        Buffer out(4096);
        int size = 4096;
        const unsigned long rc = QDecryptPasswordAnsi(in.c_str(), out.bytes.data(), &size);
        if (rc != 0) {
            EXPECT_TRUE(out.untouched() && size == 4096);
        }
        return rc;
    };
    const Case cases[] = {
        {"encrypt 510", +enc, 510, 0},
        {"encrypt 511", +enc, 511, kInvalidArgument},
        // Decryption inputs of the allowed length reach the decryption (and
        // fail there, being no cipher texts); longer ones are refused first.
        {"decrypt 2047", +dec, 2047, kCannotProtect},
        {"decrypt 2048", +dec, 2048, kInvalidArgument},
        {"ansi encrypt 2048", +encAnsi, 2048, kCannotProtect},  // no room for its cipher text
        {"ansi encrypt 2049", +encAnsi, 2049, kInvalidArgument},
        {"ansi decrypt 2048", +decAnsi, 2048, kCannotProtect},
        {"ansi decrypt 2049", +decAnsi, 2049, kInvalidArgument},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, c.call(std::string(c.length, 'x')));
    }
}

TEST_F(PasswordTest, DecryptionGivesAtMost510Characters) {
    std::string cipher;
    ASSERT_EQ(0, RKPassword::encrypt(std::string(511, 'b'), cipher));
    std::string out = "untouched";
    EXPECT_EQ(kCannotProtect, QDecryptPassword(cipher, out));
    EXPECT_EQ("untouched", out);
}

TEST_F(PasswordTest, AnsiOutputMustHoldTheTextAndItsZero) {
    const std::string cipher = encrypted("secret");
    const int length = 6;
    struct Case {
        int size;
        unsigned long expected;
    };
    for (const Case& c : {Case{length - 1, kInvalidArgument}, Case{length, kInvalidArgument},
                          Case{-1, kInvalidArgument}, Case{0, kInvalidArgument}, Case{length + 1, 0}}) {
        SCOPED_TRACE(c.size);
        Buffer out(64);
        int size = c.size;
        EXPECT_EQ(c.expected, QDecryptPasswordAnsi(cipher.c_str(), out.bytes.data(), &size));
        if (c.expected == 0) {
            EXPECT_EQ(length, size);
            EXPECT_STREQ("secret", out.bytes.data());
            EXPECT_EQ('#', out.bytes[length + 1]);  // nothing beyond the zero
        } else {
            EXPECT_EQ(c.size, size);
            EXPECT_TRUE(out.untouched());
        }
    }

    char probe[2048];
    int probeSize = sizeof(probe);
    ASSERT_EQ(0u, QEncryptPasswordAnsi("secret", probe, &probeSize));
    for (int size : {probeSize, probeSize + 1}) {
        SCOPED_TRACE(size);
        Buffer out(2048);
        int in = size;
        const unsigned long rc = QEncryptPasswordAnsi("secret", out.bytes.data(), &in);
        EXPECT_EQ(size == probeSize ? kInvalidArgument : 0u, rc);
        EXPECT_EQ(size == probeSize ? size : probeSize, in);
    }
}

TEST_F(PasswordTest, NullArgumentsAreRefused) {
    char out[64] = "untouched";
    int size = sizeof(out);
    const std::string cipher = encrypted("x");
    EXPECT_EQ(kInvalidArgument, QEncryptPasswordAnsi(nullptr, out, &size));
    EXPECT_EQ(kInvalidArgument, QDecryptPasswordAnsi(nullptr, out, &size));
    EXPECT_EQ(kInvalidArgument, QEncryptPasswordAnsi("x", nullptr, &size));
    EXPECT_EQ(kInvalidArgument, QDecryptPasswordAnsi(cipher.c_str(), nullptr, &size));
    EXPECT_EQ(kInvalidArgument, QEncryptPasswordAnsi("x", out, nullptr));
    EXPECT_EQ(kInvalidArgument, QDecryptPasswordAnsi(cipher.c_str(), out, nullptr));
    EXPECT_STREQ("untouched", out);
    EXPECT_EQ(64, size);

    bool nullLine = false;
    for (const std::string& line : reg.logLines()) {
        if (line.find("QDecryptPasswordAnsi() [0] Input is NULL. Decryption of Password(ANSI) failed with "
                      "Error code [0x303] Error string [Invalid Argument]") != std::string::npos) {
            nullLine = true;
        }
    }
    EXPECT_TRUE(nullLine);
}

TEST_F(PasswordTest, AlteredOrForeignTextsAreRefused) {
    const std::string good = encrypted("secret");
    std::string strong;
    ASSERT_EQ(0, RKPassword::encryptStrong("secret", strong));
    std::string back;
    ASSERT_EQ(0u, QDecryptPassword(strong, back));
    EXPECT_EQ("secret", back);

    std::vector<std::string> bad = {"", "secret", "RKP1:", "RKP1:zz", good.substr(0, good.size() - 2),
                                    good + "00", "RKX1:" + good.substr(5), strong.substr(0, 5) + good.substr(5),
                                    "RKP1:" + std::string(56, '0')};
    for (std::size_t pos : {5UL, 20UL, good.size() / 2, good.size() - 1}) {
        std::string flipped = good;
        flipped[pos] = flipped[pos] == '0' ? '1' : '0';
        bad.push_back(flipped);
    }
    for (const std::string& text : bad) {
        SCOPED_TRACE(text);
        std::string out = "untouched";
        EXPECT_EQ(kCannotProtect, QDecryptPassword(text, out));
        EXPECT_EQ("untouched", out);
        Buffer buf(64);
        int size = 64;
        EXPECT_EQ(kCannotProtect, QDecryptPasswordAnsi(text.c_str(), buf.bytes.data(), &size));
        EXPECT_TRUE(buf.untouched());
        EXPECT_EQ(64, size);
    }
}

TEST_F(PasswordTest, FailuresAreLoggedAndNotStoredOnTheThread) {
    g_dataMap.insert(VSDKAPIGlobalData());
    setErrorString("earlier");
    std::string out;
    EXPECT_EQ(kInvalidArgument, QEncryptPassword(std::string(511, 'x'), out));
    EXPECT_EQ(kCannotProtect, QDecryptPassword("nonsense", out));
    EXPECT_STREQ("earlier", VSDKGetLastErrorString());
    g_dataMap.erase();

    const auto lines = reg.logLines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_NE(std::string::npos,
              lines[0].find("QEncryptPassword() [0] Encryption of Password failed with Error code [0x303] "
                            "Error string [Invalid Argument]"));
    EXPECT_NE(std::string::npos,
              lines[1].find("QDecryptPassword() [0] Decryption of Password failed with Error code [0x103] "
                            "Error string [Invalid Login/Password]"));
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        reg.setValue("Instance002", "Mardock", "sMardockHostName", "cs.example.com");
        reg.setValue("Instance002", "Session", "nPreferredIPFamily", 6);
        reg.setValue("Instance002", "Session", "sWord", "not a number");
        reg.setValue("Instance001", "Mardock", "sMardockHostName", "other.example.com");
    }
    vsdktest::TempRegistry reg{20};
};

TEST_F(RegistryTest, StringFound) {
    std::string out;
    ASSERT_EQ(0u, GetStringFromOrvaneRegistry("Instance002", "Mardock", "sMardockHostName", out));
    EXPECT_EQ("cs.example.com", out);
    ASSERT_EQ(0u, GetStringFromOrvaneRegistry("Instance001", "Mardock", "sMardockHostName", out));
    EXPECT_EQ("other.example.com", out);

    Buffer buf(64);
    int size = 64;
    ASSERT_EQ(0u, GetStringFromOrvaneRegistryAnsi("Instance002", "Mardock", "sMardockHostName",
                                                  buf.bytes.data(), &size));
    EXPECT_EQ(14, size);
    EXPECT_STREQ("cs.example.com", buf.bytes.data());
    EXPECT_EQ('#', buf.bytes[15]);
}

TEST_F(RegistryTest, NumberFound) {
    unsigned long value = 99;
    ASSERT_EQ(0u, GetNumberFromOrvaneRegistry("Instance002", "Session", "nPreferredIPFamily", &value));
    EXPECT_EQ(6UL, value);
}

TEST_F(RegistryTest, AbsentValuesAreRefused) {
    struct Case {
        const char* focus;
        const char* section;
        const char* key;
    };
    const Case cases[] = {{"Instance002", "Mardock", "sNoSuchValue"},
                          {"Instance002", "NoSection", "sMardockHostName"},
                          {"Instance404", "Mardock", "sMardockHostName"},
                          {"Instance002", "../Instance001/Mardock", "sMardockHostName"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.focus) + "/" + c.section + "/" + c.key);
        std::string out = "untouched";
        EXPECT_EQ(kInvalidArgument, GetStringFromOrvaneRegistry(c.focus, c.section, c.key, out));
        EXPECT_EQ("untouched", out);
        Buffer buf(64);
        int size = 64;
        EXPECT_EQ(kInvalidArgument, GetStringFromOrvaneRegistryAnsi(c.focus, c.section, c.key,
                                                                    buf.bytes.data(), &size));
        EXPECT_TRUE(buf.untouched());
        EXPECT_EQ(64, size);
        unsigned long value = 99;
        EXPECT_EQ(kInvalidArgument, GetNumberFromOrvaneRegistry(c.focus, c.section, c.key, &value));
        EXPECT_EQ(99UL, value);
    }
    unsigned long value = 99;
    EXPECT_EQ(kInvalidArgument, GetNumberFromOrvaneRegistry("Instance002", "Session", "sWord", &value));
    EXPECT_EQ(99UL, value);

    bool keySizeLine = false;
    for (const std::string& line : reg.logLines()) {
        if (line.find("GetStringFromOrvaneRegistryAnsi [20] Retrieval of string from Orvane Registry(ANSI) "
                      "failed with Error code [0x303] Error string [Invalid Argument] for the input focus "
                      "[Instance002],sectionName [Mardock], keyname [sNoSuchValue], keySize [64]") !=
            std::string::npos) {
            keySizeLine = true;
        }
    }
    EXPECT_TRUE(keySizeLine);
}

TEST_F(RegistryTest, TooSmallBufferIsRefused) {
    const int length = 14;  // "cs.example.com"
    struct Case {
        int size;
        unsigned long expected;
    };
    for (const Case& c : {Case{length - 1, kInvalidArgument}, Case{length, kInvalidArgument},
                          Case{-5, kInvalidArgument}, Case{length + 1, 0}}) {
        SCOPED_TRACE(c.size);
        Buffer buf(64);
        int size = c.size;
        EXPECT_EQ(c.expected, GetStringFromOrvaneRegistryAnsi("Instance002", "Mardock", "sMardockHostName",
                                                              buf.bytes.data(), &size));
        if (c.expected == 0) {
            EXPECT_EQ(length, size);
            EXPECT_STREQ("cs.example.com", buf.bytes.data());
        } else {
            EXPECT_EQ(c.size, size);
            EXPECT_TRUE(buf.untouched());
        }
    }
    bool sizesLine = false;
    for (const std::string& line : reg.logLines()) {
        if (line.find("Returned string size[14] is greater than input size [13] for input sectionName "
                      "[Mardock], keyname [sMardockHostName]") != std::string::npos) {
            sizesLine = true;
        }
    }
    EXPECT_TRUE(sizesLine);
}

TEST_F(RegistryTest, NullArgumentsAreRefused) {
    Buffer buf(64);
    int size = 64;
    unsigned long value = 99;
    EXPECT_EQ(kInvalidArgument, GetStringFromOrvaneRegistryAnsi(nullptr, "Mardock", "sMardockHostName",
                                                                buf.bytes.data(), &size));
    EXPECT_EQ(kInvalidArgument, GetStringFromOrvaneRegistryAnsi("Instance002", nullptr, "sMardockHostName",
                                                                buf.bytes.data(), &size));
    EXPECT_EQ(kInvalidArgument,
              GetStringFromOrvaneRegistryAnsi("Instance002", "Mardock", nullptr, buf.bytes.data(), &size));
    EXPECT_EQ(kInvalidArgument,
              GetStringFromOrvaneRegistryAnsi("Instance002", "Mardock", "sMardockHostName", nullptr, &size));
    EXPECT_EQ(kInvalidArgument, GetStringFromOrvaneRegistryAnsi("Instance002", "Mardock", "sMardockHostName",
                                                                buf.bytes.data(), nullptr));
    EXPECT_TRUE(buf.untouched());
    EXPECT_EQ(64, size);
    EXPECT_EQ(kInvalidArgument, GetNumberFromOrvaneRegistry(nullptr, "Session", "nPreferredIPFamily", &value));
    EXPECT_EQ(kInvalidArgument, GetNumberFromOrvaneRegistry("Instance002", nullptr, "nPreferredIPFamily", &value));
    EXPECT_EQ(kInvalidArgument, GetNumberFromOrvaneRegistry("Instance002", "Session", nullptr, &value));
    EXPECT_EQ(kInvalidArgument, GetNumberFromOrvaneRegistry("Instance002", "Session", "nPreferredIPFamily", nullptr));
    EXPECT_EQ(99UL, value);
}

TEST_F(RegistryTest, LookUpsLeaveTheProcessFocusAlone) {
    reg.setFocusFile("Instance001");
    std::string out;
    ASSERT_EQ(0u, GetStringFromOrvaneRegistry("Instance002", "Mardock", "sMardockHostName", out));
    ASSERT_STREQ("Instance001", RKPI_Focus::getFocus());
    std::string host;
    EXPECT_TRUE(RKPlatformInfo().getString("Mardock", "sMardockHostName", host));
    EXPECT_EQ("other.example.com", host);
}

}  // namespace
