#include "OrvaneOperations.h"

namespace OrvaneOperations {
VSDK_DEFINE_FAMILY(OrvaneOperations, VSDK_ORVANE_OPERATIONS_MESSAGES, msgf::kSessionGuid.hash,
                   msgf::kSessionMultiDomainToken.hash, kRestoreDestUserPassword.hash,
                   kRestorePrePostUserPassword.hash, dbrestore::kPrePostPassword.hash,
                   oracleopt::kPassPhrase.hash, oracleopt::kCatalogConnectPassword.hash)
}  // namespace OrvaneOperations
