// batch_selection.cpp: the batch run's chooser, one buffer at a time (see
// batch_selection.h).
#include "host/batch_selection.h"

#include <algorithm>
#include <set>

AssayChooser BatchSelection::Chooser() {
  return [this](const std::vector<AssayChoice>& assays, int capacity,
                QWidget*) -> std::optional<std::vector<std::int32_t>> {
    ++calls_;
    if (!started_) {
      started_ = true;
      std::set<std::int32_t> listed;
      for (const AssayChoice& a : assays) listed.insert(a.id);
      if (all_) {
        queue_.assign(listed.begin(), listed.end());  // ascending
      } else {
        for (std::int32_t id : asked_)
          if (listed.count(id)) queue_.push_back(id);
      }
    }
    const std::size_t count = std::min(queue_.size() - next_, static_cast<std::size_t>(std::max(capacity, 0)));
    std::vector<std::int32_t> part(queue_.begin() + static_cast<std::ptrdiff_t>(next_),
                                   queue_.begin() + static_cast<std::ptrdiff_t>(next_ + count));
    next_ += count;
    return part;
  };
}
