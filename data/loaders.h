// loaders.h: loading chromatograms and their certified mixtures from the host database.
//
// Each loader appends to LoadedLists and never rereads what is already listed (by id).
// A chromatogram file is opened only to decide whether the pressure and temperature of
// its row are taken. SQLite failures throw DataBase::SqlException; records appended before
// the failure stay listed.
#pragma once

#include <cstdint>
#include <vector>

#include "data/database.h"
#include "data/loaded_lists.h"

// Loads chromatogram `id` (visible rows only) with its peaks, and the mixture it names.
// Returns its index in lists.assays (the existing index when already listed), or -1 when
// no visible row has that id. An unreadable chromatogram file only leaves pressure and
// temperature at 0; running out of memory while reading it throws std::runtime_error
// naming the file. Database failures throw DataBase::SqlException.
std::int32_t loadAssay(DataBase::Connection& connection, std::int32_t id, LoadedLists& lists = Loaded());

// Loads the mixtures named `name` (the column's collation decides the match) with their
// components, each through connections of its own. Returns the index of the last matching
// row in lists.mixtures, or -1 when none matches.
std::int32_t loadMixture(sys::TextView name, LoadedLists& lists = Loaded());

// Counts one use of mixture `mixtureId` less. True when no loaded chromatogram uses it any
// more (also when it was not counted at all): the caller then deletes the mixture.
bool releaseMixtureUse(std::int32_t mixtureId, LoadedLists& lists = Loaded());

// Sends the files of the chromatograms `ids` to the host ("Main/OpenAssayFile"), in the
// given order; nothing happens without that command or without ids.
void openAssayFilesInHost(const std::vector<std::int32_t>& ids);

// Loads the chromatograms `ids` in order on one connection to the database location;
// returns how many were listed (ids already listed count, ids without a visible row do
// not). The one way the module, vetrix-check and the benchmarks load a choice of ids.
// `handled` (optional) counts the ids dealt with so far, so that after a throw the caller
// knows that ids[*handled] and those after it were not read.
std::size_t loadAssays(const std::vector<std::int32_t>& ids, LoadedLists& lists = Loaded(),
                       std::size_t* handled = nullptr);
// The same on an open connection.
std::size_t loadAssays(DataBase::Connection& connection, const std::vector<std::int32_t>& ids, LoadedLists& lists,
                       std::size_t* handled = nullptr);
