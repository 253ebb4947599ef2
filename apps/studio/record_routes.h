#pragma once
// The workbench's routes for the record edit dialogs, the catalogue list editors,
// the import selectors and the points table (the Dialogs, Editors and Points sections
// of apps/studio/API.md), registered on the host's router.

#include <cstddef>
#include <functional>
#include <string>

#include "apps/studio/api.h"

namespace orvale {
class CDatum;
class CProjection;
}  // namespace orvale

namespace orvale::studio {

struct RecordHost {
  CProjection* projection;  // the host's current projection ("grid-to-geog" points)
  CDatum* datum;            // the host's datum with its target attached ("datum-shift")
  // Runs after a record file was written or removed, or the WGS84 set-up changed the
  // datum: the host refreshes what shows the catalogues.
  std::function<void()> records_changed;
  std::string scratch_folder;  // exports and uploads live here, removed when done
  std::size_t max_upload_bytes = std::size_t{16} << 20;
};

// The routes share one state, kept alive by the router's handlers.
void AddRecordRoutes(ApiRouter& router, RecordHost host);

}  // namespace orvale::studio
