#pragma once
// Settings files: one "key = value" line per value, read back by position.
//
// The n-th read takes the n-th line whatever its key; the key is only for people.
// Text values escape carriage return, line feed and comma as "«CR»", "«LF»" and
// "«COMMA»" (« and » being the Windows-1252 bytes 0xAB and 0xBB).

#include <string>
#include <string_view>

#include "orvale/platform/stdio_file.h"

namespace orvale {

class CConfigFile : public CStdioFile {
 public:
  // Path of settings file `name` in the settings folder: blanks become "_" and the
  // extension defaults to "INI" ("Angle Settings" -> "...\\Angle_Settings.INI").
  virtual std::string GetSettingsPath(std::string_view name, std::string_view extension = {}) const;

  // True when the settings file could be opened.
  [[nodiscard]] bool OpenForRead(std::string_view name, std::string_view extension = {});
  [[nodiscard]] bool OpenForWrite(std::string_view name, std::string_view extension = {});

  // Each read consumes one line. When the line is missing or holds no "=", the
  // default comes back; otherwise the text after the first "=" converted as the C
  // library converts numbers (leading blanks skipped, stops at the first character
  // that does not fit, 0 when nothing fits).
  int ReadInt(int default_value);
  double ReadDouble(double default_value);
  // First character after "=" and its leading blanks; the default when there is none.
  char ReadChar(char default_value);
  // Text after the first "=", one leading blank removed, escapes restored; empty
  // when the line is missing or holds no "=".
  std::string ReadString();
  using CStdioFile::ReadString;

  // Writers: "%s = %s\n" (escaped), "%s = %d\n", "%s = %.*lf\n" with precision 16.
  void WriteString(std::string_view key, std::string_view value);
  void WriteInt(std::string_view key, int value);
  void WriteDouble(std::string_view key, double value);
  using CStdioFile::WriteString;

 private:
  // The text after the first "=" of the next line, or false.
  [[nodiscard]] bool ReadValue(std::string& value);
};

// Escaping of text values, exposed for record files that share the convention.
std::string EscapeSettingsText(std::string_view text);
std::string UnescapeSettingsText(std::string_view text);

}  // namespace orvale
