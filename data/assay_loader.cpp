// assay_loader.cpp: one chromatogram by identifier: its row, its peaks, its mixture.
#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>
#include <optional>

#include "data/loaders.h"
#include "data/lortan_file.h"
#include "platform/sys/locale.h"
#include "plugin/host_bridge.h"

namespace {

void LoadPeaks(DataBase::Connection& db, Assay& assay) {
  DataBase::Statement query;
  DataBase::prepare(db, query, u"SELECT nameid, name, area, time, channel FROM [peak] WHERE assayid = ? ORDER BY time;");
  DataBase::bind(query, static_cast<std::uint32_t>(assay.id));
  DataBase::forEachRow(query, [&](sys::Text nameId, sys::Text name, double area, double time, std::int32_t channel) {
    if (name.empty()) return;
    assay.peaks.push_back({std::move(nameId), std::move(name), channel, area, time});
  });
  // By channel, then retention time; stable, so equal peaks keep the query's order.
  std::stable_sort(assay.peaks.begin(), assay.peaks.end(), PeakBefore);
}

void CountUse(LoadedLists& lists, std::int32_t mixtureId) {
  for (auto& use : lists.usage) {
    if (use.mixtureId == mixtureId) {
      ++use.count;
      return;
    }
  }
  lists.usage.push_back({mixtureId, 1});
}

// Finds the mixture case-blind in the list, or loads it; counts the use.
void AttachMixture(LoadedLists& lists, std::size_t index) {
  const sys::Text name = lists.assays[index].mixtureName;
  if (name.empty()) return;
  const Mixture* mixture = nullptr;
  for (const auto& m : lists.mixtures) {
    if (sys::EqualNoCase(m->name, name)) {
      mixture = m.get();
      break;
    }
  }
  if (!mixture) {
    const std::int32_t i = loadMixture(name, lists);
    if (i >= 0) mixture = lists.mixtures[static_cast<std::size_t>(i)].get();
  }
  if (!mixture) return;
  lists.assays[index].mixture = mixture;
  CountUse(lists, mixture->id);
}

// Whether the chromatogram file loads completely. A file that cannot be read only costs
// the row its pressure and temperature; running out of memory while reading it is a
// failure of the load, named with the file.
bool ChromatogramFileReadable(const sys::Text& fileName, std::int32_t id) {
  try {
    return CLortanFile4().LoadFile(fileName) == 0;
  } catch (const std::bad_alloc&) {
    throw std::runtime_error("not enough memory to read the chromatogram file " + sys::ToUtf8(fileName) +
                             " of the chromatogram " + std::to_string(id));
  }
}

}  // namespace

std::int32_t loadAssay(DataBase::Connection& db, std::int32_t id, LoadedLists& lists) {
  std::int32_t result = -1;
  DataBase::Statement query;
  DataBase::prepare(db, query,
                    u"SELECT id, date, filename, sample, mixture, atmpressure, airtemp FROM [assay] "
                    u"WHERE ishidden = 0 AND isdeleted = 0 AND id = ?;");
  DataBase::bind(query, static_cast<std::uint32_t>(id));
  DataBase::forEachRow(
      query,
      [&](std::int32_t rowId, std::int64_t date, sys::Text fileName, sys::Text sample, sys::Text mixtureName,
          double atmPressure, std::optional<double> airTemperature) {
        for (std::size_t i = 0; i < lists.assays.size(); ++i) {
          if (lists.assays[i].id == rowId) {
            result = static_cast<std::int32_t>(i);
            return;
          }
        }
        const bool fileRead = ChromatogramFileReadable(fileName, rowId);
        Assay assay;
        assay.id = rowId;
        assay.date = date;
        assay.fileName = std::move(fileName);
        assay.sample = std::move(sample);
        assay.mixtureName = std::move(mixtureName);
        if (fileRead) {
          assay.atmPressure = atmPressure;
          assay.airTemperature = airTemperature.value_or(0.0);
        }
        assay.airTemperatureKnown = fileRead && airTemperature.has_value();
        lists.assays.push_back(std::move(assay));
        const std::size_t index = lists.assays.size() - 1;
        LoadPeaks(db, lists.assays[index]);
        result = static_cast<std::int32_t>(index);
        AttachMixture(lists, index);
      },
      DataBase::IdColumn{0});
  return result;
}

std::size_t loadAssays(const std::vector<std::int32_t>& ids, LoadedLists& lists, std::size_t* handled) {
  if (handled) *handled = 0;
  DataBase::Connection db(DataBaseConnectionBase::instance().location());
  return loadAssays(db, ids, lists, handled);
}

std::size_t loadAssays(DataBase::Connection& db, const std::vector<std::int32_t>& ids, LoadedLists& lists,
                       std::size_t* handled) {
  std::size_t done = 0;
  if (handled) *handled = 0;
  std::size_t listed = 0;
  for (std::int32_t id : ids) {
    if (loadAssay(db, id, lists) >= 0) ++listed;
    if (handled) *handled = ++done;
  }
  return listed;
}

void openAssayFilesInHost(const std::vector<std::int32_t>& ids) {
  if (!HostHasCommand("Main/OpenAssayFile") || ids.empty()) return;
  DataBase::Connection db(DataBaseConnectionBase::instance().location());
  for (std::int32_t id : ids) {
    DataBase::Statement query;
    DataBase::prepare(db, query, u"SELECT filename FROM [assay] WHERE id = ?;");
    DataBase::bind(query, static_cast<std::uint32_t>(id));
    DataBase::forEachRow(query, [&](sys::Text fileName) {
      HostExecute("Main/OpenAssayFile", nullptr, fileName.data());
    });
  }
}
