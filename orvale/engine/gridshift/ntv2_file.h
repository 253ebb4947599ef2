#pragma once
// Reading NTv2 grid shift files (.gsb) into a CNTv2: the overview header, then for
// each sub-file its header of eleven 16-byte records and its nodes. Files in either
// byte order are read (the byte order is told by the overview's record count). Every
// count is checked against the file's size before anything is allocated, so a damaged
// or hostile file costs no more memory than its own size.

#include <string>
#include <string_view>

#include "orvale/engine/gridshift/ntv2.h"

namespace orvale {

// The file of the "Canada NTv2" shift, looked for in the "Global" data folder.
inline constexpr std::string_view kCanadaNTv2FileName = "ntv2_0.gsb";

enum class GridFileProblem {
  kNone,
  kCannotOpen,        // missing, unreadable, or no data folder
  kTooShort,          // a header or the nodes end before the file says they do
  kNotNTv2,           // the overview does not count 11 records in either byte order
  kUnsupportedUnits,  // GS_TYPE is MINUTES or DEGREES; only SECONDS grids are read
  kBadSubGrid,        // an extent, increment or node count that cannot describe a grid
};

// What a loader made of a file: the problem and, for people, what was wrong.
struct [[nodiscard]] GridFileStatus {
  GridFileProblem problem = GridFileProblem::kNone;
  std::string reason;  // empty when loaded

  bool ok() const { return problem == GridFileProblem::kNone; }
};

// Loads the grid file at `path` (a library path such as "C:\\MyData\\Global\\x.gsb",
// or a host path) into `reader`, replacing its grids. On any failure the reader is
// left empty (its copies keep what they hold).
GridFileStatus LoadNTv2File(CNTv2& reader, std::string_view path);

// Loads kCanadaNTv2FileName from the "Global" data folder (the redirect when there is
// one, else the data folder). Without the file the reader is left empty.
GridFileStatus LoadCanadaNTv2(CNTv2& reader);

}  // namespace orvale
