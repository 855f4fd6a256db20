// import_writer.h: writing checked import records as a host database with its
// chromatogram files.
//
// DIR/lortan.db gets the tables assay, peak, mixture and mixturecomp with the
// identifiers and names as given; DIR/chromatograms/analysis-<id>.stg one chromatogram
// file per analysis (its passport names the sample and the mixture, its peak tables hold
// the peaks; no signal samples). All of it is written into a temporary folder beside DIR
// that becomes DIR only when complete (import_folder.h): a failure leaves DIR as it was
// and nothing of the import behind; --force replaces an earlier import as a whole.
// Costs: one transaction; one small file per analysis.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/import_tables.h"

struct ImportCounts {
  std::size_t analyses = 0;
  std::size_t peaks = 0;
  std::size_t mixtures = 0;
  std::size_t components = 0;
  // What of a replaced earlier import could not be removed, with the system's reason.
  std::vector<std::string> notRemoved;
};

// Writes `data` as the folder `outDir` (its parents created when missing): onto a DIR
// that is missing or empty, or with `force` over one that holds an earlier import and
// nothing else. Returns an empty text on success, else one line that says what failed,
// with the path and the reason (SQLite's and the system's).
[[nodiscard]] std::string WriteImport(const ImportData& data, const std::filesystem::path& outDir, bool force,
                        ImportCounts& counts);

// The chromatogram file of analysis `id` under `outDir`.
std::filesystem::path ChromatogramPath(const std::filesystem::path& outDir, std::int32_t id);
