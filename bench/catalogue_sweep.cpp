// Prints every built-in catalogue row as it is set up, and what the row does to a
// small grid of points about its origin, forward and back, one point at a time and as
// a run, every number as a hexadecimal float; points that give no result are listed
// on standard error. Two builds that print the same text
// give bit-for-bit the same results on every row: run it before and after a change
// that must not move a number, and compare.
//
//   catalogue_sweep > before.txt   (then, after the change)   catalogue_sweep | diff before.txt -

#include <orvale/orvale.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

using orvale::CProjection;
using orvale::CSpheroid;

const char* Text(orvale::ProjectionStatus status) {
  return status == orvale::ProjectionStatus::kOk ? "ok"
                                                 : orvale::ProjectionStatusText(status).data();
}

void PrintRecord(const CProjection& p) {
  std::printf("row %d/%d/%d %s | %s\n", p.m_Type, p.m_Index, p.m_Method, p.m_Name.c_str(),
              p.m_Country.c_str());
  const CSpheroid& s = *p.m_Spheroid;
  std::printf("  spheroid %s | %s a=%a b=%a rf=%a\n", s.m_Name.c_str(), s.m_Country.c_str(),
              s.m_SemiMajorAxis, s.m_SemiMinorAxis, s.m_InverseFlattening);
  std::printf("  zone=%d named=%d lat0=%a lon0=%a fe=%a fn=%a k0=%a sp1=%a sp2=%a\n", p.m_Zone,
              p.m_NamedRow ? 1 : 0, p.m_OriginLatitude, p.m_CentralMeridian, p.m_FalseEasting,
              p.m_FalseNorthing, p.m_ScaleFactor, p.m_StandardParallel1, p.m_StandardParallel2);
  std::printf("  derived ratio=%a sin0=%a cos0=%a tan0=%a nu0=%a rho0=%a m0=%a psi0=%a\n",
              p.m_ScaleRatio, p.m_SinLat0, p.m_CosLat0, p.m_TanLat0, p.m_Nu0, p.m_Rho0, p.m_M0,
              p.m_Psi0);
  std::printf("  param");
  for (double value : p.m_Param)
    std::printf(" %a", value);
  std::printf("\n");
}

// Points about the origin: up to 2 degrees either side in latitude and 3 in longitude,
// held inside +-89.5 degrees, and the origin itself.
std::vector<std::array<double, 2>> PointsAbout(const CProjection& p) {
  const double degree = orvale::kRadiansPerDegree;
  std::vector<std::array<double, 2>> points;
  for (double dlat : {-2.0, 0.0, 1.5}) {
    for (double dlon : {-3.0, 0.0, 0.75, 2.5}) {
      const double latitude =
          std::clamp(p.m_OriginLatitude + dlat * degree, -89.5 * degree, 89.5 * degree);
      points.push_back({latitude, p.m_CentralMeridian + dlon * degree});
    }
  }
  return points;
}

void PrintPoints(CProjection& p) {
  const auto points = PointsAbout(p);
  const std::size_t n = points.size();
  std::vector<double> lat(n), lon(n), e(n), north(n), conv(n), scale(n);
  for (std::size_t i = 0; i < n; ++i) {
    lat[i] = points[i][0];
    lon[i] = points[i][1];
    double ge = 0, gn = 0, gc = 0, gk = 0;
    const auto forward = p.GeogToGrid(lat[i], lon[i], &ge, &gn, &gc, &gk);
    double back_lat = 0, back_lon = 0, bc = 0, bk = 0;
    const auto inverse = p.GridToGeog(ge, gn, &back_lat, &back_lon, &bc, &bk);
    std::printf("  pt %a %a -> %a %a %a %a -> %a %a %a %a\n", lat[i], lon[i], ge, gn, gc, gk,
                back_lat, back_lon, bc, bk);
    if (forward != orvale::ProjectionStatus::kOk || inverse != orvale::ProjectionStatus::kOk) {
      // On standard error: what a point's status is does not change its numbers.
      std::fprintf(stderr, "row %d/%d/%d point %zu: forward %s, inverse %s\n", p.m_Type, p.m_Index,
                   p.m_Method, i, Text(forward), Text(inverse));
    }
  }
  p.GeogToGridMany(lat, lon, e, north, conv, scale);
  for (std::size_t i = 0; i < n; ++i) {
    std::printf("  run> %a %a %a %a\n", e[i], north[i], conv[i], scale[i]);
  }
  std::vector<double> back_lat(n), back_lon(n);
  p.GridToGeogMany(e, north, back_lat, back_lon, conv, scale);
  for (std::size_t i = 0; i < n; ++i) {
    std::printf("  run< %a %a %a %a\n", back_lat[i], back_lon[i], conv[i], scale[i]);
  }
}

}  // namespace

int main() {
  int rows = 0;
  for (int type = 0; type < orvale::kProjectionTypeCount; ++type) {
    const int methods = std::max(CProjection::MethodCount(type), 1);
    for (int method = 0; method < methods; ++method) {
      for (int index = 0;; ++index) {
        CSpheroid spheroid;
        CProjection p;
        p.m_Spheroid = &spheroid;
        if (!p.SetFromCatalogue(index, type, method)) break;
        PrintRecord(p);
        PrintPoints(p);
        ++rows;
      }
    }
  }
  std::printf("%d rows\n", rows);
  return 0;
}
