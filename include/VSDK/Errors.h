/* Error texts, password protection, registry look-ups and time texts. */
#ifndef VSDK_ERRORS_H
#define VSDK_ERRORS_H

#include "Common.h"

#include <string>

/* Fixed English text of one of the library's codes; only the low 32 bits of
 * the code count, read as a signed number. Never null. */
VSDK_API const char* GetErrorString(unsigned long code);

/* printf-style formatting into out (at most 1023 characters); "%ls" in the
 * format is read as "%s". */
VSDK_CXX_API void GetFormattedErrorString(std::string& out, const char* format, ...);

/* Stores text as the calling thread's last error; false (nothing stored)
 * when the thread has not started up. */
VSDK_CXX_API bool setErrorString(const std::string& text);

/* A readable text for *code: the thread's last error text when it is not
 * empty (and, for a few server-side codes, even when it is), else the fixed
 * text. Never null; valid until the thread stores another error text. */
VSDK_API const char* VSDKGetErrorString(const unsigned long* code);

/* The thread's last error text (the text of 0x280 without start-up). */
VSDK_API const char* VSDKGetLastErrorString();

/* Replaces the thread's last error text by the localized text of *code and
 * returns it (the text of 0x280 without start-up). */
VSDK_API const char* VSDKGetLocaleErrorString(const unsigned long* code, const unsigned long* locale);

/* The table that ties the event manager's login results to library codes. */
VSDK_CXX_API void initializeErrorMap();
VSDK_CXX_API void getLocaleErrorMsgFromVSDKErrorCode(std::string& out, unsigned long code,
                                                     unsigned long locale);
/* Sets code from an event-manager result and, when text is empty, the
 * localized text; an unknown result changes nothing. */
VSDK_CXX_API void frameErrorMsg(std::string& text, unsigned long& code, int eventManagerCode);

/* Local-time text of seconds since 1970 (24 characters, no line end); "now"
 * for 0, "error" when it cannot be converted. */
VSDK_API std::string UnixTimeToLocTimeString(unsigned long seconds);

/* Password protection. The plain text may have up to 510 characters
 * (QEncryptPassword), the encrypted one up to 2047 (QDecryptPassword); the
 * character-buffer forms take up to 2048 characters. *size is the size of out
 * on the way in and the length of the result on the way out; out must also
 * hold the terminating zero. 0 = success, 0x303 for an argument that does
 * not fit, 0x103 when the text cannot be encrypted or decrypted. On failure
 * neither out nor *size changes. */
VSDK_API unsigned long QEncryptPassword(const std::string& plain, std::string& out);
VSDK_API unsigned long QDecryptPassword(const std::string& encrypted, std::string& out);
VSDK_API unsigned long QEncryptPasswordAnsi(const char* plain, char* out, int* size);
VSDK_API unsigned long QDecryptPasswordAnsi(const char* encrypted, char* out, int* size);

/* Registry values of one instance (focus). 0x303 when the value is absent or
 * does not fit (with its terminating zero) into out; nothing changes then. */
VSDK_API unsigned long GetStringFromOrvaneRegistryAnsi(const char* focus, const char* section,
                                                       const char* key, char* out, int* size);
VSDK_API unsigned long GetStringFromOrvaneRegistry(const std::string& focus,
                                                   const std::string& section,
                                                   const std::string& key, std::string& out);
VSDK_API unsigned long GetNumberFromOrvaneRegistry(const char* focus, const char* section,
                                                   const char* key, unsigned long* value);

#endif
