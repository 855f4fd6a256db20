// selection.cpp: loading the chosen chromatograms as the module's window does (see
// selection.h).
#include "cli/selection.h"

#include <algorithm>

#include "data/loaders.h"
#include "data/skipped_assays.h"

namespace {

std::vector<std::int32_t> VisibleAssayIds(DataBase::Connection& db) {
  std::vector<std::int32_t> ids;
  DataBase::Statement query;
  DataBase::prepare(db, query, u"SELECT id FROM [assay] WHERE ishidden = 0 AND isdeleted = 0 ORDER BY id;");
  DataBase::forEachRow(query, [&](std::int32_t id) { ids.push_back(id); });
  return ids;
}

}  // namespace

std::vector<std::int32_t> LoadSelection(DataBase::Connection& db, bool all, const std::vector<std::int32_t>& ids,
                                        LoadedLists& lists) {
  const std::vector<std::int32_t> chosen = all ? VisibleAssayIds(db) : ids;
  loadAssays(db, chosen, lists);
  SortAssays(lists.assays);
  // "Пересчитать": everything goes and is loaded again in list order.
  std::vector<std::int32_t> listed;
  for (const Assay& assay : lists.assays) listed.push_back(assay.id);
  lists.Clear();
  loadAssays(db, listed, lists);
  SortAssays(lists.assays);

  listed.clear();
  for (const Assay& assay : lists.assays) listed.push_back(assay.id);
  return SkippedIds(chosen, listed);
}
