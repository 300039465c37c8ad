// Runs the high-resolution GUI tests: the toolkit draws every logical pixel as 2 × 2 pixels of the
// display, as on a desktop set to a scale of 200 %.
#include <cstdlib>

#include <gtest/gtest.h>

#include "GuiTestEnvironment.h"

int main(int argc, char** argv) {
  // Read when the toolkit opens the display.
  setenv("GDK_SCALE", "2", 1);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new nomvarix::test::GuiTestEnvironment(argc, argv));
  return RUN_ALL_TESTS();
}
