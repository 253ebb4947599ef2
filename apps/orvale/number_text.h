#pragma once
// The numbers of the point pipeline's hot path, written and read in one place, so that
// a faster formatter or parser replaces both everywhere at once.

#include <string>
#include <string_view>

namespace orvale::cli {

// Appends `value` with `decimals` (0..32) decimals, as std::to_chars's fixed format
// writes it; a value too large for the buffer (none that is finite is) appends nothing.
void AppendFixed(std::string& out, double value, int decimals);

// Reads the whole of `text` as a decimal number as std::from_chars does (no leading
// "+", no blanks); false when it is not one, or is out of a double's range.
[[nodiscard]] bool ReadDecimal(std::string_view text, double& value);

}  // namespace orvale::cli
