// Takes the Ordnance Survey National Grid from the built-in catalogue, projects three
// cities onto it one at a time, then brings the whole run of grid co-ordinates back
// in one call, the way to convert a file of points.

#include <orvale/orvale.h>

#include <cmath>
#include <cstdio>
#include <vector>

int main() {
  using namespace orvale;
  CSpheroid spheroid;
  CProjection grid;
  grid.m_Spheroid = &spheroid;  // the catalogue row sets it to Airy 1830
  if (!grid.SetFromCatalogue(0, PROJECTION_TRANSVERSE_MERCATOR, 0)) return 1;
  std::printf("%s %s on %s\n", grid.m_Name.c_str(), grid.m_Country.c_str(),
              Cp1252ToUtf8(spheroid.m_Name).c_str());

  struct City {
    const char* name;
    double latitude, longitude;  // degrees
  };
  const City cities[] = {
      {"London", 51.5007, -0.1246}, {"Cardiff", 51.4816, -3.1791}, {"Edinburgh", 55.9486, -3.2008}};
  std::vector<double> eastings, northings;
  for (const City& city : cities) {
    double easting = 0.0, northing = 0.0;
    const ProjectionStatus status = grid.GeogToGrid(
        city.latitude * kRadiansPerDegree, city.longitude * kRadiansPerDegree, &easting, &northing);
    if (status != ProjectionStatus::kOk) {
      std::fprintf(stderr, "%s: %s\n", city.name,
                   std::string(ProjectionStatusText(status)).c_str());
      return 1;
    }
    eastings.push_back(easting);
    northings.push_back(northing);
  }

  std::vector<double> latitudes(eastings.size()), longitudes(eastings.size());
  std::vector<ProjectionStatus> statuses(eastings.size());
  grid.GridToGeogMany(eastings, northings, latitudes, longitudes, {}, {}, statuses);
  double worst = 0.0;  // metres, near enough on the ellipsoid's scale
  for (std::size_t i = 0; i < eastings.size(); ++i) {
    const City& city = cities[i];
    if (statuses[i] != ProjectionStatus::kOk) return 1;
    std::printf("%-10s E %11.3f  N %11.3f  back to %.9f %.9f\n", city.name, eastings[i],
                northings[i], latitudes[i] * kDegreesPerRadian, longitudes[i] * kDegreesPerRadian);
    const double north = (latitudes[i] * kDegreesPerRadian - city.latitude) * 111e3;
    const double east = (longitudes[i] * kDegreesPerRadian - city.longitude) * 111e3 *
                        std::cos(city.latitude * kRadiansPerDegree);
    worst = std::fmax(worst, std::hypot(north, east));
  }
  std::printf("worst round trip: %.6f m\n", worst);
  return worst < 0.001 ? 0 : 1;
}
