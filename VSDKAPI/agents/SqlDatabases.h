// SQL databases between the caller's records and the message element.
#pragma once

#include "VSDK/Subclients.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"

#include <vector>

// A fresh record from an element: the id is the low 32 bits, signed; the
// name copied with a bound. Nothing else is set.
_QSQLDBInfo sqlDatabaseFromElement(const CNMessageBase& element);

// The element for a record: the id's 32 bits read as unsigned, the name up
// to its terminating zero.
OrvaneUtilities::QSQLDBInfo sqlDatabaseElement(const _QSQLDBInfo& record);

// Whether every element of a list is an SQL database (an absent list is).
bool allSqlDatabases(const std::vector<CNMessageBase>* elements);
