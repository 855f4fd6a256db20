// lortan-odt-pack: builds an ODT template package from its XML sources at build time.
//
//   lortan-odt-pack OUT.odt content.xml styles.xml meta.xml manifest.xml
//
// Every source must be well-formed XML and the manifest must list each file of the
// package, so a broken template fails the build instead of a user's report. The package
// gets "mimetype" first and stored, and a fixed date, so the output depends on the
// sources only. Exit code 0 on success, 1 with one line on standard error otherwise.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#include <string>

#include "host/odt/zip_package.h"

namespace {

int Fail(const std::string& line) {
  std::fprintf(stderr, "lortan-odt-pack: %s\n", line.c_str());
  return 1;
}

bool ReadSource(const char* path, std::string& data, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  data = buffer.str();
  if (!in) {
    error = std::string("cannot read ") + path;
    return false;
  }
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(data.data(), data.size());
  if (!parsed) {
    error = std::string(path) + ": " + parsed.description() + " at byte " + std::to_string(parsed.offset);
    return false;
  }
  return true;
}

// The manifest's full paths must cover every file but the mimetype and the manifest.
bool ManifestComplete(const odt::Package& package, std::string& error) {
  pugi::xml_document manifest;
  const odt::PackageEntry* entry = odt::FindEntry(package, "META-INF/manifest.xml");
  manifest.load_buffer(entry->data.data(), entry->data.size());
  std::set<std::string> listed;
  for (pugi::xml_node e : manifest.child("manifest:manifest").children("manifest:file-entry"))
    listed.insert(e.attribute("manifest:full-path").value());
  for (const odt::PackageEntry& file : package) {
    if (file.name == "mimetype" || file.name == "META-INF/manifest.xml" || listed.count(file.name)) continue;
    error = "the manifest does not list " + file.name;
    return false;
  }
  if (!listed.count("/")) {
    error = "the manifest lacks the entry of the package itself (\"/\")";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) return Fail("usage: lortan-odt-pack OUT.odt content.xml styles.xml meta.xml manifest.xml");
  const char* names[] = {"content.xml", "styles.xml", "meta.xml", "META-INF/manifest.xml"};
  odt::Package package{{"mimetype", odt::kOdtMimeType}};
  std::string error;
  for (int i = 0; i < 4; ++i) {
    odt::PackageEntry entry{names[i], {}};
    if (!ReadSource(argv[i + 2], entry.data, error)) return Fail(error);
    package.push_back(std::move(entry));
  }
  if (!ManifestComplete(package, error)) return Fail(error);
  constexpr std::time_t kFixedDate = 1704067200;  // 2024-01-01 00:00 UTC
  if (!odt::WritePackage(argv[1], package, kFixedDate, error)) return Fail(std::string(argv[1]) + ": " + error);
  return 0;
}
