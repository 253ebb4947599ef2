#pragma once
// The record of one datum shift: the datum positions come from (its own spheroid and
// projection), references to the spheroid and projection they go to, which kind of
// shift applies and which catalogue entry or record file it is, the parameters of
// every kind of shift, and the grid readers of the grid-file methods.
//
// A datum is filled from the built-in catalogue (datum_catalogue.h), from a record
// file of the Global data folder (datum_records.h) or by an editor. The target
// spheroid and projection belong to the caller, who attaches them; a datum never
// owns or frees them.

#include <cstdint>
#include <string>
#include <string_view>

#include "orvale/engine/datum/shift_blocks.h"
#include "orvale/engine/gridshift/nadcon.h"
#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ostn15.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

// The three kinds of datum record file and the blocks their tails fill.
enum class DatumRecordKind {
  kHelmert,       // "DMF": the shift-parameter block, 144 bytes
  kLatLonShifts,  // "GSF": m_DLat, m_DLon, m_DHeight, 24 bytes
  kGridShift,     // "GRD": the grid-shift block, 184 bytes
};

class CDatum {
 public:
  // "No datum Shift", number 0, direction +1, reset, on WGS84 with UTM zone 31 north,
  // no target attached, holding the OSTN15 pair of the program's folder (empty when
  // its files are not there).
  CDatum();

  // A copy takes the file title, the own spheroid and projection (the projection stays
  // on the copy's own spheroid), the target references, the grid readers (sharing
  // their node arrays), type, direction, number, the four name texts and every shift
  // parameter. The fixed OSTN15 spheroid and projection are the copy's own, as built.
  CDatum(const CDatum& other);
  CDatum& operator=(const CDatum& other);

  // Empties the four name texts, zeroes every shift parameter (m_UseEpoch 1, both
  // grid scales 1.0) and releases both NADCON grid sets. Type, number, direction,
  // file title, spheroids and projections are kept.
  void Reset();

  // The display name, also stored in m_DisplayName: "<to>" or "<to> (<status>)" for
  // type 0, else "<from> to <to>" or "<from> to <to> (<status>)".
  std::string GetName();

  // Loads entry `number` of shift type `type` (0 to 9) in the sense `direction` (+1,
  // or -1 to reverse an entry of types 1, 2, 3, 5 and 6). Types 7 to 9 load the
  // record file at position `number` of their extension in list order, always in its
  // stored sense. False for an entry or file that does not exist, or a record file
  // that cannot be read (datum_records.h says why); the projections are set up again
  // in every case but type 2.
  [[nodiscard]] bool SetFromCatalogue(int type, int number, int direction);

  // Exchanges the source and target sides: names, spheroids, projections (when a
  // target projection is attached) and the sign of the seven Helmert parameters and
  // the three latitude/longitude shifts. Nothing changes without a target spheroid.
  void Reverse();

  // A, B, C and D of the grid shift from its rotation (degrees) and axis scales; a
  // scale not above 0 becomes 1.0 (the northing scale takes the easting scale when
  // that one is usable). Sets m_ShiftType to 9.
  void DeriveGridShift();

  // Record files (datum_records.h). Paths are library paths ("C:\\x\\Name.DMF"); only
  // their file titles are used, the files are always those of the Global folder.

  // Writes "<Global folder><m_FileTitle>.DMF": the seven lines and the shift-parameter
  // block, replacing the file whole or not at all. A given path supplies the file
  // title; without one the key is "<from>_<to>" or "<from>_<to>_<status>" and is kept
  // in m_FileTitle. False when there is no key, the key names no file, a text holds a
  // line feed, or the file cannot be written.
  [[nodiscard]] bool Save(std::string_view path = {});

  // Resets the datum and reads the record file of the path's title and the kind's
  // extension: names, own and (when attached) target spheroid by name and country,
  // and the tail into the kind's block. m_Direction becomes +1 and an empty variant
  // takes the file title. An empty path: false, nothing more. A file that cannot be
  // read (missing, larger than a record can be, not its seven lines and tail, a value
  // that is not a finite number, an unknown rotation method): false, WGS84 own and
  // International target spheroids. A file whose lines are whole but whose tail ends
  // early: its lines and the whole fields of its tail are taken, the rest of the block
  // stays as Reset made it, and the result is false.
  [[nodiscard]] bool Load(std::string_view path, DatumRecordKind kind);

  // Load of a "GRD" file, then DeriveGridShift whether or not it was read.
  [[nodiscard]] bool LoadGridShift(std::string_view path);

  // Records the selection for the host: the own spheroid and projection with the
  // suffix "(From)", an attached target spheroid and projection without one, then the
  // "Datum" settings file (type, direction, number, file title). Files that cannot be
  // written are skipped without a word.
  void WriteSettings() const;

  CSpheroid m_Spheroid;                       // own (source-side) spheroid
  CProjection m_Projection;                   // own projection, on m_Spheroid
  CSpheroid* m_TargetSpheroid = nullptr;      // attached by the caller, never owned
  CProjection* m_TargetProjection = nullptr;  // attached by the caller, never owned
  OstnGridPair m_OstnGrid;
  CNTv2 m_NTv2;
  std::int32_t m_ShiftType = 0;
  std::int32_t m_Direction = 1;
  std::int32_t m_Number = 0;
  std::string m_FileTitle;  // key of a record file; empty for a built-in entry
  std::string m_DisplayName;
  std::string m_FromName;
  std::string m_ToName;
  std::string m_ShiftStatus;  // the variant text
  DatumShiftParameters m_Shift;
  double m_DLat = 0.0;     // seconds of arc
  double m_DLon = 0.0;     // seconds of arc
  double m_DHeight = 0.0;  // metres
  GridShiftParameters m_Grid;
  NadconGridSet m_NadconGrid;  // NAD 27 / NAD 83 regions
  NadconGridSet m_HpgnGrid;    // HPGN state regions
  CSpheroid m_SecondSpheroid;
  CProjection m_SecondProjection;  // on m_SecondSpheroid

 private:
  // The parts every datum is built with: the default projections on the datum's own
  // spheroids and the reset parameters.
  void Build();
};

}  // namespace orvale
