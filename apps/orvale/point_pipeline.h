#pragma once
// The point pipeline every point command runs on: a reader splits each line into
// fields (blank-, comma- or semicolon-separated text, or RFC 4180 CSV, columns chosen
// by name or number), the command parses its fields into a record of its own,
// computes a batch of records at once and formats each result, and a writer puts out
// text, CSV or JSON lines in input order. A new command implements PointCommand and
// calls RunPointPipeline; every option of the input and output comes with it.

#include <CLI/CLI.hpp>

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli.h"
#include "point_stream.h"

namespace orvale::cli {

enum class OutputFormat { kText, kCsv, kJson };
enum class InputDialect { kText, kCsv };

// What a command takes and gives: the names of its input values, in the order Parse
// receives them, and of its output values, in the order Format writes them.
struct PointShape {
  std::vector<std::string> inputs;
  std::vector<std::string> outputs;
};

// How values are written: shared by every command, set by the pipeline's options.
struct ValueStyle {
  OutputFormat format = OutputFormat::kText;
  int angle_notation = -1;  // an ANGLE_PREFERENCE, or -1: a number of decimal degrees
  int angle_decimals = 9;   // -1: the notation's own default
  int length_decimals = 3;
  double metres_per_unit = 1.0;  // lengths in and out are in this unit
};

// The values of one output line, as the command's Format writes them.
class RowWriter {
 public:
  explicit RowWriter(const ValueStyle& style) : style_(style) {}

  void Length(double metres);            // in the output unit, at the length decimals
  void Angle(double radians, int type);  // an ANGLE_TYPE, in the chosen notation
  void Number(double value, int decimals);
  void Text(std::string_view text);
  void NumberText(std::string_view digits);  // a number already written out
  void Missing();                            // no value: "-", an empty field, null

  // A value: its bytes in Bytes(), and whether it is text (quoted in JSON) or missing
  // (no number: "-" in text, an empty CSV field, null in JSON).
  struct Value {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool text = false;
    bool missing = false;
  };
  void Clear();
  std::span<const Value> Values() const { return values_; }
  std::string_view Bytes(const Value& value) const {
    return std::string_view(bytes_).substr(value.begin, value.end - value.begin);
  }

 private:
  void Finish(bool text, bool missing);

  const ValueStyle& style_;
  std::string bytes_;
  std::vector<Value> values_;
};

// A line whose fields do not read: which of the command's inputs, and the reason
// (quoting the text at fault).
struct FieldProblem {
  std::size_t input = 0;
  std::string reason;
};

template <typename Record>
class PointCommand {
 public:
  virtual ~PointCommand() = default;
  // Reads the command's inputs (fields[i] is PointShape::inputs[i], blanks trimmed)
  // into `record`; false with the problem when they do not read.
  virtual bool Parse(std::span<const std::string_view> fields, Record& record,
                     FieldProblem& problem) const = 0;
  // Computes every record of a batch of lines, each as if alone: no line's result may
  // depend on another's.
  virtual void Compute(std::span<Record> records) = 0;
  // Writes the results of a record, in the order of PointShape::outputs; false with the
  // reason (the engine's status text) when the record holds no result.
  virtual bool Format(const Record& record, RowWriter& row, std::string& reason) const = 0;
};

// The values of the writer's options, shared by every command that writes values.
inline constexpr int kMostDecimals = 32;
// text, csv or json.
[[nodiscard]] bool ReadOutputFormat(const std::string& text, OutputFormat& format,
                                    std::string& problem);
// dms, dm, degrees, signed-degrees or gradians: an ANGLE_PREFERENCE.
[[nodiscard]] bool ReadAngleNotation(const std::string& text, int& notation, std::string& problem);
// Metres per unit of a --units value: a row of the metric or imperial (foot) tables by
// its name, or m, km, ft (the international foot) and us-ft (the US survey foot).
[[nodiscard]] bool ReadLengthUnit(const std::string& text, double& metres_per_unit,
                                  std::string& problem);

// Field readers for commands, with the reasons the pipeline's messages give.
// An angle of `type` in any form the angle entry reads; bare numbers are degrees, or
// gradians when `notation` is ANGLE_PREF_GRADIANS.
[[nodiscard]] bool ReadAngleField(std::string_view field, int type, int notation, double& radians,
                                  std::string& reason);
// A finite decimal number, optionally with a leading "+".
[[nodiscard]] bool ReadNumberField(std::string_view field, double& value);
// A length in `metres_per_unit` units, to metres.
[[nodiscard]] bool ReadLengthField(std::string_view field, double metres_per_unit, double& metres,
                                   std::string& reason);

// Where the fields of a line are, once the options and the header row are known.
struct LineLayout {
  InputDialect dialect = InputDialect::kText;
  // The field of each input, in the order of PointShape::inputs; empty: the fields in
  // order. The results fill these fields from left to right.
  std::vector<std::size_t> columns;
  bool with_id = false;            // no columns chosen: an id field comes first
  std::vector<std::string> names;  // the header row's names, when there is one
};

// Splits a line into fields: text at runs of blanks, tabs, commas and semicolons; CSV
// at commas, quoted fields unquoted (into `scratch`, which the fields may point into).
// False with the reason for a CSV line whose quotes do not close.
[[nodiscard]] bool SplitLine(std::string_view line, InputDialect dialect,
                             std::vector<std::string_view>& fields, std::string& scratch,
                             std::string& reason);

// Joins the output of a line: the id or the other columns, and the values.
class RowAssembler {
 public:
  RowAssembler(const LineLayout& layout, const PointShape& shape, const ValueStyle& style)
      : layout_(layout), shape_(shape), style_(style) {}
  void Append(std::span<const std::string_view> fields, const RowWriter& row,
              std::string& out) const;
  // The output's header row, from the input's (or none) and the output names.
  std::string Header(bool input_had_header) const;

 private:
  void Piece(std::string_view name, std::string_view bytes, bool text, bool missing, bool first,
             std::string& out) const;
  std::string FieldName(std::size_t field) const;
  void NameKeptFields() const;
  // Which value goes in a field: the field's place among the chosen columns, from the
  // left; -1 for a field that is not chosen.
  std::size_t ChosenRank(std::size_t field) const;

  const LineLayout& layout_;
  const PointShape& shape_;
  const ValueStyle& style_;
  // The names of the kept columns, made unique once the header row is known.
  mutable std::vector<std::string> kept_names_;
};

// The fields of a line that are the command's inputs; false with the problem when the
// line has too few or too many fields.
[[nodiscard]] bool SelectInputs(const LineLayout& layout, std::span<const std::string> inputs,
                                std::span<const std::string_view> fields,
                                std::vector<std::string_view>& selected, LineError& error);

// Lines through a PointCommand: Prepare reads and computes the whole batch, Convert
// writes each line's result.
template <typename Record>
class PipelineConverter final : public LineConverter {
 public:
  PipelineConverter(std::unique_ptr<PointCommand<Record>> command, const LineLayout& layout,
                    const PointShape& shape, const ValueStyle& style)
      : command_(std::move(command)),
        layout_(layout),
        shape_(shape),
        assembler_(layout, shape, style),
        row_(style) {}

  void Prepare(std::span<const std::string_view> lines) override {
    lines_.clear();
    records_.clear();
    for (const std::string_view line : lines) {
      Record record{};
      LineError unused;
      const bool ok = Read(line, record, unused);
      lines_.push_back({line.data(), ok ? records_.size() : kUnread});
      if (ok) records_.push_back(record);
    }
    command_->Compute(records_);
    next_ = 0;
  }

  bool Convert(std::string_view line, std::string& out, LineError& error) override {
    if (next_ >= lines_.size() || lines_[next_].start != line.data()) {
      Prepare(std::span<const std::string_view>(&line, 1));  // a line Prepare was not given
    }
    const PreparedLine prepared = lines_[next_++];
    if (prepared.record == kUnread) {
      Record unused{};
      return Read(line, unused, error);  // false, with the reason
    }
    row_.Clear();
    if (!command_->Format(records_[prepared.record], row_, error.reason)) return false;
    // Only an id or the other columns need the fields again.
    fields_.clear();
    std::string reason;
    if ((layout_.with_id || !layout_.columns.empty()) &&
        !SplitLine(line, layout_.dialect, fields_, scratch_, reason)) {
      return false;
    }
    assembler_.Append(fields_, row_, out);
    return true;
  }

 private:
  static constexpr std::size_t kUnread = static_cast<std::size_t>(-1);
  struct PreparedLine {
    const char* start;   // to know the line again in Convert
    std::size_t record;  // in records_, or kUnread
  };

  bool Read(std::string_view line, Record& record, LineError& error) {
    if (!SplitLine(line, layout_.dialect, fields_, scratch_, error.reason) ||
        !SelectInputs(layout_, shape_.inputs, fields_, selected_, error)) {
      return false;
    }
    FieldProblem problem;
    if (command_->Parse(selected_, record, problem)) return true;
    error.reason = std::move(problem.reason);
    const std::size_t first = layout_.with_id ? 1 : 0;
    error.column =
        1 + (layout_.columns.empty() ? first + problem.input : layout_.columns[problem.input]);
    return false;
  }

  std::unique_ptr<PointCommand<Record>> command_;
  const LineLayout& layout_;
  const PointShape& shape_;
  RowAssembler assembler_;
  RowWriter row_;
  std::vector<PreparedLine> lines_;
  std::vector<Record> records_;
  std::size_t next_ = 0;
  std::vector<std::string_view> fields_, selected_;
  std::string scratch_;
};

// The options of every point command: where the points come from and how they read,
// where the results go and how they are written.
struct PipelineOptions {
  std::vector<std::string> points;
  std::string input;
  std::string sheet;  // of an .xlsx input
  std::string output;
  std::string format = "text";
  bool csv_in = false;
  bool header = false;
  bool no_header = false;
  std::string columns;
  bool lon_lat = false;
  bool with_id = false;
  std::string angles;
  std::string units;
  std::string on_error = "mark";
  int decimals = -1;
  int workers = 0;
  std::vector<std::string> given;  // options given on the command line, by name
  bool Given(std::string_view name) const;
};

// Adds the options above to a command; `named` collects those whose presence the
// command's checks need (--decimals, --jobs, --input, ...).
void AddPipelineOptions(CLI::App& command, PipelineOptions& options,
                        std::vector<CLI::Option*>& named);

// Records in options.given which of `named` were given on the command line, for the
// checks that depend on their presence; run from the command's callback.
void CollectGivenOptions(const std::vector<CLI::Option*>& named, PipelineOptions& options);

// The help text's part about the pipeline: input shapes, columns, errors.
std::string PipelineHelp();

// Everything a command hands the pipeline: its name, shape, the value style it starts
// from (its default decimals) and a maker of its per-worker command objects.
struct PipelineSetup {
  std::string command;  // "orvale project"
  PointShape shape;
  ValueStyle style;
  bool angles_out = false;  // the outputs hold angles: --angles applies to them
};

using ConverterMaker =
    std::function<std::unique_ptr<LineConverter>(const LineLayout&, const ValueStyle&)>;

// Runs the pipeline; returns the exit status (kExitOk, kExitBadInput, kExitUsage).
int RunPipeline(PipelineSetup setup, const PipelineOptions& options, const ConverterMaker& make,
                const Streams& streams);

template <typename Record>
int RunPointPipeline(
    PipelineSetup setup, const PipelineOptions& options,
    const std::function<std::unique_ptr<PointCommand<Record>>(const ValueStyle&)>& make_command,
    const Streams& streams) {
  auto shape = std::make_shared<PointShape>(setup.shape);
  const ConverterMaker make = [&make_command, shape](const LineLayout& layout,
                                                     const ValueStyle& style) {
    return std::make_unique<PipelineConverter<Record>>(make_command(style), layout, *shape, style);
  };
  return RunPipeline(std::move(setup), options, make, streams);
}

}  // namespace orvale::cli
