#include "apps/studio/editor_sessions.h"

#include <memory>
#include <string_view>
#include <utility>

#include "apps/studio/web_host_services.h"
#include "orvale/dialogs/datum_editor.h"
#include "orvale/dialogs/datum_shift_editor.h"
#include "orvale/dialogs/projection_editor.h"
#include "orvale/dialogs/spheroid_editor.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

constexpr std::string_view kCsvType = "text/csv; charset=utf-8";
constexpr std::string_view kXlsxType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
constexpr std::string_view kHtmlType = "text/html; charset=utf-8";

}  // namespace

struct EditorSessions::Session {
  std::string kind;
  int id = 0;
  WebPrompt prompt;
  WebFileDialogs files;
  WebRecordDialogs records;
  std::unique_ptr<CListEditor> editor;

  Session(std::filesystem::path folder, DialogSessions& dialogs)
      : files(std::move(folder)),
        records([this, &dialogs](std::string_view kind, std::string_view title) {
          return dialogs.Open(kind, title, false, id);
        }) {}
  EditorHost Host() { return {&prompt, &files, &records}; }
};

EditorSessions::EditorSessions(std::size_t capacity, std::filesystem::path scratch,
                               DialogSessions& dialogs, std::function<void()> records_changed)
    : scratch_(std::move(scratch)),
      dialogs_(dialogs),
      records_changed_(std::move(records_changed)),
      store_(capacity) {}

EditorSessions::~EditorSessions() = default;

ApiReply EditorSessions::Create(const json& body) {
  if (!body.is_object() || !body.contains("kind") || !body["kind"].is_string())
    return ApiReply::Error(400, "an editor needs \"kind\"");
  const std::string kind = body["kind"].get<std::string>();
  if (kind != "spheroids" && kind != "datums" && kind != "projections" && kind != "datum-shifts")
    return ApiReply::Error(404, "no such editor");
  const int next = store_.NextId();
  auto session = std::make_unique<Session>(scratch_ / ("editor-" + std::to_string(next)), dialogs_);
  Session& s = *session;
  s.id = store_.Add(std::move(session));
  s.kind = kind;
  if (kind == "spheroids") s.editor = std::make_unique<CSpheroidEditor>(nullptr, s.Host());
  if (kind == "datums") s.editor = std::make_unique<CDatumEditor>(nullptr, s.Host());
  if (kind == "projections") s.editor = std::make_unique<CProjectionEditor>(nullptr, s.Host());
  if (kind == "datum-shifts") s.editor = std::make_unique<CDatumShiftEditor>(nullptr, s.Host());
  static_cast<void>(s.editor->OnInitDialog());
  return ApiReply::Json(Describe(s.id));
}

ApiReply EditorSessions::Select(int id, const json& body) {
  Session* s = store_.Find(id);
  if (s == nullptr) return ApiReply::Error(404, "no such editor");
  if (!body.is_object() || !body.contains("row") || !body["row"].is_number_integer())
    return ApiReply::Error(400, "a choice needs \"row\" as a number");
  const auto row = body["row"].get<long long>();
  const bool in_list = row >= 0 && row < s->editor->GetListCtrl().GetItemCount();
  s->editor->OnClickList(in_list ? static_cast<int>(row) : -1);
  return ApiReply::Json({{"editor", Describe(id)}});
}

ApiReply EditorSessions::OpenedDialog(int id, Session& session) {
  const int dialog = session.records.Opened();
  session.records.Reset();
  return ApiReply::Json({{"editor", Describe(id)},
                         {"dialog", dialog == 0 ? json(nullptr) : dialogs_.Describe(dialog)}});
}

ApiReply EditorSessions::Add(int id) {
  Session* s = store_.Find(id);
  if (s == nullptr) return ApiReply::Error(404, "no such editor");
  s->records.Reset();
  s->editor->OnAdd();
  return OpenedDialog(id, *s);
}

ApiReply EditorSessions::Edit(int id) {
  Session* s = store_.Find(id);
  if (s == nullptr) return ApiReply::Error(404, "no such editor");
  s->records.Reset();
  s->editor->OnEdit();
  return OpenedDialog(id, *s);
}

ApiReply EditorSessions::Open(int id, const json& body) {
  Session* s = store_.Find(id);
  if (s == nullptr) return ApiReply::Error(404, "no such editor");
  if (!body.is_object() || !body.contains("row") || !body["row"].is_number_integer())
    return ApiReply::Error(400, "a double-click needs \"row\" as a number");
  const auto row = body["row"].get<long long>();
  const bool in_list = row >= 0 && row < s->editor->GetListCtrl().GetItemCount();
  s->records.Reset();
  s->editor->OnClickList(in_list ? static_cast<int>(row) : -1);
  if (in_list) s->editor->OnDblclkList(static_cast<int>(row));
  return OpenedDialog(id, *s);
}

ApiReply EditorSessions::Remove(int id, const json& body) {
  Session* s = store_.Find(id);
  if (s == nullptr) return ApiReply::Error(404, "no such editor");
  std::optional<bool> answer;
  if (body.is_object() && body.contains("answer") && !body["answer"].is_null()) {
    if (!body["answer"].is_boolean()) return ApiReply::Error(400, "\"answer\" is true or false");
    answer = body["answer"].get<bool>();
  }
  s->prompt.Expect(answer);
  s->editor->OnRemove();
  const auto& question = s->prompt.Question();
  if (!answer && question) return ApiReply::Json({{"question", ToUtf8(*question)}});
  if (answer.value_or(false) && question && records_changed_) records_changed_();
  return ApiReply::Json({{"editor", Describe(id)}});
}

ApiReply EditorSessions::Export(int id, const std::map<std::string, std::string>& query) {
  Session* s = store_.Find(id);
  if (s == nullptr) return ApiReply::Error(404, "no such editor");
  const auto format = query.find("format");
  const std::string name = format == query.end() ? "" : format->second;
  bool written = false;
  std::string_view type;
  if (name == "csv") {
    written = s->editor->OnExportCsv();
    type = kCsvType;
  } else if (name == "xlsx") {
    written = s->editor->OnExportExcel();
    type = kXlsxType;
  } else if (name == "html") {
    written = s->editor->OnPrint();
    type = kHtmlType;
  } else {
    return ApiReply::Error(400, "\"format\" is csv, xlsx or html");
  }
  auto reply = s->files.Take(type, name != "html");
  if (!written || !reply) return ApiReply::Error(409, "the list could not be exported");
  return std::move(*reply);
}

ApiReply EditorSessions::Close(int id) {
  Session* s = store_.Find(id);
  if (s == nullptr) return ApiReply::Error(404, "no such editor");
  s->editor->OnClose();
  store_.Remove(id);
  return ApiReply::Json({{"closed", true}});
}

void EditorSessions::Refill(int id) {
  if (Session* s = store_.Find(id)) s->editor->Refill();
}

json EditorSessions::Describe(int id) const {
  const Session* s = store_.Find(id);
  if (s == nullptr) return nullptr;
  const CListEditor& editor = *s->editor;
  const CListCtrl& list = editor.GetListCtrl();
  json columns = json::array();
  for (int c = 0; c < list.GetColumnCount(); ++c)
    columns.push_back(
        {{"heading", ToUtf8(list.GetColumn(c)->heading)}, {"width", list.GetColumn(c)->width}});
  json rows = json::array();
  json file_rows = json::array();
  for (int r = 0; r < list.GetItemCount(); ++r) {
    json cells = json::array();
    for (int c = 0; c < list.GetColumnCount(); ++c)
      cells.push_back(ToUtf8(list.GetItemText(r, c)));
    rows.push_back(std::move(cells));
    const CatalogueEntry* entry = editor.EntryOf(r);
    file_rows.push_back(entry != nullptr && editor.IsFileRecord(*entry));
  }
  return {{"id", id},
          {"kind", s->kind},
          {"caption", ToUtf8(editor.GetCaption())},
          {"columns", std::move(columns)},
          {"rows", std::move(rows)},
          {"file_rows", std::move(file_rows)},
          {"selected", list.GetNextItem(-1, LVNI_SELECTED)},
          {"can_add", s->kind != "datum-shifts"},
          {"edit_visible", editor.IsEditVisible()},
          {"remove_visible", editor.IsRemoveVisible()}};
}

}  // namespace orvale::studio
