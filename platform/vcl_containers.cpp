// Our component layer: page controls, scroll boxes, paint boxes, images and string grids.
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QWheelEvent>

#include <algorithm>

#include "platform/jpeg_reader.h"
#include "platform/vcl.h"
#include "platform/vcl_private.h"

namespace tarvek {

using detail::Q;
using detail::S;
using detail::TSilent;

namespace detail {

// Tab sizes and owner-drawn tabs of a page control.
class TTabBar : public QTabBar {
public:
    TPageControl* owner = nullptr;

protected:
    QSize tabSizeHint(int index) const override {
        QSize s = QTabBar::tabSizeHint(index);
        if (owner && owner->tabHeight_ > 0) s.setHeight(owner->tabHeight_);
        if (owner && owner->tabWidth_ > 0) s.setWidth(owner->tabWidth_);
        return s;
    }

    void paintEvent(QPaintEvent* event) override {
        if (!owner || !owner->ownerDraw_ || !owner->OnDrawTab) {
            QTabBar::paintEvent(event);
            return;
        }
        // The style draws the tab shapes (the current one last, over its neighbours); the
        // handler draws what is on them.
        QStylePainter painter(this);
        const int current = currentIndex();
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < count(); ++i) {
                if ((i == current) != (pass == 1) || !isTabVisible(i)) continue;
                QStyleOptionTab option;
                initStyleOption(&option, i);
                option.text.clear();
                option.icon = QIcon();
                painter.drawControl(QStyle::CE_TabBarTabShape, option);
            }
        }
        for (int i = 0; i < count(); ++i) {
            if (!isTabVisible(i)) continue;
            painter.save();
            owner->OnDrawTab(painter, i, tabRect(i), i == current);
            painter.restore();
        }
    }
};

class TTabWidget : public QTabWidget {
public:
    TTabWidget() { setTabBar(new TTabBar); }
    TTabBar* Bar() const { return static_cast<TTabBar*>(tabBar()); }
    // The page area for the current size, as the tab widget's own layout computes it.
    QSize PageSize() const {
        QStyleOptionTabWidgetFrame option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).size();
    }
};

// Draws nothing itself and keeps its mouse events (it lets unhandled wheel events pass
// to the parent, so it cannot block propagation wholesale).
class TPaintWidget : public QWidget {
public:
    TPaintBox* owner = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        if (owner && owner->OnPaint) owner->OnPaint(painter, event->rect());
        else painter.fillRect(event->rect(), palette().window());
    }
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
};

class TImageWidget : public QWidget {
public:
    TImage* owner = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!owner || owner->Empty()) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (owner->Stretch()) painter.drawImage(rect(), owner->Picture());
        else painter.drawImage(0, 0, owner->Picture());
    }
};

// The grid's table seen by the view: data cells as items, fixed rows and columns as
// header sections.
class TGridModel : public QAbstractTableModel {
public:
    TGridModel(TStringGrid* grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}
    TStringGrid* grid_;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !grid_ ? 0 : std::max(0, grid_->RowCount() - grid_->fixedRows_);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !grid_ ? 0 : std::max(0, grid_->colCount_ - grid_->fixedCols_);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!grid_ || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
        return Q(grid_->Cells(index.column() + grid_->fixedCols_, index.row() + grid_->fixedRows_));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (!grid_) return {};
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        if (role != Qt::DisplayRole) return {};
        QStringList parts;
        if (orientation == Qt::Horizontal) {
            for (int r = 0; r < grid_->fixedRows_; ++r) parts << Q(grid_->Cells(section + grid_->fixedCols_, r));
            return parts.join(QLatin1Char('\n'));
        }
        for (int c = 0; c < grid_->fixedCols_; ++c) parts << Q(grid_->Cells(c, section + grid_->fixedRows_));
        return parts.join(QLatin1Char(' '));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (grid_ && (grid_->options_ & goEditing)) f |= Qt::ItemIsEditable;
        return f;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!grid_ || !index.isValid() || role != Qt::EditRole) return false;
        grid_->StoreUserEdit(index.column() + grid_->fixedCols_, index.row() + grid_->fixedRows_,
                             S(value.toString()));
        emit dataChanged(index, index);
        return true;
    }

    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    void BeginInsertRows(int first, int last) { beginInsertRows({}, first, last); }
    void EndInsertRows() { endInsertRows(); }
    void BeginRemoveRows(int first, int last) { beginRemoveRows({}, first, last); }
    void EndRemoveRows() { endRemoveRows(); }
    void BeginInsertColumns(int first, int last) { beginInsertColumns({}, first, last); }
    void EndInsertColumns() { endInsertColumns(); }
    void BeginRemoveColumns(int first, int last) { beginRemoveColumns({}, first, last); }
    void EndRemoveColumns() { endRemoveColumns(); }
};

// Asks OnSelectCell before the current cell moves, whatever moves it (mouse, keys).
class TGridSelection : public QItemSelectionModel {
public:
    TGridSelection(QAbstractItemModel* model, QObject* parent, TStringGrid* grid)
        : QItemSelectionModel(model, parent), grid_(grid) {}
    TStringGrid* grid_;

    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override {
        refused_ = grid_ && index != currentIndex() && !grid_->AllowSelect(index);
        if (!refused_) QItemSelectionModel::setCurrentIndex(index, command);
    }
    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command) override {
        // After a refused move the view still selects what was clicked; keep the old cell.
        if (!refused_) QItemSelectionModel::select(selection, command);
    }

private:
    bool refused_ = false;
};

// Runs the grid's mouse handlers after the view has moved the current cell, as the
// handlers expect.
class TGridView : public QTableView {
public:
    TStringGrid* grid_ = nullptr;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        QTableView::mousePressEvent(e);
        Dispatch(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QTableView::mouseReleaseEvent(e);
        Dispatch(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        QTableView::mouseDoubleClickEvent(e);
        Dispatch(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        QTableView::mouseMoveEvent(e);
        Dispatch(e);
    }

private:
    void Dispatch(QMouseEvent* e) {
        if (grid_) grid_->DispatchMouse(e, viewport()->mapTo(this, e->position().toPoint()));
        e->accept();
    }
};

}  // namespace detail

namespace {

detail::TTabWidget* TabWidgetOf(const TPageControl* pc) {
    return static_cast<detail::TTabWidget*>(pc->Tabs());
}

}  // namespace

// ---- TTabSheet, TPageControl ----------------------------------------------------------

TTabSheet::TTabSheet(TPageControl* parent)
    : TWinControl(parent, new QWidget, nullptr, true), pageControl_(parent) {
    parent->AttachPage(this);
}

TTabSheet::~TTabSheet() {
    // Without an owner the page control itself is being destroyed, tabs and all.
    if (Owner()) pageControl_->DetachPage(this);
}

void TTabSheet::SetCaption(const std::string& caption) {
    caption_ = caption;
    const int i = PageIndex();
    if (i >= 0) pageControl_->Tabs()->setTabText(i, ToQt(caption));
}

int TTabSheet::PageIndex() const {
    return pageControl_->Tabs()->indexOf(Widget());
}

void TTabSheet::SetVisible(bool visible) {
    visible_ = visible;
    const int i = PageIndex();
    if (i >= 0) pageControl_->Tabs()->setTabVisible(i, visible);
}

TPageControl::TPageControl(TWinControl* parent) : TWinControl(parent, new detail::TTabWidget) {
    TabWidgetOf(this)->Bar()->owner = this;
    QTabWidget* tabs = Tabs();
    QObject::connect(tabs, &QTabWidget::currentChanged, Context(), [this](int index) {
        if (Silent()) {
            current_ = index;
            return;
        }
        // The user switched. OnChanging must see the page being left, so go back to it
        // while the handler runs.
        const int from = current_;
        const QPointer<QWidget> alive(Widget());
        if (OnChanging) {
            {
                TSilent s(silent_);
                Tabs()->setCurrentIndex(from);
            }
            bool allow = true;
            OnChanging(allow);
            if (!alive || !allow) return;
            TSilent s(silent_);
            Tabs()->setCurrentIndex(index);
        }
        current_ = index;
        if (OnChange) OnChange();
    });
    InitBounds(289, 193);
}

TPageControl::~TPageControl() {
    TabWidgetOf(this)->Bar()->owner = nullptr;
}

QTabWidget* TPageControl::Tabs() const { return static_cast<QTabWidget*>(Widget()); }

void TPageControl::AttachPage(TTabSheet* page) {
    TSilent s(silent_);
    Tabs()->addTab(page->Widget(), QString());
    page->Widget()->resize(TabWidgetOf(this)->PageSize());
    current_ = Tabs()->currentIndex();
}

void TPageControl::DetachPage(TTabSheet* page) {
    if (destroying_) return;
    TSilent s(silent_);
    const int i = Tabs()->indexOf(page->Widget());
    if (i >= 0) Tabs()->removeTab(i);
    current_ = Tabs()->currentIndex();
}

void TPageControl::SizeChanged() {
    Realign();
    const QSize page = TabWidgetOf(this)->PageSize();
    for (int i = 0; i < PageCount(); ++i) {
        TTabSheet* sheet = Pages(i);
        sheet->Widget()->resize(page);
        sheet->Realign();
    }
}

TTabSheet* TPageControl::AddPage(const std::string& caption) {
    auto* page = new TTabSheet(this);
    page->SetCaption(caption);
    return page;
}

int TPageControl::PageCount() const { return Tabs()->count(); }

TTabSheet* TPageControl::Pages(int index) const {
    return static_cast<TTabSheet*>(FromWidget(Tabs()->widget(index)));
}

int TPageControl::ActivePageIndex() const { return Tabs()->currentIndex(); }

void TPageControl::SetActivePageIndex(int index) {
    TSilent s(silent_);
    Tabs()->setCurrentIndex(index);
}

TTabSheet* TPageControl::ActivePage() const {
    const int i = ActivePageIndex();
    return i >= 0 ? Pages(i) : nullptr;
}

void TPageControl::UserSelectTab(int index) {
    if (index < 0 || index >= PageCount() || index == ActivePageIndex()) return;
    const QPointer<QWidget> alive(Widget());
    bool allow = true;
    if (OnChanging) OnChanging(allow);
    if (!alive || !allow) return;
    SetActivePageIndex(index);
    if (OnChange) OnChange();
}

void TPageControl::TabsRelayout() {
    QTabBar* bar = Tabs()->tabBar();
    bar->setIconSize(bar->iconSize());  // makes the bar ask for its tab sizes again
    bar->updateGeometry();
    SizeChanged();
}

void TPageControl::SetTabHeight(int height) {
    tabHeight_ = std::max(0, height);
    TabsRelayout();
}

void TPageControl::SetTabWidth(int width) {
    tabWidth_ = std::max(0, width);
    TabsRelayout();
}

void TPageControl::SetOwnerDraw(bool ownerDraw) {
    ownerDraw_ = ownerDraw;
    Tabs()->tabBar()->update();
}

QRect TPageControl::TabRect(int index) const {
    const QTabBar* bar = Tabs()->tabBar();
    return bar->tabRect(index).translated(bar->mapTo(Tabs(), QPoint(0, 0)));
}

// ---- TScrollBox -----------------------------------------------------------------------

TScrollBox::TScrollBox(TWinControl* parent) : TWinControl(parent, new QScrollArea, new QWidget) {
    QScrollArea* area = Area();
    area->setWidgetResizable(false);  // the content's size is its children's extent
    area->setWidget(ClientWidget());
    ClientWidget()->show();
    WatchWidget(area->viewport());
    for (QScrollBar* bar : {area->horizontalScrollBar(), area->verticalScrollBar()}) {
        QObject::connect(bar, &QScrollBar::valueChanged, Context(), [this] {
            if (!Silent() && OnScroll) OnScroll();
        });
    }
    InitBounds(185, 41);
}

QScrollArea* TScrollBox::Area() const { return static_cast<QScrollArea*>(Widget()); }

int TScrollBox::HorzScrollPos() const { return Area()->horizontalScrollBar()->value(); }
int TScrollBox::VertScrollPos() const { return Area()->verticalScrollBar()->value(); }

void TScrollBox::SetHorzScrollPos(int pos) {
    TSilent s(silent_);
    Area()->horizontalScrollBar()->setValue(pos);
}

void TScrollBox::SetVertScrollPos(int pos) {
    TSilent s(silent_);
    Area()->verticalScrollBar()->setValue(pos);
}

void TScrollBox::SetBorderless(bool borderless) {
    Area()->setFrameStyle(borderless ? QFrame::NoFrame : (QFrame::StyledPanel | QFrame::Sunken));
}

QSize TScrollBox::ClientSize() const {
    return Area() ? Area()->viewport()->size() : QSize();
}

QRect TScrollBox::AlignRect() const {
    return QRect(QPoint(0, 0), ClientSize());
}

QWidget* TScrollBox::ResizeSource() const {
    return Area() ? Area()->viewport() : nullptr;
}

void TScrollBox::Realign() {
    TWinControl::Realign();
    UpdateExtent();
}

void TScrollBox::UpdateExtent() {
    if (destroying_ || !ClientWidget()) return;
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (!c->Visible()) continue;
        const QRect r = c->BoundsRect();
        right = std::max(right, r.x() + r.width());
        bottom = std::max(bottom, r.y() + r.height());
    }
    const QSize view = ClientSize();
    ClientWidget()->resize(std::max(view.width(), right), std::max(view.height(), bottom));
}

// ---- TPaintBox ------------------------------------------------------------------------

TPaintBox::TPaintBox(TWinControl* parent) : TControl(parent, new detail::TPaintWidget) {
    QWidget* w = Widget();
    static_cast<detail::TPaintWidget*>(w)->owner = this;
    w->setAttribute(Qt::WA_NoMousePropagation, false);  // unhandled wheel goes to the parent
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    InitBounds(105, 105);
}

TPaintBox::~TPaintBox() {
    static_cast<detail::TPaintWidget*>(Widget())->owner = nullptr;
}

void TPaintBox::Invalidate() { Widget()->update(); }
void TPaintBox::Repaint() { Widget()->repaint(); }

bool TPaintBox::HandleEvent(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || watched != Widget() || Silent())
        return TControl::HandleEvent(watched, event);
    auto* we = static_cast<QWheelEvent*>(event);
    if (!OnMouseWheel || we->angleDelta().y() == 0) return false;
    wheelRest_ += we->angleDelta().y();
    const QPoint p = we->position().toPoint();
    const TShiftState shift = ShiftStateOf(we->modifiers(), we->buttons());
    const QPointer<QWidget> alive(Widget());
    bool stepped = false, handled = false;
    while (wheelRest_ >= 120 || wheelRest_ <= -120) {
        const int step = wheelRest_ > 0 ? 120 : -120;
        wheelRest_ -= step;
        stepped = true;
        bool h = false;
        OnMouseWheel(shift, step, p.x(), p.y(), h);
        if (!alive) return true;
        handled = handled || h;
    }
    // Part of a step is kept for the next event, not passed on.
    if (stepped && !handled) return false;
    we->accept();
    return true;
}

// ---- TImage ---------------------------------------------------------------------------

TImage::TImage(TWinControl* parent) : TControl(parent, new detail::TImageWidget) {
    static_cast<detail::TImageWidget*>(Widget())->owner = this;
    InitBounds(105, 105);
}

TImage::~TImage() {
    static_cast<detail::TImageWidget*>(Widget())->owner = nullptr;
}

bool TImage::LoadFromFile(const std::string& path) {
    QImage image = ReadPictureFile(path);
    if (image.isNull()) return false;
    SetPicture(image);
    return true;
}

void TImage::SetPicture(const QImage& image) {
    picture_ = image;
    Widget()->update();
}

void TImage::Clear() {
    picture_ = QImage();
    Widget()->update();
}

void TImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    Widget()->update();
}

// ---- TStringGrid ----------------------------------------------------------------------

TStringGrid::TStringGrid(TWinControl* parent) : TControl(parent, new detail::TGridView) {
    color_ = clWindow;
    auto* view = static_cast<detail::TGridView*>(Widget());
    view->grid_ = this;
    colCount_ = 5;
    cells_.assign(5, std::vector<std::string>(5));
    colWidths_.assign(5, defaultColWidth_);
    model_ = new detail::TGridModel(this, view);
    view->setModel(model_);
    QItemSelectionModel* initial = view->selectionModel();
    selection_ = new detail::TGridSelection(model_, view, this);
    view->setSelectionModel(selection_);
    delete initial;
    QObject::connect(selection_, &QItemSelectionModel::currentChanged, Context(),
                     [this](const QModelIndex& current) { CurrentChanged(current); });
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideNone);
    view->setCornerButtonEnabled(false);
    view->viewport()->setMouseTracking(true);
    for (QHeaderView* header : {view->horizontalHeader(), view->verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setMinimumSectionSize(0);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    view->horizontalHeader()->setDefaultSectionSize(defaultColWidth_);
    view->verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    ApplyOptions();
    ApplyHeaders();
    ApplyColumns();
    ApplyCurrent();
    InitBounds(320, 120);
}

TStringGrid::~TStringGrid() {
    // The view outlives this object by a moment; let nothing of it read the table.
    static_cast<detail::TGridView*>(Widget())->grid_ = nullptr;
    model_->grid_ = nullptr;
    selection_->grid_ = nullptr;
}

QTableView* TStringGrid::View() const { return static_cast<QTableView*>(Widget()); }
QAbstractItemModel* TStringGrid::Model() const { return model_; }

void TStringGrid::SetRowCount(int n) {
    n = std::max(0, n);
    const int old = RowCount();
    if (n == old) return;
    TSilent s(silent_);
    const int fixed = std::min(fixedRows_, std::max(0, n - 1));  // at least one data row
    if (fixed != fixedRows_) {
        model_->BeginReset();
        cells_.resize(static_cast<std::size_t>(n), std::vector<std::string>(static_cast<std::size_t>(colCount_)));
        fixedRows_ = fixed;
        model_->EndReset();
    } else if (n > old) {
        model_->BeginInsertRows(old - fixedRows_, n - fixedRows_ - 1);
        cells_.resize(static_cast<std::size_t>(n), std::vector<std::string>(static_cast<std::size_t>(colCount_)));
        model_->EndInsertRows();
    } else {
        model_->BeginRemoveRows(n - fixedRows_, old - fixedRows_ - 1);
        cells_.resize(static_cast<std::size_t>(n));
        model_->EndRemoveRows();
    }
    ApplyHeaders();
    ApplyCurrent();
}

void TStringGrid::SetColCount(int n) {
    n = std::max(0, n);
    const int old = colCount_;
    if (n == old) return;
    TSilent s(silent_);
    auto resize = [&] {
        for (auto& row : cells_) row.resize(static_cast<std::size_t>(n));
        colWidths_.resize(static_cast<std::size_t>(n), defaultColWidth_);
        colCount_ = n;
    };
    const int fixed = std::min(fixedCols_, std::max(0, n - 1));
    if (fixed != fixedCols_) {
        model_->BeginReset();
        resize();
        fixedCols_ = fixed;
        model_->EndReset();
    } else if (n > old) {
        model_->BeginInsertColumns(old - fixedCols_, n - fixedCols_ - 1);
        resize();
        model_->EndInsertColumns();
    } else {
        model_->BeginRemoveColumns(n - fixedCols_, old - fixedCols_ - 1);
        resize();
        model_->EndRemoveColumns();
    }
    ApplyColumns();
    ApplyCurrent();
}

void TStringGrid::SetFixedRows(int n) {
    n = std::clamp(n, 0, std::max(0, RowCount() - 1));
    if (n == fixedRows_) return;
    TSilent s(silent_);
    model_->BeginReset();
    fixedRows_ = n;
    model_->EndReset();
    ApplyHeaders();
    ApplyColumns();
    ApplyCurrent();
}

void TStringGrid::SetFixedCols(int n) {
    n = std::clamp(n, 0, std::max(0, colCount_ - 1));
    if (n == fixedCols_) return;
    TSilent s(silent_);
    model_->BeginReset();
    fixedCols_ = n;
    model_->EndReset();
    ApplyHeaders();
    ApplyColumns();
    ApplyCurrent();
}

std::string TStringGrid::Cells(int col, int row) const {
    if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_) return {};
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
    if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_) return;
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
    if (row >= fixedRows_ && col >= fixedCols_) {
        const QModelIndex index = model_->index(row - fixedRows_, col - fixedCols_);
        emit model_->dataChanged(index, index);
    } else if (row < fixedRows_ && col >= fixedCols_) {
        emit model_->headerDataChanged(Qt::Horizontal, col - fixedCols_, col - fixedCols_);
    } else if (col < fixedCols_ && row >= fixedRows_) {
        emit model_->headerDataChanged(Qt::Vertical, row - fixedRows_, row - fixedRows_);
    }
}

void TStringGrid::SetRowCells(int row, std::span<const std::string> texts) {
    const int n = std::min(static_cast<int>(texts.size()), colCount_);
    if (row < 0 || row >= RowCount() || n == 0) return;
    // Header cells tell the view each of their own; the data cells together.
    const int firstData = row < fixedRows_ ? n : std::min(fixedCols_, n);
    for (int c = 0; c < firstData; ++c) SetCell(c, row, texts[static_cast<std::size_t>(c)]);
    if (firstData == n) return;
    std::vector<std::string>& cells = cells_[static_cast<std::size_t>(row)];
    for (int c = firstData; c < n; ++c) cells[static_cast<std::size_t>(c)] = texts[static_cast<std::size_t>(c)];
    emit model_->dataChanged(model_->index(row - fixedRows_, firstData - fixedCols_),
                             model_->index(row - fixedRows_, n - 1 - fixedCols_));
}

void TStringGrid::StoreUserEdit(int col, int row, const std::string& text) {
    if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_) return;
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
}

int TStringGrid::ColWidths(int col) const {
    if (col < 0 || col >= colCount_) return defaultColWidth_;
    return colWidths_[static_cast<std::size_t>(col)];
}

void TStringGrid::SetColWidth(int col, int width) {
    if (col < 0 || col >= colCount_) return;
    colWidths_[static_cast<std::size_t>(col)] = std::max(0, width);
    ApplyColumns();
}

void TStringGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = std::max(0, width);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    View()->horizontalHeader()->setDefaultSectionSize(defaultColWidth_);
    ApplyColumns();
}

void TStringGrid::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = std::max(1, height);
    View()->verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    ApplyHeaders();
}

void TStringGrid::ApplyColumns() {
    QTableView* view = View();
    for (int c = fixedCols_; c < colCount_; ++c) {
        const int w = colWidths_[static_cast<std::size_t>(c)];
        const int section = c - fixedCols_;
        view->setColumnHidden(section, w <= 0);
        if (w > 0) view->horizontalHeader()->resizeSection(section, w);
    }
    int fixedWidth = 0;
    for (int c = 0; c < fixedCols_; ++c) fixedWidth += colWidths_[static_cast<std::size_t>(c)];
    view->verticalHeader()->setVisible(fixedCols_ > 0);
    if (fixedCols_ > 0) view->verticalHeader()->setFixedWidth(fixedWidth);
}

void TStringGrid::ApplyHeaders() {
    QHeaderView* header = View()->horizontalHeader();
    header->setVisible(fixedRows_ > 0);
    if (fixedRows_ > 0) header->setFixedHeight(fixedRows_ * defaultRowHeight_);
}

void TStringGrid::ApplyOptions() {
    QTableView* view = View();
    view->setEditTriggers((options_ & goEditing) ? QAbstractItemView::DoubleClicked |
                                                       QAbstractItemView::EditKeyPressed |
                                                       QAbstractItemView::AnyKeyPressed
                                                 : QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior((options_ & goRowSelect) ? QAbstractItemView::SelectRows
                                                        : QAbstractItemView::SelectItems);
    view->setShowGrid((options_ & (goVertLine | goHorzLine)) != 0);
    view->setTabKeyNavigation((options_ & goTabs) != 0);
    view->horizontalHeader()->setSectionResizeMode((options_ & goColSizing) ? QHeaderView::Interactive
                                                                            : QHeaderView::Fixed);
    view->verticalHeader()->setSectionResizeMode((options_ & goRowSizing) ? QHeaderView::Interactive
                                                                          : QHeaderView::Fixed);
}

void TStringGrid::SetOptions(TGridOptions options) {
    options_ = options;
    ApplyOptions();
    ApplyCurrent();  // a whole-row selection covers the current row again
}

void TStringGrid::SetScrollBars(TScrollStyle bars) {
    const bool h = bars == ssHorizontal || bars == ssBoth;
    const bool v = bars == ssVertical || bars == ssBoth;
    View()->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    View()->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TStringGrid::SetRow(int row) {
    if (row < fixedRows_ || row >= RowCount()) return;
    row_ = row;
    ApplyCurrent();
}

void TStringGrid::SetCol(int col) {
    if (col < fixedCols_ || col >= colCount_) return;
    col_ = col;
    ApplyCurrent();
}

void TStringGrid::ApplyCurrent() {
    row_ = std::clamp(row_, fixedRows_, std::max(fixedRows_, RowCount() - 1));
    col_ = std::clamp(col_, fixedCols_, std::max(fixedCols_, colCount_ - 1));
    if (row_ >= RowCount() || col_ >= colCount_) return;  // no data cells
    TSilent s(silent_);
    QItemSelectionModel::SelectionFlags command = QItemSelectionModel::ClearAndSelect;
    if (options_ & goRowSelect) command |= QItemSelectionModel::Rows;
    selection_->setCurrentIndex(model_->index(row_ - fixedRows_, col_ - fixedCols_), command);
}

void TStringGrid::CurrentChanged(const QModelIndex& index) {
    if (!index.isValid()) return;
    row_ = index.row() + fixedRows_;
    col_ = index.column() + fixedCols_;
}

bool TStringGrid::AllowSelect(const QModelIndex& index) {
    if (Silent() || !index.isValid()) return true;
    const int col = index.column() + fixedCols_, row = index.row() + fixedRows_;
    if (col == col_ && row == row_) return true;
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(col, row, canSelect);
    return canSelect;
}

int TStringGrid::TopRow() const {
    return fixedRows_ + std::max(0, View()->rowAt(0));
}

void TStringGrid::SetTopRow(int row) {
    if (row < fixedRows_ || row >= RowCount()) return;
    View()->verticalScrollBar()->setValue(row - fixedRows_);
}

bool TStringGrid::MouseToCell(int x, int y, int& col, int& row) const {
    const QWidget* viewport = View()->viewport();
    const QPoint p = viewport->mapFrom(View(), QPoint(x, y));
    const QModelIndex index = View()->indexAt(p);
    if (!viewport->rect().contains(p) || !index.isValid()) return false;
    col = index.column() + fixedCols_;
    row = index.row() + fixedRows_;
    return true;
}

bool TStringGrid::HandleEvent(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        // Events in the cell area were dispatched by the view; one that comes by here
        // again was passed up from the viewport.
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (watched == Widget() && View()->viewport()->geometry().contains(p)) return false;
        break;
    }
    default:
        break;
    }
    return TControl::HandleEvent(watched, event);
}

}  // namespace tarvek
