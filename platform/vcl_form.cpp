// Our component layer's forms: the window placed by its outer frame, as the window
// manager draws it; showing, closing and modal runs; the key preview.
#include "platform/vcl.h"

#include <QApplication>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>

#include "platform/ui_services.h"
#include "platform/vcl_private.h"
#include "platform/x11_windows.h"

namespace tarvek {

using detail::DeliverReplacement;
using detail::FilterCommit;
using detail::Q;
using detail::RunKeyHandlers;
using detail::TKeyVerdict;

namespace detail {

// Sees every key of the application first; the form keeps those of its own window.
class TKeyPreviewFilter : public QObject {
public:
    explicit TKeyPreviewFilter(TForm* form) : form_(form) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return form_->Preview(watched, event); }

private:
    TForm* form_;
};

}  // namespace detail

// ---- TForm ----------------------------------------------------------------------------

TForm::TForm(TForm* owner)
    : TWinControl(nullptr, new QWidget(owner ? owner->Widget() : nullptr,
                                       owner ? Qt::Window : Qt::WindowFlags())) {
    visible_ = false;
    ApplyColor();
}

TForm::~TForm() {
    MarkDestroying();
    Disconnect();
    if (preview_) QCoreApplication::instance()->removeEventFilter(preview_.get());
    if (modalLoop_) modalLoop_->quit();
}

std::string TForm::Caption() const {
    return Widget()->windowTitle().toStdString();
}

void TForm::SetCaption(const std::string& caption) {
    Widget()->setWindowTitle(Q(caption));
}

int TForm::ClientWidth() const { return Widget()->width(); }
int TForm::ClientHeight() const { return Widget()->height(); }

void TForm::SetClientSize(int w, int h) {
    // The last size given wins, also over bounds still to be placed.
    outerSet_ = outerPending_ = false;
    Widget()->resize(std::max(0, w), std::max(0, h));
    Realign();
}

namespace {

// Where a window manager frames the windows; offscreen and minimal there is none.
bool FramedPlatform() {
    const QString name = QGuiApplication::platformName();
    return name != QLatin1String("offscreen") && name != QLatin1String("minimal");
}

// A window manager answers at once; one that does not costs a start no more than this.
constexpr std::chrono::milliseconds FrameAnswerWait{250};
// After showing, how often and how long the window looks whether Qt has learnt its frame.
constexpr int FrameWatchInterval = 20, FrameWatchTicks = 50;
// How long after showing, and how often, a size the window was not given is put back.
constexpr std::chrono::milliseconds SettleTime{3000};
constexpr int MaxSettleReplacements = 3;

bool FramesAskedBeforeShowing = true;

}  // namespace

void TForm::SetFramesAskedBeforeShowing(bool ask) { FramesAskedBeforeShowing = ask; }

QMargins TForm::KnownFrame() const {
    const QWidget* w = Widget();
    if (w->isVisible()) {
        const QRect f = w->frameGeometry(), g = w->geometry();
        if (f != g) return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
    }
    return toldFrame_;
}

QSize TForm::FrameExtra() const {
    const QMargins m = KnownFrame();
    return {m.left() + m.right(), m.top() + m.bottom()};
}

void TForm::AskFrame() {
    QWidget* w = Widget();
    if (!FramesAskedBeforeShowing || frameAsked_ || !KnownFrame().isNull() || !w->testAttribute(Qt::WA_WState_Created) ||
        QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    frameAsked_ = true;
    TFrameExtents e;
    if (X11FrameExtents(static_cast<std::uint32_t>(w->winId()), FrameAnswerWait, e))
        toldFrame_ = QMargins(e.Left, e.Top, e.Right, e.Bottom);
}

void TForm::SetWindowBounds(int left, int top, int width, int height) {
    outer_ = QRect(left, top, width, height);
    outerSet_ = true;
    if (!Widget()->testAttribute(Qt::WA_WState_Created)) {
        // Not made yet: placed once it is, when it is shown.
        outerPending_ = true;
        Widget()->move(left, top);
        Widget()->resize(std::max(0, width), std::max(0, height));
        Realign();
        return;
    }
    AskFrame();
    PlaceOuter();
    outerPending_ = !Widget()->isVisible();
}

// The client goes inside the frame as far as it is known: placed by its inside, a window
// stays where it is put whether or not Qt has learnt the frame yet.
void TForm::PlaceOuter() {
    if (destroying_) return;
    const QMargins m = KnownFrame();
    placedFrame_ = m;
    ApplyMinimumSize();
    const QSize client(std::max(0, outer_.width() - m.left() - m.right()),
                       std::max(0, outer_.height() - m.top() - m.bottom()));
    // What the window takes of it, known before the resize it may send at once.
    placedSize_ = client.expandedTo(Widget()->minimumSize()).boundedTo(Widget()->maximumSize());
    Widget()->setGeometry(QRect(QPoint(outer_.left() + m.left(), outer_.top() + m.top()), client));
    Realign();
}

// Once Qt knows the frame, a window placed with another frame (the window manager did not
// tell, or drew another) is placed again. A maximised or full-screen window is the window
// manager's to place.
void TForm::WatchFrame() {
    if (frameWatchTicks_ <= 0 || destroying_) return;
    --frameWatchTicks_;
    QWidget* w = Widget();
    if (!w->isVisible() || (w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        frameWatchTicks_ = 0;
        return;
    }
    const QRect f = w->frameGeometry(), g = w->geometry();
    if (f == g) {
        if (frameWatchTicks_ > 0) {
            QTimer::singleShot(FrameWatchInterval, Context(), [this] { WatchFrame(); });
            return;
        }
        // Still none after a while: the window is not framed, whatever was said before.
        toldFrame_ = {};
    } else {
        frameWatchTicks_ = 0;
        // Kept for the times the window is hidden, when Qt does not tell it.
        toldFrame_ = KnownFrame();
    }
    if (outerSet_ && toldFrame_ != placedFrame_) PlaceOuter();
}

int TForm::WindowLeft() const { return BoundsRect().x(); }
int TForm::WindowTop() const { return BoundsRect().y(); }
int TForm::WindowWidth() const { return BoundsRect().width(); }
int TForm::WindowHeight() const { return BoundsRect().height(); }

QRect TForm::BoundsRect() const {
    return Widget()->geometry().marginsAdded(KnownFrame());
}

void TForm::SetBounds(int left, int top, int width, int height) {
    SetWindowBounds(left, top, width, height);
}

void TForm::SetMinimumSize(int width, int height) {
    minOuter_ = QSize(width, height);
    // Before the window is shown its frame is unknown: taken as the client size, the
    // minimum would make the client as large as the whole window should be.
    if (Widget()->isVisible()) ApplyMinimumSize();
}

void TForm::ApplyMinimumSize() {
    if (destroying_ || minOuter_.isEmpty()) return;
    const QSize extra = FrameExtra();
    Widget()->setMinimumSize(std::max(0, minOuter_.width() - extra.width()),
                             std::max(0, minOuter_.height() - extra.height()));
}

void TForm::SetStayOnTop(bool onTop) {
    QWidget* w = Widget();
    const bool shown = w->isVisible();
    w->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);  // hides the window
    if (shown) w->show();
}

bool TForm::StayOnTop() const {
    return Widget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

namespace {

// Offscreen there is no stacking order; Qt would warn at every raise.
void RaiseWindow(QWidget* w) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) w->raise();
    w->activateWindow();
}

}  // namespace

void TForm::Show() {
    visible_ = true;
    Widget()->show();
    RaiseWindow(Widget());
}

bool TForm::RunCloseHandlers() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    if (!canClose) return false;
    closed_ = true;
    if (OnClose) OnClose();
    return true;
}

void TForm::Close() {
    if (closed_ || destroying_) return;
    const QPointer<QWidget> alive(Widget());
    if (!RunCloseHandlers() || !alive) return;
    visible_ = false;
    inClose_ = true;
    alive->close();
    inClose_ = false;
    if (modalLoop_) modalLoop_->quit();
}

void TForm::SetVisible(bool visible) {
    if (visible) {
        Show();
    } else {
        visible_ = false;
        Widget()->hide();
    }
}

void TForm::SetFocus() {
    RaiseWindow(Widget());
}

bool TForm::Focused() const {
    return Widget()->isActiveWindow();
}

int TForm::ShowModal() {
    QWidget* w = Widget();
    modalResult_ = 0;
    if (w->isVisible()) w->hide();  // modality changes only while hidden
    w->setWindowModality(Qt::ApplicationModal);
    Show();
    const QPointer<QWidget> alive(w);
    if (!closed_) {
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec(QEventLoop::DialogExec);
        if (!alive) return mrCancel;  // destroyed while shown
        modalLoop_ = nullptr;
    }
    w->setWindowModality(Qt::NonModal);
    return modalResult_ != 0 ? modalResult_ : mrCancel;
}

void TForm::SetModalResult(int result) {
    modalResult_ = result;
    if (result != 0 && modalLoop_) Close();
}

void TForm::SetKeyPreview(bool preview) {
    keyPreview_ = preview;
    if (preview && !preview_) {
        preview_ = std::make_unique<detail::TKeyPreviewFilter>(this);
        QCoreApplication::instance()->installEventFilter(preview_.get());
    } else if (!preview && preview_) {
        QCoreApplication::instance()->removeEventFilter(preview_.get());
        preview_.reset();
    }
}

bool TForm::Preview(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::InputMethod) return false;
    if (destroying_ || previewBusy_ || !keyPreview_ || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w->window() != Widget()) return false;
    // Once per key: where Qt delivers it first, the focus widget (a key that widget
    // ignores comes by again at its parents).
    if (const QWidget* fw = QApplication::focusWidget(); fw && fw != w) return false;
    if (type == QEvent::InputMethod) {
        FilterCommit(OnKeyPress, static_cast<QInputMethodEvent*>(event));
        return false;
    }
    auto* ke = static_cast<QKeyEvent*>(event);
    char32_t replacement = 0;
    switch (RunKeyHandlers(OnKeyDown, OnKeyUp, OnKeyPress, ke, replacement)) {
    case TKeyVerdict::Pass:
        return false;
    case TKeyVerdict::Swallow:
        ke->accept();
        return true;
    case TKeyVerdict::Replace:
        previewBusy_ = true;
        DeliverReplacement(w, ke, replacement);
        previewBusy_ = false;
        ke->accept();
        return true;
    }
    return false;
}

bool TForm::HandleEvent(QObject* watched, QEvent* event) {
    if (watched == Widget() && !destroying_) {
        switch (event->type()) {
        case QEvent::Show:
            visible_ = true;
            closed_ = false;
            // Still unmapped: the window manager can tell the frame it will draw.
            AskFrame();
            ApplyMinimumSize();
            if (outerPending_) {
                outerPending_ = false;
                PlaceOuter();
            }
            if (FramedPlatform() && frameWatchTicks_ == 0) {
                frameWatchTicks_ = FrameWatchTicks;
                QTimer::singleShot(0, Context(), [this] { WatchFrame(); });
            }
            if (FramedPlatform()) {
                settleUntil_ = std::chrono::steady_clock::now() + SettleTime;
                settleReplacements_ = 0;
            }
            if (!shownOnce_) {
                shownOnce_ = true;
                if (OnShow) OnShow();
            }
            break;
        case QEvent::Resize:
            // A window manager busy at mapping may still apply a size from before the window
            // was placed; that size is nobody's choice, so it is put back and no handler
            // sees it. A few times at most, in case the manager insists.
            if (outerSet_ && Widget()->size() != placedSize_ && settleReplacements_ < MaxSettleReplacements &&
                std::chrono::steady_clock::now() < settleUntil_) {
                ++settleReplacements_;
                PlaceOuter();
                return false;
            }
            break;
        case QEvent::WindowStateChange:
            // A window asked to be maximised is sized by the window manager, not put back.
            if (Widget()->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) settleUntil_ = {};
            break;
        case QEvent::Close:
            if (!inClose_) {  // the user closed the window
                if (!closed_ && !RunCloseHandlers()) {
                    event->ignore();
                    return true;
                }
                visible_ = false;
                if (modalLoop_) modalLoop_->quit();
            }
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
            if (keyPreview_) return false;  // the preview has run the form's handlers
            break;
        default:
            break;
        }
    }
    return TWinControl::HandleEvent(watched, event);
}

}  // namespace tarvek
