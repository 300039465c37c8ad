// Runs the GUI tests against the real application object under the test's display.
#include <gtest/gtest.h>

#include "GuiTestEnvironment.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new nomvarix::test::GuiTestEnvironment(argc, argv));
  return RUN_ALL_TESTS();
}
