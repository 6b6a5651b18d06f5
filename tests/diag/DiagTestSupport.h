#pragma once

#include <QtCore/QString>

namespace trv::test {

// The private session bus's address that main() started, empty when dbus-daemon could not start.
QString& PrivateBusAddress();
// The temporary folder the XDG_* variables point into.
QString& XdgRoot();

} // namespace trv::test
