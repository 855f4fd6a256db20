// messages.h: the system messages of a check run.
//
// A fixed message table (11 entries) collects findings during a run: each entry is raised,
// optionally with items (component, detail). PublishMessages writes the raised entries, in
// table order, as texts into a MessageLog, one list per level. Each run owns its table and
// log (CalculationContext); the module copies the log into the one its system messages page
// shows. Nothing here is module-wide. Item lookup is linear and case-blind.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/sys/text.h"

enum class MessageLevel : std::int32_t { Error = 0, Warning = 1, Information = 2 };

struct MessageLog {
  std::vector<sys::Text> errors;
  std::vector<sys::Text> warnings;
  std::vector<sys::Text> infos;
  bool nothingReported = true;  // no message added since the last Clear

  void Clear();
  // Appends to the list of `level` and clears nothingReported; another level adds nothing.
  void AddMessage(MessageLevel level, sys::TextView text);
};

struct MessageItem {
  sys::Text name;    // component or curve name
  sys::Text detail;  // may be empty
};

// The entries of the table by their identifiers (the numbers messages are known by).
enum class MessageId : std::int32_t {
  MixtureCount = 0,         // the number of mixtures is not 5
  AnalysisCount = 1,        // not 5 mixtures, or too few analyses of one
  PressureMissing = 2,      // chromatograms without pressure under the pressure correction
  TemperatureMissing = 3,   // chromatograms without temperature under the temperature correction
  NotInComponentList = 4,   // a curve without component
  NotInMixtures = 5,        // a curve without fit points
  NotInAllMixtures = 6,     // a curve with fewer fit points than points
  NotInChromatograms = 7,   // a chromatogram of a mixture without the component's peak
  SplitMade = 8,            // a component was split at 0,025 mol%
  OutsideTable1 = 9,        // a concentration outside Table 1
  OutsideTable4 = 10,       // a concentration outside Table 4
};

struct MessageEntry {
  std::int32_t id = 0;
  MessageLevel level = MessageLevel::Error;
  bool raised = false;
  bool listsPairs = false;    // items written as "name, detail"
  bool listsDetails = false;  // items written by their detail alone
  sys::Text text;             // the message head
  std::vector<MessageItem> items;
};

// The 11 entries in table order (index = id), none raised.
using MessageTable = std::vector<MessageEntry>;

// A fresh table: the 11 entries, none raised, no items.
MessageTable MakeMessageTable();

// Every entry loses its raised mark and its items.
void ResetMessages(MessageTable& table);

// Raises pair entry `id` with the item (name, detail or empty). An item equal to an
// existing one (both fields compared case-blind) is not added again. Returns false for an
// unknown id, an entry that does not list pairs, or an empty name (nothing raised then).
bool RaiseMessage(MessageTable& table, std::int32_t id, sys::TextView name, std::optional<sys::TextView> detail);
inline bool RaiseMessage(MessageTable& table, MessageId id, sys::TextView name,
                         std::optional<sys::TextView> detail) {
  return RaiseMessage(table, static_cast<std::int32_t>(id), name, detail);
}

// Raises details entry `id` with an item holding `detail` alone, once per distinct
// (case-blind) detail. Returns false for an unknown id, an entry that does not list
// details, or an empty detail.
bool RaiseDetail(MessageTable& table, MessageId id, sys::TextView detail);

// Raises entry `id` without an item; an unknown id raises nothing.
void RaiseEntry(MessageTable& table, MessageId id);

// Appends every raised entry of `table`, in table order, to `log`.
void PublishMessages(const MessageTable& table, MessageLog& log);

// Appends the three lists of `from` to those of `to` (nothingReported follows).
void AppendMessages(MessageLog& to, const MessageLog& from);
