// batch_profile.h: the profile a batch run works on when no --profile was named: a private
// copy of the desktop user's default profile, so that a script reads what the user set
// but never changes it (the module saves its chromatogram list and settings as it runs).
// Costs: one SQLite backup of the profile (a few kilobytes) and a temporary folder.
#pragma once

#include <filesystem>
#include <string>

class PrivateProfile {
 public:
  PrivateProfile() = default;
  ~PrivateProfile();  // removes the copy and its folder
  PrivateProfile(const PrivateProfile&) = delete;
  PrivateProfile& operator=(const PrivateProfile&) = delete;

  // Copies the store at `source` (a consistent snapshot, its write-ahead log included)
  // into a new private temporary folder; a missing source gives an empty profile there.
  // False with one line in `error` when the folder cannot be made or the source cannot be
  // read.
  [[nodiscard]] bool CopyFrom(const std::string& source, std::string& error);
  // The copy's path (UTF-8); empty before CopyFrom succeeded.
  std::string path() const { return folder_.empty() ? std::string() : (folder_ / "profile.db").string(); }

 private:
  std::filesystem::path folder_;
};
