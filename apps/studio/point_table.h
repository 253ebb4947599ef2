#pragma once
// The points table: a CSV file or an Excel workbook uploaded (base64 in JSON, size
// capped), previewed, read with the columns an import selector names, every row
// converted through the host's projection ("grid-to-geog") or datum shift
// ("datum-shift") with its line number, status and the method or grid that gave it,
// and the results exported to CSV or .xlsx. Also the four import selectors, whose
// remembered columns are the table's defaults.

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "apps/studio/api.h"
#include "apps/studio/dialog_sessions.h"

namespace orvale {
class CDatum;
class CProjection;
}  // namespace orvale

namespace orvale::studio {

class PointTable {
 public:
  // Uploads are kept under `folder`, at most `max_files` of them (the oldest removed
  // first), each at most `max_upload_bytes` once decoded.
  PointTable(std::filesystem::path folder, std::size_t max_upload_bytes, std::size_t max_files,
             CProjection* projection, CDatum* datum);
  ~PointTable();

  ApiReply Preview(const nlohmann::json& body);
  ApiReply Convert(const nlohmann::json& body);
  ApiReply Export(const std::map<std::string, std::string>& query);

  ApiReply Selector(std::string_view kind) const;
  ApiReply SaveSelector(std::string_view kind, const nlohmann::json& body);

 private:
  struct Upload;
  Upload* FindUpload(const nlohmann::json& body);

  std::filesystem::path folder_;
  std::size_t max_upload_bytes_;
  CProjection* projection_;
  CDatum* datum_;
  SessionStore<Upload> uploads_;
};

// Standard base64 (RFC 4648, padding optional, no line breaks); nothing when the
// text holds anything else.
std::optional<std::string> DecodeBase64(std::string_view text);

}  // namespace orvale::studio
