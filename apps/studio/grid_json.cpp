#include "grid_json.h"

#include <cstdio>

#include "orvale/platform/text_encoding.h"
#include "text_json.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

json Texts(const std::vector<std::string>& texts) {
  json list = json::array();
  for (const std::string& text : texts)
    list.push_back(ToWire(text));
  return list;
}

json PropertyJson(const PropertySnapshot& p) {
  json items = json::array();
  for (const PropertySnapshot& item : p.items)
    items.push_back(PropertyJson(item));
  return json{{"path", p.path},
              {"kind", p.kind},
              {"name", ToWire(p.name)},
              {"text", ToWire(p.text)},
              {"description", ToWire(p.description)},
              {"data", p.data},
              {"group", p.group},
              {"visible", p.visible},
              {"editable", p.editable},
              {"enabled", p.enabled},
              {"modified", p.modified},
              {"options", Texts(p.options)},
              {"second_name", ToWire(p.second_name)},
              {"second_text", ToWire(p.second_text)},
              {"colour", p.colour ? json(ColourText(*p.colour)) : json(nullptr)},
              {"items", std::move(items)}};
}

const char* ShapeName(DrawCommand::Shape shape) {
  switch (shape) {
    case DrawCommand::Shape::kCircle:
      return "circle";
    case DrawCommand::Shape::kLine:
      return "line";
    case DrawCommand::Shape::kRectangle:
      break;
  }
  return "rectangle";
}

constexpr const char* kColourNames[] = {
    "background",       "text", "group_background", "group_text", "description_background",
    "description_text", "line"};

void AppendBool(std::string& out, bool value) {
  out += value ? "true" : "false";
}

void AppendStrings(std::string& out, const std::vector<std::string>& texts) {
  out += '[';
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i != 0) out += ',';
    AppendJsonString(out, texts[i]);
  }
  out += ']';
}

// Keys in the order nlohmann::json writes them (sorted), so both forms are one text.
void AppendProperty(std::string& out, const PropertySnapshot& p) {
  out += "{\"colour\":";
  out += p.colour ? "\"" + ColourText(*p.colour) + "\"" : std::string("null");
  out += ",\"data\":" + std::to_string(p.data);
  out += ",\"description\":";
  AppendJsonString(out, p.description);
  out += ",\"editable\":";
  AppendBool(out, p.editable);
  out += ",\"enabled\":";
  AppendBool(out, p.enabled);
  out += ",\"group\":";
  AppendBool(out, p.group);
  out += ",\"items\":[";
  for (std::size_t i = 0; i < p.items.size(); ++i) {
    if (i != 0) out += ',';
    AppendProperty(out, p.items[i]);
  }
  out += "],\"kind\":";
  AppendJsonString(out, p.kind);
  out += ",\"modified\":";
  AppendBool(out, p.modified);
  out += ",\"name\":";
  AppendJsonString(out, p.name);
  out += ",\"options\":";
  AppendStrings(out, p.options);
  out += ",\"path\":";
  AppendJsonString(out, p.path);
  out += ",\"second_name\":";
  AppendJsonString(out, p.second_name);
  out += ",\"second_text\":";
  AppendJsonString(out, p.second_text);
  out += ",\"text\":";
  AppendJsonString(out, p.text);
  out += ",\"visible\":";
  AppendBool(out, p.visible);
  out += '}';
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view cp1252) {
  out += '"';
  for (const char c : cp1252) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      out += Cp1252ToUtf8(std::string_view(&c, 1));
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      static constexpr const char* kShort[] = {"\\b", "\\t", "\\n", "", "\\f", "\\r"};
      if (byte >= 0x08 && byte <= 0x0D && byte != 0x0B) {
        out += kShort[byte - 0x08];
      } else {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(byte));
        out += escape;
      }
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendGridJson(std::string& out, const GridSnapshot& snapshot) {
  out += "{\"colours\":{";
  // The colour names sorted, as the tree writes them.
  static constexpr int kSorted[] = {0, 4, 5, 2, 3, 6, 1};
  for (std::size_t i = 0; i < std::size(kSorted); ++i) {
    if (i != 0) out += ',';
    out += '"';
    out += kColourNames[kSorted[i]];
    out += "\":\"" + ColourText(snapshot.colours[static_cast<std::size_t>(kSorted[i])]) + '"';
  }
  out += "},\"description_area\":";
  AppendBool(out, snapshot.description_area);
  out += ",\"header\":";
  AppendBool(out, snapshot.header);
  out += ",\"header_labels\":[";
  AppendJsonString(out, snapshot.header_labels[0]);
  out += ',';
  AppendJsonString(out, snapshot.header_labels[1]);
  out += "],\"mark_modified\":";
  AppendBool(out, snapshot.mark_modified);
  out += ",\"night\":";
  AppendBool(out, snapshot.night);
  out += ",\"properties\":[";
  for (std::size_t i = 0; i < snapshot.properties.size(); ++i) {
    if (i != 0) out += ',';
    AppendProperty(out, snapshot.properties[i]);
  }
  out += "],\"scheme\":" + std::to_string(snapshot.scheme) + '}';
}

std::string ColourText(COLORREF colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(colour & 0xFFu),
                static_cast<unsigned>((colour >> 8) & 0xFFu),
                static_cast<unsigned>((colour >> 16) & 0xFFu));
  return text;
}

json GridJson(const GridSnapshot& snapshot) {
  json properties = json::array();
  for (const PropertySnapshot& p : snapshot.properties)
    properties.push_back(PropertyJson(p));
  static constexpr const char* kColourNames[] = {
      "background",       "text", "group_background", "group_text", "description_background",
      "description_text", "line"};
  json colours = json::object();
  for (std::size_t i = 0; i < snapshot.colours.size(); ++i)
    colours[kColourNames[i]] = ColourText(snapshot.colours[i]);
  return json{
      {"properties", std::move(properties)},
      {"colours", std::move(colours)},
      {"scheme", snapshot.scheme},
      {"night", snapshot.night},
      {"header", snapshot.header},
      {"header_labels", {ToWire(snapshot.header_labels[0]), ToWire(snapshot.header_labels[1])}},
      {"description_area", snapshot.description_area},
      {"mark_modified", snapshot.mark_modified}};
}

json EditJson(const EditResult& result) {
  const char* outcome = "taken";
  switch (result.outcome) {
    case EditOutcome::kNoSuchProperty:
      outcome = "no-such-property";
      break;
    case EditOutcome::kReadOnly:
      outcome = "read-only";
      break;
    case EditOutcome::kRefused:
      outcome = "refused";
      break;
    case EditOutcome::kTaken:
      break;
  }
  return json{{"outcome", outcome}, {"reason", ToWire(result.reason)}};
}

json ViewJson(const std::vector<DrawCommand>& commands, int width, int height) {
  json list = json::array();
  for (const DrawCommand& c : commands) {
    list.push_back(json{{"shape", ShapeName(c.shape)},
                        {"x1", c.x1},
                        {"y1", c.y1},
                        {"x2", c.x2},
                        {"y2", c.y2},
                        {"pen", ColourText(c.pen)},
                        {"fill", ColourText(c.fill)}});
  }
  return json{{"width", width}, {"height", height}, {"commands", std::move(list)}};
}

}  // namespace orvale::studio
