#pragma once
// Spheroid record files ("SPD") in the Global data folder, and the settings file that
// tells the host which spheroid is selected. CSpheroid's Save, Load and WriteSettings
// call these; their contracts are given there. Paths are library paths
// ("C:\\x\\Name.SPD").

#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

// File names of the spheroid record files in the Global folder, in list order: the
// k-th (from 0) stands for index 53 + k of the combined list.
std::vector<std::string> SpheroidRecordFiles();

[[nodiscard]] bool SaveSpheroidRecord(CSpheroid& spheroid, std::string_view path);
[[nodiscard]] bool LoadSpheroidRecord(CSpheroid& spheroid, std::string_view path);
void WriteSpheroidSettings(const CSpheroid& spheroid, std::string_view suffix);

}  // namespace orvale
