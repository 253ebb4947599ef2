// A record or settings save that fails after any number of bytes, because the disk
// fills or the process stops, leaves the previous file whole; a failed save leaves no
// temporary behind, and the next save clears what a stopped process left.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "orvale/platform/drives.h"
#include "orvale/platform/internal/write_seam.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/internal/record_files.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

constexpr int kStopped = 42;  // the exit status of a process stopped part way
std::size_t room = 0;         // bytes the disk still takes
bool stop_when_full = false;  // stop the process there instead of failing the write

std::size_t LimitedWrite(std::FILE* stream, const void* data, std::size_t count) {
  const std::size_t written = std::fwrite(data, 1, std::min(count, room), stream);
  room -= written;
  if (written < count && stop_when_full) {
    std::fflush(stream);  // what was written reaches the file, as the system would see to
    std::_Exit(kStopped);
  }
  return written;
}

struct Save {
  const char* what;
  std::string path;  // library path of the file saved
  std::function<bool(int version)> write;
};

class CrashSafeWrites : public testing::TemporaryDrives {
 protected:
  void TearDown() override {
    internal::SetWriteBytesForTesting(nullptr);
    TemporaryDrives::TearDown();
  }

  static std::set<std::string> Folder(const std::string& path) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(HostPath(path)).parent_path()))
      names.insert(entry.path().filename().string());
    return names;
  }

  // Every byte offset of version 2's save, first on a full disk and then in a process
  // that stops there; version 1 must survive each, with nothing else left over.
  void Check(const Save& save) {
    SCOPED_TRACE(save.what);
    ASSERT_TRUE(save.write(2));
    const std::size_t size = ReadBytes(save.path).size();
    ASSERT_TRUE(save.write(1));
    const std::string old_bytes = ReadBytes(save.path);
    const std::set<std::string> folder = Folder(save.path);
    ASSERT_GT(size, 20u);
    for (std::size_t offset = 0; offset < size; ++offset) {
      room = offset;
      stop_when_full = false;
      internal::SetWriteBytesForTesting(LimitedWrite);
      EXPECT_FALSE(save.write(2)) << "the disk filled after " << offset << " bytes";
      internal::SetWriteBytesForTesting(nullptr);
      EXPECT_EQ(ReadBytes(save.path), old_bytes) << offset;
      EXPECT_EQ(Folder(save.path), folder) << "a failed save leaves no temporary";

      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        room = offset;
        stop_when_full = true;
        internal::SetWriteBytesForTesting(LimitedWrite);
        static_cast<void>(save.write(2));
        std::_Exit(0);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kStopped) << offset;
      EXPECT_EQ(ReadBytes(save.path), old_bytes) << "stopped after " << offset << " bytes";
      // The stopped process's temporary holds what it wrote, under a name no reader
      // takes for the file; the next save clears it.
      std::set<std::string> left = Folder(save.path);
      ASSERT_EQ(left.size(), folder.size() + 1) << offset;
      for (const std::string& name : folder)
        left.erase(name);
      const fs::path temporary = fs::path(HostPath(save.path)).parent_path() / *left.begin();
      EXPECT_TRUE(left.begin()->starts_with(fs::path(HostPath(save.path)).filename().string() +
                                            ".tmp-" + std::to_string(child) + "-"));
      EXPECT_EQ(fs::file_size(temporary), offset);
      ASSERT_TRUE(save.write(1));
      EXPECT_EQ(Folder(save.path), folder) << offset;
    }
    room = size;
    stop_when_full = false;
    internal::SetWriteBytesForTesting(LimitedWrite);
    EXPECT_TRUE(save.write(2)) << "exactly room enough";
    EXPECT_EQ(ReadBytes(save.path).size(), size);
  }
};

TEST_F(CrashSafeWrites, ARecordSurvivesASaveCutShortAtEveryByte) {
  Check({"record", RecordPath("Clarke 1866", "SPD"), [](int version) {
           const std::string block(48, static_cast<char>('0' + version));
           return WriteRecord("Clarke 1866", "SPD", {"Clarke 1866", version == 1 ? "USA" : "CA"},
                              block);
         }});
}

TEST_F(CrashSafeWrites, SettingsSurviveASaveCutShortAtEveryByte) {
  Check({"settings", CConfigFile().GetSettingsPath("Fault Test"), [](int version) {
           CConfigFile file;
           if (!file.OpenForWrite("Fault Test")) return false;
           file.WriteString("Name", version == 1 ? "first" : "second, longer");
           file.WriteDouble("Latitude", 0.5 * version);
           file.WriteInt("Notation", version);
           return file.Close();
         }});
}

}  // namespace
}  // namespace orvale
