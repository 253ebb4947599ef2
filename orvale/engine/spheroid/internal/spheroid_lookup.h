#pragma once
// The combined spheroid list, built-in rows then record files, searched by index and
// by name. CSpheroid's SetFromIndex and FindByName call these; their contracts are
// given there.

#include <cstdint>
#include <string_view>

#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

[[nodiscard]] bool SetSpheroidFromIndex(CSpheroid& spheroid, std::int32_t index);

// The search of FindByName(name, country); on a miss the spheroid is left empty, its
// name and country included.
[[nodiscard]] bool FindSpheroid(CSpheroid& spheroid, std::string_view name,
                                std::string_view country);

}  // namespace orvale
