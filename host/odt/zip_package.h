// zip_package.h: an ODF package as a list of named files, read from and written to a zip
// archive with libzip.
//
// Assumes: packages are small (templates and reports of a few hundred kilobytes), so every
// file is held in memory. Writing puts "mimetype" first and stores it uncompressed, as the
// ODF package format requires for the type to be readable at a fixed offset; every other
// file is deflated. Costs: one pass over the archive each way.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace odt {

struct PackageEntry {
  std::string name;  // path inside the package, '/' between folders
  std::string data;  // the file's bytes
};
using Package = std::vector<PackageEntry>;

inline constexpr char kOdtMimeType[] = "application/vnd.oasis.opendocument.text";

// Every file of the zip archive at `path` (UTF-8), in archive order; folder entries are
// left out. nullopt when the archive cannot be opened or a file cannot be read; `error`
// then holds libzip's text.
[[nodiscard]] std::optional<Package> ReadPackage(const std::string& path, std::string& error);

// Writes `package` to a new archive at `path`, replacing a file there: "mimetype" first and
// stored, then the other files in order, deflated, each dated `mtime`. False with libzip's
// text in `error` when the archive cannot be created or closed; no partial archive stays.
[[nodiscard]] bool WritePackage(const std::string& path, const Package& package, std::time_t mtime, std::string& error);

// The entry named `name`, or null.
PackageEntry* FindEntry(Package& package, std::string_view name);
const PackageEntry* FindEntry(const Package& package, std::string_view name);

}  // namespace odt
