#pragma once
// The host services the library asks of its host (orvale/platform/host_dialogs.h,
// orvale/dialogs/record_dialogs.h) answered over HTTP, where nothing may wait for the
// user inside a request: the yes/no prompt answers from the request (a first request
// hears the question, a second brings the answer), save dialogs pick a file in a
// scratch folder whose bytes go back as a download, and a record dialog opens a
// dialog session that the browser drives later.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "apps/studio/api.h"
#include "orvale/dialogs/record_dialogs.h"
#include "orvale/platform/host_dialogs.h"

namespace orvale::studio {

class WebPrompt : public IPrompt {
 public:
  // The answer the next question gets; without one the question is heard and
  // answered no, so nothing happens until the user has answered.
  void Expect(std::optional<bool> answer) {
    answer_ = answer;
    question_.reset();
  }
  bool GetYN(std::string_view question) override;
  // The question asked since Expect, if any (Windows-1252).
  const std::optional<std::string>& Question() const { return question_; }

 private:
  std::optional<bool> answer_;
  std::optional<std::string> question_;
};

class WebFileDialogs : public IFileDialogs {
 public:
  explicit WebFileDialogs(std::filesystem::path folder) : folder_(std::move(folder)) {}
  ~WebFileDialogs() override;
  WebFileDialogs(const WebFileDialogs&) = delete;
  WebFileDialogs& operator=(const WebFileDialogs&) = delete;

  // A path in the scratch folder (made when missing) under the suggested name with
  // anything but letters, digits, '.', '-' and '_' replaced; remembered for Take.
  std::optional<std::string> GetSaveFileName(std::string_view suggested_name) override;
  // The file the host put forward with OfferOpenFile, once.
  std::optional<std::string> GetOpenFileName(std::string_view extensions) override;
  void ShowPrintPage(std::string_view path) override { written_ = std::string(path); }
  void OfferOpenFile(std::string path) { open_ = std::move(path); }

  // The file the last save or print wrote, as a download of `content_type`, removed
  // from the disk; nothing when none was written or it cannot be read.
  std::optional<ApiReply> Take(std::string_view content_type, bool attachment = true);

 private:
  std::filesystem::path folder_;
  std::optional<std::string> written_;
  std::optional<std::string> open_;
};

// Opens a record dialog session instead of running a modal loop: the editor that
// asked hears "not OK" now, and the session refills its list when the user presses OK.
class WebRecordDialogs : public IRecordDialogs {
 public:
  // Opens the dialog of `kind` ("edit-spheroid", ...) on the file title; returns its
  // session id, 0 when none opened.
  using Opener = std::function<int(std::string_view kind, std::string_view file_title)>;
  explicit WebRecordDialogs(Opener opener) : opener_(std::move(opener)) {}

  bool EditSpheroid(std::string_view file_title) override {
    return Open("edit-spheroid", file_title);
  }
  bool EditDatum(std::string_view file_title) override { return Open("edit-datum", file_title); }
  bool EditProjection(std::string_view file_title) override {
    return Open("edit-projection", file_title);
  }
  // The session the last request opened; 0 when none. Cleared by Reset.
  int Opened() const { return opened_; }
  void Reset() { opened_ = 0; }

 private:
  bool Open(std::string_view kind, std::string_view file_title) {
    opened_ = opener_(kind, file_title);
    return false;
  }
  Opener opener_;
  int opened_ = 0;
};

// Library text (Windows-1252) as JSON text.
std::string ToUtf8(std::string_view library_text);
// Text from anywhere (a file a user uploads) as valid UTF-8: kept when it is UTF-8,
// else read as Windows-1252, the encoding such files have when they are not UTF-8.
std::string SafeUtf8(std::string_view text);
// JSON text as library text; nothing when a character has no Windows-1252 byte.
std::optional<std::string> FromUtf8(std::string_view utf8);

}  // namespace orvale::studio
