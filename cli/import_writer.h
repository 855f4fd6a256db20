// import_writer.h: writing checked import records as a host database with its
// chromatogram files.
//
// DIR/lortan.db gets the tables assay, peak, mixture and mixturecomp with the
// identifiers and names as given; DIR/chromatograms/analysis-<id>.stg one chromatogram
// file per analysis (its passport names the sample and the mixture, its peak tables hold
// the peaks; no signal samples). Everything is written under temporary names first and
// renamed into place only when all of it is complete (the chromatogram files, then the
// database), so a failure leaves no database and nothing half-written under a final
// name, and a database already there stays as it was.
// Costs: one transaction; one small file per analysis.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "cli/import_tables.h"

struct ImportCounts {
  std::size_t analyses = 0;
  std::size_t peaks = 0;
  std::size_t mixtures = 0;
  std::size_t components = 0;
};

// Writes `data` into `outDir` (created when missing). An existing DIR/lortan.db is
// replaced only with `force`. Returns an empty text on success, else one line that says
// what failed, with the path and the reason (SQLite's or the system's).
std::string WriteImport(const ImportData& data, const std::filesystem::path& outDir, bool force,
                        ImportCounts& counts);

// The chromatogram file of analysis `id` under `outDir`.
std::filesystem::path ChromatogramPath(const std::filesystem::path& outDir, std::int32_t id);
