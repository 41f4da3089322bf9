#include "SqlDatabases.h"

#include "VSDKAPI/messages/Fields.h"

using namespace OrvaneUtilities;

_QSQLDBInfo sqlDatabaseFromElement(const CNMessageBase& element) {
    _QSQLDBInfo record;
    record.id = static_cast<int>(msgf::getInt(element, SqlDatabase::kId));
    msgf::copyBounded(record.name, msgf::getText(element, SqlDatabase::kName));
    return record;
}

QSQLDBInfo sqlDatabaseElement(const _QSQLDBInfo& record) {
    QSQLDBInfo element;
    msgf::putInt(element, SqlDatabase::kId, static_cast<unsigned int>(record.id));
    msgf::putText(element, SqlDatabase::kName, record.name);
    return element;
}

bool allSqlDatabases(const std::vector<CNMessageBase>* elements) {
    if (!elements) return true;
    for (const CNMessageBase& e : *elements) {
        if (e.getTagID() != QSQLDBInfo::kTag) return false;
    }
    return true;
}
