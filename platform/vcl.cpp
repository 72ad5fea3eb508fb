// Our component layer: colours, keys, the event plumbing shared by every control, the
// containers' layout and timers; forms are in vcl_form.cpp.
#include "platform/vcl.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

#include "platform/vcl_private.h"

namespace tarvek {

using detail::DeliverReplacement;
using detail::FilterCommit;
using detail::Q;
using detail::RunKeyHandlers;
using detail::TKeyVerdict;
using detail::TSilent;

// ---- Colours and keys -----------------------------------------------------------------

QColor ColorToQColor(TColor color) {
    const auto v = static_cast<std::uint32_t>(color);
    if ((v & 0xFF000000u) == 0xFF000000u) {
        switch (v & 0xFFu) {
        case 0: return QColor(0xC8, 0xC8, 0xC8);             // scroll bar
        case 5: case 14: case 20: return QColor(0xFF, 0xFF, 0xFF);  // window, highlight text
        case 6: return QColor(0x64, 0x64, 0x64);             // window frame
        case 7: case 8: case 18: case 23: return QColor(0, 0, 0);   // texts
        case 12: return QColor(0xAB, 0xAB, 0xAB);            // application work space
        case 13: return QColor(0x00, 0x78, 0xD7);            // highlight
        case 16: return QColor(0xA0, 0xA0, 0xA0);            // button shadow
        case 17: return QColor(0x6D, 0x6D, 0x6D);            // grey text
        case 24: return QColor(0xFF, 0xFF, 0xE1);            // hint background
        default: return QColor(0xF0, 0xF0, 0xF0);            // button face, menu, unknown
        }
    }
    return QColor(int(v & 0xFFu), int((v >> 8) & 0xFFu), int((v >> 16) & 0xFFu));
}

TColor QColorToColor(const QColor& color) {
    return static_cast<TColor>(unsigned(color.red()) | unsigned(color.green()) << 8 |
                               unsigned(color.blue()) << 16);
}

unsigned short QtKeyToVirtualKey(int key, Qt::KeyboardModifiers modifiers) {
    auto vk = [](int v) { return static_cast<unsigned short>(v); };
    if (modifiers & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk(VK_NUMPAD0 + key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Period: case Qt::Key_Comma: return VK_DECIMAL;
        case Qt::Key_Slash: return VK_DIVIDE;
        default: break;
        }
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return vk(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vk(VK_F1 + key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    // Punctuation keys, by the symbol either shift state gives.
    case Qt::Key_Semicolon: case Qt::Key_Colon: return 186;
    case Qt::Key_Equal: case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: case Qt::Key_Less: return 188;
    case Qt::Key_Minus: case Qt::Key_Underscore: return 189;
    case Qt::Key_Period: case Qt::Key_Greater: return 190;
    case Qt::Key_Slash: case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: case Qt::Key_At: return 192;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash: case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: case Qt::Key_AsciiCircum: return 222;
    default: return 0;
    }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

namespace {

constexpr const char* kControlProperty = "tarvek_control";

// The character a key press types, as OnKeyPress sees it; 0 when it types none. Tab moves
// the focus and Delete is no character, as on the original platform.
char32_t TypedChar(const QKeyEvent* ke) {
    switch (ke->key()) {
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Delete: return 0;
    default: break;
    }
    const QList<uint> text = ke->text().toUcs4();
    if (text.isEmpty() || text.front() == 127) return 0;
    return text.front();
}

void Stretch(bool nearEdge, bool farEdge, int delta, int& pos, int& size) {
    if (nearEdge && farEdge) size += delta;
    else if (farEdge) pos += delta;
    else if (!nearEdge) pos += delta / 2;
}

}  // namespace

namespace detail {

class TEventFilter : public QObject {
public:
    explicit TEventFilter(TControl* owner) : owner_(owner) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return owner_->HandleEvent(watched, event); }

private:
    TControl* owner_;
};

TKeyVerdict RunKeyHandlers(const TKeyEvent& down, const TKeyEvent& up, const TKeyPressEvent& press,
                           const QKeyEvent* ke, char32_t& replacement) {
    const TShiftState shift = ShiftStateOf(ke->modifiers());
    const unsigned short vk = QtKeyToVirtualKey(ke->key(), ke->modifiers());
    if (ke->type() == QEvent::KeyRelease) {
        // Qt reports auto-repeat as release/press pairs; only the real release counts.
        if (ke->isAutoRepeat() || !up || vk == 0) return TKeyVerdict::Pass;
        unsigned short k = vk;
        up(k, shift);
        return k == 0 ? TKeyVerdict::Swallow : TKeyVerdict::Pass;
    }
    if (down && vk != 0) {
        unsigned short k = vk;
        down(k, shift);
        if (k == 0) return TKeyVerdict::Swallow;
    }
    const char32_t typed = press ? TypedChar(ke) : 0;
    if (typed == 0) return TKeyVerdict::Pass;
    char32_t k = typed;
    press(k);
    if (k == typed) return TKeyVerdict::Pass;
    if (k == 0) return TKeyVerdict::Swallow;
    replacement = k;
    return TKeyVerdict::Replace;
}

// A character OnKeyPress put in place of the typed one, delivered as its own key press.
void DeliverReplacement(QWidget* target, const QKeyEvent* original, char32_t ch) {
    const int key = ch == 13 ? Qt::Key_Return : ch == 8 ? Qt::Key_Backspace : ch == 27 ? Qt::Key_Escape
                                                                                     : Qt::Key_unknown;
    QKeyEvent replaced(QEvent::KeyPress, key, original->modifiers() & Qt::ShiftModifier,
                       QString::fromUcs4(&ch, 1));
    QCoreApplication::sendEvent(target, &replaced);
}

// Characters an input method commits pass through OnKeyPress like typed ones.
void FilterCommit(const TKeyPressEvent& press, QInputMethodEvent* ie) {
    if (!press || ie->commitString().isEmpty()) return;
    QString kept;
    for (const uint c : ie->commitString().toUcs4()) {
        char32_t k = c;
        press(k);
        if (k != 0 && k != 13) kept += QString::fromUcs4(&k, 1);
    }
    if (kept != ie->commitString()) ie->setCommitString(kept, ie->replacementStart(), ie->replacementLength());
}


}  // namespace detail

// ---- TComponent -----------------------------------------------------------------------

TComponent::TComponent(TWinControl* owner) : owner_(owner) {
    if (owner_) owner_->Adopt(this);
}

TComponent::~TComponent() {
    if (owner_) owner_->Release(this);
}

// ---- TControl -------------------------------------------------------------------------

TControl::TControl(TWinControl* parent, QWidget* widget, bool managedGeometry)
    : TComponent(parent), widget_(widget), filter_(std::make_unique<detail::TEventFilter>(this)),
      context_(std::make_unique<QObject>()), managed_(managedGeometry) {
    widget->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(this)));
    // Each control gets its own mouse events; what it ignores must not reach its parent.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    if (parent) {
        parent->controls_.push_back(this);
        if (!managed_) {
            widget->setParent(parent->ClientWidget());
            widget->setVisible(true);  // shown with the parent; needed when it already is
        }
    }
    WatchWidget(widget);
}

TControl::~TControl() {
    destroying_ = true;
    Disconnect();
    if (TWinControl* parent = Owner()) parent->Release(this);
    delete widget_.data();
}

void TControl::Disconnect() {
    filter_.reset();
    context_.reset();
}

TControl* TControl::FromWidget(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const QVariant v = widget->property(kControlProperty);
        if (v.isValid()) return static_cast<TControl*>(v.value<void*>());
    }
    return nullptr;
}

void TControl::WatchWidget(QWidget* w) {
    w->installEventFilter(filter_.get());
    w->setMouseTracking(true);  // OnMouseMove without a button held
}

QRect TControl::BoundsRect() const {
    return managed_ && widget_ ? widget_->geometry() : bounds_;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (managed_) return;
    SetBoundsInternal(QRect(left, top, std::max(0, width), std::max(0, height)));
    RecordDesign();
    if (align_ != alNone && Parent()) Parent()->Realign();
}

void TControl::SetBoundsInternal(const QRect& r) {
    const bool resized = r.size() != bounds_.size();
    bounds_ = r;
    if (widget_ && !managed_) widget_->setGeometry(r);
    // A hidden widget gets its resize event only when shown; lay out now all the same.
    if (resized) SizeChanged();
    if (Parent()) Parent()->ChildExtentChanged();
}

void TControl::InitBounds(int width, int height) {
    SetBoundsInternal(QRect(0, 0, width, height));
    RecordDesign();
}

void TControl::RecordDesign() {
    design_ = bounds_;
    designParent_ = Parent() ? Parent()->ClientSize() : QSize();
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (align_ == alNone) RecordDesign();
    if (Parent()) Parent()->Realign();
}

void TControl::SetAnchors(TAnchors anchors) {
    anchors_ = anchors;
    RecordDesign();
}

void TControl::SetVisible(bool visible) {
    visible_ = visible;
    if (widget_ && !managed_) widget_->setVisible(visible);
    if (Parent()) {
        if (align_ != alNone) Parent()->Realign();
        Parent()->ChildExtentChanged();
    }
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (widget_) widget_->setEnabled(enabled);
}

void TControl::SetHint(const std::string& hint) {
    hint_ = hint;
    // "short|long": the short part is the tooltip.
    if (widget_) widget_->setToolTip(ToQt(hint.substr(0, hint.find('|'))));
}

QPalette::ColorRole TControl::BackgroundRole() const {
    return widget_ ? widget_->backgroundRole() : QPalette::Window;
}

void TControl::ApplyColor() {
    if (!widget_) return;
    QPalette pal = widget_->palette();
    pal.setColor(BackgroundRole(), ColorToQColor(color_));
    widget_->setPalette(pal);
    if (BackgroundRole() == QPalette::Window) widget_->setAutoFillBackground(true);
}

void TControl::SetColor(TColor color) {
    color_ = color;
    ApplyColor();
}

void TControl::SetFont(const std::string& name, int pointSize) {
    if (!widget_) return;
    QFont f = widget_->font();
    if (!name.empty()) f.setFamily(Q(name));
    if (pointSize > 0) f.setPointSize(pointSize);
    widget_->setFont(f);
}

std::string TControl::FontName() const {
    return widget_ ? widget_->font().family().toStdString() : std::string();
}

int TControl::FontSize() const {
    return widget_ ? widget_->font().pointSize() : 0;
}

void TControl::SetFontColor(TColor color) {
    fontColor_ = color;
    if (!widget_) return;
    QPalette pal = widget_->palette();
    const QColor c = ColorToQColor(color);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) pal.setColor(role, c);
    widget_->setPalette(pal);
}

bool TControl::FontBold() const {
    return widget_ && widget_->font().bold();
}

void TControl::SetFontBold(bool bold) {
    if (!widget_) return;
    QFont f = widget_->font();
    f.setBold(bold);
    widget_->setFont(f);
}

void TControl::SetCursor(const QCursor& cursor) {
    if (!widget_) return;
    widget_->setCursor(cursor);
    // Inner widgets (viewports) carry cursors of their own.
    for (QWidget* child : widget_->findChildren<QWidget*>()) {
        if (FromWidget(child) == this) child->setCursor(cursor);
    }
}

void TControl::SetFocus() {
    if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

bool TControl::Focused() const {
    const QWidget* fw = QApplication::focusWidget();
    return fw && FromWidget(fw) == this;
}

void TControl::BringToFront() {
    if (widget_) widget_->raise();
}

QPoint TControl::ClientToScreen(QPoint p) const {
    return widget_ ? widget_->mapToGlobal(p) : p;
}

QPoint TControl::ScreenToClient(QPoint p) const {
    return widget_ ? widget_->mapFromGlobal(p) : p;
}

QString TControl::ToQt(const std::string& s) {
    QString q = Q(s);
    q.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return q;
}

bool TControl::HandleEvent(QObject* watched, QEvent* event) {
    if (destroying_ || !widget_) return false;
    auto* w = static_cast<QWidget*>(watched);  // only widgets are watched
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!focusInside_) {
            focusInside_ = true;
            if (OnEnter) OnEnter();
        }
        return false;
    case QEvent::FocusOut: {
        // Leaving the window or opening a popup is no exit; neither is a move between the
        // control's own inner widgets.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        if (const QWidget* fw = QApplication::focusWidget(); fw && FromWidget(fw) == this) return false;
        if (focusInside_) {
            focusInside_ = false;
            if (OnExit) OnExit();
        }
        return false;
    }
    case QEvent::Enter:
        if (w == widget_ && OnMouseEnter) OnMouseEnter();
        return false;
    case QEvent::Leave:
        if (w == widget_ && OnMouseLeave) OnMouseLeave();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        if (w == widget_ && !outerMouse_) return false;  // already seen at the inner widget
        auto* me = static_cast<QMouseEvent*>(event);
        QPoint p = me->position().toPoint();
        if (w != widget_) p = w->mapTo(widget_, p);
        return DispatchMouse(me, p);
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return HandleKey(w, static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod:
        FilterCommit(OnKeyPress, static_cast<QInputMethodEvent*>(event));
        return false;
    default:
        return false;
    }
}

bool TControl::HandleKey(QWidget* watched, QKeyEvent* event) {
    if (syntheticKey_) return false;
    // A key another control ignored travels up to its parents; it is not theirs.
    if (const QWidget* fw = QApplication::focusWidget(); fw && FromWidget(fw) != this) return false;
    char32_t replacement = 0;
    switch (RunKeyHandlers(OnKeyDown, OnKeyUp, OnKeyPress, event, replacement)) {
    case TKeyVerdict::Pass:
        return false;
    case TKeyVerdict::Swallow:
        event->accept();
        return true;
    case TKeyVerdict::Replace: {
        const QPointer<QWidget> alive(watched);
        syntheticKey_ = true;
        DeliverReplacement(watched, event, replacement);
        if (alive) syntheticKey_ = false;
        event->accept();
        return true;
    }
    }
    return false;
}

bool TControl::DispatchMouse(QMouseEvent* event, QPoint pos) {
    if (destroying_ || !widget_) return false;
    const QPointer<QWidget> alive(widget_);
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
    const TMouseButton button = event->button() == Qt::RightButton    ? mbRight
                                : event->button() == Qt::MiddleButton ? mbMiddle
                                                                      : mbLeft;
    const int x = pos.x(), y = pos.y();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::LeftButton) leftPressed_ = true;
        if (OnMouseDown) OnMouseDown(button, shift, x, y);
        break;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click: OnDblClick, then a press marked ssDouble.
        if (OnDblClick) OnDblClick();
        if (alive && OnMouseDown) OnMouseDown(button, shift | ssDouble, x, y);
        break;
    case QEvent::MouseButtonRelease: {
        const bool click = genericClick_ && leftPressed_ && event->button() == Qt::LeftButton &&
                           widget_->rect().contains(pos);
        if (event->button() == Qt::LeftButton) leftPressed_ = false;
        if (OnMouseUp) OnMouseUp(button, shift, x, y);
        if (alive && click && OnClick) OnClick();
        break;
    }
    case QEvent::MouseMove:
        if (OnMouseMove) OnMouseMove(shift, x, y);
        break;
    default:
        break;
    }
    return !alive;
}

// ---- TWinControl ----------------------------------------------------------------------

TWinControl::TWinControl(TWinControl* parent, QWidget* widget, QWidget* client, bool managedGeometry)
    : TControl(parent, widget, managedGeometry), client_(client ? client : widget) {
    if (client_ != widget) WatchWidget(client_);
}

TWinControl::~TWinControl() {
    MarkDestroying();
    Disconnect();
    auto owned = std::move(owned_);
    owned_.clear();
    controls_.clear();
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        (*it)->owner_ = nullptr;
        it->reset();
    }
}

void TWinControl::MarkDestroying() {
    // Tearing widgets down moves focus and emits signals; no handler may run from now on.
    destroying_ = true;
    for (TControl* c : controls_) {
        if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->MarkDestroying();
        else c->destroying_ = true;
    }
}

void TWinControl::Adopt(TComponent* c) {
    owned_.emplace_back(c);
}

void TWinControl::Release(TComponent* c) {
    controls_.erase(std::remove_if(controls_.begin(), controls_.end(),
                                   [c](TControl* x) { return static_cast<TComponent*>(x) == c; }),
                    controls_.end());
    for (auto it = owned_.begin(); it != owned_.end(); ++it) {
        if (it->get() == c) {
            (void)it->release();
            owned_.erase(it);
            break;
        }
    }
    c->owner_ = nullptr;
}

TControl* TWinControl::FindComponent(const std::string& name) const {
    for (TControl* c : controls_) {
        if (c->Name == name) return c;
        if (auto* wc = dynamic_cast<TWinControl*>(c)) {
            if (TControl* found = wc->FindComponent(name)) return found;
        }
    }
    return nullptr;
}

QSize TWinControl::ClientSize() const {
    return client_ ? client_->size() : QSize();
}

QRect TWinControl::AlignRect() const {
    return client_ ? client_->contentsRect() : QRect();
}

void TWinControl::Realign() {
    if (aligning_ || destroying_ || !client_) return;
    aligning_ = true;
    const QRect area = AlignRect();
    int x0 = area.left(), y0 = area.top();
    int x1 = x0 + area.width(), y1 = y0 + area.height();
    for (const TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : controls_) {
            if (c->align_ != kind || !c->visible_ || c->managed_) continue;
            const int w = c->design_.width(), h = c->design_.height();
            const int freeW = std::max(0, x1 - x0), freeH = std::max(0, y1 - y0);
            switch (kind) {
            case alTop: c->SetBoundsInternal(QRect(x0, y0, freeW, h)); y0 += h; break;
            case alBottom: c->SetBoundsInternal(QRect(x0, y1 - h, freeW, h)); y1 -= h; break;
            case alLeft: c->SetBoundsInternal(QRect(x0, y0, w, freeH)); x0 += w; break;
            case alRight: c->SetBoundsInternal(QRect(x1 - w, y0, w, freeH)); x1 -= w; break;
            default: c->SetBoundsInternal(QRect(x0, y0, freeW, freeH)); break;
            }
        }
    }
    const QSize now = ClientSize();
    for (TControl* c : controls_) {
        if (c->align_ != alNone || c->managed_ || c->anchors_ == (akLeft | akTop)) continue;
        int l = c->design_.x(), t = c->design_.y(), w = c->design_.width(), h = c->design_.height();
        Stretch(c->anchors_ & akLeft, c->anchors_ & akRight, now.width() - c->designParent_.width(), l, w);
        Stretch(c->anchors_ & akTop, c->anchors_ & akBottom, now.height() - c->designParent_.height(), t, h);
        c->SetBoundsInternal(QRect(l, t, std::max(0, w), std::max(0, h)));
    }
    aligning_ = false;
}

bool TWinControl::HandleEvent(QObject* watched, QEvent* event) {
    if (!destroying_ && event->type() == QEvent::Resize && watched == ResizeSource()) {
        Realign();
        if (OnResize) OnResize();
    }
    return TControl::HandleEvent(watched, event);
}

// ---- TTimer ---------------------------------------------------------------------------

TTimer::TTimer(TWinControl* owner) : TComponent(owner), timer_(std::make_unique<QTimer>()) {
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { Fire(); });
    Restart();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int milliseconds) {
    interval_ = std::max(0, milliseconds);
    Restart();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

void TTimer::Fire() {
    if (OnTimer) OnTimer();
}

void TTimer::Restart() {
    if (enabled_ && interval_ > 0) timer_->start(interval_);
    else timer_->stop();
}

}  // namespace tarvek
