#include "platform/KeyInjection.h"

namespace nomvarix {

// The X input stream is the toolkit's business here: played keys go to the editor directly.
bool InjectKey(std::int32_t, bool) { return false; }

}  // namespace nomvarix
