/* Start-up, login, logout, tokens, error texts and utilities. */
#ifndef VSDK_SESSION_H
#define VSDK_SESSION_H

#include "Common.h"

/* Masks password values in an XML text (older rule). */
VSDK_API std::string filterPassword(const std::string& xml);

#endif
