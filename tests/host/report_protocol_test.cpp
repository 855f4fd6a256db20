// report_protocol_test.cpp: the module's data document of a real check run, filled into the
// built templates by the host's export, read back — every value of the evidence in its
// cell — and converted to PDF by LibreOffice at 0, 3 and 10 report digits, where no number,
// formula or date of the document may be split over lines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "host/odt/odt_report.h"
#include "host/odt/zip_package.h"
#include "host_test_support.h"
#include "output/report_evidence.h"
#include "tests/output/report/protocol_run.h"
#include "tests/support/odf_text.h"

namespace {

namespace fs = std::filesystem;

// A 1 x 1 white PNG: the graph's picture (its drawing is not what is tested here).
constexpr unsigned char kPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53, 0xde, 0x00, 0x00, 0x00,
    0x0c, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xff, 0xff, 0x3f, 0x00, 0x05, 0xfe, 0x02, 0xfe, 0x0d,
    0xef, 0x46, 0xb8, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

std::string Unix(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

class ReportProtocol : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    BuildProtocolLists(lists_);
    Run(lists_);
    picture_ = folder_ / "VetrixGraph.png";
    std::ofstream(picture_, std::ios::binary).write(reinterpret_cast<const char*>(kPng), sizeof kPng);
  }

  // The document the report dialog builds with every switch on, the graph of methane, for
  // the lists of the last run (the fixture's unless given).
  pugi::xml_node Document(pugi::xml_document& doc, int digits, const RunLists* lists = nullptr) {
    if (!lists) lists = &lists_;
    ReportContent c{u"Хроматограф «Кристалл» № 1234-56", u"Петрова-Водкина Е. С.", true, true, true, true};
    pugi::xml_node root = BuildReportDocument(doc, c, lists->mixtures, lists->assays, context, digits, 1700000000);
    AppendGraphItems(root, *Curve(u"Метан"), digits);
    AppendPicture(root, sys::FromUtf8(picture_));
    AppendReportEvidence(root, c, lists->mixtures, context, context.messages, digits);
    return root;
  }

  // The filled content document of `root` exported with `templatePath`.
  void Filled(pugi::xml_node root, const char16_t* templatePath, pugi::xml_document& content) {
    const fs::path odt = folder_.path() / "report.odt";
    Export(root, odt, templatePath);
    std::string error;
    const auto package = odt::ReadPackage(odt.string(), error);
    ASSERT_TRUE(package) << error;
    ASSERT_TRUE(content.load_string(odt::FindEntry(*package, "content.xml")->data.c_str()));
  }

  void Export(pugi::xml_node root, const fs::path& out,
              const char16_t* templatePath = u"Vetrix\\ReportTemplateWitchGraph.odt") {
    const OdtExportRequest request{0, 1, templatePath};
    std::string detail;
    ASSERT_EQ(odt::ExportReport(&root, &request, LORTAN_TEMPLATE_FOLDER, [&] { return out; }, detail),
              odt::kReportWritten)
        << detail;
  }

  void CheckEvidence(const char16_t* templatePath);

  RunLists lists_;
  TestFolder folder_;
  std::string picture_;
};

// Every value of the evidence stands in its cell of the filled report, in the data's order,
// with either template.
TEST_F(ReportProtocol, FilledEvidenceHoldsEveryValueOfTheRun) {
  for (const char16_t* templatePath : {u"Vetrix\\ReportTemplateWitchGraph.odt", u"Vetrix\\ReportTemplate.odt"}) {
    SCOPED_TRACE(sys::ToUtf8(templatePath));
    CheckEvidence(templatePath);
  }
}

void ReportProtocol::CheckEvidence(const char16_t* templatePath) {
  pugi::xml_document data;
  const pugi::xml_node root = Document(data, 3);
  pugi::xml_document content;
  ASSERT_NO_FATAL_FAILURE(Filled(root, templatePath, content));

  // One table per curve, named table7_1, table7_2, …: the curve's heading in its first
  // header row, its points in its body.
  std::vector<pugi::xml_node> data7;
  for (pugi::xml_node r : root.child("table7").children("row")) data7.push_back(r);
  EXPECT_FALSE(OdfTable(content, "table7"));
  std::size_t next = 0;
  for (std::size_t k = 1;; ++k) {
    const pugi::xml_node table = OdfTable(content, ("table7_" + std::to_string(k)).c_str());
    if (!table) break;
    ASSERT_LT(next, data7.size());
    pugi::xml_node d = data7[next++];
    auto v = [&](const char* name) { return std::string(d.child(name).text().get()); };
    ASSERT_TRUE(d.child("evComp")) << "table " << k << " opens with a curve";
    const std::vector<std::string> heading =
        OdfCells(table.child("table:table-header-rows").child("table:table-row"));
    EXPECT_EQ(heading, (std::vector<std::string>{v("evNum") + ". " + v("evComp") + ", канал " + v("evChannel"),
                                                 "Зависимость: " + v("evModel") + v("evFormula")}));
    std::size_t points = 0;
    for (pugi::xml_node r : table.children("table:table-row")) {
      ASSERT_LT(next, data7.size());
      d = data7[next++];
      ++points;
      const std::vector<std::string> expected = {v("ptMixture") + v("ptBalloon"),
                                                 v("ptX"), v("ptU"), v("ptN"), v("ptA"), v("ptRsd"), v("ptRsdNorm"),
                                                 v("ptRsdOk"), v("ptCalc"), v("ptDev"), v("ptDevNorm"), v("ptDevOk")};
      EXPECT_EQ(OdfCells(r), expected) << "table " << k << " row " << points;
    }
    EXPECT_GE(points, 1u) << "table " << k;
  }
  EXPECT_EQ(next, data7.size());

  const std::vector<std::vector<std::string>> messages = OdfBodyRows(content, "table8");
  std::vector<std::vector<std::string>> expectedMessages;
  for (pugi::xml_node r : root.child("table8").children("row"))
    expectedMessages.push_back({r.child("msgNum").text().get(), r.child("msgLevel").text().get(),
                                Unix(r.child("msgText").text().get())});
  EXPECT_EQ(messages, expectedMessages);
  EXPECT_GE(messages.size(), 2u);

  const std::string all = OdfText(content.child("office:document-content").child("office:body"));
  for (const char* item : {"PressureCorrection", "TemperatureCorrection", "table4Mix1", "table4Balloon5"})
    EXPECT_NE(all.find(root.child(item).text().get()), std::string::npos) << item;
  const std::string head = OdfText(OdfTable(content, "table4").child("table:table-header-rows"));
  EXPECT_NE(head.find("Смесь 3ГСО 10542-2014(№ 40-18703)"), std::string::npos) << head;
}

// In the filled report every table row is kept on one page, and every table but the short
// one of the check's particulars has header rows, which an office program repeats on every
// page the table continues to.
TEST_F(ReportProtocol, RowsAreKeptWholeAndHeadsRepeat) {
  for (const char16_t* templatePath : {u"Vetrix\\ReportTemplateWitchGraph.odt", u"Vetrix\\ReportTemplate.odt"}) {
    SCOPED_TRACE(sys::ToUtf8(templatePath));
    pugi::xml_document data, content;
    ASSERT_NO_FATAL_FAILURE(Filled(Document(data, 3), templatePath, content));
    std::set<std::string> whole;
    for (const pugi::xpath_node& n : content.select_nodes(
             "//style:style[@style:family='table-row'][style:table-row-properties/@fo:keep-together='always']"))
      whole.insert(n.node().attribute("style:name").value());
    std::size_t rows = 0, tables = 0;
    for (const pugi::xpath_node& n : content.select_nodes("//table:table-row")) {
      ++rows;
      EXPECT_TRUE(whole.count(n.node().attribute("table:style-name").value())) << OdfText(n.node());
    }
    for (const pugi::xpath_node& n : content.select_nodes("//table:table")) {
      ++tables;
      const std::string name = n.node().attribute("table:name").value();
      EXPECT_EQ(bool(n.node().child("table:table-header-rows")), name != "table1") << name;
    }
    EXPECT_GT(rows, 100u);
    EXPECT_GT(tables, context.curves.size());
  }
}

// With fewer than five mixtures, one of them without a cylinder, the certified values'
// column heads say what there is: no "Смесь 4" over an unused column, no empty brackets
// where a mixture has no cylinder.
TEST_F(ReportProtocol, CertifiedValuesHeadsShowOnlyTheMixturesThere) {
  RunLists few;
  few.AddMixture(u"ПГС-1", {{u"Метан", 90.0, 0.05}}).ballon = u"Б-1";
  few.AddMixture(u"ПГС-2", {{u"Метан", 95.0, 0.05}});
  few.AddMixture(u"ПГС-3", {{u"Метан", 99.0, 0.05}}).ballon = u"Б-3";
  for (std::size_t m = 0; m < 3; ++m)
    for (int k = 0; k < 5; ++k) few.AddAssay(m, {{u"Метан", 1.0e6 * (90.0 + 4.5 * m) * (1 + 0.0005 * k), 0, 1.1}});
  Run(few);
  for (const char16_t* templatePath : {u"Vetrix\\ReportTemplateWitchGraph.odt", u"Vetrix\\ReportTemplate.odt"}) {
    SCOPED_TRACE(sys::ToUtf8(templatePath));
    pugi::xml_document data, content;
    ASSERT_NO_FATAL_FAILURE(Filled(Document(data, 3, &few), templatePath, content));
    const pugi::xml_node heads = OdfTable(content, "table4").child("table:table-header-rows").child("table:table-row");
    EXPECT_EQ(OdfCells(heads), (std::vector<std::string>{"№", "Компонент", "Смесь 1ПГС-1(Б-1)", "Смесь 2ПГС-2",
                                                      "Смесь 3ПГС-3(Б-3)", "", ""}));
  }
}

// Texts of the data document that must stay whole on the page: every number, date and time
// in any value, and whole formulas and dates with their time.
std::vector<std::string> WholeTexts(pugi::xml_node node) {
  static const std::regex number(R"(-?\d[\d.,:\-]*\d|\d)");
  std::vector<std::string> out;
  for (pugi::xml_node c : node.children()) {
    if (c.type() != pugi::node_element) continue;
    const std::string name = c.name(), value = c.text().get();
    if (c.first_child().type() == pugi::node_element) {
      const auto inner = WholeTexts(c);
      out.insert(out.end(), inner.begin(), inner.end());
      continue;
    }
    if (name == "PictureGraph") continue;
    if (name.find("ormula") != std::string::npos || name == "AnDate" || name == "DateCreated") out.push_back(value);
    for (std::sregex_iterator m(value.begin(), value.end(), number), end; m != end; ++m) {
      std::string token = m->str();
      const std::size_t at = static_cast<std::size_t>(m->position());
      // A hyphen after a letter or digit joins ("10540-2014"); only a free one is a sign.
      if (token[0] == '-' && at > 0 && value[at - 1] != ' ') token.erase(0, 1);
      out.push_back(token);
    }
  }
  return out;
}

// Blanks of any kind (no-break ones too) become one blank; line ends stay.
std::string Blanks(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool nbsp = text.compare(i, 2, "\xC2\xA0") == 0;
    if (text[i] == ' ' || text[i] == '\t' || nbsp) {
      if (nbsp) ++i;
      if (out.empty() || out.back() != ' ') out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

bool HasWhole(const std::string& text, const std::string& token) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + 1)) {
    const bool before = at > 0 && (digit(text[at - 1]) || (text[at - 1] == ',' && digit(token.front())));
    const std::size_t end = at + token.size();
    const bool after = end < text.size() && (digit(text[end]) || (text[end] == ',' && end + 1 < text.size() &&
                                                                   digit(text[end + 1])));
    if (!before && !after) return true;
  }
  return false;
}

// The files `names` of `folder` converted to PDF in one LibreOffice run, each returned as
// pdftotext lays its text out: lines kept apart as on the page, a form feed after every
// page. Blanks of any kind become one blank. An empty text when the conversion failed
// (the test is failed then).
std::vector<std::string> PdfTexts(const TestFolder& folder, const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += " '" + name + ".odt'";
  const std::string command = "cd '" + folder.path().string() + "' && soffice -env:UserInstallation=file://" +
                              (folder / "lo-profile") + " --headless --convert-to pdf" + list + " >lo.log 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << ReadWholeFile(folder / "lo.log");
  std::vector<std::string> texts;
  for (const std::string& name : names) {
    const std::string base = folder / name;
    EXPECT_EQ(std::system(("pdftotext -layout '" + base + ".pdf' '" + base + ".txt'").c_str()), 0) << name;
    texts.push_back(Blanks(ReadWholeFile(base + ".txt")));
    if (const char* keep = std::getenv("VETRIX_KEEP_PDF"))
      fs::copy(base + ".pdf", fs::path(keep) / (name + ".pdf"), fs::copy_options::overwrite_existing);
  }
  return texts;
}

bool HaveLibreOffice() {
  return std::system("command -v soffice >/dev/null 2>&1 && command -v pdftotext >/dev/null 2>&1") == 0;
}

// Texts one to a line.
std::string Lines(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) out += t + "\n";
  return out;
}

// How the evidence lies on the pages of a protocol's PDF text.
struct EvidenceLayout {
  std::vector<std::string> faults;  // what breaks the rules, with the page
  std::size_t headings = 0;         // curve headings printed (repeats included)
  std::size_t repeated = 0;         // headings repeated atop a page the curve's table continues to
  std::size_t pages = 0;            // pages holding point rows
};

// Reads the evidence — from the first curve heading ("N. Name, канал C") to the heading
// of the system messages — page by page. A point row is a line that opens with a mixture's
// name (`mixture`: the names' common beginning), which in the evidence only the rows'
// first cells do. On every page each heading is followed by at least one point row before
// the next heading or the page's end, and every point row stands under a heading and the
// column heads of its page (a continued table repeats both).
EvidenceLayout ReadEvidenceLayout(const std::string& text, const std::string& mixture) {
  static const std::regex heading(R"(^ ?(\d+\. [^,]+, канал \d+))");
  EvidenceLayout layout;
  bool inEvidence = false, ended = false;
  std::string previousLast;  // the last heading of the previous page
  std::istringstream pages(text);
  std::string page;
  for (std::size_t number = 1; !ended && std::getline(pages, page, '\f'); ++number) {
    auto fault = [&](const std::string& what) {
      layout.faults.push_back("page " + std::to_string(number) + ": " + what);
    };
    std::istringstream lines(page);
    std::string line, current, first;
    bool rows = false, heads = false, anyRow = false;
    while (std::getline(lines, line)) {
      if (inEvidence && line.find("Системные сообщения") != std::string::npos) {
        ended = true;
        break;
      }
      std::smatch m;
      if (std::regex_search(line, m, heading)) {
        if (!current.empty() && !rows) fault(current + " has no rows under it");
        inEvidence = true;
        current = m[1];
        if (first.empty()) first = current;
        rows = heads = false;
        ++layout.headings;
        continue;
      }
      if (!inEvidence) continue;
      heads = heads || line.find("Соотв. δ") != std::string::npos;
      const std::size_t at = line.find_first_not_of(' ');
      if (at == std::string::npos || line.compare(at, mixture.size(), mixture) != 0) continue;
      if (current.empty()) fault("rows without their curve's heading");
      else if (!heads) fault(current + ": rows without the column heads");
      heads = true;  // one fault per heading is enough
      rows = anyRow = true;
    }
    if (!current.empty() && !rows) fault("ends with " + current + " without its rows");
    if (!first.empty() && first == previousLast) ++layout.repeated;
    if (anyRow) ++layout.pages;
    if (!current.empty()) previousLast = current;
  }
  return layout;
}

// The protocol as LibreOffice lays it out: at 0, 3 and 10 digits every number, date and
// formula of the document appears on one line; the wide tables are on landscape pages;
// each curve's evidence stands under its heading and column heads.
TEST_F(ReportProtocol, NoNumberIsSplitOverLinesInThePdfAtAnyDigitCount) {
  if (!HaveLibreOffice()) GTEST_SKIP() << "LibreOffice or pdftotext is not installed";
  const std::vector<int> digitCounts = {0, 3, 10};
  std::vector<std::vector<std::string>> whole;
  std::vector<std::string> names;
  for (int d : digitCounts) {
    pugi::xml_document data;
    const pugi::xml_node root = Document(data, d);
    whole.push_back(WholeTexts(root));
    names.push_back("report" + std::to_string(d));
    Export(root, folder_.path() / (names.back() + ".odt"));
  }
  const std::vector<std::string> texts = PdfTexts(folder_, names);
  ASSERT_EQ(texts.size(), digitCounts.size());
  for (std::size_t k = 0; k < digitCounts.size(); ++k) {
    const int d = digitCounts[k];
    for (const std::string& token : whole[k])
      EXPECT_TRUE(HasWhole(texts[k], Blanks(token))) << "digits " << d << ": \"" << token << "\" is split or missing";
    const EvidenceLayout layout = ReadEvidenceLayout(texts[k], "ГСО 1054");
    EXPECT_EQ(Lines(layout.faults), "") << "digits " << d;
    EXPECT_EQ(layout.headings - layout.repeated, context.curves.size()) << "digits " << d;
    EXPECT_GE(layout.pages, 2u) << "digits " << d << ": the evidence continues over pages";
    const std::string base = folder_ / names[k];
    ASSERT_EQ(std::system(("pdfinfo -l 99 '" + base + ".pdf' >'" + base + ".info'").c_str()), 0);
    const std::string info = ReadWholeFile(base + ".info");
    EXPECT_NE(info.find("841.89 x 595.304"), std::string::npos) << "a landscape page\n" << info;
    EXPECT_NE(info.find("595.304 x 841.89"), std::string::npos) << "a portrait page\n" << info;
  }
}

// Four channels of ten components each, every component measured in two to five of the
// five mixtures: forty curves whose evidence tables differ in length, so that over some
// fifteen pages curve headings come to stand at every height of a page, its end included.
void BuildLongLists(RunLists& lists) {
  static const char16_t* const kNames[10] = {u"Гелий",    u"Водород", u"Метан",     u"Этан",      u"Пропан",
                                             u"Изобутан", u"н-Бутан", u"Неопентан", u"Изопентан", u"н-Пентан"};
  for (int m = 0; m < 5; ++m) {
    Mixture& mixture = lists.AddMixture(u"", {});
    mixture.name = u"ГСО-" + sys::Text(1, static_cast<char16_t>(u'1' + m));
    mixture.ballon = u"№ 7-" + sys::Text(1, static_cast<char16_t>(u'1' + m));
    for (int j = 0; j < 10; ++j) mixture.components.push_back({u"", kNames[j], 0.05 * (j + 1) * (m + 1), 1.0});
  }
  for (int m = 0; m < 5; ++m) {
    for (int k = 0; k < 5; ++k) {
      Assay& assay = lists.AddAssay(m, {});
      for (int channel = 0; channel < 4; ++channel)
        for (int j = 0; j < 10; ++j)
          if (m <= 1 + (j + channel) % 4)
            assay.peaks.push_back({u"", kNames[j], channel, 20000.0 * (j + 1 + channel) * 0.05 * (j + 1) * (m + 1) *
                                                               (1 + 0.001 * (k - 2)),
                                   1.0 + j});
    }
  }
}

// A protocol of forty curves laid out by LibreOffice at 0, 3 and 10 digits: no page ends
// with a curve's heading whose rows went to the next page, and a curve's table that goes
// on over a page break repeats its heading and column heads there.
TEST_F(ReportProtocol, EveryCurveHeadingStandsWithItsRowsOnThePage) {
  if (!HaveLibreOffice()) GTEST_SKIP() << "LibreOffice or pdftotext is not installed";
  RunLists long_;
  BuildLongLists(long_);
  Run(long_);
  ASSERT_EQ(context.curves.size(), 40u);
  const std::vector<int> digitCounts = {0, 3, 10};
  std::vector<std::string> names;
  for (int d : digitCounts) {
    pugi::xml_document data;
    names.push_back("long" + std::to_string(d));
    Export(Document(data, d, &long_), folder_.path() / (names.back() + ".odt"));
  }
  const std::vector<std::string> texts = PdfTexts(folder_, names);
  ASSERT_EQ(texts.size(), digitCounts.size());
  for (std::size_t k = 0; k < digitCounts.size(); ++k) {
    const EvidenceLayout layout = ReadEvidenceLayout(texts[k], "ГСО-");
    EXPECT_EQ(Lines(layout.faults), "") << "digits " << digitCounts[k];
    EXPECT_EQ(layout.headings - layout.repeated, 40u) << "digits " << digitCounts[k];
    EXPECT_GE(layout.repeated, 1u) << "digits " << digitCounts[k] << ": some curve's table goes on over a page";
    EXPECT_GE(layout.pages, 8u) << "digits " << digitCounts[k];
  }
}

}  // namespace
