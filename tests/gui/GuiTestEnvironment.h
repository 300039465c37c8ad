#pragma once

#include <string>

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace nomvarix {
class CNomvarixApp;
}

namespace nomvarix::test {

/// The application under test, started with "-x <photos folder>" and its own settings file.
class GuiTestEnvironment final : public ::testing::Environment {
 public:
  GuiTestEnvironment(int& argc, char** argv);
  void SetUp() override;
  void TearDown() override;

  static GuiTestEnvironment& Get() { return *instance_; }
  CNomvarixApp& App();
  std::string PhotosFolder() const { return temp_.Path() + "photos"; }
  std::string OtherFolder() const { return temp_.Path() + "other"; }
  std::string SettingsText() const { return temp_.ReadFile("settings.conf"); }

 private:
  static GuiTestEnvironment* instance_;
  int& argc_;
  char** argv_;
  TempFolder temp_;
  bool started_ = false;
};

}  // namespace nomvarix::test
