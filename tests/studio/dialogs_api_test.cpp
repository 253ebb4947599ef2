// The record edit dialogs and the WGS84 set-up through the studio's API, as the
// browser drives them: opened, edited, OK writing the record file and Cancel writing
// nothing, the datum's units button, refused edits, and the bound on open dialogs.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "apps/studio/record_routes.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/platform/drives.h"
#include "studio/record_routes_fixture.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

class DialogsApi : public RecordRoutesTest {
 protected:
  static std::string Url(const json& dialog, const std::string& action) {
    return "/dialogs/" + std::to_string(dialog["id"].get<int>()) + "/" + action;
  }
  // The property at `path` in a GRID.
  static json Find(const json& properties, const std::string& path) {
    for (const json& p : properties) {
      if (p["path"] == path) return p;
      if (json found = Find(p["items"], path); !found.is_null()) return found;
    }
    return nullptr;
  }
  static std::string Text(const json& dialog, const std::string& path) {
    const json property = Find(dialog["grid"]["properties"], path);
    EXPECT_FALSE(property.is_null()) << path;
    return property.is_null() ? "" : property["text"].get<std::string>();
  }
  static std::vector<std::string> GlobalFiles() {
    std::vector<std::string> names;
    const auto folder = HostPath("C:\\MyData\\Global\\");
    if (!std::filesystem::exists(folder)) return names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    return names;
  }
};

struct Edit {
  std::string path, text;
};

std::vector<Edit> Edits(const std::string& field) {
  std::vector<Edit> edits;
  std::istringstream in(field);
  for (std::string item; std::getline(in, item, ';');) {
    item = testing::TextField(item);
    const auto equals = item.find('=');
    edits.push_back({item.substr(0, equals), item.substr(equals + 1)});
  }
  return edits;
}

TEST_F(DialogsApi, OkWritesTheRecordThatReopensAsEditedAndCancelWritesNothing) {
  for (const testing::TextRow& row : testing::ReadTextTable("studio/dialog_records.txt", 4)) {
    SCOPED_TRACE(row.where);
    const std::string kind = row[0], file = row[2] + "." + row[1];
    for (const bool ok : {false, true}) {
      json dialog = Post("/dialogs", {{"kind", kind}});
      ASSERT_TRUE(dialog["grid"].is_object());
      EXPECT_EQ(dialog["grid"]["header_labels"], json({"Property", "Value"}));
      EXPECT_EQ(dialog["buttons"][0], json({{"id", 1}, {"text", "OK"}}));
      std::vector<Edit> edits = Edits(row[3]);
      edits.push_back({"0/0", row[2]});
      for (const Edit& edit : edits) {
        const json answer = Post(Url(dialog, "edit"), {{"path", edit.path}, {"text", edit.text}});
        ASSERT_EQ(answer["outcome"], "taken") << edit.path << ": " << answer["reason"];
        dialog = answer["dialog"];
      }
      const json shown = dialog;
      const json closed = Post(Url(dialog, "button"), {{"button", ok ? 1 : 2}});
      EXPECT_EQ(closed, json({{"closed", true}, {"saved", ok}}));
      // The session is gone either way.
      EXPECT_EQ(Call("POST", Url(dialog, "edit"), {{"path", "0/0"}, {"text", "x"}}).status, 404);
      const auto files = GlobalFiles();
      EXPECT_EQ(std::count(files.begin(), files.end(), file), ok ? 1 : 0);
      if (!ok) continue;
      const json reopened = Post("/dialogs", {{"kind", kind}, {"record", row[2]}});
      for (const Edit& edit : edits)
        EXPECT_EQ(Text(reopened, edit.path), Text(shown, edit.path)) << edit.path;
      std::filesystem::remove(HostPath("C:\\MyData\\Global\\" + file));
    }
  }
  EXPECT_EQ(changes_, 5) << "every OK tells the host its records changed";
}

TEST_F(DialogsApi, TheDatumsUnitsButtonSwitchesRotationsAndBack) {
  json dialog = Post("/dialogs", {{"kind", "edit-datum"}});
  ASSERT_EQ(dialog["buttons"].size(), 3u);
  EXPECT_EQ(dialog["buttons"][2], json({{"id", 3}, {"text", "Sec Arc/ppm"}}));
  dialog = Post(Url(dialog, "edit"), {{"path", "3/3"}, {"text", "0.5"}})["dialog"];
  const std::string seconds = Text(dialog, "3/3");
  EXPECT_EQ(seconds, "   +0.500000\"");
  dialog = Post(Url(dialog, "button"), {{"button", 3}})["dialog"];
  EXPECT_EQ(dialog["buttons"][2]["text"], "mas/ppb");
  EXPECT_EQ(Text(dialog, "3/3"), " +500.000000 (mas)");
  dialog = Post(Url(dialog, "button"), {{"button", 3}})["dialog"];
  EXPECT_EQ(Text(dialog, "3/3"), seconds);
  // Co-ordinate Frame names its convention on the line below, in UTF-8.
  dialog = Post(Url(dialog, "edit"), {{"path", "3/7"}, {"text", "Co-ordinate Frame"}})["dialog"];
  EXPECT_EQ(Text(dialog, "3/8"), "( US Dept of Defense)");
}

TEST_F(DialogsApi, RefusedEditsAnswerWithTheReasonAndBadRequestsAreErrors) {
  const json dialog = Post("/dialogs", {{"kind", "edit-spheroid"}, {"night", true}});
  EXPECT_EQ(dialog["caption"], "Edit Spheroid");
  EXPECT_TRUE(dialog["grid"]["night"].get<bool>());
  EXPECT_EQ(dialog["grid"]["colours"]["background"], "#000000");
  EXPECT_EQ(dialog["grid"]["colours"]["text"], "#c0c0c0");

  json answer = Post(Url(dialog, "edit"), {{"path", "1/3"}, {"text", "six million"}});
  EXPECT_EQ(answer["outcome"], "refused");
  EXPECT_NE(answer["reason"], "");
  answer = Post(Url(dialog, "edit"), {{"path", "9/9"}, {"text", "1"}});
  EXPECT_EQ(answer["outcome"], "no-such-property");
  answer = Post(Url(dialog, "edit"), {{"path", "1/6"}, {"text", "1"}});
  EXPECT_EQ(answer["outcome"], "read-only");
  // A character Windows-1252 has no byte for cannot go into a record.
  answer = Post(Url(dialog, "edit"), {{"path", "1/1"}, {"text", "\xE2\x9C\x93"}});
  EXPECT_EQ(answer["outcome"], "refused");

  Post("/dialogs", {{"kind", "edit-nothing"}}, 404);
  Post("/dialogs", {{"record", "x"}}, 400);
  Post(Url(dialog, "edit"), {{"path", 3}}, 400);
  Post(Url(dialog, "button"), {{"button", "OK"}}, 400);
  Post(Url(dialog, "button"), {{"button", 7}}, 400);
  Post("/dialogs/999/button", {{"button", 1}}, 404);
  EXPECT_TRUE(GlobalFiles().empty());
}

TEST_F(DialogsApi, OpeningMoreThanTheLimitClosesTheOldest) {
  std::vector<int> ids;
  for (int i = 0; i < 40; ++i)
    ids.push_back(Post("/dialogs", {{"kind", "edit-spheroid"}})["id"].get<int>());
  EXPECT_EQ(Call("GET", "/dialogs/" + std::to_string(ids[0])).status, 404);
  EXPECT_EQ(Call("GET", "/dialogs/" + std::to_string(ids[7])).status, 404);
  EXPECT_EQ(Call("GET", "/dialogs/" + std::to_string(ids[8])).status, 200);
  EXPECT_EQ(Call("GET", "/dialogs/" + std::to_string(ids.back())).status, 200);
}

TEST_F(DialogsApi, TheWgs84SetupChangesTheHostsDatumOnlyOnOk) {
  const std::int32_t type = datum_.m_ShiftType;
  for (const bool ok : {false, true}) {
    json dialog = Post("/dialogs", {{"kind", "wgs84-setup"}});
    EXPECT_EQ(dialog["caption"], "WGS84 Setup");
    EXPECT_TRUE(dialog["grid"].is_null());
    ASSERT_EQ(dialog["lists"][0]["path"], "datum-type");
    const json types = dialog["lists"][0]["options"];
    ASSERT_GE(types.size(), 2u);
    EXPECT_EQ(
        Post(Url(dialog, "edit"), {{"path", "datum-type"}, {"text", "no such type"}})["outcome"],
        "refused");
    dialog = Post(Url(dialog, "edit"), {{"path", "datum-type"}, {"text", types[1]}})["dialog"];
    EXPECT_FALSE(dialog["displays"].empty());
    EXPECT_EQ(datum_.m_ShiftType, type) << "nothing reaches the host before OK";
    Post(Url(dialog, "button"), {{"button", ok ? 1 : 2}});
    EXPECT_EQ(datum_.m_ShiftType != type, ok);
    EXPECT_EQ(changes_, ok ? 1 : 0);
  }
  EXPECT_EQ(datum_.m_TargetSpheroid, &target_) << "the host keeps its own target records";
  EXPECT_EQ(datum_.m_TargetProjection, &target_projection_);
}

}  // namespace
}  // namespace orvale::studio
