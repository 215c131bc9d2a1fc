#include "flexgrid.h"

#include "layout.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace veldesk {

namespace {

// Text as stored, which may differ from what a "Symbol" cell shows.
constexpr int kStoredTextRole = Qt::UserRole + 1;
constexpr int kSymbolFontRole = Qt::UserRole + 2;
// A picture of a heading cell. Kept apart from the decoration role, which the
// standard header would shrink to a small icon at the left of the cell.
constexpr int kHeadingPictureRole = Qt::UserRole + 3;
constexpr int kHeadingPictureMargin = 2;

// Headings that show their picture at its own size, centred at the top of the
// cell, and grow to fit it.
class PictureHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        const QPixmap pic = picture(logicalIndex);
        if (pic.isNull())
            return;
        const QSize size = pic.deviceIndependentSize().toSize();
        painter->save();
        painter->setClipRect(rect);
        painter->drawPixmap(QRect(QPoint(rect.center().x() - size.width() / 2 + 1,
                                         rect.top() + kHeadingPictureMargin),
                                  size),
                            pic);
        painter->restore();
    }

    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        QSize s = QHeaderView::sectionSizeFromContents(logicalIndex);
        const QPixmap pic = picture(logicalIndex);
        if (!pic.isNull()) {
            const QSize p = pic.deviceIndependentSize().toSize();
            s = s.expandedTo(p + QSize(2 * kHeadingPictureMargin, 2 * kHeadingPictureMargin));
        }
        return s;
    }

private:
    QPixmap picture(int logicalIndex) const
    {
        if (!model())
            return QPixmap();
        return model()->headerData(logicalIndex, orientation(), kHeadingPictureRole).value<QPixmap>();
    }
};

// The current cell shows its own background (the highlight the windows give
// it) rather than the selection colour; other cells of a selected rectangle
// show the selection as usual.
class CurrentCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
        if (view && index == view->currentIndex()) {
            option->state &= ~QStyle::State_Selected;
            option->state &= ~QStyle::State_HasFocus;
        }
    }
};

} // namespace

FlexGrid::FlexGrid(QWidget* parent)
    : QTableWidget(parent)
{
    setHorizontalHeader(new PictureHeader(Qt::Horizontal, this));
    setVerticalHeader(new PictureHeader(Qt::Vertical, this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setItemDelegate(new CurrentCellDelegate(this));
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setDefaultSectionSize(18);
    setCornerButtonEnabled(false);
    m_corner = findChild<QAbstractButton*>();
    if (m_corner)
        m_corner->installEventFilter(this);
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int r, int c, int, int) { onQtCurrentChanged(r, c); });
    connect(this, &QTableWidget::itemSelectionChanged, this, [this] {
        if (m_programMove)
            return;
        if (m_keyMove)
            m_keyMoveChangedSelection = true;
        else
            emit selectionChangedByOperator();
    });
}

void FlexGrid::setRowsCols(int rows, int cols)
{
    rows = std::max(rows, 1);
    cols = std::max(cols, 1);
    setRowCount(rows - 1);
    setColumnCount(cols - 1);
    for (int c = 1; c < cols; ++c)
        if (!horizontalHeaderItem(c - 1))
            setHorizontalHeaderItem(c - 1, new QTableWidgetItem(QString()));
    for (int r = 1; r < rows; ++r)
        if (!verticalHeaderItem(r - 1))
            setVerticalHeaderItem(r - 1, new QTableWidgetItem(QString()));
    m_row = std::min(m_row, rows - 1);
    m_col = std::min(m_col, cols - 1);
}

const QTableWidgetItem* FlexGrid::cellItem(int r, int c) const
{
    if (r < 0 || c < 0 || r >= rows() || c >= cols())
        return nullptr;
    if (r == 0 && c == 0)
        return nullptr;
    if (r == 0)
        return horizontalHeaderItem(c - 1);
    if (c == 0)
        return verticalHeaderItem(r - 1);
    return item(r - 1, c - 1);
}

QTableWidgetItem* FlexGrid::cellItem(int r, int c, bool create)
{
    auto* it = const_cast<QTableWidgetItem*>(static_cast<const FlexGrid*>(this)->cellItem(r, c));
    if (it || !create || r < 0 || c < 0 || r >= rows() || c >= cols() || (r == 0 && c == 0))
        return it;
    it = new QTableWidgetItem(QString());
    if (r == 0) {
        setHorizontalHeaderItem(c - 1, it);
    } else if (c == 0) {
        setVerticalHeaderItem(r - 1, it);
    } else {
        if (m_colAlign.contains(c))
            it->setTextAlignment(m_colAlign.value(c));
        setItem(r - 1, c - 1, it);
    }
    return it;
}

QString FlexGrid::textMatrix(int r, int c) const
{
    if (r == 0 && c == 0)
        return m_cornerText;
    const QTableWidgetItem* it = cellItem(r, c);
    if (!it)
        return QString();
    const QVariant stored = it->data(kStoredTextRole);
    return stored.isValid() ? stored.toString() : it->text();
}

void FlexGrid::setTextMatrix(int r, int c, const QString& text)
{
    if (r == 0 && c == 0) {
        m_cornerText = text;
        if (m_corner)
            m_corner->update();
        return;
    }
    QTableWidgetItem* it = cellItem(r, c, true);
    if (!it)
        return;
    if (it->data(kSymbolFontRole).toBool()) {
        it->setData(kStoredTextRole, text);
        it->setText(symbolFontText(text));
    } else {
        it->setData(kStoredTextRole, QVariant());
        it->setText(text);
    }
}

void FlexGrid::setRowCol(int r, int c)
{
    if (m_extending && r == m_row && c == m_col)
        return; // the rectangle being extended from this cell stays
    m_programMove = true;
    m_row = std::clamp(r, 0, rows() - 1);
    m_col = std::clamp(c, 0, cols() - 1);
    if (m_row >= 1 && m_col >= 1) {
        QTableWidget::setCurrentCell(m_row - 1, m_col - 1, QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_selRow = m_row;
    m_selCol = m_col;
    m_programMove = false;
}

void FlexGrid::collapseSelection()
{
    setRowCol(m_row, m_col);
}

void FlexGrid::onQtCurrentChanged(int qRow, int qCol)
{
    if (m_programMove || qRow < 0 || qCol < 0)
        return;
    m_row = qRow + 1;
    m_col = qCol + 1;
    m_selRow = m_row;
    m_selCol = m_col;
}

void FlexGrid::extendSelection(int r, int c)
{
    r = std::clamp(r, 1, rows() - 1);
    c = std::clamp(c, 1, cols() - 1);
    if (r == m_selRow && c == m_selCol)
        return;
    m_selRow = r;
    m_selCol = c;
    // Qt's current index stays on the current cell; only the selection grows.
    m_programMove = true;
    selectionModel()->select(QItemSelection(model()->index(m_row - 1, m_col - 1), model()->index(r - 1, c - 1)),
                             QItemSelectionModel::ClearAndSelect);
    m_programMove = false;
    scrollTo(model()->index(r - 1, c - 1));
    m_extending = true;
    emit selectionChangedByOperator();
    m_extending = false;
}

void FlexGrid::setCellBackColor(int r, int c, const QColor& color)
{
    if (QTableWidgetItem* it = cellItem(r, c, true))
        it->setBackground(color);
}

QColor FlexGrid::cellBackColor(int r, int c) const
{
    const QTableWidgetItem* it = cellItem(r, c);
    if (!it || it->background().style() == Qt::NoBrush)
        return QColor();
    return it->background().color();
}

void FlexGrid::setCellFontName(int r, int c, const QString& family)
{
    QTableWidgetItem* it = cellItem(r, c, true);
    if (!it)
        return;
    const QString stored = textMatrix(r, c);
    if (family.compare(QStringLiteral("symbol"), Qt::CaseInsensitive) == 0) {
        it->setData(kSymbolFontRole, true);
    } else {
        it->setData(kSymbolFontRole, QVariant());
        QFont f = font();
        f.setFamily(family);
        it->setFont(f);
    }
    setTextMatrix(r, c, stored);
}

void FlexGrid::setCellPicture(int r, int c, const QPixmap& picture)
{
    QTableWidgetItem* it = cellItem(r, c, true);
    if (!it)
        return;
    if (r == 0 || c == 0) {
        it->setData(kHeadingPictureRole, picture);
        updateGeometries(); // the heading may have grown to fit the picture
    } else {
        it->setData(Qt::DecorationRole, picture);
    }
}

bool FlexGrid::hasCellPicture(int r, int c) const
{
    const QTableWidgetItem* it = cellItem(r, c);
    return it && (it->data(Qt::DecorationRole).isValid() || it->data(kHeadingPictureRole).isValid());
}

void FlexGrid::setCellAlignment(int r, int c, Qt::Alignment alignment)
{
    if (QTableWidgetItem* it = cellItem(r, c, true))
        it->setTextAlignment(alignment);
}

void FlexGrid::setColAlignment(int c, Qt::Alignment alignment)
{
    m_colAlign.insert(c, alignment);
    for (int r = 1; r < rows(); ++r)
        if (QTableWidgetItem* it = item(r - 1, c - 1))
            it->setTextAlignment(alignment);
}

void FlexGrid::setColWidthTwips(int c, int twips)
{
    const int px = pixelsOf(twips, TwipRounding::Nearest);
    if (c == 0)
        verticalHeader()->setFixedWidth(px);
    else if (c < cols())
        setColumnWidth(c - 1, px);
}

void FlexGrid::clearAll()
{
    const int r = rows();
    const int c = cols();
    clearContents();
    for (int i = 1; i < c; ++i)
        setHorizontalHeaderItem(i - 1, new QTableWidgetItem(QString()));
    for (int i = 1; i < r; ++i)
        setVerticalHeaderItem(i - 1, new QTableWidgetItem(QString()));
    m_cornerText.clear();
    if (m_corner)
        m_corner->update();
}

QString FlexGrid::clipText(int r1, int c1, int r2, int c2) const
{
    QStringList lines;
    for (int r = r1; r <= r2; ++r) {
        QStringList fields;
        for (int c = c1; c <= c2; ++c)
            fields << textMatrix(r, c);
        lines << fields.join(QChar('\t'));
    }
    return lines.join(QChar('\r'));
}

void FlexGrid::layClip(int r1, int c1, int r2, int c2, const QString& text)
{
    const QStringList lines = text.split(QChar('\r'));
    for (int i = 0; i < lines.size() && r1 + i <= r2; ++i) {
        const QStringList fields = lines.at(i).split(QChar('\t'));
        for (int j = 0; j < fields.size() && c1 + j <= c2; ++j)
            setTextMatrix(r1 + i, c1 + j, fields.at(j));
    }
}

void FlexGrid::copyInto(FlexGrid& other) const
{
    other.setFont(font());
    other.setPalette(palette());
    other.setRowsCols(rows(), cols());
    other.m_cornerText = m_cornerText;
    other.verticalHeader()->setFixedWidth(verticalHeader()->width());
    other.horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    for (int c = 1; c < cols(); ++c) {
        other.setColumnWidth(c - 1, columnWidth(c - 1));
        if (const auto* h = horizontalHeaderItem(c - 1))
            other.setHorizontalHeaderItem(c - 1, h->clone());
    }
    for (int r = 1; r < rows(); ++r) {
        other.setRowHeight(r - 1, rowHeight(r - 1));
        if (const auto* h = verticalHeaderItem(r - 1))
            other.setVerticalHeaderItem(r - 1, h->clone());
        for (int c = 1; c < cols(); ++c)
            if (const auto* it = item(r - 1, c - 1))
                other.setItem(r - 1, c - 1, it->clone());
    }
}

QImage FlexGrid::wholeImage() const
{
    FlexGrid copy;
    copyInto(copy);
    copy.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    copy.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    copy.setFrameShape(QFrame::NoFrame);
    copy.setAttribute(Qt::WA_DontShowOnScreen);
    copy.show();
    int w = copy.verticalHeader()->width();
    for (int c = 0; c < copy.columnCount(); ++c)
        w += copy.columnWidth(c);
    int h = copy.horizontalHeader()->height();
    for (int r = 0; r < copy.rowCount(); ++r)
        h += copy.rowHeight(r);
    copy.resize(w, h);
    copy.scrollToTop();
    const QImage image = copy.grab().toImage();
    copy.hide();
    return image;
}

int FlexGrid::vbKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Period: return 190;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Minus: return 189;
    default: break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey; // Qt uses the ASCII codes of the upper-case characters
    return qtKey & 0xff;
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const int key = event->key();
    m_keyPressedHere = true;
    // Ctrl with a letter yields that letter's control character (Ctrl+C is 3,
    // Ctrl+V 22) on every platform; the other keys the desktop binds to copy
    // and paste yield the same two.
    int charCode = text.isEmpty() ? 0 : text.at(0).unicode();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        charCode = key - Qt::Key_A + 1;
    else if (event->matches(QKeySequence::Copy))
        charCode = 3;
    else if (event->matches(QKeySequence::Paste))
        charCode = 22;
    // Delete produces no character; Tab moves the focus to the next control.
    const bool yieldsCharacter = charCode != 0 && key != Qt::Key_Delete && key != Qt::Key_Tab
        && key != Qt::Key_Backtab && charCode != 0x7f;
    if (yieldsCharacter) {
        emit keyTyped(charCode);
        event->accept();
        return; // a character never moves the selection nor starts a search
    }
    if (key == Qt::Key_Delete || key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        return;
    }
    if ((event->modifiers() & Qt::ShiftModifier) && m_row >= 1 && m_col >= 1) {
        const int page = std::max(1, viewport()->height() / std::max(1, rowHeight(0)) - 1);
        int r = m_selRow, c = m_selCol;
        bool extends = true;
        switch (key) {
        case Qt::Key_Up: --r; break;
        case Qt::Key_Down: ++r; break;
        case Qt::Key_Left: --c; break;
        case Qt::Key_Right: ++c; break;
        case Qt::Key_PageUp: r -= page; break;
        case Qt::Key_PageDown: r += page; break;
        case Qt::Key_Home: c = 1; break;
        case Qt::Key_End: c = cols() - 1; break;
        default: extends = false; break;
        }
        if (extends) {
            extendSelection(r, c);
            event->accept();
            return;
        }
    }
    m_keyMove = true;
    m_keyMoveChangedSelection = false;
    QTableWidget::keyPressEvent(event);
    m_keyMove = false;
    if (m_keyMoveChangedSelection)
        emit selectionChangedByOperator(); // row() and col() are the new cell now
}

void FlexGrid::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats its character but is released once.
    if (!event->isAutoRepeat() && m_keyPressedHere)
        emit keyReleased(vbKeyCode(event->key()));
    event->accept();
}

void FlexGrid::focusInEvent(QFocusEvent* event)
{
    m_keyPressedHere = false;
    QTableWidget::focusInEvent(event);
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QModelIndex at = indexAt(event->position().toPoint());
        if ((event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) && at.isValid() && m_row >= 1
            && m_col >= 1) {
            setFocus(Qt::MouseFocusReason);
            m_mouseExtending = true;
            extendSelection(at.row() + 1, at.column() + 1);
            event->accept();
            return;
        }
        QTableWidget::mousePressEvent(event);
        m_mouseExtending = at.isValid() && m_row >= 1 && m_col >= 1;
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (m_mouseExtending && (event->buttons() & Qt::LeftButton)) {
        // Dragging: the far corner follows the pointer, held inside the grid.
        const QPoint p = event->position().toPoint();
        const int lastRow = rowCount() - 1, lastCol = columnCount() - 1;
        int qr = rowAt(std::clamp(p.y(), 0, viewport()->height() - 1));
        int qc = columnAt(std::clamp(p.x(), 0, viewport()->width() - 1));
        if (qr < 0)
            qr = p.y() < 0 ? 0 : lastRow;
        if (qc < 0)
            qc = p.x() < 0 ? 0 : lastCol;
        if (p.y() < 0)
            qr = std::max(0, qr - 1);
        else if (p.y() >= viewport()->height())
            qr = std::min(lastRow, qr + 1);
        extendSelection(qr + 1, qc + 1);
        event->accept();
        return;
    }
    QTableWidget::mouseMoveEvent(event);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_mouseExtending = false;
    QTableWidget::mouseReleaseEvent(event);
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_corner && event->type() == QEvent::Paint) {
        QStylePainter painter(m_corner);
        QStyleOptionHeader opt;
        opt.initFrom(m_corner);
        // The corner button is disabled (it must not select the whole grid),
        // but its heading text reads like the other headings.
        opt.palette.setCurrentColorGroup(QPalette::Active);
        opt.state = QStyle::State_Enabled | QStyle::State_Raised;
        opt.rect = m_corner->rect();
        opt.text = m_cornerText;
        opt.textAlignment = Qt::AlignCenter;
        opt.position = QStyleOptionHeader::OnlyOneSection;
        painter.drawControl(QStyle::CE_Header, opt);
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

QString FlexGrid::symbolFontText(const QString& latin)
{
    static const char16_t upper[26] = {u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι', u'ϑ',
                                       u'Κ', u'Λ', u'Μ', u'Ν', u'Ο', u'Π', u'Θ', u'Ρ', u'Σ', u'Τ',
                                       u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ'};
    static const char16_t lower[26] = {u'α', u'β', u'χ', u'δ', u'ε', u'φ', u'γ', u'η', u'ι', u'ϕ',
                                       u'κ', u'λ', u'μ', u'ν', u'ο', u'π', u'θ', u'ρ', u'σ', u'τ',
                                       u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ'};
    QString out;
    out.reserve(latin.size());
    for (const QChar ch : latin) {
        const char16_t u = ch.unicode();
        if (u >= 'A' && u <= 'Z')
            out.append(QChar(upper[u - 'A']));
        else if (u >= 'a' && u <= 'z')
            out.append(QChar(lower[u - 'a']));
        else
            out.append(ch);
    }
    return out;
}

} // namespace veldesk
