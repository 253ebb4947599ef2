#pragma once
// The record edit dialogs (CEditSpheroid, CEditDatum, CEditProjection) and the WGS84
// set-up dialog as sessions the browser drives by id: opened, edited, its buttons
// pressed, closed by OK or Cancel. At most `capacity` stay open; opening one more
// closes the oldest, so a client cannot make the host grow without limit.

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "apps/studio/api.h"

namespace orvale {
class CDatum;
}

namespace orvale::studio {

// Sessions of one sort under small integer ids, the oldest dropped when full.
template <typename T>
class SessionStore {
 public:
  explicit SessionStore(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

  int Add(std::unique_ptr<T> session) {
    while (sessions_.size() >= capacity_)
      sessions_.erase(sessions_.begin());
    const int id = ++last_;
    sessions_.emplace(id, std::move(session));
    return id;
  }
  // The id the next Add gives.
  int NextId() const { return last_ + 1; }
  T* Find(int id) const {
    const auto found = sessions_.find(id);
    return found == sessions_.end() ? nullptr : found->second.get();
  }
  void Remove(int id) { sessions_.erase(id); }
  std::size_t Count() const { return sessions_.size(); }

 private:
  std::size_t capacity_;
  int last_ = 0;
  std::map<int, std::unique_ptr<T>> sessions_;
};

class DialogSessions {
 public:
  // `datum`: the host's datum, which the WGS84 set-up changes on OK (null: no such
  // dialog). `saved(editor)` runs after an OK that wrote or changed records, with the
  // id of the editor that opened the dialog (0 when the browser did).
  DialogSessions(std::size_t capacity, CDatum* datum, std::function<void(int editor)> saved);
  ~DialogSessions();

  // Opens a dialog of `kind` on the record file `file_title` (Windows-1252; empty: a
  // new record); its id, 0 for an unknown kind.
  int Open(std::string_view kind, std::string_view file_title, bool night, int editor);
  bool Exists(int id) const { return store_.Find(id) != nullptr; }
  std::size_t Count() const { return store_.Count(); }

  // DIALOG: id, kind, caption, grid (null for the set-up's lists), buttons.
  nlohmann::json Describe(int id) const;
  ApiReply Edit(int id, const nlohmann::json& body);
  ApiReply Button(int id, const nlohmann::json& body);

 private:
  struct Session;
  CDatum* datum_;
  std::function<void(int)> saved_;
  SessionStore<Session> store_;
};

}  // namespace orvale::studio
