// batch_selection.h: the chromatograms a batch run chooses, handed to the module through
// the chooser as a user would choose them: at most as many per "Добавить" as the module's
// buffer holds (256), so the batch presses "Добавить" again until every one was handed.
// "all" is every visible chromatogram in ascending identifier order (as vetrix-check
// loads them); a list keeps its order and leaves out what the database does not list.
#pragma once

#include <cstdint>
#include <vector>

#include "host/assay_chooser.h"

class BatchSelection {
 public:
  BatchSelection(bool all, std::vector<std::int32_t> ids) : all_(all), asked_(std::move(ids)) {}

  // The chooser answering the next part of the selection on each call; it refers to this
  // object, which must outlive it.
  AssayChooser Chooser();
  // Whether the chooser still has identifiers to hand (true before its first call).
  bool Pending() const { return !started_ || next_ < queue_.size(); }
  // How many calls the chooser answered.
  int Calls() const { return calls_; }
  // The identifiers asked for: every visible one for "all" (known after the first call).
  const std::vector<std::int32_t>& Asked() const { return all_ ? queue_ : asked_; }

 private:
  bool all_;
  std::vector<std::int32_t> asked_;
  std::vector<std::int32_t> queue_;  // what the chooser hands, in order
  std::size_t next_ = 0;
  bool started_ = false;
  int calls_ = 0;
};
