#include "apps/studio/dialog_sessions.h"

#include <array>
#include <cstdio>
#include <utility>

#include "apps/studio/grid_json.h"
#include "apps/studio/web_host_services.h"
#include "orvale/dialogs/edit_datum.h"
#include "orvale/dialogs/edit_projection.h"
#include "orvale/dialogs/edit_spheroid.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/panes/grid_snapshot.h"
#include "orvale/panes/wgs84_setup.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kUnits = 3;

// The set-up dialog works on copies of the host's datum and its target records, so
// that Cancel leaves the host as it was; OK copies them back. Never moved: the copies
// point at each other.
struct Wgs84Work {
  CSpheroid target_spheroid;
  CProjection target_projection;
  CDatum datum;
  CWGS84Setup dialog;

  explicit Wgs84Work(const CDatum& host) {
    target_projection.m_Spheroid = &target_spheroid;
    if (host.m_TargetSpheroid != nullptr) target_spheroid = *host.m_TargetSpheroid;
    if (host.m_TargetProjection != nullptr) target_projection = *host.m_TargetProjection;
    datum = host;
    datum.m_TargetSpheroid = &target_spheroid;
    datum.m_TargetProjection = &target_projection;
    dialog.SetDatum(&datum);
    dialog.OnInitDialog();
  }
  Wgs84Work(const Wgs84Work&) = delete;
  Wgs84Work& operator=(const Wgs84Work&) = delete;

  void ApplyTo(CDatum& host) const {
    CSpheroid* spheroid = host.m_TargetSpheroid;
    CProjection* projection = host.m_TargetProjection;
    host = datum;
    host.m_TargetSpheroid = spheroid;
    host.m_TargetProjection = projection;
    if (spheroid != nullptr) *spheroid = target_spheroid;
    if (projection != nullptr) *projection = target_projection;
  }
};

struct Wgs84List {
  const char* path;
  const char* name;
  const std::vector<std::string>& (CWGS84Setup::*entries)() const;
  bool (CWGS84Setup::*select)(const std::string&);
};

constexpr std::array<Wgs84List, 5> kWgs84Lists = {{
    {"datum-type", "Datum Type", &CWGS84Setup::DatumTypes, &CWGS84Setup::SelectDatumType},
    {"datum", "Datum", &CWGS84Setup::Datums, &CWGS84Setup::SelectDatum},
    {"spheroid", "Spheroid", &CWGS84Setup::Spheroids, &CWGS84Setup::SelectSpheroid},
    {"projection-type", "Projection Type", &CWGS84Setup::ProjectionTypes,
     &CWGS84Setup::SelectProjectionType},
    {"projection", "Projection", &CWGS84Setup::Projections, &CWGS84Setup::SelectProjection},
}};

// The answer to an edit of a grid or a list.
json EditAnswer(EditOutcome outcome, std::string_view reason_cp1252) {
  return EditJson(EditResult{outcome, std::string(reason_cp1252)});
}

}  // namespace

struct DialogSessions::Session {
  std::string kind;
  std::unique_ptr<CRecordEditDialog> record;
  std::unique_ptr<Wgs84Work> wgs84;
  int editor = 0;
};

DialogSessions::DialogSessions(std::size_t capacity, CDatum* datum, std::function<void(int)> saved)
    : datum_(datum), saved_(std::move(saved)), store_(capacity) {}

DialogSessions::~DialogSessions() = default;

int DialogSessions::Open(std::string_view kind, std::string_view file_title, bool night,
                         int editor) {
  auto session = std::make_unique<Session>();
  session->kind = std::string(kind);
  session->editor = editor;
  if (kind == "edit-spheroid") session->record = std::make_unique<CEditSpheroid>();
  if (kind == "edit-datum") session->record = std::make_unique<CEditDatum>();
  if (kind == "edit-projection") session->record = std::make_unique<CEditProjection>();
  if (session->record) {
    static_cast<void>(session->record->OnInitDialog());
    if (!file_title.empty()) session->record->SetFileName(file_title);
    session->record->SetNightMode(night);
  } else if (kind == "wgs84-setup" && datum_ != nullptr) {
    session->wgs84 = std::make_unique<Wgs84Work>(*datum_);
  } else {
    return 0;
  }
  return store_.Add(std::move(session));
}

json DialogSessions::Describe(int id) const {
  const Session* session = store_.Find(id);
  if (session == nullptr) return nullptr;
  json buttons =
      json::array({{{"id", kOk}, {"text", "OK"}}, {{"id", kCancel}, {"text", "Cancel"}}});
  json dialog = {{"id", id}, {"kind", session->kind}};
  if (session->record) {
    dialog["caption"] = ToUtf8(session->record->Caption());
    dialog["grid"] = GridJson(TakeSnapshot(session->record->Grid()));
    if (const auto* datum = dynamic_cast<const CEditDatum*>(session->record.get()))
      buttons.push_back({{"id", kUnits}, {"text", datum->UnitsCaption()}});
  } else {
    const CWGS84Setup& setup = session->wgs84->dialog;
    dialog["caption"] = ToUtf8(setup.Caption());
    dialog["grid"] = nullptr;
    json lists = json::array();
    for (const Wgs84List& list : kWgs84Lists) {
      json entries = json::array();
      for (const std::string& entry : (setup.*list.entries)())
        entries.push_back(ToUtf8(entry));
      const bool shown = std::string_view(list.path) == "datum"      ? setup.IsDatumListShown()
                         : std::string_view(list.path) == "spheroid" ? setup.IsSpheroidListShown()
                                                                     : true;
      lists.push_back({{"path", list.path},
                       {"name", list.name},
                       {"options", std::move(entries)},
                       {"visible", shown}});
    }
    json displays = json::array();
    for (const auto& [label, text] : setup.Displays())
      displays.push_back({{"name", ToUtf8(label)}, {"text", ToUtf8(text)}});
    dialog["lists"] = std::move(lists);
    dialog["displays"] = std::move(displays);
  }
  dialog["buttons"] = std::move(buttons);
  return dialog;
}

ApiReply DialogSessions::Edit(int id, const json& body) {
  Session* session = store_.Find(id);
  if (session == nullptr) return ApiReply::Error(404, "no such dialog");
  if (!body.is_object() || !body.contains("path") || !body["path"].is_string() ||
      !body.contains("text") || !body["text"].is_string())
    return ApiReply::Error(400, "an edit needs \"path\" and \"text\" as strings");
  const std::string path = body["path"].get<std::string>();
  const auto text = FromUtf8(body["text"].get<std::string>());
  json reply;
  if (!text) {
    reply = EditAnswer(EditOutcome::kRefused, "The text holds a character that cannot be stored");
  } else if (session->record) {
    const EditResult result = ApplyEdit(session->record->Grid(), path, *text);
    reply = EditAnswer(result.outcome, result.reason);
  } else {
    reply = EditAnswer(EditOutcome::kNoSuchProperty, "");
    for (const Wgs84List& list : kWgs84Lists) {
      if (path != list.path) continue;
      reply = (session->wgs84->dialog.*list.select)(*text)
                  ? EditAnswer(EditOutcome::kTaken, "")
                  : EditAnswer(EditOutcome::kRefused, "Not in the list");
    }
  }
  reply["dialog"] = Describe(id);
  return ApiReply::Json(std::move(reply));
}

ApiReply DialogSessions::Button(int id, const json& body) {
  Session* session = store_.Find(id);
  if (session == nullptr) return ApiReply::Error(404, "no such dialog");
  if (!body.is_object() || !body.contains("button") || !body["button"].is_number_integer())
    return ApiReply::Error(400, "a press needs \"button\" as a number");
  const int button = body["button"].get<int>();
  auto* datum_dialog = dynamic_cast<CEditDatum*>(session->record.get());
  if (button == kUnits && datum_dialog != nullptr) {
    datum_dialog->OnBnClickedUnits();
    return ApiReply::Json({{"dialog", Describe(id)}});
  }
  if (button == kCancel) {
    if (session->record) session->record->OnCancel();
    store_.Remove(id);
    return ApiReply::Json({{"closed", true}, {"saved", false}});
  }
  if (button != kOk) return ApiReply::Error(400, "no such button");
  if (session->record && !session->record->OnBnClickedOk()) {
    return ApiReply::Json({{"closed", false},
                           {"saved", false},
                           {"reason", "The record file cannot be written"},
                           {"dialog", Describe(id)}});
  }
  if (session->wgs84) {
    session->wgs84->ApplyTo(*datum_);
    datum_->WriteSettings();
  }
  const int editor = session->editor;
  store_.Remove(id);
  if (saved_) saved_(editor);
  return ApiReply::Json({{"closed", true}, {"saved", true}});
}

}  // namespace orvale::studio
