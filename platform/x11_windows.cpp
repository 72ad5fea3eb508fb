#include "platform/x11_windows.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tarvek {

namespace {

// A window manager makes a window active within milliseconds; one that refuses costs a
// press no more than this per window.
constexpr std::chrono::milliseconds ActivationWait{500};
// The server answers a property change at once; without an answer the request goes out
// without a time.
constexpr std::chrono::milliseconds ServerTimeWait{200};

using TClock = std::chrono::steady_clock;

struct TFree {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using TReply = std::unique_ptr<T, TFree>;

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

class TWindowManagerLink {
public:
    TWindowManagerLink() : C(xcb_connect(nullptr, &Screen)) {}
    ~TWindowManagerLink() { xcb_disconnect(C); }
    TWindowManagerLink(const TWindowManagerLink&) = delete;
    TWindowManagerLink& operator=(const TWindowManagerLink&) = delete;

    bool Open() {
        if (!C || xcb_connection_has_error(C) != 0) return false;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(C));
        for (int i = 0; i < Screen && it.rem > 0; ++i) xcb_screen_next(&it);
        if (it.rem <= 0) return false;
        Root = it.data->root;
        ClientList = InternAtom(C, "_NET_CLIENT_LIST");
        WmName = InternAtom(C, "_NET_WM_NAME");
        Utf8 = InternAtom(C, "UTF8_STRING");
        ActiveWindow = InternAtom(C, "_NET_ACTIVE_WINDOW");
        // Atoms that do not exist yet: no window manager has ever announced them.
        if (ClientList == XCB_ATOM_NONE || WmName == XCB_ATOM_NONE || Utf8 == XCB_ATOM_NONE ||
            ActiveWindow == XCB_ATOM_NONE)
            return false;
        // Changes of the active window wake the wait below.
        const std::uint32_t rootEvents = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(C, Root, XCB_CW_EVENT_MASK, &rootEvents);
        // A window of our own, never shown, whose property changes tell the server's time.
        TimeWindow = xcb_generate_id(C);
        const std::uint32_t values[] = {1, XCB_EVENT_MASK_PROPERTY_CHANGE};
        xcb_create_window(C, 0, TimeWindow, Root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        return true;
    }

    xcb_window_t WindowTitled(const std::string& title) {
        const auto clients = Property(C, Root, ClientList, XCB_ATOM_WINDOW);
        if (!clients || clients->format != 32) return XCB_WINDOW_NONE;
        const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(clients.get()));
        const int count = xcb_get_property_value_length(clients.get()) / 4;
        for (int i = 0; i < count; ++i) {
            const auto name = Property(C, windows[i], WmName, Utf8);
            if (!name || name->format != 8) continue;
            const std::string text(static_cast<const char*>(xcb_get_property_value(name.get())),
                                   static_cast<std::size_t>(xcb_get_property_value_length(name.get())));
            if (text == title) return windows[i];
        }
        return XCB_WINDOW_NONE;
    }

    // As a pager asks it (source 2), so that focus-stealing rules do not refuse it, and with
    // a time, so that the window manager can order it after the press that asked for it.
    void Activate(xcb_window_t window) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = ActiveWindow;
        event.data.data32[0] = 2;
        event.data.data32[1] = ServerTime();
        event.data.data32[2] = XCB_WINDOW_NONE;
        xcb_send_event(C, 0, Root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(C);
    }

    // Until the window manager names window the active one; false when it has not by the
    // end of the wait.
    bool WaitUntilActive(xcb_window_t window) {
        const TClock::time_point deadline = TClock::now() + ActivationWait;
        for (;;) {
            if (Active() == window) return true;
            if (TClock::now() >= deadline || xcb_connection_has_error(C) != 0) return false;
            // An event read in with the reply may be the change itself: look again before
            // sleeping on the socket.
            bool arrived = false;
            while (const TReply<xcb_generic_event_t> event{xcb_poll_for_event(C)}) arrived = true;
            if (!arrived && !WaitReadable(deadline)) return false;
        }
    }

private:
    xcb_window_t Active() {
        const auto active = Property(C, Root, ActiveWindow, XCB_ATOM_WINDOW);
        if (!active || active->format != 32 || xcb_get_property_value_length(active.get()) < 4)
            return XCB_WINDOW_NONE;
        return *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
    }

    // The server's time now: the stamp of the notice of an empty append to our own window.
    xcb_timestamp_t ServerTime() {
        xcb_change_property(C, XCB_PROP_MODE_APPEND, TimeWindow, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(C);
        const TClock::time_point deadline = TClock::now() + ServerTimeWait;
        do {
            while (const TReply<xcb_generic_event_t> event{xcb_poll_for_event(C)}) {
                if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) continue;
                const auto* notice = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
                if (notice->window == TimeWindow) return notice->time;
            }
        } while (WaitReadable(deadline));
        return XCB_CURRENT_TIME;
    }

    bool WaitReadable(TClock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
        if (left <= 0) return false;
        pollfd p{xcb_get_file_descriptor(C), POLLIN, 0};
        return poll(&p, 1, static_cast<int>(left)) > 0;
    }

    int Screen = 0;
    xcb_connection_t* C;
    xcb_window_t Root = XCB_WINDOW_NONE;
    xcb_window_t TimeWindow = XCB_WINDOW_NONE;
    xcb_atom_t ClientList = XCB_ATOM_NONE, WmName = XCB_ATOM_NONE, Utf8 = XCB_ATOM_NONE,
               ActiveWindow = XCB_ATOM_NONE;
};

}  // namespace

bool X11FrameExtents(std::uint32_t window, std::chrono::milliseconds wait, TFrameExtents& extents) {
    int screen = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screen);
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> link(c, xcb_disconnect);
    if (!c || xcb_connection_has_error(c) != 0) return false;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen && it.rem > 0; ++i) xcb_screen_next(&it);
    if (it.rem <= 0) return false;
    const xcb_window_t root = it.data->root;
    // Atoms that do not exist yet: no window manager has ever announced them.
    const xcb_atom_t frameExtents = InternAtom(c, "_NET_FRAME_EXTENTS");
    const xcb_atom_t request = InternAtom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t supported = InternAtom(c, "_NET_SUPPORTED");
    if (frameExtents == XCB_ATOM_NONE) return false;
    const auto read = [&] {
        const auto value = Property(c, window, frameExtents, XCB_ATOM_CARDINAL);
        if (!value || value->format != 32 || xcb_get_property_value_length(value.get()) < 16) return false;
        const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(value.get()));
        // Order of the property: left, right, top, bottom.
        extents = {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3])};
        return true;
    };
    // The answer's notice wakes the wait below; asked for before the first look, so that
    // an answer between the two is not missed.
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &events);
    if (read()) return true;
    if (request == XCB_ATOM_NONE || supported == XCB_ATOM_NONE) return false;
    // Only a window manager that says it answers is asked, so that none costs a wait.
    const auto list = Property(c, root, supported, XCB_ATOM_ATOM);
    if (!list || list->format != 32) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(list.get()));
    const int count = xcb_get_property_value_length(list.get()) / 4;
    if (std::find(atoms, atoms + count, request) == atoms + count) return false;

    xcb_client_message_event_t ask{};
    ask.response_type = XCB_CLIENT_MESSAGE;
    ask.format = 32;
    ask.window = window;
    ask.type = request;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ask));
    xcb_flush(c);
    const TClock::time_point deadline = TClock::now() + wait;
    for (;;) {
        bool told = false;
        while (const TReply<xcb_generic_event_t> event{xcb_poll_for_event(c)}) {
            if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) continue;
            const auto* notice = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
            if (notice->window == window && notice->atom == frameExtents) told = true;
        }
        if (told && read()) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
        if (left <= 0 || xcb_connection_has_error(c) != 0) return read();
        pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&p, 1, static_cast<int>(left));
    }
}

int RaiseX11WindowsTitled(const std::vector<std::string>& titles) {
    TWindowManagerLink link;
    if (!link.Open()) return 0;
    int asked = 0;
    for (const std::string& title : titles) {
        // Looked up afresh: the window before may have closed a window of the list.
        const xcb_window_t window = link.WindowTitled(title);
        if (window == XCB_WINDOW_NONE) continue;
        link.Activate(window);
        ++asked;
        // A refusal is not reported: the next window is asked for all the same.
        link.WaitUntilActive(window);
    }
    return asked;
}

bool RaiseX11WindowTitled(const std::string& title) { return RaiseX11WindowsTitled({title}) > 0; }

}  // namespace tarvek
