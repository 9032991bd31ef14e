#include "display/SharedDisplayBlock.h"

namespace vireo {

// Zero at first load: every line is empty until the composer has written.
SharedDisplayBlock sharedDisplayBlock VIREO_SHARED_SECTION = {};

}  // namespace vireo
