// odt_report.cpp: the ODT report operation (see odt_report.h).
#include "host/odt/odt_report.h"
#include "host/odt/report_destination.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <exception>
#include <optional>
#include <sstream>
#include <system_error>

#include "host/odt/odt_fill.h"
#include "host/odt/zip_package.h"
#include "platform/sys/text.h"

namespace odt {

namespace fs = std::filesystem;

namespace {

// A private folder under the system's temporary folder, removed with this object.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / "lortan-report-XXXXXX").string();
    if (ec) return;
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

bool ParseEntry(const Package& package, const char* name, pugi::xml_document& doc) {
  const PackageEntry* entry = FindEntry(package, name);
  return entry && doc.load_buffer(entry->data.data(), entry->data.size(),
                                  pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata);
}

std::string Serialize(const pugi::xml_document& doc) {
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
  return out.str();
}

// Writes the file's content to the disk; false with the system's reason.
bool SyncFile(const fs::path& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const bool synced = fd >= 0 && ::fsync(fd) == 0;
  if (!synced) error = path.string() + ": " + std::strerror(errno);
  if (fd >= 0) ::close(fd);
  return synced;
}

// Moves `from` to `to`, copying through a sibling of `to` when they are on different file
// systems, so that `to` is either the old file or the whole new one. The content reaches
// the disk before it takes the final name, so a power loss cannot leave an empty report
// in place of the old one.
bool Deliver(const fs::path& from, const fs::path& to, std::string& error) {
  if (!SyncFile(from, error)) return false;
  std::error_code ec;
  fs::rename(from, to, ec);
  if (!ec) return true;
  const fs::path part = to.string() + ".part";
  fs::copy_file(from, part, fs::copy_options::overwrite_existing, ec);
  if (!ec && !SyncFile(part, error)) {
    fs::remove(part, ec);
    return false;
  }
  if (!ec) fs::rename(part, to, ec);
  if (!ec) return true;
  error = ec.message();
  std::error_code ignored;
  fs::remove(part, ignored);
  return false;
}

// Fills the template package; returns 0 or the failure code, with `detail` set.
std::int32_t FillPackage(Package& package, pugi::xml_node root, std::string& detail) {
  pugi::xml_document content, manifest, meta;
  if (!FindEntry(package, "content.xml") || !FindEntry(package, "META-INF/manifest.xml")) {
    detail = "the template lacks content.xml or META-INF/manifest.xml";
    return kTemplateUnreadable;
  }
  if (!ParseEntry(package, "content.xml", content) || !ParseEntry(package, "META-INF/manifest.xml", manifest)) {
    detail = "the template's content.xml or manifest does not parse";
    return kTemplateXmlBroken;
  }
  FillResult filled = FillContent(content, root);
  if (!filled.ok) {
    detail = filled.error;
    return kBadDataDocument;
  }
  AddToManifest(manifest, filled.pictures);
  FindEntry(package, "content.xml")->data = Serialize(content);
  FindEntry(package, "META-INF/manifest.xml")->data = Serialize(manifest);
  if (PackageEntry* metaEntry = FindEntry(package, "meta.xml"); metaEntry && ParseEntry(package, "meta.xml", meta)) {
    StampMeta(meta, std::time(nullptr));
    metaEntry->data = Serialize(meta);
  }
  for (EmbeddedPicture& picture : filled.pictures) package.push_back({picture.packagePath, std::move(picture.data)});
  return kReportWritten;
}

std::int32_t Export(const pugi::xml_node* root, const OdtExportRequest* request, const fs::path& templateFolder,
                    const DestinationChooser& choose, std::string& detail) {
  const fs::path templatePath =
      request && request->templatePath ? ResolveTemplatePath(templateFolder, request->templatePath) : fs::path();
  std::error_code ec;
  if (templatePath.empty() || !fs::is_regular_file(templatePath, ec)) {
    detail = "no report template";  // appended: GCC 12 -O3 misreports "literal" + std::string
    if (!templatePath.empty()) {
      detail += ' ';
      detail += templatePath.string();
    }
    return kNoTemplate;
  }
  if (!root || !IsReportData(*root, detail)) {
    if (!root) detail = "no data document";
    return kBadDataDocument;
  }
  std::string error;
  std::optional<Package> package = ReadPackage(templatePath.string(), error);
  if (!package) {
    detail = "the template " + templatePath.string() + " cannot be read: " + error;
    return kTemplateUnreadable;
  }
  if (const std::int32_t rc = FillPackage(*package, *root, detail); rc != kReportWritten) return rc;

  TemporaryFolder temporary;
  if (temporary.path().empty()) {
    detail = std::string("no temporary folder: ") + std::strerror(errno);
    return kNoTemporaryFile;
  }
  const fs::path built = temporary.path() / "report.odt";
  if (!WritePackage(built.string(), *package, std::time(nullptr), error)) {
    detail = "the report could not be written to " + built.string() + ": " + error;
    return kTemporaryNotWritten;
  }
  const fs::path destination = choose ? choose() : fs::path();
  if (destination.empty()) {
    detail = "no destination chosen; nothing written";
    return kReportNotWanted;
  }
  const fs::path target = ReportTarget(destination, error);
  if (target.empty()) {
    detail = error;
    return kNotDelivered;
  }
  if (!Deliver(built, target, error)) {
    detail = "the report could not be written to " + target.string() + ": " + error;
    return kNotDelivered;
  }
  detail = "report written: " + target.string();
  return kReportWritten;
}

}  // namespace

fs::path ResolveTemplatePath(const fs::path& folder, std::u16string_view relative) {
  if (relative.empty()) return {};
  fs::path path = folder;
  std::size_t start = 0;
  const std::string utf8 = sys::ToUtf8(relative);
  if (utf8.front() == '/' || utf8.front() == '\\') return {};
  while (start <= utf8.size()) {
    std::size_t end = utf8.find_first_of("\\/", start);
    if (end == std::string::npos) end = utf8.size();
    const std::string part = utf8.substr(start, end - start);
    if (part == "..") return {};
    if (!part.empty() && part != ".") path /= part;
    start = end + 1;
  }
  return path == folder ? fs::path() : path;
}

std::int32_t ExportReport(const pugi::xml_node* root, const OdtExportRequest* request, const fs::path& templateFolder,
                          const DestinationChooser& choose, std::string& detail) {
  try {
    return Export(root, request, templateFolder, choose, detail);
  } catch (const std::exception& e) {
    detail = std::string("the report failed: ") + e.what();
    return kNotDelivered;
  }
}

}  // namespace odt
