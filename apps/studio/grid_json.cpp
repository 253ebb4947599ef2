#include "grid_json.h"

#include <cstdio>

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

}  // namespace

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
