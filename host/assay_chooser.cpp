// assay_chooser.cpp: the chromatogram chooser and its command (see assay_chooser.h).
#include "host/assay_chooser.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "data/database.h"
#include "host/window_handle.h"
#include "platform/sys/local_time.h"

namespace {

QString Q(const sys::Text& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

// Identifiers sort as numbers, not as text.
QTableWidgetItem* IdCell(std::int32_t id) {
  QTableWidgetItem* item = Cell(QString());
  item->setData(Qt::DisplayRole, id);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

std::vector<AssayChoice> VisibleAssays(const sys::Text& location) {
  std::vector<AssayChoice> assays;
  DataBase::Connection db(location);
  DataBase::Statement query;
  DataBase::prepare(db, query,
                    u"SELECT id, date, sample, mixture FROM [assay] WHERE ishidden = 0 AND isdeleted = 0 ORDER BY id;");
  DataBase::forEachRow(
      query,
      [&](std::int32_t id, std::int64_t date, sys::Text sample, sys::Text mixture) {
        assays.push_back({id, date, std::move(sample), std::move(mixture)});
      },
      DataBase::IdColumn{0});
  return assays;
}

AssayChooser PresetAssayChooser(bool all, std::vector<std::int32_t> ids) {
  return [all, ids = std::move(ids)](const std::vector<AssayChoice>& assays, int capacity,
                                     QWidget*) -> std::optional<std::vector<std::int32_t>> {
    std::vector<std::int32_t> chosen;
    if (all) {
      for (const AssayChoice& a : assays) chosen.push_back(a.id);
    } else {
      std::set<std::int32_t> listed;
      for (const AssayChoice& a : assays) listed.insert(a.id);
      for (std::int32_t id : ids)
        if (listed.count(id)) chosen.push_back(id);
    }
    if (chosen.size() > static_cast<std::size_t>(std::max(capacity, 0)))
      chosen.resize(static_cast<std::size_t>(std::max(capacity, 0)));
    return chosen;
  };
}

AssayChooser DialogAssayChooser() {
  return [](const std::vector<AssayChoice>& assays, int capacity,
            QWidget* owner) -> std::optional<std::vector<std::int32_t>> {
    AssayChooserDialog dialog(assays, capacity, owner ? owner->window() : QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.SelectedIds();
  };
}

std::int32_t RunAssayChooserCommand(void* param1, void* param2, const sys::Text& databaseLocation,
                                    const AssayChooser& choose, const FailureReporter& reportTo) {
  const auto report = [&](const std::string& text) {
    if (reportTo) reportTo(text);
  };
  auto* buffer = static_cast<AssayIdBuffer*>(param1);
  if (!buffer || !buffer->ids || buffer->capacity <= 0) return 0;
  if (databaseLocation.empty()) {
    report("База данных хоста не задана: запустите lortan с параметром --db FILE.");
    return 0;
  }
  std::vector<AssayChoice> assays;
  try {
    assays = VisibleAssays(databaseLocation);
  } catch (const DataBase::SqlException& e) {
    report("Не удалось прочитать список хроматограмм: " + std::string(e.what()) +
           "\nБаза данных: " + sys::ToUtf8(databaseLocation));
    return 0;
  }
  const std::optional<std::vector<std::int32_t>> chosen = choose(assays, buffer->capacity, WidgetFromHandle(param2));
  if (!chosen) return 0;
  const std::size_t count = std::min(chosen->size(), static_cast<std::size_t>(buffer->capacity));
  std::copy_n(chosen->begin(), count, buffer->ids);
  return static_cast<std::int32_t>(count);
}

AssayChooserDialog::AssayChooserDialog(const std::vector<AssayChoice>& assays, int capacity, QWidget* parent)
    : QDialog(parent), capacity_(capacity) {
  setWindowTitle(QStringLiteral("Выбор хроматограмм"));
  setModal(true);
  resize(720, 460);
  auto* layout = new QVBoxLayout(this);
  filter_ = new QLineEdit(this);
  filter_->setPlaceholderText(QStringLiteral("Фильтр по пробе или смеси"));
  filter_->setClearButtonEnabled(true);
  layout->addWidget(filter_);

  table_ = new QTableWidget(static_cast<int>(assays.size()), 4, this);
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("№"), QStringLiteral("Проба"), QStringLiteral("Дата и время анализа"), QStringLiteral("Смесь")});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < table_->rowCount(); ++row) {
    const AssayChoice& a = assays[static_cast<std::size_t>(row)];
    table_->setItem(row, 0, IdCell(a.id));
    table_->setItem(row, 1, Cell(Q(a.sample)));
    table_->setItem(row, 2,
                    Cell(a.date > 0 ? Q(sys::FormatLocalTime(a.date, u"%d.%m.%Y  %H:%M")) : QStringLiteral("----")));
    table_->setItem(row, 3, Cell(Q(a.mixture)));
  }
  table_->setSortingEnabled(true);
  table_->sortByColumn(0, Qt::AscendingOrder);
  table_->resizeColumnsToContents();
  table_->setColumnWidth(1, std::max(table_->columnWidth(1), 240));
  layout->addWidget(table_);

  count_ = new QLabel(this);
  layout->addWidget(count_);
  auto* buttons = new QDialogButtonBox(this);
  choose_ = buttons->addButton(QStringLiteral("Выбрать"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { UpdateState(); });
  connect(table_, &QTableWidget::itemDoubleClicked, this, [this] {
    if (choose_->isEnabled()) accept();
  });
  connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) { ApplyFilter(text); });
  UpdateState();
}

std::vector<std::int32_t> AssayChooserDialog::SelectedIds() const {
  std::vector<std::int32_t> ids;
  for (int row = 0; row < table_->rowCount(); ++row)
    if (!table_->isRowHidden(row) && table_->item(row, 0)->isSelected())
      ids.push_back(table_->item(row, 0)->data(Qt::DisplayRole).toInt());
  return ids;
}

void AssayChooserDialog::UpdateState() {
  const int chosen = static_cast<int>(SelectedIds().size());
  count_->setText(QStringLiteral("Выбрано: %1 из %2 (не более %3)").arg(chosen).arg(table_->rowCount()).arg(capacity_));
  choose_->setEnabled(chosen > 0 && chosen <= capacity_);
}

void AssayChooserDialog::ApplyFilter(const QString& text) {
  const QString needle = text.trimmed();
  for (int row = 0; row < table_->rowCount(); ++row) {
    const bool shown = needle.isEmpty() || table_->item(row, 1)->text().contains(needle, Qt::CaseInsensitive) ||
                       table_->item(row, 3)->text().contains(needle, Qt::CaseInsensitive);
    table_->setRowHidden(row, !shown);
  }
  UpdateState();
}
