#pragma once
// The four catalogue list editors as sessions the browser drives by id: the list with
// its headings and rows, a row chosen, Add and Edit opening a record dialog session,
// Remove's question asked and answered in two requests, and the exports handed back
// as downloads. At most `capacity` stay open; one more closes the oldest.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "apps/studio/api.h"
#include "apps/studio/dialog_sessions.h"

namespace orvale::studio {

class EditorSessions {
 public:
  // Exports are written under `scratch` (a folder per editor, removed with it);
  // record dialogs open in `dialogs`; `records_changed` runs after a removal.
  EditorSessions(std::size_t capacity, std::filesystem::path scratch, DialogSessions& dialogs,
                 std::function<void()> records_changed);
  ~EditorSessions();

  ApiReply Create(const nlohmann::json& body);
  ApiReply Select(int id, const nlohmann::json& body);
  ApiReply Add(int id);
  ApiReply Edit(int id);
  // A double-click on a row: a file record's dialog opens.
  ApiReply Open(int id, const nlohmann::json& body);
  ApiReply Remove(int id, const nlohmann::json& body);
  ApiReply Export(int id, const std::map<std::string, std::string>& query);
  ApiReply Close(int id);

  // Refills the list of an editor still open (after its dialog's OK).
  void Refill(int id);
  // EDITOR; null when there is no such editor.
  nlohmann::json Describe(int id) const;

 private:
  struct Session;
  ApiReply OpenedDialog(int id, Session& session);

  std::filesystem::path scratch_;
  DialogSessions& dialogs_;
  std::function<void()> records_changed_;
  SessionStore<Session> store_;
};

}  // namespace orvale::studio
