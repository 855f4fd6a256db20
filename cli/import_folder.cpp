// import_folder.cpp: checking DIR, the temporary folder beside it, and the rename that
// puts the complete import in place. Linux: renameat2 with RENAME_EXCHANGE swaps two
// folders in one step; where the file system lacks it, two renames with a way back.
#include "cli/import_folder.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Reason(int error) { return std::strerror(error); }

// Writes every file of the file system that holds `dir` to the disk: one syncfs instead
// of a fsync per chromatogram file, so that a power loss after the rename cannot leave an
// import that looks complete with empty files. 0, or the system's error number.
int SyncFileSystemOf(const fs::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = ::syncfs(fd) == 0 ? 0 : errno;
  ::close(fd);
  return error;
}

// Makes the rename itself durable: the folder that holds the new name is synced. A
// failure here changes nothing the user can act on (the import is in place), so it is
// not reported.
void SyncFolder(const fs::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  [[maybe_unused]] const int ignored = ::fsync(fd);
  ::close(fd);
}

// The first entry under `dir` that an import does not write, with what is wrong with it;
// empty when there is none. A listing that fails is a problem too.
std::string ForeignEntry(const fs::path& dir) {
  std::error_code ec;
  fs::directory_iterator end;
  for (fs::directory_iterator it(dir, ec); !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    const std::string name = p.filename().string();
    std::error_code typeError;
    const fs::file_type type = it->symlink_status(typeError).type();
    if (name == "lortan.db" && type == fs::file_type::regular) continue;
    if (name != "chromatograms" || type != fs::file_type::directory) return p.string() + ": not written by an import";
    std::error_code inner;
    for (fs::directory_iterator file(p, inner); !inner && file != end; file.increment(inner)) {
      if (file->symlink_status(typeError).type() != fs::file_type::regular ||
          !ImportFileName(file->path().filename().string()))
        return file->path().string() + ": not written by an import";
    }
    if (inner) return p.string() + ": cannot list the folder: " + inner.message();
  }
  if (ec) return dir.string() + ": cannot list the folder: " + ec.message();
  return {};
}

// A new folder beside `target` whose name says what it is; empty with `error` set when
// none can be made.
fs::path MakeTemporary(const fs::path& target, std::string& error) {
  // The target's name is kept short enough for the longest name a folder may have.
  std::string base = target.filename().string().substr(0, 150);
  for (int n = 0; n < 1000; ++n) {
    std::string name(1, '.');
    name += base;
    name += ".import-" + std::to_string(::getpid()) + "-" + std::to_string(n);
    const fs::path path = target.parent_path() / name;
    if (::mkdir(path.c_str(), 0777) == 0) return path;
    if (errno != EEXIST) {
      error = path.string() + ": cannot create the temporary folder of the import: " + Reason(errno);
      return {};
    }
  }
  error = target.parent_path().string() + ": no free name for the temporary folder of the import";
  return {};
}

// Swaps `from` and `to` (both folders); afterwards `old` names the old content of `to`.
// Returns 0 or the system's error number, with `to` as it was (else `stranded` says
// where its old content is).
int Exchange(const fs::path& from, const fs::path& to, fs::path& old, std::string& stranded) {
  old = from;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  // No exchange on this file system: the earlier folder steps aside, and back on failure.
  old = fs::path(from.string() + "-earlier");
  if (::rename(to.c_str(), old.c_str()) != 0) return errno;
  if (::rename(from.c_str(), to.c_str()) != 0) {
    const int error = errno;
    if (::rename(old.c_str(), to.c_str()) != 0)
      stranded = "; the earlier import could not be put back and is now " + old.string() + " (" + Reason(errno) + ")";
    old.clear();
    return error;
  }
  return 0;
}

}  // namespace

bool ImportFileName(const std::string& name) {
  constexpr std::string_view head = "analysis-", tail = ".stg";
  if (name.size() <= head.size() + tail.size() || !name.starts_with(head) || !name.ends_with(tail)) return false;
  const std::string_view digits = std::string_view(name).substr(head.size(), name.size() - head.size() - tail.size());
  std::int32_t id = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
  return ec == std::errc() && end == digits.data() + digits.size() && id >= 0 && std::to_string(id) == digits;
}

std::string PrepareImportFolder(const fs::path& given, bool force, ImportFolder& folder) {
  folder = {};
  std::error_code ec;
  // Through a symbolic link the import goes where the link points.
  folder.target = fs::weakly_canonical(given, ec);
  if (ec) return given.string() + ": " + ec.message();
  if (!folder.target.has_filename() || folder.target == folder.target.root_path())
    return given.string() + ": the import needs a folder of its own, not the root";
  const fs::file_status status = fs::status(folder.target, ec);
  if (ec && status.type() != fs::file_type::not_found) return given.string() + ": " + ec.message();
  if (fs::exists(status)) {
    if (!fs::is_directory(status)) return given.string() + ": exists and is not a folder";
    const bool empty = fs::is_empty(folder.target, ec);
    if (ec) return given.string() + ": cannot list the folder: " + ec.message();
    if (!empty && !force) {
      const fs::path database = given / "lortan.db";
      return fs::exists(fs::symlink_status(database, ec))
                 ? database.string() + " exists already (--force replaces the earlier import)"
                 : given.string() + " is not empty: the import writes a new or empty folder";
    }
    if (!empty) {
      const std::string foreign = ForeignEntry(folder.target);
      if (!foreign.empty())
        return foreign + ", and an earlier import is replaced only where its folder holds nothing else";
    }
    folder.replacing = true;
  } else {
    fs::create_directories(folder.target.parent_path(), ec);
    if (ec) return folder.target.parent_path().string() + ": cannot create the folder: " + ec.message();
  }
  std::string error;
  folder.temporary = MakeTemporary(folder.target, error);
  if (folder.temporary.empty()) return error;
  if (::mkdir((folder.temporary / "chromatograms").c_str(), 0777) != 0) {
    error = (folder.temporary / "chromatograms").string() + ": cannot create the folder: " + Reason(errno);
    DiscardImportFolder(folder);
    return error;
  }
  // The folder that replaces DIR keeps DIR's permissions.
  if (folder.replacing) fs::permissions(folder.temporary, fs::status(folder.target, ec).permissions(), ec);
  return {};
}

std::string PutImportFolderInPlace(const ImportFolder& folder, std::vector<std::string>& notRemoved) {
  fs::path old;
  std::string stranded;
  int error = SyncFileSystemOf(folder.temporary);
  if (error != 0) {
    DiscardImportFolder(folder);
    return folder.temporary.string() + ": cannot write the import to the disk: " + Reason(error);
  }
  // rename(2) puts a folder over an empty one in one step; a folder with content needs
  // the exchange.
  const bool empty = !folder.replacing || [&] {
    std::error_code ec;
    return fs::is_empty(folder.target, ec) && !ec;
  }();
  if (empty) error = ::rename(folder.temporary.c_str(), folder.target.c_str()) == 0 ? 0 : errno;
  else error = Exchange(folder.temporary, folder.target, old, stranded);
  if (error != 0) {
    DiscardImportFolder(folder);
    return folder.target.string() + ": cannot put the import in place: " + Reason(error) + stranded;
  }
  SyncFolder(folder.target.parent_path().empty() ? fs::path(".") : folder.target.parent_path());
  if (!old.empty()) {
    std::error_code ec;
    fs::remove_all(old, ec);
    if (ec) notRemoved.push_back(old.string() + ": " + ec.message());
  }
  return {};
}

void DiscardImportFolder(const ImportFolder& folder) {
  if (folder.temporary.empty()) return;
  std::error_code ec;
  fs::remove_all(folder.temporary, ec);
}
