// The block itself: a PE section that every process mapping the DLL shares,
// which only the Windows linker knows how to make.

#include "display/SharedDisplayBlock.h"

namespace vireo {

// Zero at first load: every line is empty until the composer has written.
SharedDisplayBlock sharedDisplayBlock VIREO_SHARED_SECTION = {};

}  // namespace vireo
