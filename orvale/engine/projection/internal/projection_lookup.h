#pragma once
// Look-up among the built-in rows and the record files of each projection type, by
// index, by name and by spheroid. CProjection's SetFromIndex, FindUserRecord,
// FindByName and MatchSpheroid call these; their contracts are given there.

#include <string>
#include <string_view>

#include "orvale/engine/projection/projection.h"

namespace orvale {

[[nodiscard]] bool SetProjectionFromIndex(CProjection& projection, int index, int type, int method);
[[nodiscard]] bool FindProjectionUserRecord(int index, int type, std::string& title,
                                            std::string& path);
[[nodiscard]] bool FindProjection(CProjection& projection, std::string_view name,
                                  std::string_view country, int type);
void MatchProjectionToSpheroid(CProjection& projection);

}  // namespace orvale
