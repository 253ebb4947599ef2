#include "apps/studio/web_host_services.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "orvale/platform/text_encoding.h"

namespace orvale::studio {
namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF; JSON
// writers refuse anything else.
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned min = 0, code = 0;
    if (byte < 0x80) {
      ++i;
      continue;
    } else if ((byte & 0xE0) == 0xC0) {
      length = 2, min = 0x80, code = byte & 0x1Fu;
    } else if ((byte & 0xF0) == 0xE0) {
      length = 3, min = 0x800, code = byte & 0x0Fu;
    } else if ((byte & 0xF8) == 0xF0) {
      length = 4, min = 0x10000, code = byte & 0x07u;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

}  // namespace

bool WebPrompt::GetYN(std::string_view question) {
  question_ = std::string(question);
  return answer_.value_or(false);
}

WebFileDialogs::~WebFileDialogs() {
  std::error_code error;
  std::filesystem::remove_all(folder_, error);
}

std::optional<std::string> WebFileDialogs::GetSaveFileName(std::string_view suggested_name) {
  std::string name;
  for (const char c : suggested_name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    name += plain ? c : '_';
  }
  if (name.empty() || name.front() == '.') name.insert(0, "export");
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error) return std::nullopt;
  written_ = (folder_ / name).string();
  return written_;
}

std::optional<std::string> WebFileDialogs::GetOpenFileName(std::string_view) {
  auto path = std::move(open_);
  open_.reset();
  return path;
}

std::optional<ApiReply> WebFileDialogs::Take(std::string_view content_type, bool attachment) {
  if (!written_) return std::nullopt;
  const std::filesystem::path path = *written_;
  written_.reset();
  std::ifstream in(path, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const bool read = in.good() || in.eof();
  in.close();
  std::error_code error;
  std::filesystem::remove(path, error);
  if (!read) return std::nullopt;
  return ApiReply::File(std::move(bytes), std::string(content_type),
                        SafeUtf8(path.filename().string()), attachment);
}

std::string ToUtf8(std::string_view library_text) {
  return Cp1252ToUtf8(library_text);
}

std::string SafeUtf8(std::string_view text) {
  return IsUtf8(text) ? std::string(text) : Cp1252ToUtf8(text);
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  return Utf8ToCp1252(utf8);
}

}  // namespace orvale::studio
