// messages.h: the system messages of a check run.
//
// A fixed message table (11 entries, built once) collects findings during a run: each
// entry is raised, optionally with items (component, detail). PublishMessages writes the
// raised entries, in table order, as texts into the MessageLog, one list per level, which
// the system messages page shows. Item lookup is linear and case-blind.
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

struct MessageEntry {
  std::int32_t id = 0;
  MessageLevel level = MessageLevel::Error;
  bool raised = false;
  bool listsPairs = false;    // items written as "name, detail"
  bool listsDetails = false;  // items written by their detail alone
  sys::Text text;             // the message head
  std::vector<MessageItem> items;
};

// The module-wide system message log (shown by the system messages page).
MessageLog& SystemMessageLog();

// The module-wide message table; built on first use.
std::vector<MessageEntry>& MessageTable();

// Makes the 11 entries once per module lifetime (later calls do nothing).
void BuildMessageTable();

// Every entry loses its raised mark and its items.
void ResetMessages();

// Raises pair entry `id` with the item (name, detail or empty). An item equal to an
// existing one (both fields compared case-blind) is not added again. Returns false for an
// unknown id, an entry that does not list pairs, or an empty name.
bool RaiseMessage(std::int32_t id, sys::TextView name, std::optional<sys::TextView> detail);

// Raises details entry `id` with an item holding `detail` alone, once per distinct
// (case-blind) detail. Returns false for an unknown id, an entry that does not list
// details, or an empty detail.
bool RaiseDetail(std::int32_t id, sys::TextView detail);

// Raises entry `id` without an item.
void RaiseEntry(std::int32_t id);

// Writes every raised entry, in table order, into SystemMessageLog().
void PublishMessages();
