#include "Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace res {

void InitResources() {
  static const bool done = (InitIconResources(), true);
  (void)done;
}

}  // namespace res
