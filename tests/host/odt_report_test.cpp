// odt_report_test.cpp: "Export/ExportToOdt" — the built templates filled from a data
// document made here, read back as an office program would: the package structure, the
// content's rows, the embedded picture, and the answers for what cannot be done.
#include "host/odt/odt_report.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <map>
#include <pugixml.hpp>
#include <set>

#include "host/odt/odf_text.h"
#include "host/odt/odt_fill.h"
#include "host/odt/zip_package.h"
#include "host_test_support.h"
#include "tests/support/odf_text.h"

namespace {

namespace fs = std::filesystem;

void Item(pugi::xml_node parent, const char* name, const char* text) { parent.append_child(name).text().set(text); }

void Row(pugi::xml_node table, std::initializer_list<std::pair<const char*, const char*>> cells) {
  pugi::xml_node row = table.append_child("row");
  for (const auto& [name, text] : cells) Item(row, name, text);
}

// A document as the module builds it for every switch on, with `picture` as the graph.
pugi::xml_node FullDocument(pugi::xml_document& doc, const std::string& picture) {
  pugi::xml_node root = doc.append_child("root");
  Item(root, "DateCreated", "01.02.2024, 11:00");
  pugi::xml_node t1 = root.append_child("table1");
  Row(t1, {{"title", "Нормативный документ"}, {"DataString", "ГОСТ 31371.7-2020, приложение Б"}});
  Row(t1, {{"title", "Номер прибора"}, {"DataString", "Хроматограф № 17"}});
  Row(t1, {{"title", "Оператор"}, {"DataString", "Иванова А. П."}});
  pugi::xml_node t2 = root.append_child("table2");
  for (int m = 1; m <= 5; ++m) {
    const std::string n = std::to_string(m), name = "ГСО-" + n, ballon = "Баллон № 40-187" + n;
    Row(t2, {{"num", n.c_str()},
             {"MixtureName", name.c_str()},
             {"NumBalloon", ballon.c_str()},
             {"DateRelease", "01.01.2024"},
             {"DateExpiry", m == 5 ? "----" : "01.01.2026"}});
  }
  pugi::xml_node t3 = root.append_child("table3");
  for (int a = 1; a <= 25; ++a) {
    const std::string n = std::to_string(a), sample = "Проба " + n;
    Row(t3, {{"num", n.c_str()},
             {"Sample", sample.c_str()},
             {"AnDate", "01.02.2024  10:30"},
             {"Mixture", "Баллон № 40-1871"}});
  }
  pugi::xml_node t4 = root.append_child("table4");
  Row(t4, {{"num", "1"},
           {"Comp", "Метан"},
           {"Conc1", "97,512"},
           {"Deviation1", "0,050"},
           {"Conc2", "---"},
           {"Deviation2", "---"}});
  pugi::xml_node t5 = root.append_child("table5");
  Row(t5, {{"formula", "-- Канал 1 --"}});
  Row(t5, {{"num", "1"},
           {"CompName", "Метан"},
           {"formula", "A = 1234,500 * x + 0,000"},
           {"BB", "0,000"},
           {"b", "1234,500"},
           {"R", "0,99990"},
           {"R_norm", "0,999"},
           {"b_OK", "Да"},
           {"R_OK", "Да"}});
  Row(t5, {{"formula", "-- Канал 2 --"}});
  Row(t5, {{"num", "2"},
           {"CompName", "Азот (до 0,025)"},
           {"formula", "---"},
           {"BB", "---"},
           {"b", "---"},
           {"R", "---"},
           {"R_norm", "0,999"},
           {"b_OK", "---"},
           {"R_OK", "---"}});
  Item(root, "graphComp", "Метан");
  Item(root, "graph_Ch", "1");
  Item(root, "graphFormula", "A = 1234,500 * x + 0,000");
  pugi::xml_node t6 = root.append_child("table6");
  Row(t6, {{"num", "1"}, {"graph_x", "90,100"}, {"graph_A", "111234,000"}});
  Row(t6, {{"num", "2"}, {"graph_x", "97,512"}, {"graph_A", "120380,000"}});
  if (!picture.empty()) Item(root, "PictureGraph", picture.c_str());
  return root;
}

std::vector<pugi::xml_node> Named(pugi::xml_node node, const char* name) {
  std::vector<pugi::xml_node> out;
  for (const pugi::xpath_node& n : node.select_nodes((std::string(".//") + name).c_str())) out.push_back(n.node());
  return out;
}

// Body rows (outside the header rows) of a table.
std::vector<pugi::xml_node> BodyRows(pugi::xml_node table) {
  std::vector<pugi::xml_node> rows;
  for (pugi::xml_node r : table.children("table:table-row")) rows.push_back(r);
  return rows;
}

class OdtReport : public ::testing::Test {
 protected:
  void SetUp() override {
    picture_ = folder_ / "VetrixGraph.png";
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    ASSERT_TRUE(image.save(QString::fromStdString(picture_), "PNG"));
  }

  std::int32_t Export(const pugi::xml_node* root, const char16_t* templatePath, const fs::path& destination) {
    const OdtExportRequest request{0, 1, templatePath};
    return odt::ExportReport(
        root, templatePath ? &request : nullptr, LORTAN_TEMPLATE_FOLDER, [&] { return destination; }, detail_);
  }

  TestFolder folder_;
  std::string picture_;
  std::string detail_;
};

TEST_F(OdtReport, TheFilledReportHoldsEveryRowAndTheEmbeddedPicture) {
  pugi::xml_document data;
  pugi::xml_node root = FullDocument(data, picture_);
  const fs::path out = folder_ / "Отчет.odt";
  ASSERT_EQ(Export(&root, u"Vetrix\\ReportTemplateWitchGraph.odt", out), odt::kReportWritten) << detail_;

  // The package: "mimetype" first, stored, without extra field, so its type sits at byte 38.
  const std::string raw = ReadWholeFile(out);
  ASSERT_GT(raw.size(), 80u);
  EXPECT_EQ(raw.substr(0, 4), std::string("PK\x03\x04", 4));
  EXPECT_EQ(raw[8] | raw[9], 0) << "mimetype is compressed";
  EXPECT_EQ(raw[28] | raw[29], 0) << "mimetype has an extra field";
  EXPECT_EQ(raw.substr(30, 8), "mimetype");
  EXPECT_EQ(raw.substr(38, 39), odt::kOdtMimeType);

  std::string error;
  auto package = odt::ReadPackage(out.string(), error);
  ASSERT_TRUE(package) << error;
  pugi::xml_document manifest, content;
  ASSERT_TRUE(manifest.load_string(odt::FindEntry(*package, "META-INF/manifest.xml")->data.c_str()));
  ASSERT_TRUE(content.load_string(odt::FindEntry(*package, "content.xml")->data.c_str()));
  std::map<std::string, std::string> listed;
  for (pugi::xml_node e : Named(manifest, "manifest:file-entry"))
    listed[e.attribute("manifest:full-path").value()] = e.attribute("manifest:media-type").value();
  for (const odt::PackageEntry& file : *package) {
    if (file.name != "mimetype" && file.name != "META-INF/manifest.xml") {
      EXPECT_TRUE(listed.count(file.name)) << file.name;
    }
  }

  // The picture is inside the package, byte for byte, and the frame points at it.
  const std::vector<pugi::xml_node> images = Named(content, "draw:image");
  ASSERT_EQ(images.size(), 1u);
  const std::string href = images[0].attribute("xlink:href").value();
  EXPECT_EQ(href.rfind("Pictures/", 0), 0u) << href;
  ASSERT_TRUE(odt::FindEntry(*package, href));
  EXPECT_EQ(odt::FindEntry(*package, href)->data, ReadWholeFile(picture_));
  EXPECT_EQ(listed[href], "image/png");
  EXPECT_STREQ(images[0].parent().attribute("svg:height").value(), "11.250cm");  // 15 cm × 30 / 40

  // Every row, every value; no placeholder is left.
  EXPECT_TRUE(Named(content, "text:placeholder").empty());
  EXPECT_EQ(BodyRows(OdfTable(content, "table1")).size(), 3u);
  EXPECT_EQ(BodyRows(OdfTable(content, "table2")).size(), 5u);
  const std::vector<pugi::xml_node> assays = BodyRows(OdfTable(content, "table3"));
  ASSERT_EQ(assays.size(), 25u);
  EXPECT_EQ(OdfText(assays[24]),
            "25Проба 25"
            "01.02.2024  10:30"
            "Баллон № 40-1871");  // both blanks kept
  EXPECT_EQ(BodyRows(OdfTable(content, "table4")).size(), 1u);
  EXPECT_EQ(BodyRows(OdfTable(content, "table6")).size(), 2u);
  const std::vector<pugi::xml_node> results = BodyRows(OdfTable(content, "table5"));
  ASSERT_EQ(results.size(), 4u);
  // Channel rows take the template row made for them: one cell across the table.
  EXPECT_STREQ(results[0].child("table:table-cell").attribute("table:number-columns-spanned").value(), "9");
  EXPECT_EQ(OdfText(results[0]), "-- Канал 1 --");
  EXPECT_EQ(OdfText(results[3]), "2Азот (до 0,025)------------0,999------");
  const std::string body = OdfText(content.child("office:document-content").child("office:body"));
  for (const char* text :
       {"ПРОТОКОЛ", "ГОСТ 31371.7-2020, приложение Б", "01.02.2024, 11:00", "Иванова А. П.", "Хроматограф № 17",
        "Баллон № 40-1875", "97,512", "A = 1234,500 * x + 0,000", "компонент Метан, канал 1"})
    EXPECT_NE(body.find(text), std::string::npos) << text;
}

TEST_F(OdtReport, PartsTheDataLacksAreLeftOut) {
  pugi::xml_document data;
  pugi::xml_node root = data.append_child("root");
  Item(root, "DateCreated", "01.02.2024, 11:00");
  Row(root.append_child("table1"),
      {{"title", "Нормативный документ"}, {"DataString", "ГОСТ 31371.7-2020, приложение Б"}});
  for (const char16_t* name : {u"Vetrix\\ReportTemplate.odt", u"Vetrix/ReportTemplateWitchGraph.odt"}) {
    const fs::path out = folder_ / "short.odt";
    ASSERT_EQ(Export(&root, name, out), odt::kReportWritten) << detail_;
    std::string error;
    auto package = odt::ReadPackage(out.string(), error);
    ASSERT_TRUE(package) << error;
    pugi::xml_document content;
    ASSERT_TRUE(content.load_string(odt::FindEntry(*package, "content.xml")->data.c_str()));
    EXPECT_TRUE(OdfTable(content, "table1"));
    for (const char* gone : {"table2", "table3", "table4", "table5", "table6"})
      EXPECT_FALSE(OdfTable(content, gone)) << gone;
    EXPECT_TRUE(Named(content, "draw:frame").empty());
    EXPECT_TRUE(Named(content, "text:placeholder").empty());
    EXPECT_EQ(OdfText(content).find("Рисунок"), std::string::npos);
    EXPECT_EQ(package->size(), 5u);  // mimetype, content, styles, meta, manifest: no picture
  }
}

TEST_F(OdtReport, FailuresAnswerTheirCodesAndLeaveNothingBehind) {
  pugi::xml_document good;
  pugi::xml_node goodRoot = FullDocument(good, picture_);
  pugi::xml_document noTable1;
  pugi::xml_node noTable1Root = noTable1.append_child("root");
  Item(noTable1Root, "DateCreated", "01.02.2024, 11:00");
  pugi::xml_document wrongName;
  pugi::xml_node wrongRoot = wrongName.append_child("document");
  Item(wrongRoot, "DateCreated", "x");
  wrongRoot.append_child("table1");
  pugi::xml_document missingPicture;
  pugi::xml_node missingPictureRoot = FullDocument(missingPicture, folder_ / "nowhere.png");
  pugi::xml_document notPng;
  const std::string textFile = folder_ / "picture.png";
  std::ofstream(textFile) << "not a picture";
  pugi::xml_node notPngRoot = FullDocument(notPng, textFile);

  const fs::path out = folder_ / "report.odt";
  struct Case {
    const char* what;
    const pugi::xml_node* root;
    const char16_t* templatePath;
    fs::path destination;
    std::int32_t code;
  } cases[] = {
      {"no request", &goodRoot, nullptr, out, odt::kNoTemplate},
      {"no such template", &goodRoot, u"Vetrix\\NoSuchTemplate.odt", out, odt::kNoTemplate},
      {"a path out of the folder", &goodRoot, u"..\\host\\templates\\Vetrix\\ReportTemplate.odt", out,
       odt::kNoTemplate},
      {"an absolute path", &goodRoot, u"/etc/passwd", out, odt::kNoTemplate},
      {"the folder itself", &goodRoot, u"Vetrix", out, odt::kNoTemplate},
      {"no data document", nullptr, u"Vetrix\\ReportTemplate.odt", out, odt::kBadDataDocument},
      {"no table1", &noTable1Root, u"Vetrix\\ReportTemplate.odt", out, odt::kBadDataDocument},
      {"not a root element", &wrongRoot, u"Vetrix\\ReportTemplate.odt", out, odt::kBadDataDocument},
      {"a missing picture", &missingPictureRoot, u"Vetrix\\ReportTemplateWitchGraph.odt", out, odt::kBadDataDocument},
      {"a picture that is no PNG", &notPngRoot, u"Vetrix\\ReportTemplateWitchGraph.odt", out, odt::kBadDataDocument},
      {"a destination in a missing folder", &goodRoot, u"Vetrix\\ReportTemplate.odt", folder_.path() / "none" / "r.odt",
       odt::kNotDelivered},
      {"no destination (cancelled)", &goodRoot, u"Vetrix\\ReportTemplate.odt", fs::path(), odt::kReportNotWanted},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Export(c.root, c.templatePath, c.destination), c.code) << c.what << ": " << detail_;
    EXPECT_FALSE(fs::exists(out)) << c.what;
    EXPECT_FALSE(fs::exists(folder_.path() / "none")) << c.what;
  }
}

TEST_F(OdtReport, ATemplateThatIsNoPackageIsReported) {
  TestFolder templates;
  fs::create_directories(templates.path() / "Vetrix");
  std::ofstream(templates.path() / "Vetrix" / "Broken.odt") << "not a zip";
  pugi::xml_document data;
  pugi::xml_node root = FullDocument(data, "");
  const OdtExportRequest request{0, 1, u"Vetrix\\Broken.odt"};
  EXPECT_EQ(odt::ExportReport(
                &root, &request, templates.path(), [&] { return folder_.path() / "r.odt"; }, detail_),
            odt::kTemplateUnreadable);
  std::string error;
  ASSERT_TRUE(odt::WritePackage((templates.path() / "Vetrix" / "BadXml.odt").string(),
                                {{"mimetype", odt::kOdtMimeType},
                                 {"content.xml", "<office:document-content>"},
                                 {"META-INF/manifest.xml", "<manifest:manifest/>"}},
                                0, error));
  const OdtExportRequest badXml{0, 1, u"Vetrix\\BadXml.odt"};
  EXPECT_EQ(odt::ExportReport(
                &root, &badXml, templates.path(), [&] { return folder_.path() / "r.odt"; }, detail_),
            odt::kTemplateXmlBroken);
}

TEST(OdfText, TextShowsAsWritten) {
  struct Case {
    const char* text;
    const char* xml;
  } cases[] = {
      {"Проба 1", "<p>Проба 1</p>"},
      {"01.02.2024  10:30", "<p>01.02.2024 <text:s/>10:30</p>"},
      {"a    b", "<p>a <text:s text:c=\"3\"/>b</p>"},
      {" leading", "<p><text:s/>leading</p>"},
      {"line\r\nnext\nlast\r", "<p>line<text:line-break/>next<text:line-break/>last<text:line-break/></p>"},
      {"\tindented", "<p><text:tab/>indented</p>"},
      {"bell\x07 and\x01 nul", "<p>bell and nul</p>"},
      {"a & <b>", "<p>a &amp; &lt;b&gt;</p>"},
  };
  for (const Case& c : cases) {
    pugi::xml_document doc;
    odt::InsertOdfText(doc.append_child("p"), {}, c.text);
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    EXPECT_EQ(out.str(), c.xml) << c.text;
  }
}

// A table whose header rows hold placeholders naming fields of its rows is made once per
// heading row of the data, the rows after a heading in its body; a header placeholder that
// names an item of the whole document (as the certified values' mixture heads do) keeps
// its table single.
TEST(OdtFill, GroupTablesCarryTheirHeadingInTheirHeaderRows) {
  auto cell = [](const char* name) {
    return std::string("<table:table-cell><text:p><text:placeholder text:placeholder-type=\"text\" "
                       "text:description=\"") + name + "\"/></text:p></table:table-cell>";
  };
  const std::string table = std::string("<table:table table:name=\"groups\"><table:table-header-rows>") +
                            "<table:table-row>" + cell("head") + cell("docItem") + "</table:table-row>" +
                            "</table:table-header-rows><table:table-row>" + cell("value") + "</table:table-row>" +
                            "</table:table>";
  const std::string single = "<table:table table:name=\"single\"><table:table-header-rows><table:table-row>" +
                             cell("docItem") + "</table:table-row></table:table-header-rows><table:table-row>" +
                             cell("value") + "</table:table-row></table:table>";
  pugi::xml_document content;
  ASSERT_TRUE(content.load_string(("<office:document-content xmlns:office=\"o\" xmlns:table=\"t\" xmlns:text=\"x\">"
                                   "<office:body><office:text>" + table + single +
                                   "</office:text></office:body></office:document-content>").c_str()));
  pugi::xml_document data;
  pugi::xml_node root = data.append_child("root");
  Item(root, "docItem", "D");
  pugi::xml_node groups = root.append_child("groups");
  Row(groups, {{"value", "before any heading"}});
  Row(groups, {{"head", "A"}});
  Row(groups, {{"value", "a1"}});
  Row(groups, {{"value", "a2"}});
  Row(groups, {{"head", "B"}});
  Row(groups, {{"value", "b1"}});
  pugi::xml_node plain = root.append_child("single");
  Row(plain, {{"value", "s1"}});
  Row(plain, {{"value", "s2"}});
  ASSERT_TRUE(odt::FillContent(content, root).ok);

  std::vector<std::string> made;
  for (pugi::xml_node t : Named(content, "table:table")) {
    std::string text = t.attribute("table:name").value() + std::string(":") +
                       OdfText(t.child("table:table-header-rows")) + "|";
    for (pugi::xml_node r : BodyRows(t)) text += OdfText(r) + ";";
    made.push_back(text);
  }
  EXPECT_EQ(made, (std::vector<std::string>{"groups_1:D|before any heading;", "groups_2:AD|a1;a2;",
                                            "groups_3:BD|b1;", "single:D|s1;s2;"}));
  EXPECT_TRUE(Named(content, "text:placeholder").empty());
}

// Opened by the office program people use: the report converts to PDF headless, with its
// rows and page numbers. Skipped where LibreOffice is not installed.
TEST_F(OdtReport, TheReportOpensInLibreOffice) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "soffice is not installed";
  pugi::xml_document data;
  pugi::xml_node root = FullDocument(data, picture_);
  const fs::path odt = folder_ / "report.odt";
  ASSERT_EQ(Export(&root, u"Vetrix\\ReportTemplateWitchGraph.odt", odt), odt::kReportWritten) << detail_;
  const std::string command = "cd '" + folder_.path().string() + "' && soffice -env:UserInstallation=file://" +
                              (folder_ / "lo-profile") + " --headless --convert-to pdf --outdir '" +
                              folder_.path().string() + "' report.odt >lo.log 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadWholeFile(folder_ / "lo.log");
  ASSERT_TRUE(fs::exists(folder_ / "report.pdf")) << ReadWholeFile(folder_ / "lo.log");
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) return;
  ASSERT_EQ(
      std::system(("pdftotext -layout '" + (folder_ / "report.pdf") + "' '" + (folder_ / "report.txt") + "'").c_str()),
      0);
  const std::string text = ReadWholeFile(folder_ / "report.txt");
  for (const char* expected : {"ПРОТОКОЛ", "Проба 25", "Иванова А. П.", "Страница 1 из", "-- Канал 2 --", "Рисунок 1"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

}  // namespace
