// assay_viewer.h: "Main/OpenAssayFile" — a window showing one chromatogram file: its
// signal per detector channel (one strip per channel, each scaled to its own range, with
// the peaks marked) and its peak table.
//
// The time axis is in minutes when the passport gives the run's duration, else in sample
// numbers. Costs: the file's samples are kept by the window for painting.
#pragma once

#include <QWidget>
#include <memory>

#include "data/lortan_file.h"

class QTableWidget;

// The plot of every channel's signal.
class SignalPlot : public QWidget {
 public:
  SignalPlot(std::shared_ptr<const CLortanFile4> file, QWidget* parent);
  QSize sizeHint() const override { return {900, 200 * std::max<int>(1, static_cast<int>(file_->channels.size()))}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintChannel(class QPainter& painter, const FileChannel& channel, const QRect& area, int index) const;
  std::shared_ptr<const CLortanFile4> file_;
};

class AssayViewer : public QWidget {
 public:
  // A top-level window owned by `owner` (closing it deletes it).
  AssayViewer(std::shared_ptr<const CLortanFile4> file, QWidget* owner);
  QTableWidget* peakTable() const { return peaks_; }
  SignalPlot* plot() const { return plot_; }

 private:
  SignalPlot* plot_ = nullptr;
  QTableWidget* peaks_ = nullptr;
};

// Loads the file at `path` and opens a viewer for it. Null with the reason in `error`
// (the loader's code) when the file cannot be read.
AssayViewer* OpenAssayViewer(const sys::Text& path, QWidget* owner, std::string& error);
