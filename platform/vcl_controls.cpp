// Our component layer: labels, edits, buttons, check boxes, combo boxes, up-downs,
// progress bars, panels, status bars and group boxes.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "platform/canvas.h"
#include "platform/vcl.h"
#include "platform/vcl_private.h"

namespace tarvek {

using detail::Q;
using detail::S;
using detail::TSilent;

namespace {

Qt::Alignment Horizontal(TAlignment a) {
    switch (a) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

Qt::Alignment Vertical(TTextLayout l) {
    switch (l) {
    case tlCenter: return Qt::AlignVCenter;
    case tlBottom: return Qt::AlignBottom;
    default: return Qt::AlignTop;
    }
}

int Clamp(int v, int a, int b) {
    return std::clamp(v, std::min(a, b), std::max(a, b));
}

}  // namespace

// ---- TLabel ---------------------------------------------------------------------------

TLabel::TLabel(TWinControl* parent) : TControl(parent, new QLabel) {
    label()->setTextFormat(Qt::PlainText);  // names may hold "<"
    ApplyAlignment();
    InitBounds(65, 13);
}

QLabel* TLabel::label() const { return static_cast<QLabel*>(Widget()); }

void TLabel::SetCaption(const std::string& caption) {
    caption_ = caption;
    label()->setText(ToQt(caption));
}

void TLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    ApplyAlignment();
}

void TLabel::SetLayout(TTextLayout layout) {
    layout_ = layout;
    ApplyAlignment();
}

void TLabel::ApplyAlignment() {
    label()->setAlignment(Horizontal(alignment_) | Vertical(layout_));
}

void TLabel::SetWordWrap(bool wrap) {
    label()->setWordWrap(wrap);
}

void TLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    if (transparent) label()->setAutoFillBackground(false);
    else ApplyColor();
}

void TLabel::SetColor(TColor color) {
    color_ = color;
    if (!transparent_) ApplyColor();
}

// ---- TEdit ----------------------------------------------------------------------------

TEdit::TEdit(TWinControl* parent) : TControl(parent, new QLineEdit) {
    color_ = clWindow;
    QLineEdit* e = Editor();
    QObject::connect(e, &QLineEdit::textEdited, Context(), [this] {
        if (!Silent() && OnChange) OnChange();
    });
    InitBounds(121, 21);
}

QLineEdit* TEdit::Editor() const { return static_cast<QLineEdit*>(Widget()); }

std::string TEdit::Text() const { return S(Editor()->text()); }

void TEdit::SetText(const std::string& text) {
    TSilent s(silent_);
    Editor()->setText(Q(text));
    // A text the program puts in shows from its start, as a system edit shows it, until
    // the user moves the cursor: a field narrower than its text keeps the first
    // characters, which say most (the area code, the family name).
    Editor()->setCursorPosition(0);
}

void TEdit::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
    TSilent s(silent_);
    Editor()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

bool TEdit::ReadOnly() const { return Editor()->isReadOnly(); }
void TEdit::SetReadOnly(bool readOnly) { Editor()->setReadOnly(readOnly); }
void TEdit::SetBorderless(bool borderless) { Editor()->setFrame(!borderless); }
void TEdit::SetAlignment(TAlignment a) { Editor()->setAlignment(Horizontal(a) | Qt::AlignVCenter); }
void TEdit::SelectAll() { Editor()->selectAll(); }

void TEdit::UserType(const std::string& text) {
    const QPointer<QWidget> alive(Widget());
    for (const uint c : Q(text).toUcs4()) {
        char32_t key = c;
        if (OnKeyPress) {
            OnKeyPress(key);
            if (!alive) return;
        }
        // Enter and the other control characters but Backspace insert nothing.
        if (key == 0 || (key < 32 && key != 8) || ReadOnly()) continue;
        const QString before = Editor()->text();
        {
            TSilent s(silent_);
            if (key == 8) Editor()->backspace();
            else Editor()->insert(QString::fromUcs4(&key, 1));
        }
        if (Editor()->text() != before && OnChange) {
            OnChange();
            if (!alive) return;
        }
    }
}

// ---- TMemo ----------------------------------------------------------------------------

TMemo::TMemo(TWinControl* parent) : TControl(parent, new QPlainTextEdit) {
    color_ = clWindow;
    QPlainTextEdit* m = Editor();
    WatchWidget(m->viewport());
    outerMouse_ = false;
    SetScrollBars(ssNone);
    QObject::connect(m, &QPlainTextEdit::textChanged, Context(), [this] {
        if (!Silent() && OnChange) OnChange();
    });
    InitBounds(185, 89);
}

QPlainTextEdit* TMemo::Editor() const { return static_cast<QPlainTextEdit*>(Widget()); }

std::vector<std::string> TMemo::Lines() const {
    const QString text = Editor()->toPlainText();
    std::vector<std::string> lines;
    if (text.isEmpty()) return lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(S(line));
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& l : lines) list << ToQt(l);
    TSilent s(silent_);
    Editor()->setPlainText(list.join(QLatin1Char('\n')));
}

std::string TMemo::Text() const { return S(Editor()->toPlainText()); }

void TMemo::SetText(const std::string& text) {
    TSilent s(silent_);
    Editor()->setPlainText(ToQt(text));
}

void TMemo::Clear() {
    TSilent s(silent_);
    Editor()->clear();
}

void TMemo::Add(const std::string& line) {
    TSilent s(silent_);
    QTextDocument* doc = Editor()->document();
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    // An empty last line is the one Lines() does not count: fill it.
    if (!doc->lastBlock().text().isEmpty()) cursor.insertBlock();
    cursor.insertText(ToQt(line));
}

bool TMemo::ReadOnly() const { return Editor()->isReadOnly(); }
void TMemo::SetReadOnly(bool readOnly) { Editor()->setReadOnly(readOnly); }

void TMemo::SetBorderless(bool borderless) {
    Editor()->setFrameStyle(borderless ? QFrame::NoFrame : (QFrame::StyledPanel | QFrame::Sunken));
}

void TMemo::SetWordWrap(bool wrap) {
    Editor()->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle bars) {
    const bool h = bars == ssHorizontal || bars == ssBoth;
    const bool v = bars == ssVertical || bars == ssBoth;
    Editor()->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    Editor()->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetAlignment(TAlignment a) {
    QTextDocument* doc = Editor()->document();
    QTextOption option = doc->defaultTextOption();
    option.setAlignment(Horizontal(a));
    doc->setDefaultTextOption(option);
}

// ---- TButton, TBitBtn -----------------------------------------------------------------

TButton::TButton(TWinControl* parent) : TControl(parent, new QPushButton) {
    genericClick_ = false;  // OnClick comes from the button's own click
    QPushButton* b = button();
    b->setAutoDefault(true);  // Enter on a focused button presses it
    QObject::connect(b, &QPushButton::clicked, Context(), [this] {
        if (!Silent() && OnClick) OnClick();
    });
    InitBounds(75, 25);
}

QPushButton* TButton::button() const { return static_cast<QPushButton*>(Widget()); }

void TButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    button()->setText(ToQt(caption));
}

void TButton::Click() {
    if (OnClick) OnClick();
}

void TBitBtn::SetGlyph(const QImage& glyph) {
    button()->setIcon(glyph.isNull() ? QIcon() : QIcon(QPixmap::fromImage(glyph)));
    if (!glyph.isNull()) button()->setIconSize(glyph.size());
}

// ---- TCheckBox ------------------------------------------------------------------------

TCheckBox::TCheckBox(TWinControl* parent) : TControl(parent, new QCheckBox) {
    genericClick_ = false;
    QCheckBox* b = box();
    QObject::connect(b, &QCheckBox::clicked, Context(), [this] {
        if (!Silent() && OnClick) OnClick();
    });
    InitBounds(97, 17);
}

QCheckBox* TCheckBox::box() const { return static_cast<QCheckBox*>(Widget()); }

void TCheckBox::SetCaption(const std::string& caption) {
    caption_ = caption;
    box()->setText(ToQt(caption));
}

bool TCheckBox::Checked() const { return box()->isChecked(); }

void TCheckBox::SetChecked(bool checked) {
    TSilent s(silent_);
    box()->setChecked(checked);
}

void TCheckBox::Click() {
    SetChecked(!Checked());
    if (OnClick) OnClick();
}

// ---- TComboBox ------------------------------------------------------------------------

namespace {

// One item through the owner's handler, on an exact-colour canvas over the rectangle.
void PaintOwnerItem(const TComboBox& owner, QPainter& painter, const QRect& rect, int index, bool selected) {
    if (rect.isEmpty() || !owner.OnDrawItem) return;
    QImage image(rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    TImageCanvas canvas(image);
    canvas.SetOrigin(rect.left(), rect.top());
    owner.OnDrawItem(canvas, index, TRect{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1}, selected);
    painter.drawImage(rect.topLeft(), image);
}

bool OwnerDrawn(const TComboBox* owner) { return owner && owner->OwnerDraw() && owner->OnDrawItem; }

// The items of the open list.
class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
    TOwnerDrawDelegate(TComboBox* owner, QObject* parent) : QStyledItemDelegate(parent), owner_(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!OwnerDrawn(owner_)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        PaintOwnerItem(*owner_, *painter, option.rect, index.row(), (option.state & QStyle::State_Selected) != 0);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), 18));
        return size;
    }

private:
    TComboBox* owner_;
};

// The closed box: the style's frame and arrow, the current item by the owner.
class TComboWidget : public QComboBox {
public:
    TComboBox* Owner = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!OwnerDrawn(Owner) || isEditable()) {
            QComboBox::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        if (currentIndex() >= 0) PaintOwnerItem(*Owner, painter, field, currentIndex(), hasFocus());
    }
};

}  // namespace

TComboBox::TComboBox(TWinControl* parent) : TControl(parent, new TComboWidget) {
    color_ = clWindow;
    static_cast<TComboWidget*>(Combo())->Owner = this;
    QComboBox* c = Combo();
    c->setInsertPolicy(QComboBox::NoInsert);  // Enter does not add the text as an item
    // A list changes only by selection; an editable combo also by typing, and a pick from
    // its list may restore a text typed over.
    QObject::connect(c, &QComboBox::currentIndexChanged, Context(), [this] {
        if (!Silent() && style_ == csDropDownList && OnChange) OnChange();
    });
    QObject::connect(c, &QComboBox::activated, Context(), [this] {
        if (!Silent() && style_ == csDropDown && OnChange) OnChange();
    });
    style_ = csDropDownList;
    SetStyle(csDropDown);
    InitBounds(145, 21);
}

QComboBox* TComboBox::Combo() const { return static_cast<QComboBox*>(Widget()); }

void TComboBox::SetStyle(TComboBoxStyle style) {
    if (style == style_) return;
    style_ = style;
    TSilent s(silent_);
    Combo()->setEditable(style == csDropDown);
    Connect();
}

void TComboBox::Connect() {
    QLineEdit* e = Combo()->lineEdit();
    if (!e) return;
    WatchWidget(e);
    QObject::connect(e, &QLineEdit::textEdited, Context(), [this] {
        if (!Silent() && OnChange) OnChange();
    });
}

std::vector<std::string> TComboBox::Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < Combo()->count(); ++i) items.push_back(S(Combo()->itemText(i)));
    return items;
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
    TSilent s(silent_);
    QComboBox* c = Combo();
    const QString text = c->currentText();
    c->clear();
    for (const std::string& item : items) c->addItem(Q(item));
    c->setCurrentIndex(-1);  // Qt selects the first item added to an empty list
    if (c->isEditable()) c->setEditText(text);
}

void TComboBox::AddItem(const std::string& item) {
    TSilent s(silent_);
    QComboBox* c = Combo();
    const int index = c->currentIndex();
    const QString text = c->currentText();
    c->addItem(Q(item));
    if (index < 0) {
        c->setCurrentIndex(-1);
        if (c->isEditable()) c->setEditText(text);
    }
}

void TComboBox::ClearItems() {
    TSilent s(silent_);
    Combo()->clear();
}

int TComboBox::ItemCount() const { return Combo()->count(); }

int TComboBox::IndexOf(const std::string& text) const {
    return Combo()->findText(Q(text), Qt::MatchFixedString);  // whole text, any case
}

int TComboBox::ItemIndex() const {
    const QComboBox* c = Combo();
    const int index = c->currentIndex();
    if (index >= 0 && c->isEditable() && c->itemText(index) != c->currentText()) return -1;
    return index;
}

void TComboBox::SetItemIndex(int index) {
    TSilent s(silent_);
    QComboBox* c = Combo();
    if (index < 0 || index >= c->count()) index = -1;
    c->setCurrentIndex(index);
    if (index >= 0 && c->isEditable()) c->setEditText(c->itemText(index));
}

std::string TComboBox::Text() const { return S(Combo()->currentText()); }

void TComboBox::SetText(const std::string& text) {
    TSilent s(silent_);
    if (Combo()->isEditable()) Combo()->setEditText(Q(text));
    else Combo()->setCurrentIndex(IndexOf(text));
}

void TComboBox::SetDropDownCount(int count) {
    Combo()->setMaxVisibleItems(std::max(1, count));
}

std::string TComboBox::ItemText(int index) const {
    return index >= 0 && index < Combo()->count() ? S(Combo()->itemText(index)) : std::string();
}

void TComboBox::SetOwnerDraw(bool ownerDraw) {
    if (ownerDraw && !ownerDraw_) Combo()->setItemDelegate(new TOwnerDrawDelegate(this, Combo()));
    ownerDraw_ = ownerDraw;
    Combo()->update();
}

void TComboBox::UserSelect(int index) {
    SetItemIndex(index);
    if (OnChange) OnChange();
}

// ---- TUpDown --------------------------------------------------------------------------

TUpDown::TUpDown(TWinControl* parent) : TControl(parent, new QSpinBox) {
    genericClick_ = false;
    QSpinBox* s = spin();
    s->setKeyboardTracking(false);  // a typed number counts when complete, not per digit
    ApplyRange();
    QObject::connect(s, &QSpinBox::valueChanged, Context(), [this](int v) {
        if (!Silent()) UserChange(v);
    });
    InitBounds(17, 25);
}

QSpinBox* TUpDown::spin() const { return static_cast<QSpinBox*>(Widget()); }

void TUpDown::ApplyRange() {
    TSilent s(silent_);
    spin()->setRange(std::min(min_, max_), std::max(min_, max_));
    spin()->setSingleStep(increment_);
    spin()->setValue(position_);
}

void TUpDown::SetMin(int v) {
    min_ = v;
    position_ = Clamp(position_, min_, max_);
    ApplyRange();
}

void TUpDown::SetMax(int v) {
    max_ = v;
    position_ = Clamp(position_, min_, max_);
    ApplyRange();
}

void TUpDown::SetPosition(int v) {
    position_ = Clamp(v, min_, max_);
    ApplyRange();
}

void TUpDown::SetIncrement(int v) {
    increment_ = std::max(1, v);
    ApplyRange();
}

void TUpDown::UserSetPosition(int v) {
    UserChange(Clamp(v, min_, max_));
}

void TUpDown::UserChange(int target) {
    const int old = position_;
    {
        // OnChanging sees the position before the change.
        TSilent s(silent_);
        spin()->setValue(old);
    }
    if (target == old) return;
    const QPointer<QWidget> alive(Widget());
    bool allow = true;
    if (OnChanging) OnChanging(allow);
    if (!alive || !allow) return;
    position_ = target;
    {
        TSilent s(silent_);
        spin()->setValue(target);
    }
    if (OnClick) OnClick(target > old ? btNext : btPrev);
}

// ---- TProgressBar ---------------------------------------------------------------------

TProgressBar::TProgressBar(TWinControl* parent) : TControl(parent, new QProgressBar) {
    static_cast<QProgressBar*>(Widget())->setTextVisible(false);
    Apply();
    InitBounds(150, 17);
}

void TProgressBar::Apply() {
    auto* bar = static_cast<QProgressBar*>(Widget());
    bar->setRange(std::min(min_, max_), std::max(min_, max_));
    bar->setValue(position_);
}

void TProgressBar::SetMin(int v) {
    min_ = v;
    position_ = Clamp(position_, min_, max_);
    Apply();
}

void TProgressBar::SetMax(int v) {
    max_ = v;
    position_ = Clamp(position_, min_, max_);
    Apply();
}

void TProgressBar::SetPosition(int v) {
    position_ = Clamp(v, min_, max_);  // Qt ignores values outside the range
    Apply();
}

// ---- TPanel, TStatusBar ---------------------------------------------------------------

TPanel::TPanel(TWinControl* parent) : TWinControl(parent, new QLabel) {
    QLabel* l = label();
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    SetBevelOuter(bvRaised);
    InitBounds(185, 41);
}

QLabel* TPanel::label() const { return static_cast<QLabel*>(Widget()); }

void TPanel::SetCaption(const std::string& caption) {
    caption_ = caption;
    label()->setText(ToQt(caption));
}

void TPanel::SetBevelOuter(TBevelCut bevel) {
    bevel_ = bevel;
    switch (bevel) {
    case bvNone: label()->setFrameStyle(QFrame::NoFrame); break;
    case bvLowered: label()->setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    case bvRaised: label()->setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    }
    Realign();  // the bevel narrows the area aligned children share
}

void TPanel::SetAlignment(TAlignment a) {
    label()->setAlignment(Horizontal(a) | Qt::AlignVCenter);
}

TStatusBar::TStatusBar(TWinControl* parent) : TWinControl(parent, new QLabel) {
    auto* l = static_cast<QLabel*>(Widget());
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setIndent(4);
    InitBounds(185, 19);
    SetAlign(alBottom);
}

void TStatusBar::SetSimpleText(const std::string& text) {
    text_ = text;
    static_cast<QLabel*>(Widget())->setText(ToQt(text));
}

// ---- TGroupBox, TRadioGroup -----------------------------------------------------------

TGroupBox::TGroupBox(TWinControl* parent) : TWinControl(parent, new QGroupBox) {
    InitBounds(185, 105);
}

QGroupBox* TGroupBox::group() const { return static_cast<QGroupBox*>(Widget()); }

void TGroupBox::SetCaption(const std::string& caption) {
    caption_ = caption;
    group()->setTitle(ToQt(caption));
    Realign();
}

TRadioGroup::TRadioGroup(TWinControl* parent) : TGroupBox(parent) {
    genericClick_ = false;  // OnClick means an item was picked
}

void TRadioGroup::SetItems(const std::vector<std::string>& items) {
    for (QRadioButton* b : buttons_) delete b;
    buttons_.clear();
    items_ = items;
    itemIndex_ = -1;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        auto* b = new QRadioButton(ToQt(items_[i]), group());
        WatchWidget(b);
        const int index = static_cast<int>(i);
        QObject::connect(b, &QRadioButton::toggled, Context(), [this, index](bool on) {
            if (!on || Silent()) return;
            itemIndex_ = index;
            if (OnClick) OnClick();
        });
        b->show();
        buttons_.push_back(b);
    }
    Realign();
}

void TRadioGroup::ApplyChecks() {
    TSilent s(silent_);
    // Exclusive buttons refuse to be all unchecked; ItemIndex -1 needs that.
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setAutoExclusive(false);
        buttons_[i]->setChecked(static_cast<int>(i) == itemIndex_);
        buttons_[i]->setAutoExclusive(true);
    }
}

void TRadioGroup::SetItemIndex(int index) {
    itemIndex_ = index >= 0 && index < static_cast<int>(buttons_.size()) ? index : -1;
    ApplyChecks();
}

void TRadioGroup::SetColumns(int columns) {
    columns_ = std::max(1, columns);
    Realign();
}

QRadioButton* TRadioGroup::Button(int index) const {
    return index >= 0 && index < static_cast<int>(buttons_.size()) ? buttons_[static_cast<std::size_t>(index)]
                                                                    : nullptr;
}

void TRadioGroup::UserSelect(int index) {
    SetItemIndex(index);
    if (OnClick) OnClick();
}

void TRadioGroup::Realign() {
    TWinControl::Realign();
    const int n = static_cast<int>(buttons_.size());
    if (n == 0 || !group()) return;
    // Column by column, the rows sharing the height below the caption evenly.
    const QRect area = group()->contentsRect().adjusted(4, 0, -4, 0);
    const int columns = std::min(columns_, n);
    const int perColumn = (n + columns - 1) / columns;
    const int w = std::max(0, area.width() / columns);
    const int h = std::max(0, area.height() / perColumn);
    for (int i = 0; i < n; ++i) {
        buttons_[static_cast<std::size_t>(i)]->setGeometry(area.x() + (i / perColumn) * w,
                                                          area.y() + (i % perColumn) * h, w, h);
    }
}

}  // namespace tarvek
