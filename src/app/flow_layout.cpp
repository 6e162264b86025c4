#include "app/flow_layout.h"

#include <QStyle>
#include <QWidget>
#include <algorithm>

FlowLayout::FlowLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
}

int FlowLayout::count() const {
    return int(items_.size());
}

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

Qt::Orientations FlowLayout::expandingDirections() const {
    return {};
}

bool FlowLayout::hasHeightForWidth() const {
    return true;
}

int FlowLayout::heightForWidth(int width) const {
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::sizeHint() const {
    // One line, as wide as all the items together.
    int width = 0;
    int height = 0;
    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        if (width > 0) width += HorizontalGap();
        width += item->sizeHint().width();
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

QSize FlowLayout::minimumSize() const {
    // As narrow as the widest single item.
    QSize size;
    for (QLayoutItem* item : items_) {
        if (!item->isEmpty()) size = size.expandedTo(item->minimumSize());
    }
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

// The style's spacing between controls; styles that leave it to the layout
// (a negative answer) get the general layout spacing, so that a label never
// touches the box beside it.
static int StyleGap(const QWidget* owner, Qt::Orientation orientation, int fallback) {
    if (owner == nullptr) return fallback;
    const QStyle* style = owner->style();
    int gap = style->layoutSpacing(QSizePolicy::DefaultType, QSizePolicy::DefaultType, orientation,
                                   nullptr, owner);
    if (gap < 0) {
        gap = style->pixelMetric(orientation == Qt::Horizontal ? QStyle::PM_LayoutHorizontalSpacing
                                                               : QStyle::PM_LayoutVerticalSpacing,
                                 nullptr, owner);
    }
    return gap < 0 ? fallback : gap;
}

int FlowLayout::HorizontalGap() const {
    return StyleGap(parentWidget(), Qt::Horizontal, 6);
}

int FlowLayout::VerticalGap() const {
    return StyleGap(parentWidget(), Qt::Vertical, 4);
}

int FlowLayout::Arrange(const QRect& rect, bool apply) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gapX = std::max(HorizontalGap(), 0);
    const int gapY = std::max(VerticalGap(), 0);

    // Items of one line are collected first, so that they can share the
    // line's baseline-ish middle.
    QList<QLayoutItem*> line;
    int lineWidth = 0;
    int lineHeight = 0;
    int y = area.y();
    auto flush = [&] {
        if (line.isEmpty()) return;
        int x = area.x();
        for (QLayoutItem* item : line) {
            const QSize size = item->sizeHint().boundedTo(QSize(area.width(), QWIDGETSIZE_MAX));
            if (apply) {
                const int dy = (lineHeight - size.height()) / 2;
                item->setGeometry(QRect(QPoint(x, y + dy), size));
            }
            x += size.width() + gapX;
        }
        y += lineHeight + gapY;
        line.clear();
        lineWidth = 0;
        lineHeight = 0;
    };
    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        const QSize size = item->sizeHint().boundedTo(QSize(area.width(), QWIDGETSIZE_MAX));
        const int needed = line.isEmpty() ? size.width() : lineWidth + gapX + size.width();
        if (!line.isEmpty() && needed > area.width()) flush();
        lineWidth = line.isEmpty() ? size.width() : lineWidth + gapX + size.width();
        lineHeight = std::max(lineHeight, size.height());
        line.append(item);
    }
    flush();
    const int used = y - area.y() - (y > area.y() ? gapY : 0);
    const QMargins m = contentsMargins();
    return std::max(used, 0) + m.top() + m.bottom();
}
