#include "PlatformFamily.h"

namespace platform {

bool IsNtFamily() { return false; }

}  // namespace platform
