#include "number_text.h"

#include "number_io.h"

namespace orvale::cli {

void AppendFixed(std::string& out, double value, int decimals) {
  char text[kFixedRoom];
  out.append(text, WriteFixed(text, value, decimals));
}

bool ReadDecimal(std::string_view text, double& value) {
  // ParseDecimal takes one leading '+'; this reader takes none (its callers have
  // taken off the one they allow).
  return !text.starts_with('+') && ParseDecimal(text, value);
}

}  // namespace orvale::cli
