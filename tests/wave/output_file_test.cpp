// Output files: each test works in a folder of its own, and a failed write
// is provoked in a child process (a file size limit stands for a full disk,
// another user for a read-only folder), so it fails for root too.

#include "wave/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

class OutputFileTest : public testing::Test {
 protected:
  fs::path folder;
  fs::path target;

  void SetUp() override {
    std::string pattern =
        (fs::temp_directory_path() / "dalvenor_output_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    target = folder / "plan.json";
  }
  void TearDown() override {
    fs::permissions(folder, fs::perms::owner_all);
    fs::remove_all(folder);
  }

  // writeFileWhole in a child process prepared by `limit`; true when the
  // child's write succeeded.
  bool writeInChild(const std::string& text,
                    const std::function<void()>& limit) {
    pid_t child = ::fork();
    if (child == 0) {
      limit();
      ::_exit(writeFileWhole(target.string(), text) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
};

// Files may not grow beyond 16 bytes: a write of more fails as on a full disk.
void fullDisk() {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{16, 16};
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

TEST_F(OutputFileTest, WritesANewFileAndReplacesItWholeLeavingNothingElse) {
  ASSERT_TRUE(writeFileWhole(target.string(), "first\n"));
  EXPECT_EQ(readAll(target), "first\n");
  mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(static_cast<mode_t>(fs::status(target).permissions()),
            0666 & ~mask);
  ASSERT_TRUE(writeFileWhole(target.string(), "second, longer\n"));
  EXPECT_EQ(readAll(target), "second, longer\n");
  EXPECT_EQ(namesIn(folder), std::set<std::string>{"plan.json"});
}

TEST_F(OutputFileTest, AFifoWithAReaderGetsThePlanAndStaysAFifo) {
  ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
  auto received =
      std::async(std::launch::async, [&] { return readAll(target); });
  EXPECT_TRUE(writeFileWhole(target.string(), "[{\"items\":[]}]\n"));
  // Should the write not have opened the FIFO, the reader still ends.
  ::close(::open(target.c_str(), O_WRONLY | O_NONBLOCK));
  EXPECT_EQ(received.get(), "[{\"items\":[]}]\n");
  EXPECT_TRUE(fs::is_fifo(fs::symlink_status(target)));
  EXPECT_EQ(namesIn(folder), std::set<std::string>{"plan.json"});
}

TEST_F(OutputFileTest, ALinkPlantedAtTheOldTemporaryNameIsLeftAlone) {
  const fs::path victim = folder / "victim";
  std::ofstream(victim) << "precious";
  fs::create_symlink(victim, folder / "plan.json.tmp");
  ASSERT_TRUE(writeFileWhole(target.string(), "plan\n"));
  EXPECT_EQ(readAll(target), "plan\n");
  EXPECT_EQ(readAll(victim), "precious");
  EXPECT_TRUE(fs::is_symlink(folder / "plan.json.tmp"));
}

TEST_F(OutputFileTest, AFailedWriteOnAFullDiskKeepsTheOldFileAndOthers) {
  std::ofstream(target) << "old plan";
  fs::create_directory(folder / "plan.json.tmp");
  EXPECT_FALSE(writeInChild(std::string(100, 'x'), fullDisk));
  EXPECT_EQ(readAll(target), "old plan");
  EXPECT_TRUE(fs::is_directory(folder / "plan.json.tmp"));
  EXPECT_EQ(namesIn(folder),
            (std::set<std::string>{"plan.json", "plan.json.tmp"}));
}

TEST_F(OutputFileTest, AReadOnlyFolderFailsAndKeepsTheOldFile) {
  std::ofstream(target) << "old plan";
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec |
                              fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
  EXPECT_FALSE(writeInChild("new plan", [] {
    // Root writes into any folder: write as the unprivileged user instead.
    if (::geteuid() == 0 && ::setgid(65534) == 0) ::setuid(65534);
  }));
  EXPECT_EQ(readAll(target), "old plan");
  EXPECT_EQ(namesIn(folder), std::set<std::string>{"plan.json"});
}

TEST_F(OutputFileTest, FoldersAndLinksToFilesAreRefusedDevicesWrittenInPlace) {
  fs::create_directory(target);
  EXPECT_EQ(writeFileWholeFailure(target.string(), "plan"), "is a folder");
  EXPECT_TRUE(fs::is_empty(target));

  const fs::path file = folder / "kept.json";
  const fs::path link = folder / "link.json";
  std::ofstream(file) << "kept";
  fs::create_symlink(file, link);
  EXPECT_EQ(writeFileWholeFailure(link.string(), "plan"),
            "is a symbolic link to a file; name the file itself");
  EXPECT_EQ(readAll(file), "kept");
  EXPECT_TRUE(fs::is_symlink(link));

  // A link to a character device is written in place, here one that is
  // always full: the failure is reported and the link stays a link.
  const fs::path full = folder / "full";
  fs::create_symlink("/dev/full", full);
  EXPECT_EQ(writeFileWholeFailure(full.string(), "plan"),
            std::strerror(ENOSPC));
  EXPECT_TRUE(fs::is_symlink(full));
  EXPECT_EQ(writeFileWholeFailure("", "plan"), "no file name given");
}

}  // namespace
