#pragma once
// The answer of a record-file reader: read, or the reason it cannot be, in words for
// the user ("cannot be opened: Permission denied", "a is negative").

#include <string>
#include <utility>
#include <vector>

namespace orvale {

struct [[nodiscard]] RecordStatus {
  bool ok = true;
  std::string reason;  // empty when ok

  static RecordStatus Read() { return {}; }
  static RecordStatus Refused(std::string why) { return {false, std::move(why)}; }
};

// The record files of one kind in list order, and why the record folder could not
// be listed (empty when it could; the files are then every one there is).
struct RecordListing {
  std::vector<std::string> files;
  std::string problem;
};

}  // namespace orvale
