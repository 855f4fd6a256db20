// mixture_loader.cpp: one certified mixture by name, with its components.
//
// Three connections are open at once while components load (the caller's, the mixture
// query's and the component query's); all only read.
#include "data/loaders.h"

namespace {

void LoadComponents(Mixture& mixture) {
  DataBase::Connection db(DataBaseConnectionBase::instance().location());
  DataBase::Statement query;
  DataBase::prepare(db, query, u"SELECT nameid, name, concentration, deviation FROM [mixturecomp] WHERE mixtureid = ?;");
  DataBase::bind(query, static_cast<std::uint32_t>(mixture.id));
  DataBase::forEachRow(query, [&](sys::Text nameId, sys::Text name, double concentration, double deviation) {
    mixture.components.push_back({std::move(nameId), std::move(name), concentration, deviation});
  });
}

}  // namespace

std::int32_t loadMixture(sys::TextView name, LoadedLists& lists) {
  std::int32_t result = -1;
  DataBase::Connection db(DataBaseConnectionBase::instance().location());
  DataBase::Statement query;
  DataBase::prepare(db, query, u"SELECT id, name, ballon, release, expiry FROM [mixture] WHERE name = ?;");
  DataBase::bind(query, name);
  DataBase::forEachRow(
      query,
      [&](std::int32_t id, sys::Text rowName, sys::Text ballon, std::int64_t release, std::int64_t expiry) {
        for (std::size_t i = 0; i < lists.mixtures.size(); ++i) {
          if (lists.mixtures[i]->id == id) {
            result = static_cast<std::int32_t>(i);
            return;
          }
        }
        auto mixture = std::make_unique<Mixture>();
        mixture->id = id;
        mixture->name = std::move(rowName);
        mixture->ballon = std::move(ballon);
        mixture->release = release;
        mixture->expiry = expiry;
        lists.mixtures.push_back(std::move(mixture));
        LoadComponents(*lists.mixtures.back());
        result = static_cast<std::int32_t>(lists.mixtures.size()) - 1;
      },
      DataBase::IdColumn{0});
  return result;
}

bool releaseMixtureUse(std::int32_t mixtureId, LoadedLists& lists) {
  auto& usage = lists.usage;
  for (auto it = usage.begin(); it != usage.end(); ++it) {
    if (it->mixtureId != mixtureId) continue;
    if (--it->count > 0) return false;
    usage.erase(it);
    return true;
  }
  return true;
}
