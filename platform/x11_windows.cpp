#include "platform/x11_windows.h"

#include <iconv.h>
#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/textfile.h"

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

// ---------------------------------------------------------------------------------
// Titles in the types an X client may give them.

// Appends bytes of the encoding to out as UTF-8; false when any of them does not convert.
bool AppendConverted(const char* encoding, std::string_view bytes, std::string& out) {
    if (bytes.empty()) return true;
    const iconv_t cd = iconv_open("UTF-8", encoding);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    // No byte of these encodings gives more than four bytes of UTF-8.
    std::string buf(bytes.size() * 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* to = buf.data();
    std::size_t toLeft = buf.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &to, &toLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    out.append(buf.data(), buf.size() - toLeft);
    return true;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    for (const char b : bytes) out += CodePointUtf8(static_cast<unsigned char>(b));
    return out;
}

// What one half of compound text holds, as its designation chose it.
struct TCharset {
    enum TKind { Unknown, Ascii, JisRoman, JisKana, Upper96, Double94 } Kind = Unknown;
    const char* Encoding = nullptr;  // iconv's name for the right half, or for the EUC form of a double-byte set
    bool Prefix8F = false;           // JIS X 0212 within EUC-JP
};

TCharset Single94(char final) {
    switch (final) {
    case 'B': return {TCharset::Ascii};
    case 'J': return {TCharset::JisRoman};
    case 'I': return {TCharset::JisKana};
    default: return {};
    }
}

TCharset Upper96(char final) {
    static constexpr std::pair<char, const char*> sets[] = {
        {'A', "ISO-8859-1"},  {'B', "ISO-8859-2"},  {'C', "ISO-8859-3"},  {'D', "ISO-8859-4"},
        {'L', "ISO-8859-5"},  {'G', "ISO-8859-6"},  {'F', "ISO-8859-7"},  {'H', "ISO-8859-8"},
        {'M', "ISO-8859-9"},  {'V', "ISO-8859-10"}, {'T', "TIS-620"},     {'Y', "ISO-8859-13"},
        {'_', "ISO-8859-14"}, {'b', "ISO-8859-15"}, {'f', "ISO-8859-16"},
    };
    for (const auto& [f, encoding] : sets)
        if (f == final) return {TCharset::Upper96, encoding};
    return {};
}

TCharset Double94(char final) {
    switch (final) {
    case '@':  // the 1978 edition of JIS X 0208, which EUC-JP also holds
    case 'B': return {TCharset::Double94, "EUC-JP"};
    case 'A': return {TCharset::Double94, "EUC-CN"};
    case 'C': return {TCharset::Double94, "EUC-KR"};
    case 'D': return {TCharset::Double94, "EUC-JP", true};
    default: return {};
    }
}

}  // namespace

std::optional<std::string> CompoundTextToUtf8(std::string_view bytes) {
    TCharset left{TCharset::Ascii}, right = Upper96('A');
    std::string out;
    // Characters of one encoding are converted a run at a time.
    std::string run;
    const char* runEncoding = nullptr;
    const auto flush = [&] {
        const bool ok = !runEncoding || AppendConverted(runEncoding, run, out);
        run.clear();
        runEncoding = nullptr;
        return ok;
    };
    const auto add = [&](const char* encoding, std::string_view b) {
        if (runEncoding != encoding && !flush()) return false;
        runEncoding = encoding;
        run.append(b);
        return true;
    };
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const unsigned char b = byte(i);
        if (b == 0x1B) {  // ESC, intermediates, final
            std::size_t j = i + 1;
            while (j < n && byte(j) >= 0x20 && byte(j) <= 0x2F) ++j;
            if (j >= n || byte(j) < 0x30 || byte(j) > 0x7E) return std::nullopt;
            const std::string_view between = bytes.substr(i + 1, j - i - 1);
            const char final = bytes[j];
            i = j + 1;
            if (between == "(") {
                left = Single94(final);
            } else if (between == ")") {
                right = Single94(final);
            } else if (between == "-") {
                right = Upper96(final);
            } else if (between == "$(" || (between == "$" && (final == '@' || final == 'A' || final == 'B'))) {
                left = Double94(final);
            } else if (between == "$)") {
                right = Double94(final);
            } else if (between == "%" && final == 'G') {  // UTF-8 up to ESC % @
                const std::size_t end = bytes.find("\x1B%@", i);
                const std::string_view segment = bytes.substr(i, end == bytes.npos ? bytes.npos : end - i);
                if (!flush() || !AppendConverted("UTF-8", segment, out)) return std::nullopt;
                i = end == bytes.npos ? n : end + 3;
            } else {
                return std::nullopt;
            }
            continue;
        }
        if (b == 0x9B) {  // CSI: a change of direction, which a title's text does not depend on
            std::size_t j = i + 1;
            while (j < n && byte(j) >= 0x20 && byte(j) <= 0x3F) ++j;
            if (j >= n || byte(j) < 0x40 || byte(j) > 0x7E) return std::nullopt;
            i = j + 1;
            continue;
        }
        if (b == ' ' || b == '\t' || b == '\n') {
            if (!flush()) return std::nullopt;
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        if (b < 0x20 || b == 0x7F || (b >= 0x80 && b < 0xA0)) return std::nullopt;
        const bool upper = b >= 0x80;
        const TCharset& set = upper ? right : left;
        const unsigned char c = b & 0x7F;
        if (set.Kind == TCharset::Upper96) {
            if (!add(set.Encoding, bytes.substr(i, 1))) return std::nullopt;
            ++i;
            continue;
        }
        // The other sets have 94 characters: no space and no delete in the right half.
        if (c == 0x20 || c == 0x7F) return std::nullopt;
        switch (set.Kind) {
        case TCharset::Ascii:
        case TCharset::JisRoman:
            if (!flush()) return std::nullopt;
            if (set.Kind == TCharset::JisRoman && c == 0x5C) out += CodePointUtf8(U'\u00A5');
            else if (set.Kind == TCharset::JisRoman && c == 0x7E) out += CodePointUtf8(U'\u203E');
            else out += static_cast<char>(c);
            ++i;
            break;
        case TCharset::JisKana:
            if (c > 0x5F || !flush()) return std::nullopt;
            out += CodePointUtf8(U'\uFF61' + (c - 0x21));
            ++i;
            break;
        case TCharset::Double94: {
            if (i + 1 >= n || (byte(i + 1) >= 0x80) != upper) return std::nullopt;
            const unsigned char second = byte(i + 1) & 0x7F;
            if (second <= 0x20 || second == 0x7F) return std::nullopt;
            std::string euc;
            if (set.Prefix8F) euc += '\x8F';
            euc += static_cast<char>(c | 0x80);
            euc += static_cast<char>(second | 0x80);
            if (!add(set.Encoding, euc)) return std::nullopt;
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    if (!flush()) return std::nullopt;
    return out;
}

bool X11TitleIs(TX11TextType type, std::string_view bytes, std::string_view title) {
    bytes = bytes.substr(0, bytes.find('\0'));
    switch (type) {
    case TX11TextType::Utf8String:
        return bytes == title;
    case TX11TextType::String:
        return bytes == title || Latin1ToUtf8(bytes) == title;
    case TX11TextType::CompoundText: {
        const std::optional<std::string> text = CompoundTextToUtf8(bytes);
        return text && *text == title;
    }
    }
    return false;
}

namespace {

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
        // None when no client ever named it: then no title is held in it.
        CompoundText = InternAtom(C, "COMPOUND_TEXT");
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
        // Every window's two names asked for at once: one round trip, not two a window.
        std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> asked;
        asked.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            asked.emplace_back(
                xcb_get_property(C, 0, windows[i], WmName, Utf8, 0, 16384),
                xcb_get_property(C, 0, windows[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 16384));
        xcb_window_t found = XCB_WINDOW_NONE;
        for (int i = 0; i < count; ++i) {
            const auto& [netCookie, oldCookie] = asked[static_cast<std::size_t>(i)];
            if (found != XCB_WINDOW_NONE) {
                xcb_discard_reply(C, netCookie.sequence);
                xcb_discard_reply(C, oldCookie.sequence);
                continue;
            }
            const TReply<xcb_get_property_reply_t> net(xcb_get_property_reply(C, netCookie, nullptr));
            const TReply<xcb_get_property_reply_t> old(xcb_get_property_reply(C, oldCookie, nullptr));
            if (Shows(net.get(), old.get(), title)) found = windows[i];
        }
        return found;
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
    // The window's title as a pager takes it: _NET_WM_NAME when it has one, else WM_NAME.
    bool Shows(const xcb_get_property_reply_t* net, const xcb_get_property_reply_t* old,
               const std::string& title) const {
        const auto bytes = [](const xcb_get_property_reply_t* r) {
            return std::string_view(static_cast<const char*>(xcb_get_property_value(r)),
                                    static_cast<std::size_t>(xcb_get_property_value_length(r)));
        };
        if (net && net->type == Utf8 && net->format == 8)
            return X11TitleIs(TX11TextType::Utf8String, bytes(net), title);
        if (!old || old->format != 8) return false;
        if (old->type == XCB_ATOM_STRING) return X11TitleIs(TX11TextType::String, bytes(old), title);
        if (old->type == Utf8) return X11TitleIs(TX11TextType::Utf8String, bytes(old), title);
        if (CompoundText != XCB_ATOM_NONE && old->type == CompoundText)
            return X11TitleIs(TX11TextType::CompoundText, bytes(old), title);
        return false;
    }

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
               ActiveWindow = XCB_ATOM_NONE, CompoundText = XCB_ATOM_NONE;
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
