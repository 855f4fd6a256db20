// file_commit.h: a file written under a temporary name in its own folder and put in place
// under its final name only when complete, never replacing a file that is already there.
//
// A full disk, a failed write or a kill while writing therefore never leaves a cut file
// under the final name (a kill can leave the hidden temporary one), and two files wanted
// under one name (two exports within the same second) both survive. Costs: one fsync of
// the finished file and one rename.
#pragma once

#include <string>

// Creates an empty temporary file (".<stem>.<pid>-<n>.part") in the folder of `finalPath`
// and stores its path in `temporaryPath`. False with "<OS reason>: <folder>" in `error`
// when the folder cannot take a file (missing, not writable, full).
[[nodiscard]] bool CreateTemporaryBeside(const std::string& finalPath, std::string& temporaryPath, std::string& error);

// Flushes `temporaryPath` to disk and renames it to `finalPath`, or, when that name is
// taken, to the first free of "<stem>_2<ext>", "<stem>_3<ext>", ...; `placedPath`
// receives the name used. False with "<OS reason>: <path>" in `error`; the temporary
// file is removed on failure.
[[nodiscard]] bool CommitWithoutReplacing(const std::string& temporaryPath, const std::string& finalPath,
                            std::string& placedPath, std::string& error);

// The path with "_<n>" before its extension ("a/b.XLSX", 2 → "a/b_2.XLSX"); n ≤ 1 gives it
// unchanged.
std::string NumberedPath(const std::string& path, int n);
