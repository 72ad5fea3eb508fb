#include "platform/x11_windows.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace tarvek {

namespace {

struct TFree {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using TReply = std::unique_ptr<T, TFree>;

struct TConnection {
    TConnection() : C(xcb_connect(nullptr, &Screen)) {}
    ~TConnection() { xcb_disconnect(C); }
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;
    bool Ok() const { return C && xcb_connection_has_error(C) == 0; }

    xcb_connection_t* C;
    int Screen = 0;
};

xcb_atom_t InternAtom(xcb_connection_t* c, const char* name) {
    const TReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The whole value of a property of the given type, or nothing.
TReply<xcb_get_property_reply_t> Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                          xcb_atom_t type) {
    // Lengths are in 32-bit units: room for 16384 windows or a title of 64 KiB.
    TReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 16384), nullptr));
    if (!reply || reply->type != type) return nullptr;
    return reply;
}

xcb_window_t RootOf(const TConnection& x) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x.C));
    for (int i = 0; i < x.Screen && it.rem > 0; ++i) xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

}  // namespace

bool RaiseX11WindowTitled(const std::string& title) {
    const TConnection x;
    if (!x.Ok()) return false;
    const xcb_window_t root = RootOf(x);
    if (root == XCB_WINDOW_NONE) return false;
    const xcb_atom_t clientList = InternAtom(x.C, "_NET_CLIENT_LIST");
    const xcb_atom_t wmName = InternAtom(x.C, "_NET_WM_NAME");
    const xcb_atom_t utf8 = InternAtom(x.C, "UTF8_STRING");
    const xcb_atom_t activeWindow = InternAtom(x.C, "_NET_ACTIVE_WINDOW");
    // Atoms that do not exist yet: no window manager has ever announced them.
    if (clientList == XCB_ATOM_NONE || wmName == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE ||
        activeWindow == XCB_ATOM_NONE)
        return false;

    const auto clients = Property(x.C, root, clientList, XCB_ATOM_WINDOW);
    if (!clients || clients->format != 32) return false;
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(clients.get()));
    const int count = xcb_get_property_value_length(clients.get()) / 4;
    for (int i = 0; i < count; ++i) {
        const auto name = Property(x.C, windows[i], wmName, utf8);
        if (!name || name->format != 8) continue;
        const std::string text(static_cast<const char*>(xcb_get_property_value(name.get())),
                               static_cast<std::size_t>(xcb_get_property_value_length(name.get())));
        if (text != title) continue;
        // As a pager asks it (source 2), so that focus-stealing rules do not refuse it.
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = windows[i];
        event.type = activeWindow;
        event.data.data32[0] = 2;
        event.data.data32[1] = XCB_CURRENT_TIME;
        event.data.data32[2] = XCB_WINDOW_NONE;
        xcb_send_event(x.C, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(x.C);
        return true;
    }
    return false;
}

}  // namespace tarvek
