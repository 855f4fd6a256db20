// selection.cpp: loading the chosen chromatograms as the module's window does (see
// selection.h).
#include "cli/selection.h"

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

std::vector<std::int32_t> ListedIds(const LoadedLists& lists) {
  std::vector<std::int32_t> ids;
  for (const Assay& assay : lists.assays) ids.push_back(assay.id);
  return ids;
}

}  // namespace

std::vector<std::int32_t> LoadSelection(DataBase::Connection& db, bool all, const std::vector<std::int32_t>& ids,
                                        LoadedLists& lists) {
  const std::vector<std::int32_t> chosen = all ? VisibleAssayIds(db) : ids;
  loadAssays(db, chosen, lists);
  SortAssays(lists.assays);
  // "Пересчитать": everything goes and is loaded again in list order.
  const std::vector<std::int32_t> listed = ListedIds(lists);
  lists.Clear();
  loadAssays(db, listed, lists);
  SortAssays(lists.assays);
  return SkippedIds(chosen, ListedIds(lists));
}
