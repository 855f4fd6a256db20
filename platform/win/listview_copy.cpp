// listview_copy.cpp: Ctrl+C in a list view — the rows as tab-separated text with the
// header, so that they paste into a spreadsheet cell by cell.
//
// The texts are the cells' own (numbers exactly as shown, decimal comma included); a tab
// or line break inside a cell becomes a blank so the table keeps its shape. Columns in the
// order shown, zero-width (hidden) ones left out. Cost: one pass over the copied cells.
#include <QClipboard>
#include <QGuiApplication>
#include <functional>
#include <vector>

#include "listview_widget.h"

namespace win::detail {
namespace {

QString Cell(QString text) {
  text.replace(u'\t', u' ');
  text.replace(u'\r', u' ');
  text.replace(u'\n', u' ');
  return text;
}

}  // namespace

QString ListViewWidget::RowsAsText() const {
  std::vector<int> columns;  // logical columns in the order shown
  for (int visual = 0; visual < model_.Columns(); ++visual) {
    const int logical = header_ ? header_->logicalIndex(visual) : visual;
    if (logical >= 0 && (!header_ || (!header_->isSectionHidden(logical) && header_->sectionSize(logical) > 0)))
      columns.push_back(logical);
  }
  std::vector<int> rows;
  for (int row = 0; row < model_.Rows(); ++row)
    if (State(row) & LVIS_SELECTED) rows.push_back(row);
  if (rows.empty())
    for (int row = 0; row < model_.Rows(); ++row) rows.push_back(row);

  QString text;
  auto line = [&](const std::function<QString(int)>& cell) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i) text += u'\t';
      text += Cell(cell(columns[i]));
    }
    text += u'\n';
  };
  line([&](int c) { return model_.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(); });
  for (int row : rows) line([&](int c) { return model_.Text(row, c); });
  return text;
}

void ListViewWidget::CopyRows() const {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(RowsAsText());
}

}  // namespace win::detail
