// `IsOnline`: whether the system has a network connection, as its network service reports it.
#pragma once

namespace psalmora {

// False only when the system says it has no network at all. When it cannot tell (no backend for the
// network service, or the service does not answer), true: the server check that follows decides.
// Call it on the interface thread.
bool IsOnline();

}  // namespace psalmora
