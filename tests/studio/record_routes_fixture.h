#pragma once
// The record routes on a router of their own, as the studio's server registers them,
// over a host datum whose target is WGS 84 on UTM zone 31, on drives of the test's own.
// Calls go straight to the router: what they test is the routes, not the sockets.

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <string>
#include <utility>

#include "apps/studio/record_routes.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "support/temporary_drives.h"

namespace orvale::studio {

class RecordRoutesTest : public orvale::testing::TemporaryDrives {
 protected:
  // The routes with an upload cap of `max_upload_bytes` (0: the routes' own).
  void SetUpRoutes(std::size_t max_upload_bytes = 0) {
    TemporaryDrives::SetUp();
    ASSERT_TRUE(target_.SetBuiltIn(26));
    target_projection_.m_Spheroid = &target_;
    ASSERT_TRUE(target_projection_.SetFromCatalogue(31, PROJECTION_UTM, 0));
    datum_.m_TargetSpheroid = &target_;
    datum_.m_TargetProjection = &target_projection_;
    scratch_ = Root() + "/scratch";
    RecordHost host{&target_projection_, &datum_, [this] { ++changes_; }, scratch_};
    if (max_upload_bytes != 0) host.max_upload_bytes = max_upload_bytes;
    AddRecordRoutes(router_, std::move(host));
  }
  void SetUp() override { SetUpRoutes(); }

  ApiReply Call(const std::string& method, const std::string& path, nlohmann::json body = nullptr,
                std::map<std::string, std::string> query = {}) {
    ApiRequest request;
    request.body = std::move(body);
    request.query = std::move(query);
    auto reply = router_.Dispatch(method, path, request);
    EXPECT_TRUE(reply.has_value()) << method << " " << path;
    return reply ? *reply : ApiReply::Error(0, "no route");
  }
  nlohmann::json Post(const std::string& path, nlohmann::json body = nlohmann::json::object(),
                      int status = 200) {
    const ApiReply reply = Call("POST", path, std::move(body));
    EXPECT_EQ(reply.status, status) << path << ": " << reply.json.dump();
    return reply.json;
  }

  CSpheroid target_;
  CProjection target_projection_;
  CDatum datum_;
  ApiRouter router_;
  std::string scratch_;
  int changes_ = 0;  // how often the routes told the host its records changed
};

}  // namespace orvale::studio
