#include "OrvaneOperations.h"

namespace OrvaneOperations {
VSDK_DEFINE_FAMILY(OrvaneOperations, VSDK_ORVANE_OPERATIONS_MESSAGES, msgf::kSessionGuid.hash,
                   msgf::kSessionMultiDomainToken.hash)
}  // namespace OrvaneOperations
