// options_test.cpp: the command line of lortan.
#include <gtest/gtest.h>

#include "host/host_options.h"

namespace {

std::optional<HostOptions> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  args.insert(args.begin(), "lortan");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::string ignored;
  return ParseHostOptions(static_cast<int>(argv.size()), argv.data(), error ? *error : ignored);
}

TEST(HostOptions, BatchLine) {
  const auto o = Parse({"--batch", "--db", "d.db", "--profile", "p.db", "--select", "3,1,2", "--export", "out",
                        "--report", "r.odt", "--report-parts", "list,graph", "--host-version", "0x040902FF"});
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->batch);
  EXPECT_EQ(o->db, "d.db");
  EXPECT_EQ(o->profile, "p.db");
  EXPECT_FALSE(o->selectAll);
  EXPECT_EQ(o->selectIds, (std::vector<std::int32_t>{3, 1, 2}));
  EXPECT_EQ(o->exportFolder, "out");
  EXPECT_EQ(o->reportFile, "r.odt");
  EXPECT_TRUE(o->reportParts.assayList && o->reportParts.graph);
  EXPECT_FALSE(o->reportParts.mixtureList || o->reportParts.mixtureInfo || o->reportParts.results);
  EXPECT_EQ(o->hostVersion, 0x040902FFu);
}

TEST(HostOptions, Defaults) {
  const auto o = Parse({});
  ASSERT_TRUE(o);
  EXPECT_FALSE(o->batch);
  EXPECT_EQ(o->hostVersion, 0x04090300u);
  const auto b = Parse({"--batch", "--db", "x", "--report", "r.odt"});
  ASSERT_TRUE(b);
  EXPECT_TRUE(b->selectAll);
  EXPECT_TRUE(b->reportParts.assayList && b->reportParts.mixtureList && b->reportParts.mixtureInfo &&
              b->reportParts.results && b->reportParts.graph);
  EXPECT_EQ(Parse({"--host-version", "67699456"})->hostVersion, 0x04090300u);
}

TEST(HostOptions, BadLinesSayWhy) {
  const std::vector<std::vector<std::string>> bad = {
      {"--batch"},          // no database
      {"--select", "all"},  // batch option without --batch
      {"--batch", "--db", "x", "--select", "1,,2"},
      {"--batch", "--db", "x", "--select", "a"},
      {"--batch", "--db", "x", "--report-parts", "list"},  // without --report
      {"--batch", "--db", "x", "--report", "r", "--report-parts", "list,pictures"},
      {"--host-version", "-1"},
      {"--host-version", "0x100000000"},
      {"--db"},
      {"--frobnicate"},
  };
  for (const auto& line : bad) {
    std::string error;
    EXPECT_FALSE(Parse(line, &error)) << line.front();
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
