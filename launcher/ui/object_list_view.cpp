// Drag and drop and column sizing of the manager's object lists.
#include "object_list_view.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <algorithm>

#include "artwork.h"

namespace {

// The drag image sits 10 pixels right of and 14 pixels below the pointer.
const QPoint kDragImageHotSpot(-10, -14);

}  // namespace

ObjectListView::ObjectListView(Role role, const QStringList& headers, QWidget* parent)
    : QTreeWidget(parent), m_role(role) {
    setColumnCount(static_cast<int>(headers.size()));
    setHeaderLabels(headers);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
}

std::vector<int> ObjectListView::selectedRowIndices() const {
    std::vector<int> rows;
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->isSelected()) rows.push_back(i);
    return rows;
}

void ObjectListView::selectRows(const std::vector<int>& rows) {
    clearSelection();
    for (int row : rows)
        if (QTreeWidgetItem* item = topLevelItem(row)) item->setSelected(true);
    if (!rows.empty())
        if (QTreeWidgetItem* item = topLevelItem(rows.back()))
            setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
}

QMimeData* ObjectListView::rowsMimeData(const std::vector<int>& rows) const {
    QByteArray payload = m_role == Role::Available ? "available" : "selected";
    for (int row : rows) payload += " " + QByteArray::number(row);
    auto* data = new QMimeData;
    data->setData(kMimeType, payload);
    return data;
}

bool ObjectListView::decodeRows(const QMimeData* data, Role& source, std::vector<int>& rows) {
    if (!data || !data->hasFormat(kMimeType)) return false;
    QList<QByteArray> words = data->data(kMimeType).split(' ');
    if (words.isEmpty()) return false;
    if (words.front() == "available") source = Role::Available;
    else if (words.front() == "selected") source = Role::Selected;
    else return false;
    rows.clear();
    for (qsizetype i = 1; i < words.size(); ++i) {
        bool ok = false;
        int row = words[i].toInt(&ok);
        if (!ok || row < 0) return false;
        rows.push_back(row);
    }
    return !rows.empty();
}

void ObjectListView::startDrag(Qt::DropActions) {
    std::vector<int> rows = selectedRowIndices();
    if (rows.empty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(rowsMimeData(rows));
    drag->setPixmap(rows.size() == 1 ? dragImageOneRow() : dragImageManyRows());
    drag->setHotSpot(kDragImageHotSpot);
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    setDropRow(-1);
}

void ObjectListView::dragEnterEvent(QDragEnterEvent* event) {
    Role source;
    std::vector<int> rows;
    if (!decodeRows(event->mimeData(), source, rows)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void ObjectListView::dragMoveEvent(QDragMoveEvent* event) {
    Role source;
    std::vector<int> rows;
    if (!decodeRows(event->mimeData(), source, rows)) {
        event->ignore();
        return;
    }
    QModelIndex under = indexAt(event->position().toPoint());
    // Only drags that began in the available list show the drop target.
    setDropRow(source == Role::Available && under.isValid() ? under.row() : -1);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void ObjectListView::dragLeaveEvent(QDragLeaveEvent* event) {
    setDropRow(-1);
    event->accept();
}

void ObjectListView::dropEvent(QDropEvent* event) {
    setDropRow(-1);
    Role source;
    std::vector<int> rows;
    if (m_role != Role::Selected || !decodeRows(event->mimeData(), source, rows)) {
        event->ignore();  // released anywhere but over the selected list: no change
        return;
    }
    QModelIndex under = indexAt(event->position().toPoint());
    event->setDropAction(Qt::MoveAction);
    event->accept();
    emit rowsDropped(source, rows, under.isValid() ? under.row() : -1);
}

void ObjectListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (index.row() != m_dropRow) {
        QTreeWidget::drawRow(painter, option, index);
        return;
    }
    QStyleOptionViewItem highlighted = option;
    highlighted.state |= QStyle::State_Selected;
    painter->fillRect(option.rect, palette().color(QPalette::Highlight));
    QTreeWidget::drawRow(painter, highlighted, index);
}

void ObjectListView::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    sizeColumns();
}

void ObjectListView::setDropRow(int row) {
    if (row == m_dropRow) return;
    m_dropRow = row;
    viewport()->update();
}

// Columns from the client width W, leaving 16 pixels for a scroll bar: two columns of (W - 16) / 2,
// or with w = (W - 16) / 4 the widths w, w - 15, w + 15, w.
void ObjectListView::sizeColumns() {
    const int width = this->width() - 2 * frameWidth();
    if (columnCount() == 2) {
        const int half = std::max(20, (width - 16) / 2);
        setColumnWidth(0, half);
        setColumnWidth(1, half);
    } else if (columnCount() == 4) {
        const int w = std::max(40, (width - 16) / 4);
        setColumnWidth(0, w);
        setColumnWidth(1, w - 15);
        setColumnWidth(2, w + 15);
        setColumnWidth(3, w);
    }
}
