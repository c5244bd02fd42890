#pragma once

namespace res {

// Registers the compiled-in resources (the tool-bar pictures); a static
// library's resources are only there once something asks for them.
void InitResources();

}  // namespace res
