#include "orvale/platform/window.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace orvale {
namespace {

constexpr UINT kFirstRegistered = 0xC000;
constexpr UINT kLastRegistered = 0xFFFF;

// Names in the order they were first registered; a name's number is its place plus
// 0xC000. Shared by every host in the process, as the system's table is.
struct Registered {
  std::mutex lock;
  std::vector<std::string> names;
};

Registered& Table() {
  static Registered table;
  return table;
}

// The two pane messages take the first two numbers when the library loads.
const UINT kGeodeticUpdate = RegisterWindowMessageA(kGeodeticUpdateName);
const UINT kGeographicalUpdate = RegisterWindowMessageA(kGeographicalUpdateName);

std::string ProfileKey(std::string_view section, std::string_view entry) {
  std::string key(section);
  key += '\n';
  key += entry;
  return key;
}

}  // namespace

UINT RegisterWindowMessageA(std::string_view name) {
  if (name.empty()) return 0;
  Registered& table = Table();
  const std::lock_guard<std::mutex> hold(table.lock);
  const auto found = std::find(table.names.begin(), table.names.end(), name);
  const std::size_t place = static_cast<std::size_t>(found - table.names.begin());
  if (kFirstRegistered + place > kLastRegistered) return 0;
  if (found == table.names.end()) table.names.emplace_back(name);
  return kFirstRegistered + static_cast<UINT>(place);
}

UINT GeodeticUpdateMessage() {
  return kGeodeticUpdate;
}

UINT GeographicalUpdateMessage() {
  return kGeographicalUpdate;
}

std::optional<MSG> CMessageQueue::Take() {
  if (messages_.empty()) return std::nullopt;
  const MSG message = messages_.front();
  messages_.pop_front();
  return message;
}

void CMessageQueue::Forget(const CWnd* window) {
  std::erase_if(messages_, [window](const MSG& m) { return m.window == window; });
}

int CMemoryProfileStore::GetProfileInt(std::string_view section, std::string_view entry,
                                       int default_value) const {
  const auto found = values_.find(ProfileKey(section, entry));
  return found == values_.end() ? default_value : found->second;
}

void CMemoryProfileStore::WriteProfileInt(std::string_view section, std::string_view entry,
                                          int value) {
  values_[ProfileKey(section, entry)] = value;
}

CWnd::~CWnd() {
  if (queue_ != nullptr) queue_->Forget(this);
}

void CWnd::AttachHost(CMessageQueue* queue, IProfileStore* profile) {
  queue_ = queue;
  profile_ = profile;
  created_ = true;
  visible_ = true;
}

bool CWnd::CreateChild(CWnd* parent, int id) {
  if (parent == nullptr) return false;
  parent_ = parent;
  queue_ = parent->queue_;
  profile_ = parent->profile_;
  id_ = id;
  created_ = true;
  visible_ = true;
  return true;
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (queue_ == nullptr) return false;
  queue_->Post({this, message, wParam, lParam});
  return true;
}

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM) {
  return 0;
}

bool CDockablePane::CreateEx(std::string_view caption, CWnd* parent, int id) {
  if (!CreateChild(parent, id)) return false;
  caption_ = caption;
  return true;
}

void CDockablePane::ShowPane(bool show, bool, bool) {
  ShowWindow(show);
}

}  // namespace orvale
