// selection.cpp: loading the chosen chromatograms as the module's window does (see
// selection.h).
#include "cli/selection.h"

#include <algorithm>

#include "data/loaders.h"

namespace {

std::vector<std::int32_t> VisibleAssayIds(DataBase::Connection& db) {
  std::vector<std::int32_t> ids;
  DataBase::Statement query;
  DataBase::prepare(db, query, u"SELECT id FROM [assay] WHERE ishidden = 0 AND isdeleted = 0 ORDER BY id;");
  DataBase::forEachRow(query, [&](std::int32_t id) { ids.push_back(id); });
  return ids;
}

bool Listed(const AssayList& assays, std::int32_t id) {
  return std::any_of(assays.begin(), assays.end(), [id](const Assay& a) { return a.id == id; });
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

  std::vector<std::int32_t> skipped;
  for (std::int32_t id : chosen)
    if (!Listed(lists.assays, id) && std::find(skipped.begin(), skipped.end(), id) == skipped.end())
      skipped.push_back(id);
  return skipped;
}

std::string SkippedLine(const std::vector<std::int32_t>& skipped) {
  std::string line = skipped.size() == 1 ? "the chosen chromatogram " : "the chosen chromatograms ";
  for (std::size_t i = 0; i < skipped.size(); ++i) line += (i ? ", " : "") + std::to_string(skipped[i]);
  return line + (skipped.size() == 1 ? " was" : " were") + " skipped: absent, hidden or deleted";
}
