// The library's error codes, their fixed texts, and the thread's last error.
#pragma once

#include <string>

// Codes the frame itself returns; the full table of fixed texts is in
// VSDKErrorTexts.cpp.
namespace vsdkerr {
constexpr unsigned long kRelogin = 0x9;
constexpr unsigned long kInvalidLogin = 0x103;  // also: password cannot be encrypted/decrypted
constexpr unsigned long kNotLoggedIn = 0x10b;
constexpr unsigned long kUnsupportedAppType = 0x10e;
constexpr unsigned long kCannotResolve = 0x126;
constexpr unsigned long kInternal = 0x201;
constexpr unsigned long kCannotConnect = 0x202;
constexpr unsigned long kSendFailed = 0x204;
constexpr unsigned long kReceiveFailed = 0x205;
constexpr unsigned long kNoResponse = 0x206;
constexpr unsigned long kInvalidResponse = 0x207;
constexpr unsigned long kTokenFileCorrupt = 0x208;
constexpr unsigned long kTokenFileMissing = 0x209;
constexpr unsigned long kTokenFileWrite = 0x20a;
constexpr unsigned long kTokenFileDelete = 0x20b;
constexpr unsigned long kNoInstance = 0x20d;
constexpr unsigned long kNoMardockName = 0x20e;
constexpr unsigned long kOtherUserLoggedIn = 0x23f;
constexpr unsigned long kSingleSignOn = 0x264;
constexpr unsigned long kTokenFileRead = 0x270;
constexpr unsigned long kNoBaseFolder = 0x272;
constexpr unsigned long kTokenStringEntries = 0x274;
constexpr unsigned long kTokenStringEncrypt = 0x275;
constexpr unsigned long kNotInitialized = 0x280;
constexpr unsigned long kUnsupportedOption = 0x301;
constexpr unsigned long kInvalidArgument = 0x303;
constexpr unsigned long kTokenFileOpen = 0x30b;
constexpr unsigned long kTokenFileCreate = 0x70c;
}  // namespace vsdkerr

// GetErrorString (fixed English text of one of the library's codes, taken as
// 32 bits; "Unknown Error Code.Please check logs for more details." otherwise),
// setErrorString (the calling thread's last error; nothing stored without
// thread state) and the other exported error-text functions.
#include "VSDK/Errors.h"
