#include "orvale/storage/config_file.h"

#include <array>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "orvale/storage/data_folders.h"

namespace orvale {
namespace {

struct Escape {
  char plain;
  std::string_view escaped;
};

constexpr std::array<Escape, 3> kEscapes = {{
    {'\r',
     "\xAB"
     "CR\xBB"},
    {'\n',
     "\xAB"
     "LF\xBB"},
    {',',
     "\xAB"
     "COMMA\xBB"},
}};

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  return text;
}

}  // namespace

std::string EscapeSettingsText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    bool escaped = false;
    for (const Escape& escape : kEscapes) {
      if (c == escape.plain) {
        out += escape.escaped;
        escaped = true;
        break;
      }
    }
    if (!escaped) out += c;
  }
  return out;
}

std::string UnescapeSettingsText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    bool restored = false;
    for (const Escape& escape : kEscapes) {
      if (text.starts_with(escape.escaped)) {
        out += escape.plain;
        text.remove_prefix(escape.escaped.size());
        restored = true;
        break;
      }
    }
    if (!restored) {
      out += text.front();
      text.remove_prefix(1);
    }
  }
  return out;
}

std::string CConfigFile::GetSettingsPath(std::string_view name, std::string_view extension) const {
  std::string file_name(name);
  for (char& c : file_name) {
    if (c == ' ') c = '_';
  }
  return GetSettingsFolder() + file_name + "." + std::string(extension.empty() ? "INI" : extension);
}

bool CConfigFile::OpenForRead(std::string_view name, std::string_view extension) {
  return Open(GetSettingsPath(name, extension), FileMode::ReadText);
}

bool CConfigFile::OpenForWrite(std::string_view name, std::string_view extension) {
  return Open(GetSettingsPath(name, extension), FileMode::WriteText);
}

bool CConfigFile::ReadValue(std::string& value) {
  std::string line;
  if (!CStdioFile::ReadString(line)) return false;
  const auto equals = line.find('=');
  if (equals == std::string::npos) return false;
  value = line.substr(equals + 1);
  return true;
}

int CConfigFile::ReadInt(int default_value) {
  std::string value;
  if (!ReadValue(value)) return default_value;
  // strtol saturates where atoi would be undefined; the int range then clamps.
  const long number = std::strtol(value.c_str(), nullptr, 10);
  if (number > INT_MAX) return INT_MAX;
  if (number < INT_MIN) return INT_MIN;
  return static_cast<int>(number);
}

double CConfigFile::ReadDouble(double default_value) {
  std::string value;
  if (!ReadValue(value)) return default_value;
  return std::strtod(value.c_str(), nullptr);
}

char CConfigFile::ReadChar(char default_value) {
  std::string value;
  if (!ReadValue(value)) return default_value;
  const std::string_view text = SkipBlanks(value);
  return text.empty() ? default_value : text.front();
}

std::string CConfigFile::ReadString() {
  std::string value;
  if (!ReadValue(value)) return {};
  std::string_view text = value;
  if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return UnescapeSettingsText(text);
}

void CConfigFile::WriteString(std::string_view key, std::string_view value) {
  CStdioFile::WriteString(std::string(key) + " = " + EscapeSettingsText(value) + "\n");
}

void CConfigFile::WriteInt(std::string_view key, int value) {
  CStdioFile::WriteString(std::string(key) + " = " + std::to_string(value) + "\n");
}

void CConfigFile::WriteDouble(std::string_view key, double value) {
  char number[512];
  std::snprintf(number, sizeof number, "%.*lf", 16, value);
  CStdioFile::WriteString(std::string(key) + " = " + number + "\n");
}

}  // namespace orvale
