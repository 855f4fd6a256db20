// zip_package.cpp: ODF packages over libzip (see zip_package.h).
#include "host/odt/zip_package.h"

#include <zip.h>

#include <algorithm>
#include <filesystem>

namespace odt {

namespace {

std::string ErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

// Reads entry `index` whole; false on a short or failed read.
bool ReadEntry(zip_t* archive, zip_uint64_t index, zip_uint64_t size, std::string& data) {
  zip_file_t* file = zip_fopen_index(archive, index, 0);
  if (!file) return false;
  data.resize(size);
  const zip_int64_t got = size ? zip_fread(file, data.data(), size) : 0;
  zip_fclose(file);
  return got == static_cast<zip_int64_t>(size);
}

// Adds one file; the data must stay alive until the archive is closed.
bool AddEntry(zip_t* archive, const PackageEntry& entry, bool stored, std::time_t mtime) {
  zip_source_t* source = zip_source_buffer(archive, entry.data.data(), entry.data.size(), 0);
  if (!source) return false;
  const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
  if (index < 0) {
    zip_source_free(source);
    return false;
  }
  const auto i = static_cast<zip_uint64_t>(index);
  return zip_set_file_compression(archive, i, stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) == 0 &&
         zip_file_set_mtime(archive, i, mtime, 0) == 0;
}

}  // namespace

std::optional<Package> ReadPackage(const std::string& path, std::string& error) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (!archive) {
    error = ErrorText(code);
    return std::nullopt;
  }
  Package package;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    const auto index = static_cast<zip_uint64_t>(i);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME) ||
        !(stat.valid & ZIP_STAT_SIZE)) {
      error = zip_strerror(archive);
      zip_discard(archive);
      return std::nullopt;
    }
    std::string name = stat.name;
    if (!name.empty() && name.back() == '/') continue;
    PackageEntry entry{std::move(name), {}};
    if (!ReadEntry(archive, index, stat.size, entry.data)) {
      error = "cannot read " + entry.name + ": " + zip_strerror(archive);
      zip_discard(archive);
      return std::nullopt;
    }
    package.push_back(std::move(entry));
  }
  zip_discard(archive);
  return package;
}

bool WritePackage(const std::string& path, const Package& package, std::time_t mtime, std::string& error) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (!archive) {
    error = ErrorText(code);
    return false;
  }
  auto fail = [&]() {
    error = zip_strerror(archive);
    zip_discard(archive);
    return false;
  };
  const PackageEntry* mimetype = FindEntry(package, "mimetype");
  if (mimetype && !AddEntry(archive, *mimetype, true, mtime)) return fail();
  for (const PackageEntry& entry : package) {
    if (&entry != mimetype && !AddEntry(archive, entry, false, mtime)) return fail();
  }
  if (zip_close(archive) != 0) {
    error = zip_strerror(archive);
    zip_discard(archive);
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
  }
  return true;
}

PackageEntry* FindEntry(Package& package, std::string_view name) {
  auto it = std::find_if(package.begin(), package.end(), [&](const PackageEntry& e) { return e.name == name; });
  return it == package.end() ? nullptr : &*it;
}

const PackageEntry* FindEntry(const Package& package, std::string_view name) {
  return FindEntry(const_cast<Package&>(package), name);
}

}  // namespace odt
