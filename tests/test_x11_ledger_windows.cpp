// The windows on a real X server under a real window manager, as a user meets them: a
// virtual X server and openbox started for this program alone. "台帳へ": two stand-in
// windows with the ledger's titles, and the tablet's button pressed with the pointer;
// whatever the user types next must go to the ledger, so its last open window must be
// active, not only on top. The editor's window: framed by the window manager, it must
// open where the drawing's view lines put its frame, and leave them as it found them.
#include <gtest/gtest.h>
#include <iconv.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <ostream>
#include <poll.h>

#include "form_test_support.h"
#include "platform/qt_services.h"
#include "platform/x11_windows.h"
#include "tablet/tablet_buttons.h"
#include "tablet/tablet_edition.h"

// Rectangles as a person reads them in a failure.
void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace tarvek {
namespace {

// ---------------------------------------------------------------------------------
// The virtual desktop: Xvfb on a display number of its own choosing, and openbox on it.

// A child that dies with this program, so that a test stopped from outside leaves no
// server behind. extraFd stays open in the child.
pid_t Spawn(const std::vector<std::string>& args, const std::string& display = {}, int extraFd = -1) {
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        if (!getenv("TARVEK_X11_VERBOSE")) dup2(null, 2);
    }
    if (extraFd >= 0) fcntl(extraFd, F_SETFD, 0);
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

void Stop(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = 0;
            return;
        }
        usleep(10'000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

using TClock = std::chrono::steady_clock;

struct TFree {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using TReply = std::unique_ptr<T, TFree>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const TReply<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::vector<std::uint32_t> Cardinals(xcb_connection_t* c, xcb_window_t w, const char* property, xcb_atom_t type) {
    const TReply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, Atom(c, property), type, 0, 4096), nullptr));
    if (!r || r->format != 32) return {};
    const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(r.get()));
    return {v, v + xcb_get_property_value_length(r.get()) / 4};
}

class TVirtualDesktop {
public:
    TVirtualDesktop() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        Xvfb = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x900x24", "-nolisten", "tcp",
                      "-noreset"},
                     {}, fds[1]);
        close(fds[1]);
        std::string number;
        const auto deadline = TClock::now() + std::chrono::seconds(20);
        while (number.find('\n') == std::string::npos && TClock::now() < deadline) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 200) <= 0) continue;
            char buf[16];
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n <= 0) break;
            number.append(buf, static_cast<std::size_t>(n));
        }
        close(fds[0]);
        if (number.find('\n') == std::string::npos) return;
        Display = ":" + number.substr(0, number.find('\n'));
        Openbox = Spawn({"openbox", "--sm-disable"}, Display);
        // The window manager is up once its event loop answers: it tells an unmapped
        // window its frame extents when asked. A request sent before it listens is lost,
        // so it is asked again until then.
        xcb_connection_t* c = xcb_connect(Display.c_str(), nullptr);
        if (xcb_connection_has_error(c) == 0) {
            const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
            const xcb_window_t probe = xcb_generate_id(c);
            xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                              screen->root_visual, 0, nullptr);
            xcb_client_message_event_t ask{};
            ask.response_type = XCB_CLIENT_MESSAGE;
            ask.format = 32;
            ask.window = probe;
            ask.type = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
            while (!Ready && TClock::now() < deadline + std::chrono::seconds(10)) {
                xcb_send_event(c, 0, screen->root,
                               XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                               reinterpret_cast<const char*>(&ask));
                xcb_flush(c);
                for (int i = 0; i < 10 && !Ready; ++i) {
                    usleep(20'000);
                    Ready = !Cardinals(c, probe, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL).empty();
                }
            }
            xcb_destroy_window(c, probe);
        }
        xcb_disconnect(c);
    }
    ~TVirtualDesktop() {
        Stop(Openbox);
        Stop(Xvfb);
    }
    TVirtualDesktop(const TVirtualDesktop&) = delete;
    TVirtualDesktop& operator=(const TVirtualDesktop&) = delete;

    bool Ready = false;
    std::string Display;

private:
    pid_t Xvfb = 0, Openbox = 0;
};

// ---------------------------------------------------------------------------------
// What the test sees and does on the desktop, on connections of its own.

class TDesk {
public:
    TDesk() : C(xcb_connect(nullptr, nullptr)) {
        if (Ok()) Root = xcb_setup_roots_iterator(xcb_get_setup(C)).data->root;
    }
    ~TDesk() { xcb_disconnect(C); }
    TDesk(const TDesk&) = delete;
    TDesk& operator=(const TDesk&) = delete;
    bool Ok() const { return xcb_connection_has_error(C) == 0; }

    xcb_window_t Active() const {
        const auto v = Cardinals(C, Root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
        return v.empty() ? 0 : v.front();
    }
    // Bottom to top.
    std::vector<std::uint32_t> Stacking() const { return Cardinals(C, Root, "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW); }
    bool Managed(xcb_window_t w) const {
        const auto list = Cardinals(C, Root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW);
        return std::find(list.begin(), list.end(), w) != list.end();
    }

    // The inside of a window on the screen, as the server has it now.
    QRect Geometry(xcb_window_t w) const {
        const TReply<xcb_get_geometry_reply_t> size(xcb_get_geometry_reply(C, xcb_get_geometry(C, w), nullptr));
        const TReply<xcb_translate_coordinates_reply_t> origin(
            xcb_translate_coordinates_reply(C, xcb_translate_coordinates(C, w, Root, 0, 0), nullptr));
        if (!size || !origin) return {};
        return {origin->dst_x, origin->dst_y, size->width, size->height};
    }

    // The whole window with the frame the window manager drew around it; empty until the
    // window manager has told its frame.
    QRect Frame(xcb_window_t w) const {
        const auto e = Cardinals(C, w, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL);  // left, right, top, bottom
        const QRect inside = Geometry(w);
        if (e.size() != 4 || inside.isNull()) return {};
        return inside.adjusted(-static_cast<int>(e[0]), -static_cast<int>(e[2]), static_cast<int>(e[1]),
                               static_cast<int>(e[3]));
    }

    // Asks for another inside size of a window, as any client may; the window manager
    // carries it out.
    void Resize(xcb_window_t w, int width, int height) {
        const std::uint32_t values[] = {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
        xcb_configure_window(C, w, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
        xcb_flush(C);
    }

    // A press and release of the left button at a point of the screen, as the hand makes it.
    void Click(int x, int y) {
        xcb_test_fake_input(C, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, Root, static_cast<std::int16_t>(x),
                            static_cast<std::int16_t>(y), 0);
        xcb_test_fake_input(C, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
        xcb_test_fake_input(C, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
        xcb_flush(C);
    }

    // A ledger window stand-in: a plain top-level window with an exact UTF-8 title, placed
    // where it leaves the tablet's button row uncovered.
    xcb_window_t OpenWindow(const std::string& title, int x, int y) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(C)).data;
        const xcb_window_t w = xcb_generate_id(C);
        const std::uint32_t background = screen->white_pixel;
        xcb_create_window(C, XCB_COPY_FROM_PARENT, w, Root, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 400,
                          300, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, &background);
        xcb_change_property(C, XCB_PROP_MODE_REPLACE, w, Atom(C, "_NET_WM_NAME"), Atom(C, "UTF8_STRING"), 8,
                            static_cast<std::uint32_t>(title.size()), title.data());
        static constexpr char wmClass[] = "ledger\0Ledger";
        xcb_change_property(C, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof wmClass, wmClass);
        const std::uint32_t hints[9] = {1, 1};  // InputHint: it takes the focus the plain way
        xcb_change_property(C, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, 9, hints);
        std::uint32_t size[18] = {1 | 2};  // USPosition | USSize
        size[1] = static_cast<std::uint32_t>(x), size[2] = static_cast<std::uint32_t>(y), size[3] = 400, size[4] = 300;
        xcb_change_property(C, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18, size);
        xcb_map_window(C, w);
        xcb_flush(C);
        return w;
    }

    xcb_connection_t* C;
    xcb_window_t Root = 0;
};

// Runs the tablet's events until done() holds or the time is up.
bool RunUntil(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > milliseconds) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// The real services for the windows; boxes are scripted, so none can stop the test.
class TDesktopUi : public TScriptedUi {
public:
    explicit TDesktopUi(const TDesk& desk) : Desk(desk) {}
    void RaiseWindowsTitled(const std::vector<std::string>& titles) override {
        ActiveAtPress.push_back(Desk.Active());
        Real.RaiseWindowsTitled(titles);
        ++Presses;
    }
    const TDesk& Desk;
    TQtUserServices Real;
    std::vector<xcb_window_t> ActiveAtPress;
    int Presses = 0;
};

class LedgerWindowsOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Desk.Ok());
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        testing::WriteBytes(Dir.File(SelectedDrawingFileName),
                            Utf8ToCp932("\"墓地\",\"\",\"\",\"明星寺\",\"\",\"本堂裏墓地\"\r\n"));
    }
    void TearDown() override {
        Form.reset();
        QApplication::processEvents();
    }

    // The tablet started, framed and placed by the window manager.
    void StartTablet() {
        Form = std::make_unique<TForm_zumenn>(Dir.Folder(), Ui, TabletEdition());
        Form->Show();
        Tablet = static_cast<xcb_window_t>(Form->Widget()->winId());
        // Qt learns late where the window manager put the window: the pointer must find
        // the buttons where the server has them.
        ASSERT_TRUE(RunUntil([&] { return Desk.Managed(Tablet) && Desk.Geometry(Tablet) == Form->Widget()->geometry(); },
                             10'000))
            << "the tablet was never placed";
        ASSERT_TRUE(Ui.Shown.empty());
    }

    void OpenLedgerWindow(int which, int x, int y) {
        const xcb_window_t w = Desk.OpenWindow(LedgerWindowTitles[static_cast<std::size_t>(which)], x, y);
        ASSERT_TRUE(RunUntil([&] { return Desk.Managed(w); }, 10'000));
        Ledger.push_back(w);
    }

    void Click(const TControl& control) {
        const QWidget* w = control.Widget();
        const QPoint at = Desk.Geometry(Tablet).topLeft() + w->mapTo(Form->Widget(), w->rect().center());
        Desk.Click(at.x(), at.y());
    }

    // The user works in the tablet (a tap on its status bar), then presses "台帳へ".
    void PressLedgerButton() {
        Click(*Form->StatusBar1);
        ASSERT_TRUE(RunUntil([&] { return Desk.Active() == Tablet && Level(Tablet) == Top(); }, 10'000))
            << "a tap did not bring the tablet back";
        const int before = Ui.Presses;
        Click(*Form->BitBtn9);
        ASSERT_TRUE(RunUntil([&] { return Ui.Presses > before; }, 10'000)) << "the press never reached the button";
    }

    // Where w lies in the stacking, 0 the bottom; -1 when it is not there.
    int Level(xcb_window_t w) const {
        const auto s = Desk.Stacking();
        const auto at = std::find(s.begin(), s.end(), w);
        return at == s.end() ? -1 : static_cast<int>(at - s.begin());
    }
    int Top() const { return static_cast<int>(Desk.Stacking().size()) - 1; }

    // Active and on top, and still so a while later: the window manager has not
    // dropped or overridden the request.
    void ExpectEndsUpInFront(xcb_window_t w) {
        EXPECT_TRUE(RunUntil([&] { return Desk.Active() == w; }, 2'000));
        RunUntil([] { return false; }, 300);
        EXPECT_EQ(Desk.Active(), w);
        EXPECT_GT(Level(w), -1);
        EXPECT_EQ(Level(w), Top());
    }

    TDesk Desk;
    TDesktopUi Ui{Desk};
    testing::TProgramFolder Dir;
    std::unique_ptr<TForm_zumenn> Form;
    xcb_window_t Tablet = 0;
    std::vector<xcb_window_t> Ledger;
};

TEST_F(LedgerWindowsOnX11, EveryPressLeavesTheLastOpenLedgerWindowActiveAndOnTop) {
    ASSERT_NO_FATAL_FAILURE(OpenLedgerWindow(0, 60, 40));
    ASSERT_NO_FATAL_FAILURE(OpenLedgerWindow(1, 520, 80));
    ASSERT_NO_FATAL_FAILURE(StartTablet());
    for (int press = 1; press <= 6; ++press) {
        SCOPED_TRACE("press " + std::to_string(press));
        ASSERT_NO_FATAL_FAILURE(PressLedgerButton());
        // The press was the tablet's: it was active and on top when the button ran.
        EXPECT_EQ(Ui.ActiveAtPress.back(), Tablet);
        ExpectEndsUpInFront(Ledger[1]);
        EXPECT_GT(Level(Ledger[0]), Level(Tablet));
    }
    EXPECT_TRUE(Ui.Shown.empty());
}

TEST_F(LedgerWindowsOnX11, TitlesWithoutAWindowArePassedOver) {
    ASSERT_NO_FATAL_FAILURE(StartTablet());
    // None of the ledger's windows open: the tablet stays in front.
    ASSERT_NO_FATAL_FAILURE(PressLedgerButton());
    ExpectEndsUpInFront(Tablet);

    // Only the first: it is the one in front.
    ASSERT_NO_FATAL_FAILURE(OpenLedgerWindow(0, 60, 40));
    for (int press = 1; press <= 3; ++press) {
        SCOPED_TRACE("press " + std::to_string(press));
        ASSERT_NO_FATAL_FAILURE(PressLedgerButton());
        EXPECT_EQ(Ui.ActiveAtPress.back(), Tablet);
        ExpectEndsUpInFront(Ledger[0]);
    }
}

// ---------------------------------------------------------------------------------
// Titles that older programs keep in WM_NAME only, as STRING or as compound text.

// The EUC-JP bytes of a UTF-8 text: its Japanese characters are JIS X 0208 with the top
// bits set, as compound text holds them in its right half.
std::string EucJp(const std::string& text) {
    const iconv_t cd = iconv_open("EUC-JP", "UTF-8");
    std::string out(text.size() * 2, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size(), outLeft = out.size();
    char* to = out.data();
    const std::size_t rc = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    EXPECT_NE(rc, static_cast<std::size_t>(-1));
    out.resize(out.size() - outLeft);
    return out;
}

// Compound text as X's own conversion writes a Japanese title: JIS X 0208 designated to
// the right half, ASCII left as it is.
std::string CompoundTextRight(const std::string& title) { return "\x1B$)B" + EucJp(title); }

// The same characters in the left half, each run of them designated there and ASCII
// designated back after it.
std::string CompoundTextLeft(const std::string& title) {
    const std::string euc = EucJp(title);
    std::string out;
    bool kanji = false;
    for (std::size_t i = 0; i < euc.size(); ++i) {
        const bool high = (static_cast<unsigned char>(euc[i]) & 0x80) != 0;
        if (high != kanji) out += high ? "\x1B$(B" : "\x1B(B";
        kanji = high;
        out += static_cast<char>(euc[i] & 0x7F);
    }
    return out;
}

TEST(X11Titles, ATitleIsReadByTheTypeOfItsProperty) {
    const std::string ledger = LedgerWindowTitles[0];
    const std::string right = CompoundTextRight(ledger);
    const struct {
        const char* name;
        TX11TextType type;
        std::string bytes, title;
        bool is;
    } cases[] = {
        {"UTF-8", TX11TextType::Utf8String, ledger, ledger, true},
        {"UTF-8 with its terminating NUL", TX11TextType::Utf8String, ledger + '\0', ledger, true},
        {"UTF-8, another title", TX11TextType::Utf8String, ledger, LedgerWindowTitles[1], false},
        {"UTF-8, only the start of the title", TX11TextType::Utf8String, ledger.substr(0, 12), ledger, false},
        {"STRING is Latin-1", TX11TextType::String, "Caf\xE9", "Café", true},
        {"STRING holding the title's UTF-8 bytes", TX11TextType::String, ledger, ledger, true},
        {"STRING of other Latin-1 letters", TX11TextType::String, "Caf\xE8", "Café", false},
        {"compound text, right half", TX11TextType::CompoundText, right, ledger, true},
        {"compound text, left half", TX11TextType::CompoundText, CompoundTextLeft(ledger), ledger, true},
        {"compound text, ISO-2022-JP's short designation", TX11TextType::CompoundText,
         "\x1B$B" + CompoundTextLeft(ledger).substr(4), ledger, true},
        {"compound text, Latin-1 without a designation", TX11TextType::CompoundText, "Caf\xE9", "Café", true},
        {"compound text, half-width katakana", TX11TextType::CompoundText, "\x1B)I\xBE\xDE\xD9\xCE\xDE", "ｾﾞﾙﾎﾞ",
         true},
        {"compound text, a UTF-8 segment", TX11TextType::CompoundText, "\x1B%G" + ledger + "\x1B%@", ledger, true},
        {"compound text, another title", TX11TextType::CompoundText, CompoundTextRight(LedgerWindowTitles[2]), ledger,
         false},
        {"compound text, its last character cut", TX11TextType::CompoundText, right.substr(0, right.size() - 1),
         ledger.substr(0, ledger.size() - 3), false},
        {"compound text, an unknown designation", TX11TextType::CompoundText, "\x1B$)Z\xB4\xB4", "", false},
        {"compound text read as UTF-8", TX11TextType::Utf8String, right, ledger, false},
    };
    for (const auto& c : cases) EXPECT_EQ(X11TitleIs(c.type, c.bytes, c.title), c.is) << c.name;
}

// A window titled the old way: _NET_WM_NAME taken away, the title in WM_NAME alone.
xcb_window_t OpenOldStyleWindow(TDesk& desk, const char* type, const std::string& bytes, int x, int y) {
    const xcb_window_t w = desk.OpenWindow("", x, y);
    xcb_delete_property(desk.C, w, Atom(desk.C, "_NET_WM_NAME"));
    xcb_change_property(desk.C, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, Atom(desk.C, type), 8,
                        static_cast<std::uint32_t>(bytes.size()), bytes.data());
    xcb_flush(desk.C);
    return w;
}

class OldStyleLedgerWindowsOnX11 : public LedgerWindowsOnX11 {
protected:
    void OpenOldStyleLedgerWindow(const char* type, const std::string& bytes, int x, int y) {
        const xcb_window_t w = OpenOldStyleWindow(Desk, type, bytes, x, y);
        ASSERT_TRUE(RunUntil([&] { return Desk.Managed(w); }, 10'000));
        Ledger.push_back(w);
    }
    void CloseLedgerWindows() {
        for (const xcb_window_t w : Ledger) xcb_destroy_window(Desk.C, w);
        xcb_flush(Desk.C);
        const auto gone = [&] {
            return std::none_of(Ledger.begin(), Ledger.end(), [&](xcb_window_t w) { return Desk.Managed(w); });
        };
        ASSERT_TRUE(RunUntil(gone, 10'000));
        Ledger.clear();
    }
};

TEST_F(OldStyleLedgerWindowsOnX11, ATitleOnlyInWmNameIsFoundInEachOfItsTypes) {
    const std::string title = LedgerWindowTitles[0];
    const struct {
        const char* name;
        const char* type;
        std::string bytes;
    } kinds[] = {
        {"STRING holding the title's bytes", "STRING", title},
        {"compound text, right half", "COMPOUND_TEXT", CompoundTextRight(title)},
        {"compound text, left half", "COMPOUND_TEXT", CompoundTextLeft(title)},
    };
    ASSERT_NO_FATAL_FAILURE(StartTablet());
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        ASSERT_NO_FATAL_FAILURE(OpenOldStyleLedgerWindow(kind.type, kind.bytes, 60, 40));
        ASSERT_NO_FATAL_FAILURE(PressLedgerButton());
        EXPECT_EQ(Ui.ActiveAtPress.back(), Tablet);
        ExpectEndsUpInFront(Ledger[0]);
        ASSERT_NO_FATAL_FAILURE(CloseLedgerWindows());
    }
    EXPECT_TRUE(Ui.Shown.empty());
}

TEST_F(OldStyleLedgerWindowsOnX11, AllThreeLedgerWindowsComeForwardInTurnWhateverTheirTitles) {
    ASSERT_NO_FATAL_FAILURE(OpenLedgerWindow(0, 40, 40));
    ASSERT_NO_FATAL_FAILURE(
        OpenOldStyleLedgerWindow("COMPOUND_TEXT", CompoundTextRight(LedgerWindowTitles[1]), 300, 60));
    ASSERT_NO_FATAL_FAILURE(OpenOldStyleLedgerWindow("STRING", LedgerWindowTitles[2], 560, 80));
    ASSERT_NO_FATAL_FAILURE(StartTablet());
    for (int press = 1; press <= 2; ++press) {
        SCOPED_TRACE("press " + std::to_string(press));
        ASSERT_NO_FATAL_FAILURE(PressLedgerButton());
        EXPECT_EQ(Ui.ActiveAtPress.back(), Tablet);
        // The last one in front, each of the others above the tablet in the order asked.
        ExpectEndsUpInFront(Ledger[2]);
        EXPECT_GT(Level(Ledger[1]), Level(Ledger[0]));
        EXPECT_GT(Level(Ledger[0]), Level(Tablet));
    }
    EXPECT_TRUE(Ui.Shown.empty());
}

// The platform's own look-up: a Latin-1 title, and a window's _NET_WM_NAME standing
// before its WM_NAME.
TEST_F(OldStyleLedgerWindowsOnX11, APagersTitleIsTheOneCompared) {
    const xcb_window_t latin = OpenOldStyleWindow(Desk, "STRING", "Caf\xE9", 60, 40);
    const xcb_window_t both = Desk.OpenWindow("Salon", 300, 60);
    xcb_change_property(Desk.C, XCB_PROP_MODE_REPLACE, both, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 3, "Bar");
    xcb_flush(Desk.C);
    ASSERT_TRUE(RunUntil([&] { return Desk.Managed(latin) && Desk.Managed(both); }, 10'000));
    EXPECT_TRUE(RaiseX11WindowTitled("Café"));
    EXPECT_TRUE(RunUntil([&] { return Desk.Active() == latin; }, 2'000));
    EXPECT_FALSE(RaiseX11WindowTitled("Bar"));
    EXPECT_TRUE(RaiseX11WindowTitled("Salon"));
    EXPECT_TRUE(RunUntil([&] { return Desk.Active() == both; }, 2'000));
}

// ---------------------------------------------------------------------------------
// The full editor's window where the drawing's view lines put it, session after session.

constexpr char SampleDrawingStem[] = "明星寺墓地本堂裏墓地";

// The lines of a file between its CR LF ends.
std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(bytes.substr(at, end - at));
    if (at < bytes.size()) lines.push_back(bytes.substr(at));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& l : lines) bytes += l + "\r\n";
    return bytes;
}

class EditorWindowOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Desk.Ok());
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
    }
    void TearDown() override {
        Form.reset();
        QApplication::processEvents();
    }

    std::string DispFile() const { return Dir.File(std::string(SampleDrawingStem) + "_disp.txt"); }
    std::string DataFile() const { return Dir.File(std::string(SampleDrawingStem) + "_data.txt"); }

    // The view lines after "<form_data>" in the drawing data file.
    std::vector<std::string> DataFileViewLines() const {
        const std::vector<std::string> all = SplitLines(testing::ReadBytes(DataFile()));
        const auto at = std::find(all.begin(), all.end(), "<form_data>");
        return at == all.end() ? std::vector<std::string>{} : std::vector<std::string>(at + 1, all.end());
    }

    // Lines 1-4 of the display settings file: the window's top, left, width and height.
    std::vector<std::string> StoredPlace() const {
        std::vector<std::string> lines = SplitLines(testing::ReadBytes(DispFile()));
        lines.resize(std::min<std::size_t>(lines.size(), 4));
        return lines;
    }

    // A fresh request from the ledger, the full editor started on it, and its window
    // waited for until the window manager has framed it and Qt knows where the frame
    // went; then a moment more, since a late move would show only then.
    void StartEditor(const std::string& drawing, const TEdition& edition = ProEdition()) {
        testing::WriteBytes(Dir.File(SelectedDrawingFileName),
                            Utf8ToCp932("\"墓地\",\"\",\"\",\"明星寺\",\"\",\"" + drawing + "\"\r\n"));
        Form = std::make_unique<TForm_zumenn>(Dir.Folder(), Ui, edition);
        if (!Form->Tablet()) Form->AdoptBlockDialog(std::make_unique<Thako>(*Form));
        Form->Show();
        const auto window = static_cast<xcb_window_t>(Form->Widget()->winId());
        ASSERT_TRUE(RunUntil(
            [&] {
                const QRect frame = Desk.Frame(window);
                return Desk.Managed(window) && !frame.isNull() && Desk.Geometry(window) == Form->Widget()->geometry() &&
                       frame == Form->Widget()->frameGeometry();
            },
            10'000))
            << "the editor's window was never framed";
        RunUntil([] { return false; }, 300);
        ASSERT_TRUE(Ui.Shown.empty());
    }

    QRect ServerFrame() const { return Desk.Frame(static_cast<xcb_window_t>(Form->Widget()->winId())); }

    void CloseEditor() {
        Form->Close();
        Form.reset();
        QApplication::processEvents();
    }

    TDesk Desk;
    TScriptedUi Ui;
    testing::TProgramFolder Dir;
    std::unique_ptr<TForm_zumenn> Form;
};

// Closed unchanged, the editor writes the window's place as it read it: a close and a
// start leave the frame exactly where it was, however thick the window manager draws it,
// whether the window manager told the frame before the window was shown or Qt learnt it
// only after mapping.
TEST_F(EditorWindowOnX11, ASavedWindowKeepsItsPlaceThroughEverySession) {
    struct TCase {
        const char* Name;
        std::vector<std::string> Place;  // top, left, width, height; empty: the sample's own
        bool AskFrame;
    };
    const TCase cases[] = {
        {"the sample's view lines", {}, true},
        {"a display settings file", {"70", "130", "1000", "700"}, true},
        {"the frame learnt after mapping", {"70", "130", "1000", "700"}, false},
    };
    const std::vector<std::string> view = DataFileViewLines();
    ASSERT_GE(view.size(), 9u);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm::SetFramesAskedBeforeShowing(c.AskFrame);
        struct TAskAgain {
            ~TAskAgain() { TForm::SetFramesAskedBeforeShowing(true); }
        } askAgain;
        std::vector<std::string> place(view.begin(), view.begin() + 4);
        if (!c.Place.empty()) {
            std::vector<std::string> disp = view;
            std::copy(c.Place.begin(), c.Place.end(), disp.begin());
            testing::WriteBytes(DispFile(), JoinLines(disp));
            place = c.Place;
        }
        const QRect expected(std::stoi(place[1]), std::stoi(place[0]), std::stoi(place[2]), std::stoi(place[3]));
        for (int session = 1; session <= 3; ++session) {
            SCOPED_TRACE("session " + std::to_string(session));
            ASSERT_NO_FATAL_FAILURE(StartEditor("本堂裏墓地"));
            EXPECT_EQ(ServerFrame(), expected);
            EXPECT_EQ(Form->WindowLeft(), expected.left());
            EXPECT_EQ(Form->WindowTop(), expected.top());
            EXPECT_EQ(Form->WindowWidth(), expected.width());
            EXPECT_EQ(Form->WindowHeight(), expected.height());
            // A window the window manager framed is no undo step.
            EXPECT_EQ(Form->S.HistoryCount, 1);
            CloseEditor();
            EXPECT_EQ(StoredPlace(), place);
        }
    }
}

// A window manager busy while the window maps may apply the size the window had before it
// was placed (the layout's client size, here asked for by hand a moment after the start):
// the window takes its place back, so neither the resize rule nor the idle pass makes a
// step or a stored size of it.
TEST_F(EditorWindowOnX11, ASizeAppliedLateAtTheStartIsPutBack) {
    std::vector<std::string> disp = DataFileViewLines();
    ASSERT_GE(disp.size(), 9u);
    const std::vector<std::string> place = {"70", "130", "1000", "700"};
    std::copy(place.begin(), place.end(), disp.begin());
    testing::WriteBytes(DispFile(), JoinLines(disp));
    const QRect expected(130, 70, 1000, 700);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_NO_FATAL_FAILURE(StartEditor("本堂裏墓地"));
    // The window takes a size back only in the moments after it is shown.
    if (std::chrono::steady_clock::now() - started > std::chrono::milliseconds(2000))
        GTEST_SKIP() << "the start took too long on this machine to be called late";
    const auto window = static_cast<xcb_window_t>(Form->Widget()->winId());
    Desk.Resize(window, 1011, 549);
    RunUntil([] { return false; }, 500);
    EXPECT_TRUE(RunUntil([&] { return ServerFrame() == expected; }, 2'000));
    EXPECT_EQ(Form->WindowWidth(), expected.width());
    EXPECT_EQ(Form->WindowHeight(), expected.height());
    RunUntil([] { return false; }, 100);
    EXPECT_EQ(Form->S.HistoryCount, 1);
    CloseEditor();
    EXPECT_EQ(StoredPlace(), place);
}

// A new drawing opens with its frame at the new drawing's place, as large as offscreen:
// 800 x 600, widened to the window's minimum width of 953 and made even.
TEST_F(EditorWindowOnX11, ANewDrawingsFrameTakesTheNewDrawingsPlace) {
    ASSERT_NO_FATAL_FAILURE(StartEditor(NewDrawingName));
    const TFormData fresh;
    EXPECT_EQ(ServerFrame(), QRect(fresh.FormLeft, fresh.FormTop, 954, fresh.FormHeight));
    EXPECT_EQ(Form->Widget()->frameGeometry(), ServerFrame());
}

// The niche-count dialog, placed before it was ever made, opens with its frame at its
// design's place and size.
TEST_F(EditorWindowOnX11, TheBlockDialogsFrameTakesItsDesignedPlace) {
    ASSERT_NO_FATAL_FAILURE(StartEditor("本堂裏墓地"));
    Thako& dialog = *Form->BlockDialog();
    dialog.Show();
    const auto window = static_cast<xcb_window_t>(dialog.Widget()->winId());
    ASSERT_TRUE(RunUntil(
        [&] { return !Desk.Frame(window).isNull() && Desk.Frame(window) == dialog.Widget()->frameGeometry(); }, 10'000));
    RunUntil([] { return false; }, 300);
    EXPECT_EQ(Desk.Frame(window), QRect(108, 129, 147, 240));
    EXPECT_EQ(dialog.BoundsRect(), Desk.Frame(window));
}

// The tablet fills the screen as the window manager maximises it, and hands the full
// editor's place on unchanged, session after session.
TEST_F(EditorWindowOnX11, TheTabletKeepsTheFullEditorsPlace) {
    const std::vector<std::string> view = DataFileViewLines();
    ASSERT_GE(view.size(), 9u);
    const std::vector<std::string> place(view.begin(), view.begin() + 4);
    for (int session = 1; session <= 3; ++session) {
        SCOPED_TRACE("session " + std::to_string(session));
        ASSERT_NO_FATAL_FAILURE(StartEditor("本堂裏墓地", TabletEdition()));
        const QRect available = Form->Widget()->screen()->availableGeometry();
        EXPECT_TRUE(RunUntil([&] { return ServerFrame() == available; }, 2'000));
        EXPECT_EQ(ServerFrame(), available);
        EXPECT_EQ(Form->WindowLeft(), available.left());
        EXPECT_EQ(Form->WindowTop(), available.top());
        EXPECT_EQ(Form->WindowWidth(), available.width());
        CloseEditor();
        EXPECT_EQ(StoredPlace(), place);
    }
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    tarvek::TVirtualDesktop desktop;
    if (!desktop.Ready) {
        std::fprintf(stderr, "no virtual X server with openbox could be started (Xvfb, openbox)\n");
        return 1;
    }
    // This program's own platform; the other tests keep theirs.
    qputenv("DISPLAY", desktop.Display.c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int result;
    {
        QApplication app(argc, argv);
        tarvek::InstallFontSubstitutions();
        result = RUN_ALL_TESTS();
    }
    return result;
}
