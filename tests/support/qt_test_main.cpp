// qt_test_main.cpp: runs a test program's cases inside one QApplication on the offscreen
// platform (see qt_offscreen.h).
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/qt_offscreen.h"

int main(int argc, char** argv) {
  OffscreenQt environment;
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
