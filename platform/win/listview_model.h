// listview_model.h (internal): the rows and columns of a report-mode list view.
//
// A row holds one text per column (fewer when the trailing ones are empty) and its item
// data. Text changes are not announced to views: with uniform row heights nothing needs
// re-layout, and the list repaints itself; this keeps filling thousands of cells linear.
#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "win_types.h"

namespace win::detail {

class ListModel : public QAbstractTableModel {
 public:
  struct Column {
    QString text;
    int format;  // LVCFMT_*
  };

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  int Rows() const { return static_cast<int>(rows_.size()); }
  int Columns() const { return static_cast<int>(columns_.size()); }
  // Returns the row made (at clamped to 0..Rows()).
  int InsertRow(int at, const QString& text, LPARAM param);
  void RemoveRow(int row);
  void Clear();
  bool SetText(int row, int column, const QString& text);
  QString Text(int row, int column) const;
  LPARAM Param(int row) const { return rows_[static_cast<std::size_t>(row)].param; }
  void SetParam(int row, LPARAM param) { rows_[static_cast<std::size_t>(row)].param = param; }
  int InsertColumn(int at, const Column& column);
  void RemoveColumn(int column);
  Column& ColumnAt(int column) { return columns_[static_cast<std::size_t>(column)]; }
  const Column& ColumnAt(int column) const { return columns_[static_cast<std::size_t>(column)]; }
  bool ValidRow(int row) const { return row >= 0 && row < Rows(); }
  bool ValidColumn(int column) const { return column >= 0 && column < Columns(); }
  // Alignment of a cell: the column's, except column 0, which is always left-aligned.
  Qt::Alignment CellAlignment(int column) const;

 private:
  struct Row {
    std::vector<QString> texts;
    LPARAM param;
  };
  std::vector<Column> columns_;
  std::vector<Row> rows_;
};

}  // namespace win::detail
