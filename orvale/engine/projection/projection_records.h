#pragma once
// Projection record files ("PRJ") in the Global data folder, and the settings file
// that tells the host which projection is selected. CProjection's WriteRecordFile,
// ReadRecordFile, ReadRecordType and WriteSettingsSection call these; their contracts
// are given there. Paths are library paths ("C:\\x\\Name.PRJ").

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/projection/projection.h"
#include "orvale/storage/record_status.h"

namespace orvale {

// The type ReadRecordType gives a file that is no record of any type: one that cannot
// be opened or read whole, or whose block names no type or holds a value that is not
// a number. Such a file counts for no type, so it never takes a catalogue index.
inline constexpr std::int32_t kNoProjectionRecordType = 15;

// File names of the projection record files in the Global folder, in list order.
std::vector<std::string> ProjectionRecordFiles();
// The same, with the reason the record folder could not be listed.
RecordListing ListProjectionRecordFiles();

// The record files of one type in list order: the k-th (from 0) stands for catalogue
// index CatalogueRowCount(type) + k. Every one of them reads, unless it was changed
// since it was listed.
std::vector<std::string> ProjectionRecordFilesOfType(int type);

// Every record file, each listed with its type as ProjectionRecordFilesOfType lists
// it, and the files that count for no type.
// `reasons` says, file by file, why each unreadable one cannot be read.
struct ProjectionRecordsByType {
  std::array<std::vector<std::string>, kProjectionTypeCount> files;
  std::vector<std::string> unreadable;
  std::vector<std::string> reasons;
};
ProjectionRecordsByType ListProjectionRecords();

[[nodiscard]] bool SaveProjectionRecord(CProjection& projection, std::string_view path);
[[nodiscard]] bool LoadProjectionRecord(CProjection& projection, std::string_view path);

// LoadProjectionRecord with the reason a file is no projection record: it cannot be
// opened, is larger than a record can be, ends early or goes on after its block; its
// type or method is unknown; a value is not finite or out of bounds (latitudes beyond
// 90 degrees, the central meridian beyond 360 degrees either way, false eastings and
// northings beyond 100 000 km, a scale factor not above 0); or the spheroid it names
// is neither built in nor a readable spheroid record. A refused file changes the
// projection only as ReadRecordFile's failure does.
RecordStatus ReadProjectionRecordFile(CProjection& projection, std::string_view path);
std::int32_t ProjectionRecordType(std::string_view path);
void WriteProjectionSettings(const CProjection& projection, std::string_view title);

}  // namespace orvale
