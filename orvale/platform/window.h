#pragma once
// The little of a window system that panes need: windows that post messages to their
// host, the registered message numbers panes and host agree on, docking panes that
// can be shown and hidden, and the profile where the host keeps pane visibility. No
// drawing: a host renders what the models say.

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvale {

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR

// The number of a message registered under `name`: the same number for the same name
// for the life of the process, in the range Windows gives (0xC000 to 0xFFFF); the
// two pane messages are registered first, when the library loads, so they always get
// the same two numbers. 0 when the range is used up or the name is empty.
UINT RegisterWindowMessageA(std::string_view name);

inline constexpr std::string_view kGeodeticUpdateName =
    "UM_GEODETIC_UPDATE-{BFD3C2E8-E721-40C9-BE30-4F62AE03F478}";
inline constexpr std::string_view kGeographicalUpdateName =
    "UM_GEOGRAPHICAL_UPDATE-{B55B9294-CFA2-41C4-B138-11D5AB56AAE7}";
// Posted after a spheroid, projection or datum selection (wParam 0, lParam 0).
UINT GeodeticUpdateMessage();
// Posted after the user edits a position (lParam: the address of the pane's tagXY).
UINT GeographicalUpdateMessage();

class CWnd;

struct MSG {
  CWnd* window = nullptr;  // the window it was posted to
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Messages posted to the windows of one host, in order, until the host takes them:
// after a change handler has returned, never while it runs.
class CMessageQueue {
 public:
  void Post(const MSG& message) { messages_.push_back(message); }
  std::optional<MSG> Take();
  std::size_t Count() const { return messages_.size(); }
  // Drops every message posted to `window` (a window that goes away).
  void Forget(const CWnd* window);

 private:
  std::deque<MSG> messages_;
};

// Where a host keeps small values between runs ("Workspace\\BasePane-%d",
// "IsVisible"). The in-memory store below serves tests and hosts without a file.
class IProfileStore {
 public:
  virtual ~IProfileStore() = default;
  virtual int GetProfileInt(std::string_view section, std::string_view entry,
                            int default_value) const = 0;
  virtual void WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
};

class CMemoryProfileStore : public IProfileStore {
 public:
  int GetProfileInt(std::string_view section, std::string_view entry,
                    int default_value) const override;
  void WriteProfileInt(std::string_view section, std::string_view entry, int value) override;

 private:
  std::map<std::string, int, std::less<>> values_;
};

class CWnd {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  virtual ~CWnd();

  // A top-level window of a host: its messages go to `queue`, and the host's profile
  // is `profile` (either may be null).
  void AttachHost(CMessageQueue* queue, IProfileStore* profile);

  // Makes this a child of `parent` with control identifier `id`: it posts to the
  // parent's queue and reads the parent's profile. False without a parent.
  [[nodiscard]] bool CreateChild(CWnd* parent, int id);

  // Queues the message for the host; false when the window has no host queue.
  bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // What the host calls for each message it takes from the queue.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  bool IsWindow() const { return created_; }
  int GetDlgCtrlID() const { return id_; }
  CWnd* GetParent() const { return parent_; }
  void ShowWindow(bool show) { visible_ = show; }
  bool IsWindowVisible() const { return visible_; }
  IProfileStore* Profile() const { return profile_; }

 protected:
  void MarkCreated(bool created) { created_ = created; }

 private:
  CWnd* parent_ = nullptr;
  CMessageQueue* queue_ = nullptr;
  IProfileStore* profile_ = nullptr;
  int id_ = 0;
  bool created_ = false;
  bool visible_ = false;
};

// A window the host docks, floats, hides and shows.
class CDockablePane : public CWnd {
 public:
  // Creates the pane as a visible child of `parent`; false without a parent.
  [[nodiscard]] bool CreateEx(std::string_view caption, CWnd* parent, int id);
  void ShowPane(bool show, bool delay, bool activate);
  bool IsPaneVisible() const { return IsWindowVisible(); }
  const std::string& GetWindowText() const { return caption_; }

 private:
  std::string caption_;
};

}  // namespace orvale
