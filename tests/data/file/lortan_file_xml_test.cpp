// lortan_file_xml_test.cpp: how the XML part of a chromatogram file is read.
//
// Each case writes a real file: the binary part from lortan_test::Container, then a
// hand-written document, and loads it with LoadFile.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "data/lortan_file.h"
#include "lortan_file_support.h"
#include "platform/sys/locale.h"

using namespace lortan_test;

namespace {

const std::vector<TestChunk> kTwoChunks = {{0, {10, 11}}, {3, {30, 31}}};

std::string Document(const std::string& passport, const std::string& channels = "") {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><root version=\"1\"><passport version=\"1\">" +
         passport + "</passport><channels version=\"1\">" + channels + "</channels></root>";
}

// One channel element for chunk 0 whose table holds the given items.
std::string Items(const std::string& items) {
  return "<channel><number value=\"0\"/><table>" + items + "</table></channel>";
}

class XmlReading : public ::testing::Test {
 protected:
  // Writes the container with xml and loads it into file; returns LoadFile's code.
  std::int32_t Load(CLortanFile4& file, const std::string& xml,
                    const std::vector<TestChunk>& chunks = kTwoChunks) {
    const auto path = folder_ / ("f" + std::to_string(++count_) + ".stg");
    WriteBytes(path, Container(chunks, xml));
    return file.LoadFile(TextPath(path));
  }
  // Loads items into chunk 0 and returns its peaks (empty on a failed load).
  std::vector<FilePeak> LoadItems(const std::string& items) {
    CLortanFile4 file;
    if (Load(file, Document("", Items(items))) != 0) return {};
    return file.channels.at(0).peaks;
  }

 private:
  TempFolder folder_;
  int count_ = 0;
};

TEST_F(XmlReading, PassportChildrenDispatchOnTheirExactName) {
  CLortanFile4 file;
  ASSERT_EQ(Load(file, Document(
                           "<assayid value=\"A\"/><series value=\"s1\"/><series value=\"s2\"/>"
                           "<Series title=\"T\" value=\"big\"/><andate value=\" -0x10\"/>"
                           "<duration value=\"2.5e1xyz\"/><sample/><method value=\"М\"/>"
                           "<graduation value=\"yes\"/><date value=\"99999999999999999999\"/>"
                           "<defect value=\"0\"/>текст<![CDATA[x]]><mixture value=\"ГСО\"/>"
                           "<column><name value=\"c1\"/><name value=\"c2\"/></column><column/>"
                           "<custom title=\"Заголовок\" value=\"Значение\"/><custom/>")),
            0);
  const FilePassport& p = file.passport;
  EXPECT_EQ(p.assayid, u"A");
  EXPECT_EQ(p.series, u"s2");
  EXPECT_EQ(p.andate, -16);
  EXPECT_EQ(p.duration, 25.0);
  EXPECT_EQ(p.sample, u"");
  EXPECT_EQ(p.method, u"М");
  EXPECT_TRUE(p.graduation);
  EXPECT_EQ(p.date, std::numeric_limits<std::int64_t>::max());
  EXPECT_FALSE(p.defect);
  EXPECT_EQ(p.mixture, u"ГСО");
  ASSERT_EQ(p.columns.size(), 2u);
  EXPECT_EQ(p.columns[0].name, u"c1");
  EXPECT_EQ(p.columns[1].name, u"");
  EXPECT_EQ(p.columns[1].diameter, 0.0);
  const std::vector<std::array<sys::Text, 3>> extras = {
      {u"Series", u"T", u"big"}, {u"", u"", u""}, {u"", u"", u""},
      {u"custom", u"Заголовок", u"Значение"}, {u"custom", u"", u""}};
  ASSERT_EQ(p.extras.size(), extras.size());
  for (std::size_t i = 0; i < extras.size(); ++i) {
    EXPECT_EQ(p.extras[i].name, extras[i][0]) << i;
    EXPECT_EQ(p.extras[i].title, extras[i][1]) << i;
    EXPECT_EQ(p.extras[i].value, extras[i][2]) << i;
  }
}

TEST_F(XmlReading, AbsentScalarsKeepTheirValuesWhileListsAreReplaced) {
  CLortanFile4 file;
  file.passport.series = u"прежняя";
  file.passport.duration = 7.0;
  file.passport.defect = true;
  file.passport.columns.resize(3);
  file.passport.extras.resize(2);
  ASSERT_EQ(Load(file, Document("<sample value=\"x\"/>")), 0);
  EXPECT_EQ(file.passport.series, u"прежняя");
  EXPECT_EQ(file.passport.duration, 7.0);
  EXPECT_TRUE(file.passport.defect);
  EXPECT_EQ(file.passport.assayid, kNullAssayId);
  EXPECT_EQ(file.passport.sample, u"x");
  EXPECT_TRUE(file.passport.columns.empty());
  EXPECT_TRUE(file.passport.extras.empty());
}

TEST_F(XmlReading, BooleansAreTrueOnALeadingOneTOrY) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"yes", true}, {"Yes", true}, {"T", true},   {"true", true}, {"1", true},
      {"no", false}, {"0", false},  {"", false},   {" 1", false},  {"false", false}};
  std::string items;
  for (const auto& c : cases) items += "<item><reference value=\"" + c.first + "\"/></item>";
  const std::vector<FilePeak> peaks = LoadItems(items);
  ASSERT_EQ(peaks.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(peaks[i].reference, cases[i].second) << '"' << cases[i].first << '"';
  }
}

TEST_F(XmlReading, IntegersTakeSignHexAndClampToTheirType) {
  struct Case {
    std::string text;
    std::int32_t left;
    std::uint32_t flags;
  };
  const std::vector<Case> cases = {
      {"42", 42, 42},
      {" +7", 7, 7},
      {"0x1F", 31, 31},
      {"-5", -5, 0},
      {"99999999999", INT32_MAX, UINT32_MAX},
      {"-99999999999", INT32_MIN, 0},
      {"0xFFFFFFFF", INT32_MAX, UINT32_MAX},
      {"12abc", 12, 12},
      {"abc", 0, 0},
      {"", 0, 0}};
  std::string items;
  for (const Case& c : cases) {
    items += "<item><left value=\"" + c.text + "\"/><flags value=\"" + c.text + "\"/></item>";
  }
  const std::vector<FilePeak> peaks = LoadItems(items);
  ASSERT_EQ(peaks.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(peaks[i].left, cases[i].left) << '"' << cases[i].text << '"';
    EXPECT_EQ(peaks[i].flags, cases[i].flags) << '"' << cases[i].text << '"';
  }
}

TEST_F(XmlReading, DoublesReadAsFarAsTheNumberGoes) {
  const std::vector<std::pair<std::string, double>> cases = {
      {" 1.5e3", 1500.0}, {"2.5xyz", 2.5}, {"abc", 0.0}, {"", 0.0}, {"1,5", 1.0},
      {"-0.125", -0.125}, {"inf", HUGE_VAL}, {"-Infinity", -HUGE_VAL}};
  std::string items;
  for (const auto& c : cases) items += "<item><area value=\"" + c.first + "\"/></item>";
  items += "<item><area value=\"nan\"/></item>";
  const std::vector<FilePeak> peaks = LoadItems(items);
  ASSERT_EQ(peaks.size(), cases.size() + 1);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(peaks[i].area, cases[i].second) << '"' << cases[i].first << '"';
  }
  EXPECT_TRUE(std::isnan(peaks.back().area));
}

TEST_F(XmlReading, DoublesFollowTheRussianSeparatorOnceSet) {
  sys::SetRussianLocale();
  const std::vector<FilePeak> peaks =
      LoadItems("<item><area value=\"1,25\"/></item><item><area value=\"1.25\"/></item>");
  sys::ResetLocale();
  ASSERT_EQ(peaks.size(), 2u);
  EXPECT_EQ(peaks[0].area, 1.25);
  EXPECT_EQ(peaks[1].area, 1.0);
}

TEST_F(XmlReading, ItemWithoutChildrenHasTheDefaults) {
  const std::vector<FilePeak> peaks = LoadItems("<item/><item><left/><right value=\"3\"/></item>");
  ASSERT_EQ(peaks.size(), 2u);
  EXPECT_EQ(peaks[0].left, -1);
  EXPECT_EQ(peaks[0].right, -1);
  EXPECT_EQ(peaks[0].flags, 0u);
  EXPECT_EQ(peaks[0].time, 0.0);
  EXPECT_FALSE(peaks[0].reference);
  EXPECT_TRUE(peaks[0].name.empty());
  EXPECT_EQ(peaks[1].left, -1);  // an element without "value" counts as absent
  EXPECT_EQ(peaks[1].right, 3);
}

TEST_F(XmlReading, ChannelElementsMatchTheFirstChunkOfTheirNumber) {
  const std::vector<TestChunk> chunks = {{0, {1}}, {3, {2}}, {3, {3}}, {5, {4}}, {6, {5}}};
  auto item = [](const char* name) {
    return std::string("<item><name value=\"") + name + "\"/></item>";
  };
  const std::string channels =
      "<channel><number value=\"7\"/><table>" + item("no chunk") + "</table></channel>"
      "<channel><table>" + item("no number") + "</table></channel>"
      "<channel><number value=\"-1\"/><table>" + item("negative") + "</table></channel>"
      "<channel><number value=\"256\"/><table>" + item("too big") + "</table></channel>"
      "<channel><number value=\"3\"/><table>" + item("A") + "</table></channel>"
      "<channel><number value=\"0\"/><table>" + item("X") + "</table></channel>"
      "<channel><number value=\"0x0\"/><table>" + item("Y") + item("Z") + "</table></channel>"
      "<channel><number value=\"5\"/><table/><table>" + item("second table") + "</table>"
      "</channel>";
  CLortanFile4 file;
  ASSERT_EQ(Load(file, Document("", channels), chunks), 0);
  auto names = [&](std::size_t c) {
    std::vector<sys::Text> result;
    for (const FilePeak& peak : file.channels.at(c).peaks) result.push_back(peak.name);
    return result;
  };
  EXPECT_EQ(names(0), (std::vector<sys::Text>{u"Y", u"Z"}));
  EXPECT_EQ(names(1), (std::vector<sys::Text>{u"A"}));
  EXPECT_TRUE(names(2).empty());
  EXPECT_TRUE(names(3).empty());
  EXPECT_TRUE(names(4).empty());
}

TEST_F(XmlReading, DocumentsWithoutTheExpectedElementsLoadEmpty) {
  for (const std::string xml :
       {"<document><passport><series value=\"x\"/></passport><channels><channel><number "
        "value=\"0\"/><table><item/></table></channel></channels></document>",
        "<root/>", "<root><channels/></root>"}) {
    CLortanFile4 file;
    ASSERT_EQ(Load(file, xml), 0) << xml;
    EXPECT_TRUE(file.passport.series.empty());
    EXPECT_EQ(file.passport.assayid, kNullAssayId);
    ASSERT_EQ(file.channels.size(), 2u);
    EXPECT_TRUE(file.channels[0].peaks.empty());
  }
}

TEST_F(XmlReading, EncodingIsDetectedFromAByteOrderMark) {
  const std::string body = "<root><passport><sample value=\"Проба\"/></passport></root>";
  std::string utf16 = "\xFF\xFE";
  for (char16_t unit : sys::FromUtf8("<?xml version=\"1.0\"?>" + body)) {
    utf16 += static_cast<char>(unit & 0xFF);
    utf16 += static_cast<char>(unit >> 8);
  }
  for (const std::string& xml : {"\xEF\xBB\xBF" + Document("<sample value=\"Проба\"/>"), utf16}) {
    CLortanFile4 file;
    ASSERT_EQ(Load(file, xml), 0);
    EXPECT_EQ(file.passport.sample, u"Проба");
  }
}

TEST_F(XmlReading, HeaderOffsetSixteenMeansNoChannels) {
  CLortanFile4 file;
  ASSERT_EQ(Load(file, Document("<sample value=\"s\"/>", Items("<item/>")), {}), 0);
  EXPECT_TRUE(file.channels.empty());
  EXPECT_EQ(file.passport.sample, u"s");
}

}  // namespace
