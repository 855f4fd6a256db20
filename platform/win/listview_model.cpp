// listview_model.cpp: the list view's table model. Rows live in a vector; inserting at
// the end is amortised constant, in the middle linear in the rows after it.
#include "listview_model.h"

#include "win_records.h"

namespace win::detail {

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Rows(); }
int ListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Columns(); }

Qt::Alignment ListModel::CellAlignment(int column) const {
  int format = column > 0 && ValidColumn(column) ? ColumnAt(column).format & LVCFMT_JUSTIFYMASK : LVCFMT_LEFT;
  Qt::Alignment horizontal = format == LVCFMT_RIGHT ? Qt::AlignRight : format == LVCFMT_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
  return horizontal | Qt::AlignVCenter;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !ValidRow(index.row())) return {};
  if (role == Qt::DisplayRole) return Text(index.row(), index.column());
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(CellAlignment(index.column()));
  return {};
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || !ValidColumn(section)) return {};
  if (role == Qt::DisplayRole) return ColumnAt(section).text;
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(CellAlignment(section));
  return {};
}

int ListModel::InsertRow(int at, const QString& text, LPARAM param) {
  at = std::clamp(at, 0, Rows());
  beginInsertRows(QModelIndex(), at, at);
  Row row{{text}, param};
  rows_.insert(rows_.begin() + at, std::move(row));
  endInsertRows();
  return at;
}

void ListModel::RemoveRow(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

void ListModel::Clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

bool ListModel::SetText(int row, int column, const QString& text) {
  if (!ValidRow(row) || !ValidColumn(column)) return false;
  auto& texts = rows_[static_cast<std::size_t>(row)].texts;
  if (static_cast<int>(texts.size()) <= column) texts.resize(static_cast<std::size_t>(column) + 1);
  texts[static_cast<std::size_t>(column)] = text;
  return true;
}

QString ListModel::Text(int row, int column) const {
  if (!ValidRow(row)) return {};
  const auto& texts = rows_[static_cast<std::size_t>(row)].texts;
  return column >= 0 && column < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(column)] : QString();
}

int ListModel::InsertColumn(int at, const Column& column) {
  at = std::clamp(at, 0, Columns());
  beginInsertColumns(QModelIndex(), at, at);
  columns_.insert(columns_.begin() + at, column);
  for (Row& row : rows_)
    if (static_cast<int>(row.texts.size()) > at) row.texts.insert(row.texts.begin() + at, QString());
  endInsertColumns();
  return at;
}

void ListModel::RemoveColumn(int column) {
  beginRemoveColumns(QModelIndex(), column, column);
  columns_.erase(columns_.begin() + column);
  for (Row& row : rows_)
    if (static_cast<int>(row.texts.size()) > column) row.texts.erase(row.texts.begin() + column);
  endRemoveColumns();
}

}  // namespace win::detail
