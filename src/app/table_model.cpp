#include "app/table_model.h"

#include <QEvent>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "base/user_port.h"
#include "data/memdset.h"

namespace {

// Runs an action each time the watched widget is shown.
class ShowFilter : public QObject {
  public:
    ShowFilter(QObject* parent, std::function<void()> shown)
        : QObject(parent), shown_(std::move(shown)) {}

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Show) shown_();
        return false;
    }

  private:
    std::function<void()> shown_;
};

}  // namespace

MemTableModel::MemTableModel(qv::TMemDataSet& table, std::vector<GridColumn> columns,
                             qv::UserPort& port, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)), port_(port) {
    if (columns_.empty()) {
        for (int i = 0; i < table_.FieldCount(); ++i)
            columns_.push_back({table_.FieldDefAt(i).name});
    }
    for (const GridColumn& column : columns_)
        fieldIndex_.push_back(table_.FieldIndex(column.field));
    rows_ = table_.RowCount();
    currentRow_ = table_.CurrentRow();
    observer_ = table_.AddObserver([this] { TableChanged(); });
}

MemTableModel::~MemTableModel() {
    table_.RemoveObserver(observer_);
}

void MemTableModel::SetReadOnly(bool readOnly) {
    if (readOnly_ == readOnly) return;
    readOnly_ = readOnly;
    if (rows_ > 0 && !columns_.empty()) {
        emit dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1));
    }
}

void MemTableModel::TableChanged() {
    // While an edit of ours is under way the views hold an editor on a cell;
    // a change of the row count then waits until the edit has returned.
    if (editing_ && table_.RowCount() != rows_) {
        if (!refreshQueued_) {
            refreshQueued_ = true;
            QTimer::singleShot(0, this, [this] {
                refreshQueued_ = false;
                Refresh();
            });
        }
        return;
    }
    if (!refreshQueued_) Refresh();
}

void MemTableModel::Refresh() {
    ++refreshes_;
    const int rows = table_.RowCount();
    const bool reset = rows != rows_;
    if (reset) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    } else if (rows_ > 0 && !columns_.empty()) {
        // Same rows, new contents or order: the cells are read afresh.
        emit dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1));
    }
    const int current = table_.CurrentRow();
    // After a reset the views have forgotten their current row as well.
    if (current != currentRow_ || reset) {
        currentRow_ = current;
        if (editing_) {
            // An edit that moved its record (a group renumbered): the view
            // still holds the cell editor, which it closes once the edit
            // returns. Moving the view's current cell now would close that
            // editor first, and the view would then be asked to close one it
            // no longer has. The grid follows the record after the edit.
            QTimer::singleShot(0, this, [this] { emit CurrentRowMoved(table_.CurrentRow()); });
        } else {
            emit CurrentRowMoved(current);
        }
    }
}

int MemTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int MemTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant MemTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int column = index.column();
    if (column < 0 || column >= int(columns_.size())) return {};
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(columns_[std::size_t(column)].centred
                                       ? Qt::Alignment(Qt::AlignCenter)
                                       : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const int field = fieldIndex_[std::size_t(column)];
    // A refresh may still be on its way; rows the table no longer has are empty.
    if (field < 0 || index.row() >= table_.RowCount()) return {};
    return QString::fromStdString(table_.CellText(index.row(), field));
}

QVariant MemTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= int(columns_.size())) return {};
    const GridColumn& column = columns_[std::size_t(section)];
    return column.title.isEmpty() ? QString::fromStdString(column.field) : column.title;
}

Qt::ItemFlags MemTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && !readOnly_ && ColumnEditable(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool MemTableModel::ColumnEditable(int column) const {
    return column >= 0 && column < int(columns_.size()) && columns_[std::size_t(column)].editable;
}

bool MemTableModel::Refuse(const std::exception& error) {
    port_.Warn(error.what());
    return false;
}

bool MemTableModel::SetCurrentRow(int row) {
    if (row < 0 || row >= table_.RowCount() || row == table_.CurrentRow()) return true;
    editing_ = true;
    bool moved = true;
    try {
        // Moving stores a pending record that has values, or drops an empty one.
        table_.MoveTo(row + 1);
    } catch (const qv::EMemDatasetError& error) {
        moved = Refuse(error);
    }
    editing_ = false;
    return moved;
}

bool MemTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || readOnly_) return false;
    const int column = index.column();
    if (!ColumnEditable(column) || fieldIndex_[std::size_t(column)] < 0) return false;
    const std::string& field = columns_[std::size_t(column)].field;
    const std::string text = value.toString().trimmed().toStdString();
    const int row = index.row();

    editing_ = true;
    bool stored = true;
    try {
        const bool pendingRow =
            table_.State() == qv::DataSetState::Insert && row == table_.CurrentRow();
        if (pendingRow) {
            // A new record collects its values and is stored when the user
            // moves to another row, as the grid's users expect.
            table_.SetFieldString(field, text);
        } else if (table_.HasPending()) {
            // The pending record is stored first; rows may have moved with it,
            // so the edit is not applied to a row that may now be another.
            table_.SettlePending();
            stored = false;
        } else {
            if (row != table_.CurrentRow()) table_.MoveTo(row + 1);
            table_.Edit();
            try {
                table_.SetFieldString(field, text);
                table_.Post();
            } catch (...) {
                // Nothing half-written: the record keeps its old values.
                table_.Cancel();
                throw;
            }
        }
    } catch (const qv::EMemDatasetError& error) {
        stored = Refuse(error);
    }
    editing_ = false;
    return stored;
}

void BindGrid(QTableView* view, MemTableModel* model) {
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setTabKeyNavigation(false);  // Tab leaves the grid, as in the rest of the page
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Every column as wide as its title and values, so no title is cut off;
    // the last one takes the room that is left. The first column numbers the
    // rows already, so the row header would only repeat it.
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setStretchLastSection(true);
    // Every row is one line of text, so every row takes the height of one
    // header line, set once: measured to its contents, a list of thousands
    // of groups was measured row by row at every refresh, for seconds.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->verticalHeader()->minimumSectionSize());
    view->verticalHeader()->hide();

    auto following = std::make_shared<bool>(false);
    QPointer<QTableView> guardedView(view);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, model,
                     [model, following, guardedView](const QModelIndex& current) {
                         if (*following || !current.isValid()) return;
                         if (!model->SetCurrentRow(current.row()) && guardedView) {
                             // Refused: the grid goes back to the record that
                             // is still pending, once this signal is over.
                             QTimer::singleShot(0, guardedView, [model, guardedView] {
                                 emit model->CurrentRowMoved(model->Table().CurrentRow());
                             });
                         }
                     });
    auto follow = [view, model, following](int row) {
        // A grid on a page that is not showing stays where it is: moving its
        // current row would tell a screen reader that a cell no one can see
        // has the focus. It catches up when its page is shown.
        if (!view->isVisible()) return;
        if (row < 0 || row >= model->rowCount()) return;
        QItemSelectionModel* selection = view->selectionModel();
        if (selection->currentIndex().row() == row) return;
        *following = true;
        const int column = std::max(selection->currentIndex().column(), 0);
        selection->setCurrentIndex(model->index(row, column),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        *following = false;
    };
    QObject::connect(model, &MemTableModel::CurrentRowMoved, view, follow);
    view->installEventFilter(
        new ShowFilter(view, [model, follow] { follow(model->Table().CurrentRow()); }));
}
