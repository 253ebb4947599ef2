#include <gtest/gtest.h>

#include <climits>

#include "orvale/platform/files.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

class ConfigFile : public testing::TemporaryDrives {
 protected:
  // Puts raw bytes where settings file `name` lives.
  void WriteSettings(std::string_view name, std::string_view bytes) {
    WriteBytes(CConfigFile().GetSettingsPath(name), bytes);
  }
  std::string SettingsBytes(std::string_view name) {
    return ReadBytes(CConfigFile().GetSettingsPath(name));
  }
};

TEST_F(ConfigFile, NamesTheFileAfterTheTopicInTheSettingsFolder) {
  CConfigFile file;
  EXPECT_EQ(file.GetSettingsPath("Angle Settings"), "C:\\MySettings\\Orvale\\Angle_Settings.INI");
  EXPECT_EQ(file.GetSettingsPath("Spheroid Airy 1830", "TXT"),
            "C:\\MySettings\\Orvale\\Spheroid_Airy_1830.TXT");
  EXPECT_TRUE(FolderExists("C:\\MySettings\\Orvale\\")) << "the folder is made on first use";
}

TEST_F(ConfigFile, ReadsIntegersAfterTheFirstEqualsSignLineByLine) {
  WriteSettings("Numbers",
                "Type = 7\r\nno equals sign here\r\nType =      7\r\nA = B = 3\r\n"
                "Negative = -12\r\nTrailing = 42abc\r\nWord = abc\r\nHuge = 99999999999999\r\n");
  CConfigFile file;
  ASSERT_TRUE(file.OpenForRead("Numbers"));
  EXPECT_EQ(file.ReadInt(-1), 7);
  EXPECT_EQ(file.ReadInt(-1), -1) << "a line without '=' gives the default; the next read goes on";
  EXPECT_EQ(file.ReadInt(-1), 7);
  EXPECT_EQ(file.ReadInt(-1), 0) << "the value starts after the first '=' only";
  EXPECT_EQ(file.ReadInt(-1), -12);
  EXPECT_EQ(file.ReadInt(-1), 42);
  EXPECT_EQ(file.ReadInt(-1), 0) << "text that is no number converts to 0, as the C library does";
  EXPECT_EQ(file.ReadInt(-1), INT_MAX);
  EXPECT_EQ(file.ReadInt(-1), -1) << "past the end of the file the default comes back";
}

TEST_F(ConfigFile, ReadsDoublesCharactersAndTexts) {
  WriteSettings("Mixed",
                "Lat = 0.8988445647770796\r\nLetter =   S\r\nBlank =   \r\n"
                "Name =  a\r\nPlain = Airy 1830\r\nEmpty =\r\nNo value\r\n");
  CConfigFile file;
  ASSERT_TRUE(file.OpenForRead("Mixed"));
  EXPECT_EQ(file.ReadDouble(0.0), 0.8988445647770796);
  EXPECT_EQ(file.ReadChar('N'), 'S');
  EXPECT_EQ(file.ReadChar('N'), 'N');
  EXPECT_EQ(file.ReadString(), " a") << "only one leading blank is the separator";
  EXPECT_EQ(file.ReadString(), "Airy 1830");
  EXPECT_EQ(file.ReadString(), "");
  EXPECT_EQ(file.ReadString(), "");
  EXPECT_EQ(file.ReadString(), "");
}

TEST_F(ConfigFile, WritesTheLineShapesThatItsReadersExpect) {
  CConfigFile file;
  ASSERT_TRUE(file.OpenForWrite("Written"));
  file.WriteString("Name", "Clarke, 1866");
  file.WriteInt("Index", 26);
  file.WriteDouble("Axis", 6378137.0);
  file.WriteDouble("Flattening", 1.0 / 298.257223563);
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(SettingsBytes("Written"),
            "Name = Clarke\xAB"
            "COMMA\xBB 1866\r\n"
            "Index = 26\r\n"
            "Axis = 6378137.0000000000000000\r\n"
            "Flattening = 0.0033528106647475\r\n");
}

TEST_F(ConfigFile, RestoresEscapedCharactersOfTexts) {
  const std::string awkward =
      "line one\r\nline two, with a comma\n\xAB"
      "kept\xBB";
  CConfigFile writer;
  ASSERT_TRUE(writer.OpenForWrite("Escapes"));
  writer.WriteString("Text", awkward);
  writer.WriteString("After", "still in step");
  ASSERT_TRUE(writer.Close());
  EXPECT_EQ(SettingsBytes("Escapes").find('\n'), SettingsBytes("Escapes").find("\r\nAfter") + 1)
      << "the value must stay on one line";

  CConfigFile reader;
  ASSERT_TRUE(reader.OpenForRead("Escapes"));
  EXPECT_EQ(reader.ReadString(), awkward);
  EXPECT_EQ(reader.ReadString(), "still in step");
}

TEST_F(ConfigFile, KeepsDoublesToTheLastDigitThatSixteenDecimalsHold) {
  const double values[] = {0.0, -1.0, 1.0 / 3.0, 6378206.4, 1e-9, -2.5e-5};
  CConfigFile writer;
  ASSERT_TRUE(writer.OpenForWrite("Doubles"));
  for (double value : values)
    writer.WriteDouble("V", value);
  ASSERT_TRUE(writer.Close());
  CConfigFile reader;
  ASSERT_TRUE(reader.OpenForRead("Doubles"));
  for (double value : values)
    EXPECT_NEAR(reader.ReadDouble(99.0), value, 5e-17) << value;
}

TEST_F(ConfigFile, FallsBackToDefaultsWhenTheFileIsMissing) {
  CConfigFile file;
  EXPECT_FALSE(file.OpenForRead("Never Written"));
  EXPECT_EQ(file.ReadInt(1), 1);
  EXPECT_EQ(file.ReadDouble(2.5), 2.5);
  EXPECT_EQ(file.ReadChar('E'), 'E');
  EXPECT_EQ(file.ReadString(), "");
}

// Any bytes at all are the fuzz target's; here a line too long to keep.
TEST_F(ConfigFile, SkipsTheRestOfAHugeLineAndReadsTheNext) {
  CConfigFile file;
  WriteSettings("Huge", "Value = 5" + std::string(1 << 20, '5') + "\r\nNext = 3\r\n");
  ASSERT_TRUE(file.OpenForRead("Huge"));
  EXPECT_EQ(file.ReadInt(0), INT_MAX);
  EXPECT_EQ(file.ReadInt(0), 3) << "the line after a huge one is still the next value";
  EXPECT_TRUE(file.Close());

  WriteSettings("Huge Text", "Value = " + std::string(1 << 20, 'x') + "\r\nNext = 3\r\n");
  ASSERT_TRUE(file.OpenForRead("Huge Text"));
  EXPECT_LE(file.ReadString().size(), CStdioFile::kMaxLineLength);
  EXPECT_EQ(file.ReadInt(0), 3);
}

}  // namespace
}  // namespace orvale
