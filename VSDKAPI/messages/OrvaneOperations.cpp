#include "OrvaneOperations.h"

namespace OrvaneOperations {
VSDK_DEFINE_FAMILY(OrvaneOperations, VSDK_ORVANE_OPERATIONS_MESSAGES)
}  // namespace OrvaneOperations
