// Database restore options: the mapping of each engine's option record onto
// its option object of the database restore request.
#pragma once

#include "VSDK/DBRestore.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneOperations.h"

// Each takes the request's nested option object of its engine and a copy of
// the engine's option record, and sets every field the object carries.
void GetOracleParams(CNMessageBase& options, _QOracleRestoreParameters params);
void GetDB2Params(CNMessageBase& options, _QDB2RestoreParameters params);
void GetInformixParams(CNMessageBase& options, _QInformixRestoreParameters params);
// The unlabelled string list (13,19) is not set here: the request sets it.
void GetSQLParams(CNMessageBase& options, _QSQLRestoreParameters params);
