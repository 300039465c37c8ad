#include "platform/LockedFile.h"
#include "platform/SharedFile.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/TempFolder.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace nomvarix {
namespace {

TEST(LockedFileTest, AHeldFileCannotBeTakenOverAndAReleasedOneCan) {
  test::TempFolder temp;
  const std::u16string path = temp.Path16() + u"new/state/one.journal";
  {
    const std::unique_ptr<LockedFile> held = CreateLockedFile(path, "content\n");
    ASSERT_TRUE(held);  // the folders on the way were created
    EXPECT_EQ(held->Content(), "content\n");
    // Read as another program would, sharing the file (Windows keeps a held file from readers that
    // do not share its deletion).
    EXPECT_EQ(ReadSharedFile(path), "content\n");
    EXPECT_FALSE(TakeOverLockedFile(path));
    EXPECT_FALSE(CreateLockedFile(path, "other"));  // never replaces a held file
  }
  {
    const std::unique_ptr<LockedFile> taken = TakeOverLockedFile(path);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->Content(), "content\n");
    EXPECT_FALSE(TakeOverLockedFile(path));
    EXPECT_TRUE(taken->Remove());
    EXPECT_FALSE(TakeOverLockedFile(path));
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path)));
  EXPECT_FALSE(TakeOverLockedFile(path));
}

#ifndef _WIN32
TEST(LockedFileTest, TheFileOfAKilledProgramCanBeTakenOver) {
  test::TempFolder temp;
  const std::u16string path = temp.Path16() + u"left.journal";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  if (child == 0) {
    const auto file = CreateLockedFile(path, "left");
    (void)!write(ready[1], "x", 1);
    pause();  // until killed, holding the file
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_FALSE(TakeOverLockedFile(path));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  const std::unique_ptr<LockedFile> taken = TakeOverLockedFile(path);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->Content(), "left");
}
#endif

}  // namespace
}  // namespace nomvarix
