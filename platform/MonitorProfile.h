#pragma once
// The colour profile the desktop assigns to the monitor, where it can be read:
// on X11 the root window's _ICC_PROFILE property, which colour daemons set.
#include <QByteArray>

// The profile's bytes; empty when the desktop offers none (Wayland, no
// daemon, another platform) or it exceeds maxBytes.
[[nodiscard]] QByteArray DesktopMonitorProfile(qint64 maxBytes);
