// selection.h: the chromatograms vetrix-check loads, in the order the module's window
// loads them, and the chosen identifiers that could not be loaded.
//
// The window adds the chosen identifiers in the order they are handed over ("all": every
// visible one, ascending) and sorts its list; "Пересчитать" then empties the lists and
// loads every listed identifier again in list order. The order decides which row a
// chromatogram gets when two mixture rows share a name, so the check repeats both steps.
// Costs: every chromatogram is loaded twice, as in the window.
#pragma once

#include <cstdint>
#include <vector>

#include "data/database.h"
#include "data/loaded_lists.h"

// Loads the chosen chromatograms (all visible ones when `all`, else `ids` in their order)
// into `lists` as "Добавить" and then "Пересчитать" leave them. Returns the chosen
// identifiers that were not loaded (absent, hidden or deleted), each once, in the order
// asked. Database failures leave as DataBase::SqlException.
std::vector<std::int32_t> LoadSelection(DataBase::Connection& db, bool all, const std::vector<std::int32_t>& ids,
                                        LoadedLists& lists);
