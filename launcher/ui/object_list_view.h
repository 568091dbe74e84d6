// ObjectListView: one of the configuration manager's two object lists (report style, whole-row,
// extended selection). It starts drags of its selected rows with the drag images, tracks the row
// under the pointer as the drop position, highlights it for drags that came from the available
// list, and reports drops; the manager decides what a drop does.
#pragma once

#include <QTreeWidget>
#include <vector>

class QMimeData;

class ObjectListView : public QTreeWidget {
    Q_OBJECT
public:
    enum class Role { Available, Selected };
    static constexpr const char* kMimeType = "application/x-celestrix-object-rows";

    ObjectListView(Role role, const QStringList& headers, QWidget* parent = nullptr);

    Role role() const { return m_role; }
    std::vector<int> selectedRowIndices() const;  // in list order
    void selectRows(const std::vector<int>& rows);
    int dropRow() const { return m_dropRow; }

    // The drag payload of the given rows of this list, as a drag carries it.
    QMimeData* rowsMimeData(const std::vector<int>& rows) const;
    // Reads a payload back: its source list and rows; false for anything else.
    static bool decodeRows(const QMimeData* data, Role& source, std::vector<int>& rows);

signals:
    // Rows of source were released over this list before row dropRow (-1: past the last row).
    void rowsDropped(ObjectListView::Role source, std::vector<int> rows, int dropRow);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setDropRow(int row);
    void sizeColumns();

    Role m_role;
    int m_dropRow = -1;  // highlighted drop target, -1 for none
};
