#include "apps/studio/record_routes.h"

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "apps/studio/dialog_sessions.h"
#include "apps/studio/editor_sessions.h"
#include "apps/studio/point_table.h"
#include "apps/studio/web_host_services.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

// Open at once at most: enough for every dialog a person keeps open, few enough that
// a client looping on "open" holds little memory.
constexpr std::size_t kMaxDialogs = 32;
constexpr std::size_t kMaxEditors = 16;
constexpr std::size_t kMaxUploads = 8;

// The host's scratch folder, or one of this process's own in the temporary folder,
// which goes when the routes do (declared first, so destroyed after the sessions).
struct ScratchRoot {
  std::filesystem::path path;
  bool own = false;

  explicit ScratchRoot(const std::string& folder) : path(folder) {
    if (!path.empty()) return;
    std::error_code error;
    const auto temporary = std::filesystem::temp_directory_path(error);
    path = (error ? std::filesystem::path(".") : temporary) /
           ("orvale-studio-" + std::to_string(::getpid()));
    own = true;
  }
  ~ScratchRoot() {
    std::error_code error;
    if (own) std::filesystem::remove_all(path, error);
  }
  ScratchRoot(const ScratchRoot&) = delete;
  ScratchRoot& operator=(const ScratchRoot&) = delete;
};

struct RecordState {
  RecordHost host;
  ScratchRoot scratch;
  DialogSessions dialogs;
  EditorSessions editors;
  PointTable points;

  explicit RecordState(RecordHost h)
      : host(std::move(h)),
        scratch(host.scratch_folder),
        dialogs(kMaxDialogs, host.datum, [this](int editor) { Saved(editor); }),
        editors(kMaxEditors, scratch.path / "editors", dialogs, [this] { Changed(); }),
        points(scratch.path / "points", host.max_upload_bytes, kMaxUploads, host.projection,
               host.datum) {}

  void Saved(int editor) {
    if (editor != 0) editors.Refill(editor);
    Changed();
  }
  void Changed() {
    if (host.records_changed) host.records_changed();
  }
};

int Id(const ApiRequest& request) {
  return request.params.empty() || request.params[0].size() > 9 ? 0 : std::stoi(request.params[0]);
}

}  // namespace

void AddRecordRoutes(ApiRouter& router, RecordHost host) {
  const auto state = std::make_shared<RecordState>(std::move(host));

  router.Add("POST", R"(/dialogs)", [state](const ApiRequest& request) {
    const json& body = request.body;
    if (!body.is_object() || !body.contains("kind") || !body["kind"].is_string())
      return ApiReply::Error(400, "a dialog needs \"kind\"");
    std::string title;
    if (body.contains("record") && !body["record"].is_null()) {
      if (!body["record"].is_string()) return ApiReply::Error(400, "\"record\" is a file title");
      const auto text = FromUtf8(body["record"].get<std::string>());
      if (!text) return ApiReply::Error(400, "the file title cannot be stored");
      title = *text;
    }
    const bool night =
        body.contains("night") && body["night"].is_boolean() && body["night"].get<bool>();
    const int id = state->dialogs.Open(body["kind"].get<std::string>(), title, night, 0);
    if (id == 0) return ApiReply::Error(404, "no such dialog");
    return ApiReply::Json(state->dialogs.Describe(id));
  });
  router.Add("GET", R"(/dialogs/(\d+))", [state](const ApiRequest& request) {
    const json dialog = state->dialogs.Describe(Id(request));
    return dialog.is_null() ? ApiReply::Error(404, "no such dialog") : ApiReply::Json(dialog);
  });
  router.Add("POST", R"(/dialogs/(\d+)/edit)", [state](const ApiRequest& request) {
    return state->dialogs.Edit(Id(request), request.body);
  });
  router.Add("POST", R"(/dialogs/(\d+)/button)", [state](const ApiRequest& request) {
    return state->dialogs.Button(Id(request), request.body);
  });

  router.Add("POST", R"(/editors)",
             [state](const ApiRequest& request) { return state->editors.Create(request.body); });
  router.Add("GET", R"(/editors/(\d+))", [state](const ApiRequest& request) {
    const json editor = state->editors.Describe(Id(request));
    return editor.is_null() ? ApiReply::Error(404, "no such editor") : ApiReply::Json(editor);
  });
  router.Add("POST", R"(/editors/(\d+)/select)", [state](const ApiRequest& request) {
    return state->editors.Select(Id(request), request.body);
  });
  router.Add("POST", R"(/editors/(\d+)/add)",
             [state](const ApiRequest& request) { return state->editors.Add(Id(request)); });
  router.Add("POST", R"(/editors/(\d+)/edit)",
             [state](const ApiRequest& request) { return state->editors.Edit(Id(request)); });
  router.Add("POST", R"(/editors/(\d+)/open)", [state](const ApiRequest& request) {
    return state->editors.Open(Id(request), request.body);
  });
  router.Add("POST", R"(/editors/(\d+)/remove)", [state](const ApiRequest& request) {
    return state->editors.Remove(Id(request), request.body);
  });
  router.Add("POST", R"(/editors/(\d+)/close)",
             [state](const ApiRequest& request) { return state->editors.Close(Id(request)); });
  router.Add("GET", R"(/editors/(\d+)/export)", [state](const ApiRequest& request) {
    return state->editors.Export(Id(request), request.query);
  });

  router.Add("GET", R"(/selectors/([a-z-]+))", [state](const ApiRequest& request) {
    return state->points.Selector(request.params[0]);
  });
  router.Add("POST", R"(/selectors/([a-z-]+))", [state](const ApiRequest& request) {
    return state->points.SaveSelector(request.params[0], request.body);
  });
  router.Add("POST", R"(/points/preview)",
             [state](const ApiRequest& request) { return state->points.Preview(request.body); });
  router.Add("POST", R"(/points/convert)",
             [state](const ApiRequest& request) { return state->points.Convert(request.body); });
  router.Add("GET", R"(/points/export)",
             [state](const ApiRequest& request) { return state->points.Export(request.query); });
}

}  // namespace orvale::studio
