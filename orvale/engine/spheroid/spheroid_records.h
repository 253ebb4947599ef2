#pragma once
// Spheroid record files ("SPD") in the Global data folder, and the settings file that
// tells the host which spheroid is selected. CSpheroid's Save, Load and WriteSettings
// call these; their contracts are given there. Paths are library paths
// ("C:\\x\\Name.SPD").

#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/storage/record_status.h"

namespace orvale {

// File names of the spheroid record files in the Global folder, in list order: the
// k-th (from 0) stands for index 53 + k of the combined list.
std::vector<std::string> SpheroidRecordFiles();
// The same, with the reason the record folder could not be listed.
RecordListing ListSpheroidRecordFiles();

[[nodiscard]] bool SaveSpheroidRecord(CSpheroid& spheroid, std::string_view path);
[[nodiscard]] bool LoadSpheroidRecord(CSpheroid& spheroid, std::string_view path);

// Load with the reason a file is no spheroid record: it cannot be opened, is larger
// than a record can be, ends early, goes on after its values, or holds values that
// are no spheroid (SpheroidAxesProblem). A file that ends early keeps what it could
// not supply, as Load does; every other refused file leaves WGS84 (row 26) with the
// file's title, so no value of a refused file is ever used.
RecordStatus ReadSpheroidRecord(CSpheroid& spheroid, std::string_view path);
void WriteSpheroidSettings(const CSpheroid& spheroid, std::string_view suffix);

}  // namespace orvale
