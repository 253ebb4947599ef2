// The built-in datum entries, each loaded in both senses and compared with the
// published values kept under tests/data/datum, and the name tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "datum_fixture.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::AttachedDatum;
using testing::Definition;
using testing::Seven;
using testing::SpheroidRow;
using testing::Values;

std::array<double, 7> Negated(std::array<double, 7> values) {
  for (double& v : values)
    v = -v;
  return values;
}

// Loads an entry over a datum on Airy 1830 with a target on SAD 1969 and parameters
// of its own, so that every value the entry leaves alone can be told from one it sets.
void Load(AttachedDatum& d, int type, int number, int direction) {
  ASSERT_TRUE(d.datum.m_Spheroid.SetBuiltIn(0));
  ASSERT_TRUE(d.target.SetBuiltIn(42));
  d.datum.m_Shift = testing::SetParameters();
  ASSERT_TRUE(d.datum.SetFromCatalogue(type, number, direction)) << type << "/" << number;
  EXPECT_EQ(std::tie(d.datum.m_ShiftType, d.datum.m_Number, d.datum.m_Direction),
            std::tie(type, number, direction));
}

TEST(DatumCatalogue, LoadsEveryEntryAsPublished) {
  std::map<int, int> entries_per_type;
  for (const testing::TextRow& row : testing::ReadTextTable("datum/catalogue_entries.txt", 9)) {
    SCOPED_TRACE(row.where);
    const int type = std::stoi(row[0]);
    const int number = std::stoi(row[1]);
    EXPECT_EQ(number, entries_per_type[type]++) << "entries are listed in number order";
    AttachedDatum d;
    Load(d, type, number, 1);
    const CDatum& datum = d.datum;
    EXPECT_EQ(std::tie(datum.m_FromName, datum.m_ToName, datum.m_ShiftStatus),
              std::tie(row.fields[2], row.fields[3], row.fields[4]));
    EXPECT_EQ(Definition(datum.m_Spheroid), Definition(SpheroidRow(std::stoi(row[5]))));
    EXPECT_EQ(Definition(d.target), Definition(SpheroidRow(std::stoi(row[6]))));
    const DatumShiftParameters before = testing::SetParameters();
    if (row[7] == "-") {
      EXPECT_EQ(Values(datum.m_Shift), Values(before)) << "no parameter is set";
      continue;
    }
    const std::vector<double> seven = row.Numbers(7);
    ASSERT_EQ(seven.size(), 7u);
    // A Helmert entry sets the seven parameters and the rotation method and clears the
    // rest; the grid-to-grid entry sets the seven alone.
    DatumShiftParameters expected = row[8] == "-" ? before : DatumShiftParameters{};
    if (row[8] != "-") expected.m_RotationMethod = std::stoi(row[8]);
    std::size_t i = 0;
    for (double* v : {&expected.m_DX, &expected.m_DY, &expected.m_DZ, &expected.m_RX,
                      &expected.m_RY, &expected.m_RZ, &expected.m_Scale}) {
      *v = seven[i++];
    }
    EXPECT_EQ(Values(datum.m_Shift), Values(expected));
    if (type != 1 && type != 3 && type != 6) continue;

    // Reversed: the sides and the signs exchanged, the rotation method kept.
    AttachedDatum r;
    Load(r, type, number, -1);
    EXPECT_EQ(std::tie(r.datum.m_FromName, r.datum.m_ToName, r.datum.m_ShiftStatus),
              std::tie(row.fields[3], row.fields[2], row.fields[4]));
    EXPECT_EQ(Definition(r.datum.m_Spheroid), Definition(SpheroidRow(std::stoi(row[6]))));
    EXPECT_EQ(Definition(r.target), Definition(SpheroidRow(std::stoi(row[5]))));
    EXPECT_EQ(Seven(r.datum.m_Shift), Negated(Seven(datum.m_Shift)));
    EXPECT_EQ(r.datum.m_Shift.m_RotationMethod, datum.m_Shift.m_RotationMethod);
  }
  // Every entry is listed, and the next number does not exist.
  for (int type = 0; type < kShiftTypeCount; ++type) {
    EXPECT_EQ(BuiltInEntryCount(type), entries_per_type[type]) << type;
    if (type >= kUserDefinedShifts) continue;
    AttachedDatum d;
    EXPECT_FALSE(d.datum.SetFromCatalogue(type, BuiltInEntryCount(type), 1)) << type;
    EXPECT_FALSE(d.datum.SetFromCatalogue(type, -1, 1)) << type;
  }
}

TEST(DatumCatalogue, NamesShiftTypesAndRotationMethods) {
  for (const testing::TextRow& row : testing::ReadTextTable("datum/catalogue_names.txt")) {
    const int index = std::stoi(row[1]);
    if (row[0] == "shift type") {
      EXPECT_EQ(ShiftTypeName(index), row[2]) << row.where;
    } else {
      EXPECT_EQ(RotationMethodName(index), row[2]) << row.where;
      EXPECT_EQ(RotationMethodRemark(index), row[3]) << row.where;
    }
  }
}

}  // namespace
}  // namespace orvale
