#pragma once
// Datum record files in the Global data folder: user-defined Helmert shifts ("DMF",
// shift type 7), latitude/longitude shifts ("GSF", type 8) and grid shifts ("GRD",
// type 9), and the settings file that tells the host which datum is selected.
// CDatum's Save, Load, LoadGridShift and WriteSettings call these; their contracts
// are given there. Paths are library paths ("C:\\x\\Name.DMF").
//
// Every kind is seven lines, each ended by one line feed (from name, to name,
// variant, own spheroid name and country, target spheroid name and country, the last
// two empty when no target was attached), then the kind's block as little-endian
// numbers: 144 bytes of shift parameters, 24 of latitude/longitude/height shifts or
// 184 of grid-shift parameters.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/datum/datum.h"
#include "orvale/storage/record_status.h"

namespace orvale {

inline constexpr std::size_t kDatumRecordLineCount = 7;
inline constexpr std::size_t kLatLonShiftBytes = 24;

// "DMF", "GSF" or "GRD".
std::string_view DatumRecordExtension(DatumRecordKind kind);
// Bytes of the kind's block: 144, 24 or 184.
std::size_t DatumRecordBlockSize(DatumRecordKind kind);
// The kind of record file that holds the entries of shift type 7, 8 or 9; none for
// every other type, whose entries are built in.
std::optional<DatumRecordKind> DatumRecordKindOfType(int type);

// File names of the record files of shift type 7, 8 or 9 in the Global folder, in
// list order (sorted): the k-th (from 0) is entry number k of the type. Empty for
// other types.
std::vector<std::string> DatumRecordFiles(int type);
// The same, with the reason the record folder could not be listed.
RecordListing ListDatumRecordFiles(int type);

[[nodiscard]] bool SaveDatumRecord(CDatum& datum, std::string_view path);

// CDatum::Load with the reason a file is no record of the kind: it cannot be opened,
// is larger than a record can be, ends before its seven lines, goes on after its
// block, or holds a value that is not a finite number or a rotation method other
// than 0 and 1; or its block ends early, which keeps what the file holds (see Load).
RecordStatus ReadDatumRecord(CDatum& datum, std::string_view path, DatumRecordKind kind);

void WriteDatumSettings(const CDatum& datum);

}  // namespace orvale
