// import_folder.h: the output folder DIR of an import, made to appear whole or not at
// all.
//
// The import writes everything (database and chromatogram files) into a temporary folder
// beside DIR, on the same file system, and only a complete folder is renamed to DIR: onto
// a DIR that does not exist or is empty, or, with --force, exchanged in one step with a
// DIR that holds an earlier import and nothing else (lortan.db and chromatograms/ with
// analysis-<id>.stg files), whose old content is then removed. A failure removes the
// temporary folder and leaves DIR as it was. A DIR that holds anything else is never
// replaced: the user's own files are not the import's to remove.
// Costs: a listing of DIR and of DIR/chromatograms; one or two renames.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ImportFolder {
  std::filesystem::path target;     // DIR, symbolic links resolved
  std::filesystem::path temporary;  // the folder the import writes into
  bool replacing = false;           // DIR exists (empty, or an earlier import with --force)
};

// Checks DIR (`target`, absolute) and makes the temporary folder beside it (and DIR's
// parent folders when missing). Returns an empty text on success, else one line with the
// path and the reason; nothing is left behind then.
[[nodiscard]] std::string PrepareImportFolder(const std::filesystem::path& target, bool force, ImportFolder& folder);

// Renames the complete temporary folder to DIR. An earlier import that could not be
// removed afterwards is named in `notRemoved` with the system's reason (the new one is
// in place all the same). Returns an empty text on success, else one line with the path
// and the reason, in which case the temporary folder is removed and DIR is as it was.
[[nodiscard]] std::string PutImportFolderInPlace(const ImportFolder& folder, std::vector<std::string>& notRemoved);

// Removes the temporary folder with all that was written into it.
void DiscardImportFolder(const ImportFolder& folder);

// Whether `name` is one the import gives a chromatogram file: "analysis-<id>.stg" with
// the identifier written as std::to_string writes an int32 that is not negative.
bool ImportFileName(const std::string& name);
