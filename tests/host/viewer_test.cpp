// viewer_test.cpp: "Main/OpenAssayFile" — a chromatogram file written with the file class
// opens in a viewer with one plot strip per channel and every peak in the table; a file
// that cannot be read is reported and answers 0.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTableWidget>

#include "host/assay_viewer.h"
#include "host/command_registry.h"
#include "host/host_commands.h"
#include "host/main_window.h"
#include "host_test_support.h"

namespace {

TEST(AssayViewer, OpensAFileWithItsChannelsAndPeaks) {
  TestFolder folder;
  CLortanFile4 file;
  file.passport.sample = u"ГСО-1, ввод 1";
  file.passport.duration = 10;
  for (int channel = 0; channel < 2; ++channel) {
    std::vector<std::int32_t> samples(600);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::int32_t>(i % 100) * (channel + 1);
    FileChannel c(channel, samples);
    for (int p = 0; p < 3; ++p) {
      FilePeak peak;
      peak.name = channel ? u"Этан" : u"Метан";
      peak.time = 1.5 + p;
      peak.area = 1000.0 * (p + 1);
      c.peaks.push_back(peak);
    }
    file.channels.push_back(std::move(c));
  }
  const sys::Text path = sys::FromUtf8(folder / "a.stg");
  ASSERT_EQ(file.SaveFile(path), 0);

  HostMainWindow window([](const std::string&) {});
  HostServices services;
  services.window = &window;
  std::vector<std::string> reports;
  services.report = [&](const std::string& text) { reports.push_back(text); };
  CommandRegistry::Instance().Clear();
  RegisterHostCommands(CommandRegistry::Instance(), services);
  EXPECT_EQ(CommandRegistry::Instance().Execute("Main/OpenAssayFile", nullptr, const_cast<char16_t*>(path.c_str())), 1);
  AssayViewer* viewer = nullptr;  // no Q_OBJECT: findChild would take any widget
  for (QWidget* w : window.findChildren<QWidget*>()) viewer = viewer ? viewer : dynamic_cast<AssayViewer*>(w);
  ASSERT_TRUE(viewer);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_TRUE(viewer->windowTitle().contains(QStringLiteral("ГСО-1, ввод 1")));
  QTableWidget* peaks = viewer->peakTable();
  ASSERT_EQ(peaks->rowCount(), 6);
  EXPECT_EQ(peaks->item(0, 1)->text(), QStringLiteral("Метан"));
  EXPECT_EQ(peaks->item(5, 0)->text(), QStringLiteral("2"));  // channels shown from 1
  EXPECT_EQ(peaks->item(5, 3)->text(), QStringLiteral("3000"));
  EXPECT_EQ(peaks->item(0, 2)->text(), QStringLiteral("1,5")) << "the decimal comma, as the module writes";
  EXPECT_EQ(peaks->item(0, 6)->text(), QStringLiteral("0 – 0"));
  // The plot draws something in both halves (one strip per channel).
  viewer->plot()->resize(600, 400);
  const QImage image = viewer->plot()->grab().toImage();
  auto inked = [&](int top, int bottom) {
    int dark = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 70; x < image.width() - 20; ++x) dark += qGray(image.pixel(x, y)) < 160;
    return dark;
  };
  EXPECT_GT(inked(30, 170), 200);
  EXPECT_GT(inked(230, 370), 200);

  const sys::Text broken = sys::FromUtf8(folder / "broken.stg");
  std::ofstream(folder / "broken.stg") << "XYZ";
  EXPECT_EQ(CommandRegistry::Instance().Execute("Main/OpenAssayFile", nullptr, const_cast<char16_t*>(broken.c_str())),
            0);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("broken.stg"), std::string::npos);
  EXPECT_EQ(CommandRegistry::Instance().Execute("Main/OpenAssayFile", nullptr, nullptr), 0);
  CommandRegistry::Instance().Clear();
}

}  // namespace
