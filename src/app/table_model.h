#pragma once
// Shows a TMemDataSet in a QTableView. The table stays the one source of
// truth: the model reads cells through the table's row accessors, writes edits
// through Edit / field write / Post, and refreshes when the table tells it to
// (a batch between BeginUpdate and EndUpdate refreshes once).
#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <utility>
#include <vector>

class QTableView;

namespace qv {
class TMemDataSet;
class UserPort;
}  // namespace qv

struct GridColumn {
    GridColumn(std::string fieldName, QString columnTitle = {}, bool centre = true,
               bool editableCells = true)
        : field(std::move(fieldName)),
          title(std::move(columnTitle)),
          centred(centre),
          editable(editableCells) {}
    std::string field;
    QString title;  // empty: the field's name
    bool centred;
    bool editable;  // false: shown only, even in a grid the user edits
};

class MemTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // Refusals of the table (a text that is no number, a required field left
    // empty) are shown through `port` as warnings, in the table's own words.
    MemTableModel(qv::TMemDataSet& table, std::vector<GridColumn> columns, qv::UserPort& port,
                  QObject* parent = nullptr);
    ~MemTableModel() override;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    qv::TMemDataSet& Table() const { return table_; }

    // Makes `row` the table's current record, settling a pending record as
    // moving does; false (after showing why) when the table refuses.
    bool SetCurrentRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // How many times the model has refreshed from the table (for the tests
    // that check batching).
    int Refreshes() const { return refreshes_; }

  signals:
    // The table's cursor now stands on `row` (-1: no record).
    void CurrentRowMoved(int row);

  private:
    void TableChanged();
    void Refresh();
    bool Refuse(const std::exception& error);
    bool ColumnEditable(int column) const;

    qv::TMemDataSet& table_;
    std::vector<GridColumn> columns_;
    std::vector<int> fieldIndex_;
    qv::UserPort& port_;
    int observer_ = 0;
    int rows_ = 0;
    int currentRow_ = -1;
    int refreshes_ = 0;
    bool readOnly_ = false;
    bool editing_ = false;        // inside setData / SetCurrentRow
    bool refreshQueued_ = false;  // a row count change waits for the edit to end
};

// Binds a view to the model: the grid's current row and the table's cursor
// follow each other, whole rows are selected, and cells are centred.
void BindGrid(QTableView* view, MemTableModel* model);
