// assay_viewer.cpp: the chromatogram viewer (see assay_viewer.h).
#include "host/assay_viewer.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/sys/local_time.h"

namespace {

QString Q(const sys::Text& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

const QColor kChannelColours[] = {QColor(0x1f, 0x4e, 0x9c), QColor(0xb0, 0x30, 0x20), QColor(0x20, 0x80, 0x40),
                                  QColor(0x80, 0x40, 0xa0)};

// Minutes per sample when the duration is known, else 1 (sample numbers).
double TimeStep(const CLortanFile4& file, std::size_t samples) {
  return file.passport.duration > 0 && samples > 1 ? file.passport.duration / static_cast<double>(samples - 1) : 1.0;
}

// A tick step of 1, 2 or 5 times a power of ten giving about `count` ticks over `span`.
double NiceStep(double span, int count) {
  if (!(span > 0)) return 1;
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (raw <= m * power) return m * power;
  return 10 * power;
}

// Numbers as the module writes them: the decimal comma, no digit grouping.
QString Number(double v, char format = 'g', int precision = 6) {
  static const QLocale russian = [] {
    QLocale locale(QLocale::Russian, QLocale::Russia);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
  }();
  return russian.toString(v, format, precision);
}
// Axis labels: whole numbers written out in full rather than as 3e+06.
QString AxisNumber(double v) { return std::fabs(v) >= 1e4 ? Number(v, 'f', 0) : Number(v); }

QTableWidgetItem* Cell(const QString& text, bool number) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QTableWidget* PeakTable(const CLortanFile4& file, QWidget* parent) {
  int rows = 0;
  for (const FileChannel& c : file.channels) rows += static_cast<int>(c.peaks.size());
  auto* table = new QTableWidget(rows, 7, parent);
  table->setHorizontalHeaderLabels({QStringLiteral("Канал"), QStringLiteral("Пик"), QStringLiteral("Время, мин"),
                                    QStringLiteral("Площадь"), QStringLiteral("Высота"), QStringLiteral("Концентрация"),
                                    QStringLiteral("Границы, мин")});
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  int row = 0;
  for (const FileChannel& c : file.channels) {
    for (const FilePeak& p : c.peaks) {
      table->setItem(row, 0, Cell(QString::number(c.number + 1), true));
      table->setItem(row, 1, Cell(Q(p.name), false));
      table->setItem(row, 2, Cell(Number(p.time), true));
      table->setItem(row, 3, Cell(Number(p.area), true));
      table->setItem(row, 4, Cell(Number(p.height), true));
      table->setItem(row, 5, Cell(Number(p.concent), true));
      table->setItem(row, 6, Cell(Number(p.front) + QStringLiteral(" – ") + Number(p.back), true));
      ++row;
    }
  }
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

QString PassportLine(const CLortanFile4& file) {
  const FilePassport& p = file.passport;
  QStringList parts;
  if (!p.sample.empty()) parts << QStringLiteral("Проба: ") + Q(p.sample);
  if (p.andate > 0) parts << QStringLiteral("Анализ: ") + Q(sys::FormatLocalTime(p.andate, u"%d.%m.%Y  %H:%M"));
  if (!p.method.empty()) parts << QStringLiteral("Метод: ") + Q(p.method);
  if (!p.mixture.empty()) parts << QStringLiteral("Смесь: ") + Q(p.mixture);
  if (p.duration > 0) parts << QStringLiteral("Длительность: %1 мин").arg(Number(p.duration));
  return parts.join(QStringLiteral("   "));
}

}  // namespace

SignalPlot::SignalPlot(std::shared_ptr<const CLortanFile4> file, QWidget* parent)
    : QWidget(parent), file_(std::move(file)) {
  setMinimumHeight(160);
  setAutoFillBackground(false);
}

void SignalPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const int count = static_cast<int>(file_->channels.size());
  if (count == 0) {
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("В файле нет каналов"));
    return;
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  const int strip = height() / count;
  for (int i = 0; i < count; ++i)
    PaintChannel(painter, file_->channels[static_cast<std::size_t>(i)], QRect(0, i * strip, width(), strip), i);
}

void SignalPlot::PaintChannel(QPainter& painter, const FileChannel& channel, const QRect& area, int index) const {
  const QRect plot = area.adjusted(64, 22, -16, -26);
  if (plot.width() < 10 || plot.height() < 10) return;
  const std::vector<std::int32_t>& samples = channel.samples;
  const double step = TimeStep(*file_, samples.size());
  const double xMax = std::max(1.0, step * static_cast<double>(std::max<std::size_t>(samples.size(), 2) - 1));
  double yMin = 0, yMax = 1;
  if (!samples.empty()) {
    const auto [lo, hi] = std::minmax_element(samples.begin(), samples.end());
    yMin = *lo;
    yMax = *hi > *lo ? *hi : *lo + 1.0;
  }
  const double pad = (yMax - yMin) * 0.05;
  yMin -= pad;
  yMax += pad;
  auto px = [&](double x) { return plot.left() + (x / xMax) * plot.width(); };
  auto py = [&](double y) { return plot.bottom() - (y - yMin) / (yMax - yMin) * plot.height(); };

  painter.setPen(QColor(0x60, 0x60, 0x60));
  painter.drawRect(plot);
  const QFontMetrics metrics = painter.fontMetrics();
  const double xStep = NiceStep(xMax, 10);
  for (double x = 0; x <= xMax + 1e-9; x += xStep) {
    painter.drawLine(QPointF(px(x), plot.bottom()), QPointF(px(x), plot.bottom() + 4));
    painter.drawText(QPointF(px(x) - metrics.horizontalAdvance(Number(x)) / 2.0, plot.bottom() + 6 + metrics.ascent()),
                     Number(x));
  }
  const double yStep = NiceStep(yMax - yMin, 4);
  for (double y = std::ceil(yMin / yStep) * yStep; y <= yMax; y += yStep) {
    painter.drawLine(QPointF(plot.left() - 4, py(y)), QPointF(plot.left(), py(y)));
    const QString label = AxisNumber(y);
    painter.drawText(QPointF(plot.left() - 6 - metrics.horizontalAdvance(label), py(y) + metrics.ascent() / 2.0),
                     label);
  }
  const QColor colour = kChannelColours[static_cast<std::size_t>(index) % std::size(kChannelColours)];
  painter.setPen(colour);
  painter.drawText(
      QPointF(plot.left(), area.top() + 4 + metrics.ascent()),
      QStringLiteral("Канал %1   (%2 точек)").arg(channel.number + 1).arg(samples.size()) +
          (file_->passport.duration > 0 ? QStringLiteral(", время, мин") : QStringLiteral(", номер точки")));
  QPainterPath path;
  const std::size_t stride = std::max<std::size_t>(1, samples.size() / static_cast<std::size_t>(plot.width() * 2));
  for (std::size_t i = 0; i < samples.size(); i += stride) {
    const QPointF p(px(step * static_cast<double>(i)), py(samples[i]));
    if (i == 0)
      path.moveTo(p);
    else
      path.lineTo(p);
  }
  painter.setClipRect(plot);
  painter.drawPath(path);
  painter.setPen(QColor(0x90, 0x90, 0x90));
  // Peak names in up to three staggered rows, so that close peaks stay readable.
  double rowEnd[3] = {-1e9, -1e9, -1e9};
  for (const FilePeak& peak : channel.peaks) {
    if (file_->passport.duration <= 0) break;  // peak times are minutes; no time axis
    const double x = px(peak.time);
    const QString name = Q(peak.name);
    int row = 0;
    while (row < 2 && rowEnd[row] > x) ++row;
    rowEnd[row] = x + metrics.horizontalAdvance(name) + 6;
    const double top = plot.top() + row * metrics.height();
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, top + 8));
    painter.drawText(QPointF(x + 2, top + 8 + metrics.ascent()), name);
  }
  painter.setClipping(false);
}

AssayViewer::AssayViewer(std::shared_ptr<const CLortanFile4> file, QWidget* owner) : QWidget(owner, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  const sys::Text& path = file->passport.path;
  setWindowTitle(QStringLiteral("Хроматограмма — ") + Q(file->passport.sample.empty() ? path : file->passport.sample));
  resize(960, 720);
  auto* layout = new QVBoxLayout(this);
  auto* info = new QLabel(PassportLine(*file) + QStringLiteral("\nФайл: ") + Q(path), this);
  info->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(info);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  plot_ = new SignalPlot(file, splitter);
  peaks_ = PeakTable(*file, splitter);
  splitter->addWidget(plot_);
  splitter->addWidget(peaks_);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  layout->addWidget(splitter);
}

AssayViewer* OpenAssayViewer(const sys::Text& path, QWidget* owner, std::string& error) {
  auto file = std::make_shared<CLortanFile4>();
  if (const std::int32_t rc = file->LoadFile(path); rc != 0) {
    error = "Не удалось открыть файл хроматограммы " + sys::ToUtf8(path) + " (код " + std::to_string(rc) + ")";
    return nullptr;
  }
  auto* viewer = new AssayViewer(std::move(file), owner);
  viewer->show();
  return viewer;
}
