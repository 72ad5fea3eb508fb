// Our component layer: the controls the forms are written in, each a thin wrapper over a
// Qt widget, with the names, properties and events the design of the forms uses.
//
// Ownership: a control is created on the heap with its parent container, either as
// `new TEdit(panel)` or `panel->Add<TEdit>()`; the container owns it from then on and
// deletes it with itself (deleting a control earlier is allowed and detaches it). Only a
// form, which has no parent, lives on the stack or in a smart pointer of its own.
//
// Geometry: Left/Top/Width/Height are absolute in the parent's client area. Align and
// Anchors are honoured whenever the parent is resized: aligned controls are stacked in
// the order top, bottom, left, right, client, and within one kind in creation order (the
// first alBottom control sits lowest); anchored controls keep the distances to the
// anchored edges that they had when their bounds or anchors were last set.
//
// Visibility: Visible() is the control's own flag. It stays true for a control on a tab
// page that is not current, where Qt's isVisible() is false.
//
// Events: handlers are public std::function members (OnClick, OnChange, ...). They run
// only for what the user does. Every programmatic setter (SetText, SetChecked,
// SetItemIndex, SetPosition, SetActivePageIndex, SetCell, SetRow, ...) is silent. To act
// as the user, call the User* methods and Click():
//   TButton/TBitBtn::Click()       runs OnClick;
//   TCheckBox::Click()             toggles Checked, then runs OnClick;
//   TComboBox::UserSelect(i)       sets ItemIndex, then runs OnChange;
//   TEdit::UserType(text)          feeds each character through OnKeyPress, inserts the
//                                  ones not swallowed at the caret (Backspace, 8, deletes),
//                                  runs OnChange after each change; Enter (13) only reaches
//                                  OnKeyPress. SetText leaves the caret at the start;
//   TUpDown::UserSetPosition(p)    runs OnChanging(allow), sets Position, runs OnClick;
//   TRadioGroup::UserSelect(i)     sets ItemIndex, then runs OnClick;
//   TPageControl::UserSelectTab(i) runs OnChanging(allow), then switches and runs OnChange.
//
// Keys: OnKeyDown/OnKeyUp get Windows virtual-key codes (VK_*), OnKeyPress the typed
// character as a code point (Enter 13, Backspace 8, Escape 27). Setting the key to 0
// swallows it: the widget never sees it. OnKeyPress may also replace the character.
// Characters committed by an input method pass through OnKeyPress one by one as well.
// A form with KeyPreview sees every key of its window before the focused control.
#pragma once

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QMargins>
#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/graphics.h"

class QAbstractItemModel;
class QCheckBox;
class QComboBox;
class QEventLoop;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QModelIndex;
class QMouseEvent;
class QPainter;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTimer;

namespace tarvek {

class TCanvas;
struct TRect;

// ---- Colours --------------------------------------------------------------------------

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours: $FF0000nn, nn the system colour index.
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | unsigned(index)); }
inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clAppWorkSpace = SystemColor(12);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);

// The colour a TColor shows as. System colours come from a fixed table (unknown ones show
// as the button face); other values use their low 24 bits.
QColor ColorToQColor(TColor color);
// The plain $00BBGGRR value of a Qt colour.
TColor QColorToColor(const QColor& color);

// ---- Enumerations ---------------------------------------------------------------------

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : unsigned { akLeft = 1u << 0, akTop = 1u << 1, akRight = 1u << 2, akBottom = 1u << 3 };
using TAnchors = unsigned;

enum TShiftStateFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TBevelCut { bvNone, bvLowered, bvRaised };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TComboBoxStyle { csDropDown, csDropDownList };
enum TUDBtnType { btNext, btPrev };

// Windows virtual-key codes; letters and digits are their upper-case ASCII codes.
inline constexpr unsigned short VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16,
                                VK_CONTROL = 17, VK_MENU = 18, VK_PAUSE = 19, VK_ESCAPE = 27,
                                VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35,
                                VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39,
                                VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46, VK_NUMPAD0 = 96,
                                VK_MULTIPLY = 106, VK_ADD = 107, VK_SUBTRACT = 109,
                                VK_DECIMAL = 110, VK_DIVIDE = 111, VK_F1 = 112, VK_F12 = 123;

// 0 for keys that have no virtual-key code here.
unsigned short QtKeyToVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {});

using TNotifyEvent = std::function<void()>;
using TKeyEvent = std::function<void(unsigned short& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(char32_t& key)>;
using TMouseEvent = std::function<void(TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TShiftState shift, int x, int y)>;

class TWinControl;

namespace detail {
class TEventFilter;
class TKeyPreviewFilter;
class TGridModel;
class TGridSelection;
class TGridView;
class TTabBar;
}  // namespace detail

// ---- Base classes ---------------------------------------------------------------------

// Anything a container can own: controls and timers.
class TComponent {
public:
    explicit TComponent(TWinControl* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string Name;
    TWinControl* Owner() const { return owner_; }

private:
    friend class TWinControl;
    TWinControl* owner_;
};

class TControl : public TComponent {
public:
    ~TControl() override;

    QWidget* Widget() const { return widget_.data(); }
    TWinControl* Parent() const { return Owner(); }
    // The control a Qt widget belongs to (the widget itself or its nearest ancestor).
    static TControl* FromWidget(const QWidget* widget);

    virtual QRect BoundsRect() const;
    int Left() const { return BoundsRect().x(); }
    int Top() const { return BoundsRect().y(); }
    int Width() const { return BoundsRect().width(); }
    int Height() const { return BoundsRect().height(); }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);

    TColor Color() const { return color_; }
    virtual void SetColor(TColor color);
    void SetFont(const std::string& name, int pointSize);
    std::string FontName() const;
    int FontSize() const;
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color);
    bool FontBold() const;
    void SetFontBold(bool bold);

    void SetCursor(const QCursor& cursor);
    virtual void SetFocus();
    virtual bool Focused() const;
    void BringToFront();
    QPoint ClientToScreen(QPoint p) const;
    QPoint ScreenToClient(QPoint p) const;

    TNotifyEvent OnEnter, OnExit, OnMouseEnter, OnMouseLeave, OnClick, OnDblClick;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyDown, OnKeyUp;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    // widget: the control's Qt widget, created by the derived class and owned from here on.
    // managedGeometry: Qt places the widget (a tab page), SetBounds does not apply.
    TControl(TWinControl* parent, QWidget* widget, bool managedGeometry = false);

    // Also run the event plumbing for an inner widget (editor, viewport, buttons).
    void WatchWidget(QWidget* w);
    virtual bool HandleEvent(QObject* watched, QEvent* event);
    // Mouse handlers for an event at pos (in Widget() coordinates); false: not consumed.
    bool DispatchMouse(QMouseEvent* event, QPoint pos);
    // Bounds from a layout: changes neither the designed bounds nor the anchor distances.
    void SetBoundsInternal(const QRect& r);
    void InitBounds(int width, int height);
    virtual void SizeChanged() {}
    virtual QPalette::ColorRole BackgroundRole() const;
    virtual void ApplyColor();
    bool Silent() const { return silent_ || destroying_; }
    // The context of the control's signal connections: they end when teardown starts.
    QObject* Context() const { return context_.get(); }
    // Every text shown in Qt: a CR (alone or before LF) becomes a line break.
    static QString ToQt(const std::string& s);

    bool silent_ = false;
    bool destroying_ = false;
    bool genericClick_ = true;  // OnClick from a press and release on the control
    bool outerMouse_ = true;    // false: mouse events come from an inner widget only
    bool visible_ = true;
    TColor color_ = clBtnFace;

private:
    friend class TWinControl;
    friend class detail::TEventFilter;
    friend class TForm;
    bool HandleKey(QWidget* watched, QKeyEvent* event);
    void RecordDesign();
    // First step of teardown: no event or signal reaches a half-destroyed control.
    void Disconnect();

    QPointer<QWidget> widget_;
    std::unique_ptr<detail::TEventFilter> filter_;
    std::unique_ptr<QObject> context_;
    QRect bounds_;
    QRect design_;        // bounds as last set, for alignment sizes and anchors
    QSize designParent_;  // the parent's client size at that moment
    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    bool managed_ = false;
    bool enabled_ = true;
    std::string hint_;
    TColor fontColor_ = clWindowText;
    bool focusInside_ = false;
    bool leftPressed_ = false;
    bool syntheticKey_ = false;
};

// A control that holds other controls.
class TWinControl : public TControl {
public:
    ~TWinControl() override;

    template <class T, class... A>
    T* Add(A&&... args) {
        return new T(this, std::forward<A>(args)...);
    }

    // Where the children's widgets live.
    QWidget* ClientWidget() const { return client_.data(); }
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int i) const { return controls_.at(static_cast<std::size_t>(i)); }
    // The first control of that name in this container or below it.
    TControl* FindComponent(const std::string& name) const;
    // Lays out the aligned and anchored children for the current client size.
    virtual void Realign();
    // The size alignment and anchors refer to.
    virtual QSize ClientSize() const;

    TNotifyEvent OnResize;

protected:
    TWinControl(TWinControl* parent, QWidget* widget, QWidget* client = nullptr,
                bool managedGeometry = false);
    virtual QRect AlignRect() const;
    // The widget whose resizing lays the children out again.
    virtual QWidget* ResizeSource() const { return ClientWidget(); }
    virtual void ChildExtentChanged() {}
    void SizeChanged() override { Realign(); }
    bool HandleEvent(QObject* watched, QEvent* event) override;
    void MarkDestroying();

private:
    friend class TComponent;
    friend class TControl;
    void Adopt(TComponent* c);
    void Release(TComponent* c);

    std::vector<std::unique_ptr<TComponent>> owned_;
    std::vector<TControl*> controls_;
    QPointer<QWidget> client_;
    bool aligning_ = false;
};

// ---- Form -----------------------------------------------------------------------------

class TForm : public TWinControl {
public:
    // owner: the form this one stays above (a dialog); it does not own this form and must
    // outlive it.
    explicit TForm(TForm* owner = nullptr);
    ~TForm() override;

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int w) { SetClientSize(w, ClientHeight()); }
    void SetClientHeight(int h) { SetClientSize(ClientWidth(), h); }
    void SetClientSize(int w, int h);

    // The outer frame: the window with the frame a window manager draws around it. A
    // window not yet framed asks the window manager what its frame will be (X11); without
    // an answer the bounds are applied again once the frame is known. Offscreen there is
    // no frame: client = frame.
    void SetWindowBounds(int left, int top, int width, int height);
    // Whether windows ask the window manager for their frames before they are shown (on by
    // default); without, a window is placed again once Qt learns its frame after mapping.
    static void SetFramesAskedBeforeShowing(bool ask);
    int WindowLeft() const;
    int WindowTop() const;
    int WindowWidth() const;
    int WindowHeight() const;
    QRect BoundsRect() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetMinimumSize(int width, int height);
    void SetStayOnTop(bool onTop);
    bool StayOnTop() const;

    void Show();
    // Runs OnCloseQuery and OnClose (once per close: a further Close() before the next
    // Show() does nothing), then closes the window.
    void Close();
    void SetVisible(bool visible) override;  // false hides without the close handlers
    void SetFocus() override;
    bool Focused() const override;
    // Shows the form application-modal until it is closed; the modal result, or
    // mrCancel (2) when it was closed without one.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result);  // non-zero closes a modal form

    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview);

    TNotifyEvent OnShow;   // the first time the window is shown
    TNotifyEvent OnClose;
    std::function<void(bool& canClose)> OnCloseQuery;

protected:
    bool HandleEvent(QObject* watched, QEvent* event) override;

private:
    friend class detail::TKeyPreviewFilter;
    bool Preview(QObject* watched, QEvent* event);
    bool RunCloseHandlers();
    QMargins KnownFrame() const;
    QSize FrameExtra() const;
    void AskFrame();
    void PlaceOuter();
    void WatchFrame();
    void ApplyMinimumSize();

    std::unique_ptr<detail::TKeyPreviewFilter> preview_;
    QEventLoop* modalLoop_ = nullptr;
    QRect outer_;
    bool outerSet_ = false;  // outer_ was given, not only the client's size
    bool outerPending_ = false;
    QMargins toldFrame_;    // the frame as the window manager told it, or Qt last knew it
    QMargins placedFrame_;  // the frame outer_ was last placed with
    bool frameAsked_ = false;
    int frameWatchTicks_ = 0;
    QSize placedSize_;  // the client size outer_ was last placed with
    std::chrono::steady_clock::time_point settleUntil_{};
    int settleReplacements_ = 0;
    QSize minOuter_;  // the smallest frame; applied once the frame is known
    bool keyPreview_ = false;
    bool shownOnce_ = false;
    bool closed_ = false;
    bool inClose_ = false;
    bool previewBusy_ = false;
    int modalResult_ = 0;
};

// ---- Simple controls ------------------------------------------------------------------

class TLabel : public TControl {
public:
    explicit TLabel(TWinControl* parent);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    void SetAlignment(TAlignment a);
    void SetLayout(TTextLayout layout);
    void SetWordWrap(bool wrap);
    // A transparent label shows its parent; an opaque one fills with Color.
    void SetTransparent(bool transparent);
    bool Transparent() const { return transparent_; }
    void SetColor(TColor color) override;

private:
    void ApplyAlignment();
    QLabel* label() const;
    std::string caption_;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool transparent_ = true;
};

class TEdit : public TControl {
public:
    explicit TEdit(TWinControl* parent);
    QLineEdit* Editor() const;

    std::string Text() const;
    void SetText(const std::string& text);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);  // 0: no limit
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    void SetBorderless(bool borderless);
    void SetAlignment(TAlignment a);
    void SelectAll();
    void UserType(const std::string& text);

    TNotifyEvent OnChange;

private:
    int maxLength_ = 0;
};

class TMemo : public TControl {
public:
    explicit TMemo(TWinControl* parent);
    QPlainTextEdit* Editor() const;

    // A final empty line (the text ends with a line break) is not counted.
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    std::string Text() const;  // lines joined by "\n"
    void SetText(const std::string& text);
    void Clear();
    void Add(const std::string& line);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    void SetBorderless(bool borderless);
    void SetWordWrap(bool wrap);
    void SetScrollBars(TScrollStyle bars);  // ssNone by default
    void SetAlignment(TAlignment a);

    TNotifyEvent OnChange;

protected:
    QPalette::ColorRole BackgroundRole() const override { return QPalette::Base; }
};

class TButton : public TControl {
public:
    explicit TButton(TWinControl* parent);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);  // a "\r" is a line break
    void Click();

protected:
    QPushButton* button() const;

private:
    std::string caption_;
};

// A button with an optional picture.
class TBitBtn : public TButton {
public:
    using TButton::TButton;
    void SetGlyph(const QImage& glyph);
};

class TCheckBox : public TControl {
public:
    explicit TCheckBox(TWinControl* parent);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Checked() const;
    void SetChecked(bool checked);
    void Click();

private:
    QCheckBox* box() const;
    std::string caption_;
};

class TComboBox : public TControl {
public:
    explicit TComboBox(TWinControl* parent);
    QComboBox* Combo() const;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    std::vector<std::string> Items() const;
    // Leaves no item selected (ItemIndex -1); an editable combo keeps its text.
    void SetItems(const std::vector<std::string>& items);
    void AddItem(const std::string& item);
    void ClearItems();
    int ItemCount() const;
    int IndexOf(const std::string& text) const;
    // -1 when no item is selected or, editable, the text is no longer the item's.
    int ItemIndex() const;
    void SetItemIndex(int index);
    std::string Text() const;
    // Editable: sets the text. List: selects the item with that text (or none).
    void SetText(const std::string& text);
    void SetDropDownCount(int count);
    void UserSelect(int index);
    std::string ItemText(int index) const;  // empty outside the list

    // Owner-drawn items: OnDrawItem paints every item of the open list and the item the
    // closed box shows, on an exact-colour canvas whose coordinates are the rectangle's.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool ownerDraw);

    TNotifyEvent OnChange;
    std::function<void(TCanvas& canvas, int index, const TRect& rect, bool selected)> OnDrawItem;

private:
    void Connect();
    TComboBoxStyle style_ = csDropDown;
    bool ownerDraw_ = false;
};

class TUpDown : public TControl {
public:
    explicit TUpDown(TWinControl* parent);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int Increment() const { return increment_; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);  // clamped into Min..Max
    void SetIncrement(int v);
    void UserSetPosition(int v);

    // Replaces TControl::OnClick: runs after a user change of Position.
    std::function<void(TUDBtnType button)> OnClick;
    std::function<void(bool& allowChange)> OnChanging;

private:
    void UserChange(int target);
    void ApplyRange();
    QSpinBox* spin() const;
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
};

class TProgressBar : public TControl {
public:
    explicit TProgressBar(TWinControl* parent);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);  // clamped into Min..Max
    void SetStep(int step) { step_ = step; }
    void StepIt() { SetPosition(position_ + step_); }

private:
    void Apply();
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
};

// ---- Containers -----------------------------------------------------------------------

class TPanel : public TWinControl {
public:
    explicit TPanel(TWinControl* parent);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    void SetBevelOuter(TBevelCut bevel);  // bvRaised by default
    TBevelCut BevelOuter() const { return bevel_; }
    void SetAlignment(TAlignment a);  // of the caption; centred by default

protected:
    QLabel* label() const;

private:
    std::string caption_;
    TBevelCut bevel_ = bvRaised;
};

// A bar along the bottom of its parent with a text on the left; may hold controls such
// as a progress bar placed with SetBounds.
class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TWinControl* parent);
    const std::string& SimpleText() const { return text_; }
    void SetSimpleText(const std::string& text);

private:
    std::string text_;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TWinControl* parent);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

protected:
    QGroupBox* group() const;

private:
    std::string caption_;
};

// A group box of radio buttons. Without items (and caption) it is a plain frame.
class TRadioGroup : public TGroupBox {
public:
    explicit TRadioGroup(TWinControl* parent);
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);  // rebuilds the buttons, none selected
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int columns);
    QRadioButton* Button(int index) const;
    void UserSelect(int index);
    void Realign() override;

private:
    void ApplyChecks();
    std::vector<std::string> items_;
    std::vector<QRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
};

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TPageControl* parent);
    ~TTabSheet() override;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TPageControl* PageControl() const { return pageControl_; }
    int PageIndex() const;
    void SetVisible(bool visible) override;  // shows or hides the tab

private:
    TPageControl* pageControl_;
    std::string caption_;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TWinControl* parent);
    ~TPageControl() override;
    QTabWidget* Tabs() const;

    TTabSheet* AddPage(const std::string& caption);
    int PageCount() const;
    TTabSheet* Pages(int index) const;
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    TTabSheet* ActivePage() const;
    void UserSelectTab(int index);

    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int height);  // 0: the style's height
    void SetTabWidth(int width);    // 0: fit the caption
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool ownerDraw);
    // The rectangle of a tab in the page control's coordinates.
    QRect TabRect(int index) const;

    std::function<void(bool& allowChange)> OnChanging;
    TNotifyEvent OnChange;
    // With OwnerDraw: paints a tab's content over the style's tab shape.
    std::function<void(QPainter& painter, int index, const QRect& rect, bool active)> OnDrawTab;

protected:
    // Pages of a hidden page control get their size only when shown; size them now, so
    // that anchors on a page refer to its real size.
    void SizeChanged() override;

private:
    friend class TTabSheet;
    friend class detail::TTabBar;
    void AttachPage(TTabSheet* page);
    void DetachPage(TTabSheet* page);
    void TabsRelayout();
    int tabHeight_ = 0, tabWidth_ = 0;
    int current_ = -1;
    bool ownerDraw_ = false;
};

// A scrolling area. Children are placed in content coordinates; the content grows to
// cover them, so a child larger than the view makes the box scroll.
class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TWinControl* parent);
    QScrollArea* Area() const;

    int HorzScrollPos() const;
    void SetHorzScrollPos(int pos);
    int VertScrollPos() const;
    void SetVertScrollPos(int pos);
    int ClientWidth() const { return ClientSize().width(); }   // the visible part
    int ClientHeight() const { return ClientSize().height(); }
    void SetBorderless(bool borderless);
    QSize ClientSize() const override;
    void Realign() override;

    TNotifyEvent OnScroll;

protected:
    QRect AlignRect() const override;
    QWidget* ResizeSource() const override;
    void ChildExtentChanged() override { UpdateExtent(); }

private:
    void UpdateExtent();
};

// ---- Drawing controls -----------------------------------------------------------------

// A surface the program paints itself. Qt does not erase it before OnPaint.
class TPaintBox : public TControl {
public:
    explicit TPaintBox(TWinControl* parent);
    ~TPaintBox() override;
    void Invalidate();
    void Repaint();

    std::function<void(QPainter& painter, const QRect& dirty)> OnPaint;
    // Once per full wheel step of 120 (small touchpad deltas are summed); x, y in the paint
    // box. An event nobody handles goes on to the parent (a scroll box scrolls).
    std::function<void(TShiftState shift, int wheelDelta, int x, int y, bool& handled)> OnMouseWheel;

protected:
    bool HandleEvent(QObject* watched, QEvent* event) override;

private:
    int wheelRest_ = 0;
};

class TImage : public TControl {
public:
    explicit TImage(TWinControl* parent);
    ~TImage() override;
    // JPEG by its extension through libjpeg, any other format Qt reads; false (and the
    // picture unchanged) when the file cannot be read.
    bool LoadFromFile(const std::string& path);
    void SetPicture(const QImage& image);
    void Clear();
    bool Empty() const { return picture_.isNull(); }
    const QImage& Picture() const { return picture_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

private:
    QImage picture_;
    bool stretch_ = false;
};

// ---- String grid ----------------------------------------------------------------------

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14,
};
using TGridOptions = unsigned;

// A table of texts, ColCount x RowCount, shown through a table view. Fixed rows are the
// view's column header: a header section shows the texts of that column's fixed rows
// (joined by line breaks when there is more than one). Fixed columns are the row header:
// a section shows that row's fixed-column texts joined by a blank, as wide as the fixed
// columns together. Data cells (col >= FixedCols, row >= FixedRows) are the view's cells
// at (row - FixedRows, col - FixedCols). Without fixed rows (columns) the header is hidden.
// Mouse positions are in the grid's own coordinates, headers included (see MouseToCell);
// the mouse handlers run after the view has moved the current cell.
class TStringGrid : public TControl {
public:
    explicit TStringGrid(TWinControl* parent);
    ~TStringGrid() override;
    QTableView* View() const;
    QAbstractItemModel* Model() const;

    int ColCount() const { return colCount_; }
    void SetColCount(int n);
    int RowCount() const { return static_cast<int>(cells_.size()); }
    void SetRowCount(int n);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int n);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int n);

    // Out-of-range cells read as empty and ignore writes.
    std::string Cells(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);
    // The cells of a row from column 0 on, as SetCell would set them, with one notice to
    // the view for the row: a table of thousands of rows is filled at start-up.
    void SetRowCells(int row, std::span<const std::string> texts);
    int ColWidths(int col) const;
    void SetColWidth(int col, int width);  // 0 hides the column
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);    // all columns
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height);

    // The current cell, in grid coordinates.
    int Row() const { return row_; }
    void SetRow(int row);
    int Col() const { return col_; }
    void SetCol(int col);
    int TopRow() const;
    void SetTopRow(int row);
    // The cell under a point in the grid's coordinates; false outside the data cells.
    bool MouseToCell(int x, int y, int& col, int& row) const;

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    void SetScrollBars(TScrollStyle bars);

    // Before the current cell moves at the user's hand; canSelect false keeps it.
    std::function<void(int col, int row, bool& canSelect)> OnSelectCell;

protected:
    QPalette::ColorRole BackgroundRole() const override { return QPalette::Base; }
    bool HandleEvent(QObject* watched, QEvent* event) override;

private:
    friend class detail::TGridModel;
    friend class detail::TGridSelection;
    friend class detail::TGridView;
    bool AllowSelect(const QModelIndex& index);
    void CurrentChanged(const QModelIndex& index);
    void StoreUserEdit(int col, int row, const std::string& text);
    void ApplyCurrent();
    void ApplyColumns();
    void ApplyHeaders();
    void ApplyOptions();

    detail::TGridModel* model_ = nullptr;
    detail::TGridSelection* selection_ = nullptr;
    std::vector<std::vector<std::string>> cells_;  // [row][col]
    std::vector<int> colWidths_;
    int colCount_ = 0;
    int fixedCols_ = 1, fixedRows_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    int row_ = 1, col_ = 1;
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
};

// ---- Timer ----------------------------------------------------------------------------

class TTimer : public TComponent {
public:
    explicit TTimer(TWinControl* owner = nullptr);
    ~TTimer() override;
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);  // 0 stops it
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Runs OnTimer once, as an expiry would.
    void Fire();

    TNotifyEvent OnTimer;

private:
    void Restart();
    std::unique_ptr<QTimer> timer_;
    int interval_ = 1000;
    bool enabled_ = true;
};

}  // namespace tarvek
