// `IsOnline`: whether the system has a network connection, as its network service reports it.
#pragma once

#include <QString>

namespace psalmora {

// False only when the system says it has no network at all. When it cannot tell (no backend for the
// network service, or the service does not answer), true: the server check that follows decides.
// Call it on the interface thread.
bool IsOnline();

// Whether the address (a URL) names this computer ("localhost" or a loopback address): such a server
// is reached without any network, whatever IsOnline says.
bool IsLoopbackHost(const QString& address);

}  // namespace psalmora
