// Text conversions between caller records and message fields, and the copy
// of a caller's time value into the time object of a request.
//
// Texts are byte strings on both sides: the conversions are plain copies that
// keep every byte, zero bytes included.
#pragma once

#include "VSDK/Common.h"
#include "VSDKAPI/messages/CommonFields.h"

#include <string>

// out becomes a copy of in (destination first).
void qConvertStr2qwstr(std::string& out, const std::string& in);
// out becomes a copy of in (source first).
void qConvertqwStr2Str(const std::string& in, std::string& out);

// Decimal text of a number: a minus sign when negative, no grouping.
std::string numberToqwString(int value);
std::string numberToqwString(long long value);

// Fixed-point text of value with digits decimals, rounded as "%.*f" in the
// C locale ("1.50"): the point is a point whatever the process's locale.
std::string fixedPointText(double value, int digits);

// Sets the five fields of a family's time object (OrvaneOperations::QTime,
// OrvaneUtilities::QTime, MediaManager::QTime) from a caller's time value.
// Every field is set, also when it is 0 or empty; numbers keep their sign.
void QTimeCopy(CNMessageBase& timeObject, const _QTime& time);
template <class T>
void QTimeCopy(CNMessageBase& timeObject, const _QTime& time) {
    QTimeCopy(timeObject, time);
}
