#include "platform/MonitorProfile.h"

#include <QGuiApplication>

#ifdef SGA_HAVE_XCB
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#endif

QByteArray DesktopMonitorProfile(qint64 maxBytes)
{
#ifdef SGA_HAVE_XCB
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return {};
    const xcb_setup_t *setup = xcb_get_setup(c);
    const xcb_screen_iterator_t screen = xcb_setup_roots_iterator(setup);
    if (!screen.rem)
        return {};
    static const char name[] = "_ICC_PROFILE";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return {};
    const xcb_atom_t id = atom->atom;
    std::free(atom);
    if (id == XCB_ATOM_NONE)
        return {};
    // Length in 32-bit units: the limit is asked for, never more.
    const auto units = std::uint32_t(std::min<qint64>(maxBytes / 4 + 1, 0x7FFFFFFF));
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, screen.data->root, id, XCB_ATOM_CARDINAL, 0, units), nullptr);
    if (!reply)
        return {};
    QByteArray bytes;
    const int length = xcb_get_property_value_length(reply);
    if (reply->format == 8 && reply->bytes_after == 0 && length > 0 && length <= maxBytes)
        bytes = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)), length);
    std::free(reply);
    return bytes;
#else
    (void)maxBytes;
    return {};
#endif
}
