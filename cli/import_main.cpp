// vetrix-import: peak areas and mixture certificates from CSV into a host database.
//
//   vetrix-import --areas AREAS.csv --certificates CERTS.csv --out DIR [--force]
//
// Writes the folder DIR with lortan.db and chromatograms/ (whole or not at all; --force
// replaces an earlier import there as a whole), then prints what it imported. Exit code
// 0 on success; 2 with the problems on standard error (every problem of each file, with
// its line and column) for bad input, a bad command line or a failed write, in which
// case DIR is as it was; also 2, naming the database written, when standard output does
// not take the summary.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "cli/import_run.h"
#include "platform/sys/stdout_writer.h"

namespace {

constexpr char kImportUsage[] =
    "usage: vetrix-import --areas AREAS.csv --certificates CERTS.csv --out DIR [--force]\n";

int Fail(const std::string& line) {
  std::fprintf(stderr, "vetrix-import: %s\n", line.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  sys::ReserveStandardStreams();  // no database or chromatogram file may become descriptor 1
  ImportRequest request;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    std::string* target = a == "--areas" ? &request.areas
                          : a == "--certificates" ? &request.certificates
                          : a == "--out" ? &request.outDir
                                         : nullptr;
    if (target && i + 1 < argc) {
      *target = argv[++i];
    } else if (a == "--force") {
      request.force = true;
    } else {
      std::fprintf(stderr, "%s", kImportUsage);
      return Fail(target ? a + " needs a value" : "unknown argument: " + a);
    }
  }
  if (request.areas.empty() || request.certificates.empty() || request.outDir.empty()) {
    std::fprintf(stderr, "%s", kImportUsage);
    return Fail("--areas, --certificates and --out are required");
  }
  try {
    const ImportOutcome outcome = RunImport(request);
    if (!outcome.ok) {
      for (const std::string& line : outcome.errors) std::fprintf(stderr, "%s\n", line.c_str());
      return Fail("nothing was imported");
    }
    // The import is complete; a summary that cannot be printed is still a failure to report.
    if (std::string error; !sys::WriteStdout(ImportSummary(outcome) + "\n", error))
      return Fail(outcome.database + " is written, but its summary is not: " + error);
    return 0;
  } catch (const std::exception& e) {
    return Fail(std::string("the import failed: ") + e.what());
  }
}
