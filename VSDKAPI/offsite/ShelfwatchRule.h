// The rule of a Shelfwatch policy: its sixteen members and the fields of
// the rule object that carry them, in both directions.
#pragma once

#include "VSDK/Offsite.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"

namespace shelfwatch {

using namespace OrvaneUtilities;
using fieldrows::put;
using fieldrows::take;

inline const fieldrows::TakeRow<_QSWRuleInfo> kRuleFromReply[] = {
    {SWRule::kField1, take<&_QSWRuleInfo::ruleField1>},
    {SWRule::kField2, take<&_QSWRuleInfo::ruleField2>},
    {SWRule::kField3, take<&_QSWRuleInfo::ruleField3>},
    {SWRule::kField4, take<&_QSWRuleInfo::ruleField4>},
    {SWRule::kField5, take<&_QSWRuleInfo::ruleField5>},
    {SWRule::kField6, take<&_QSWRuleInfo::ruleField6>},
    {SWRule::kField7, take<&_QSWRuleInfo::ruleField7>},
    {SWRule::kField8, take<&_QSWRuleInfo::ruleField8>},
    {SWRule::kField9, take<&_QSWRuleInfo::ruleField9>},
    {SWRule::kField10, take<&_QSWRuleInfo::ruleField10>},
    {SWRule::kField11, take<&_QSWRuleInfo::ruleField11>},
    {SWRule::kField12, take<&_QSWRuleInfo::ruleField12>},
    {SWRule::kField13, take<&_QSWRuleInfo::ruleField13>},
    {SWRule::kField14, take<&_QSWRuleInfo::ruleField14>},
    {SWRule::kField15, take<&_QSWRuleInfo::ruleField15>},
    {SWRule::kField16, take<&_QSWRuleInfo::ruleField16>},
};

inline const fieldrows::FieldRow<_QSWRuleInfo> kRuleToRequest[] = {
    {SWRule::kField1, put<&_QSWRuleInfo::ruleField1>},
    {SWRule::kField2, put<&_QSWRuleInfo::ruleField2>},
    {SWRule::kField3, put<&_QSWRuleInfo::ruleField3>},
    {SWRule::kField4, put<&_QSWRuleInfo::ruleField4>},
    {SWRule::kField5, put<&_QSWRuleInfo::ruleField5>},
    {SWRule::kField6, put<&_QSWRuleInfo::ruleField6>},
    {SWRule::kField7, put<&_QSWRuleInfo::ruleField7>},
    {SWRule::kField8, put<&_QSWRuleInfo::ruleField8>},
    {SWRule::kField9, put<&_QSWRuleInfo::ruleField9>},
    {SWRule::kField10, put<&_QSWRuleInfo::ruleField10>},
    {SWRule::kField11, put<&_QSWRuleInfo::ruleField11>},
    {SWRule::kField12, put<&_QSWRuleInfo::ruleField12>},
    {SWRule::kField13, put<&_QSWRuleInfo::ruleField13>},
    {SWRule::kField14, put<&_QSWRuleInfo::ruleField14>},
    {SWRule::kField15, put<&_QSWRuleInfo::ruleField15>},
    {SWRule::kField16, put<&_QSWRuleInfo::ruleField16>},
};

}  // namespace shelfwatch
