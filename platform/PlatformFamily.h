#pragma once

// Which family of systems the editor runs on. Extension association was
// refused on the one family whose file-type keys it could not keep; this
// system is not of that family.

namespace platform {

bool IsNtFamily();

}  // namespace platform
