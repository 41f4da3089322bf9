#include "RkEntities.h"

namespace RkEntities {
VSDK_DEFINE_FAMILY(RkEntities, VSDK_RKENTITIES_MESSAGES)
}  // namespace RkEntities
