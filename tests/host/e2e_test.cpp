// e2e_test.cpp: the whole chain — the demo data, the real module loaded by lortan --batch,
// driven through its windows — against vetrix-check on the same database: the printed
// results and messages must be identical, and the workbook and the report must be written.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/odt/zip_package.h"
#include "host_test_support.h"

namespace {

TEST(EndToEnd, BatchHostPrintsWhatTheHeadlessCheckPrintsAndWritesTheDocuments) {
  TestFolder folder;
  ASSERT_EQ(RunShell(folder, std::string("'") + VETRIX_DEMO_DATA + "' --out '" + (folder / "demo") + "'").code, 0);
  const std::string db = folder / "demo/lortan.db";
  const ShellOutcome check = RunShell(folder, std::string("'") + VETRIX_CHECK + "' --db '" + db + "'");
  ASSERT_EQ(check.code, 0) << check.err;
  const ShellOutcome batch =
      RunShell(folder, std::string("env -u XDG_RUNTIME_DIR '") + LORTAN_EXECUTABLE + "' --batch --db '" + db +
                           "' --profile '" + (folder / "profile.db") + "' --select all --export '" +
                           (folder / "export") + "' --report '" + (folder / "report.odt") + "'");
  ASSERT_EQ(batch.code, 0) << batch.err;
  EXPECT_EQ(batch.out, check.out);

  bool workbook = false;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "export"))
    workbook = workbook || entry.path().extension() == ".XLSX";
  EXPECT_TRUE(workbook) << batch.err;
  std::string error;
  const auto report = odt::ReadPackage(folder / "report.odt", error);
  ASSERT_TRUE(report) << error << batch.err;
  const std::string content = odt::FindEntry(*report, "content.xml")->data;
  EXPECT_NE(content.find("ГСО-1, ввод 1"), std::string::npos);  // the chromatogram list
  EXPECT_NE(content.find("Pictures/"), std::string::npos);      // the graph, embedded
}

}  // namespace
