// vetrix-import: peak areas and mixture certificates from CSV into a host database.
//
//   vetrix-import --areas AREAS.csv --certificates CERTS.csv --out DIR [--force]
//
// Writes DIR/lortan.db and DIR/chromatograms/, then prints what it imported. Exit code 0
// on success; 2 with the problems on standard error (every problem of each file, with
// its line and column) for bad input, a bad command line or a failed write, in which
// case no database is left in DIR.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "cli/import_run.h"

namespace {

constexpr char kImportUsage[] =
    "usage: vetrix-import --areas AREAS.csv --certificates CERTS.csv --out DIR [--force]\n";

int Fail(const std::string& line) {
  std::fprintf(stderr, "vetrix-import: %s\n", line.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
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
    std::printf("%s\n", ImportSummary(outcome).c_str());
    if (std::fflush(stdout) != 0) return Fail("cannot write the output");
    return 0;
  } catch (const std::exception& e) {
    return Fail(std::string("the import failed: ") + e.what());
  }
}
