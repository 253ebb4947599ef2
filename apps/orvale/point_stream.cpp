#include "point_stream.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <future>
#include <istream>
#include <limits>
#include <ostream>
#include <system_error>
#include <thread>
#include <vector>

#include "text_fields.h"

namespace orvale::cli {
namespace {

constexpr std::size_t kChunkLines = 16384;
constexpr std::size_t kBlockBytes = 1 << 20;
static_assert(kBlockBytes > 2 * kMaxLineBytes);
// Enough to keep every core of a large machine busy; more threads only cost memory.
constexpr int kLeastMostWorkers = 256;
constexpr int kMostWorkersPerCore = 4;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view TrimCr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// A block of input lines kept in one buffer, so that reading allocates per chunk,
// not per line.
struct Chunk {
  std::string text;                 // the lines, each without its line end
  std::vector<std::size_t> starts;  // offset of each line in `text`, plus the end
  std::vector<bool> too_long;       // the line was longer than kMaxLineBytes: skipped
  // Line breaks inside the CSV records before each record, so that messages name the
  // line of the file where a record starts.
  std::vector<std::uint32_t> breaks_before;
  std::uint32_t breaks = 0;  // in all of the chunk's records
  std::uint64_t first_line_number = 1;
  std::uint64_t bytes = 0;

  std::size_t size() const { return starts.empty() ? 0 : starts.size() - 1; }
  std::uint64_t file_lines() const { return size() + breaks; }
  std::uint64_t line_number(std::size_t i) const {
    return first_line_number + i + breaks_before[i];
  }
  std::string_view line(std::size_t i) const {
    return std::string_view(text).substr(starts[i], starts[i + 1] - starts[i]);
  }
};

struct ChunkOutput {
  std::string text;
  std::string errors;
  std::uint64_t failed = 0;
  // ErrorPolicy::kStop: the output and messages up to the first bad line.
  std::size_t stop_text = std::string::npos;
  std::size_t stop_errors = std::string::npos;
};

bool PassesThrough(std::string_view line) {
  const auto first = line.find_first_not_of(" \t");
  return first == std::string_view::npos || line[first] == '#';
}

void AppendStyled(std::string_view line, LineStyle style, std::string& out) {
  if (style == LineStyle::kCsv) {
    out += CsvField(line);
  } else if (style == LineStyle::kJson) {
    if (line.find_first_not_of(" \t") == std::string_view::npos) {
      out += "{}";
    } else {
      out += "{\"comment\":";
      AppendJsonString(out, line);
      out += '}';
    }
  } else {
    out += line;
  }
}

void AppendError(std::string_view reason, LineStyle style, std::string& out) {
  if (style == LineStyle::kJson) {
    out += "{\"error\":";
    AppendJsonString(out, reason);
    out += '}';
  } else {
    AppendStyled("ERROR: " + std::string(reason), style, out);
  }
}

void SayError(const Chunk& chunk, std::size_t i, const LineError& error,
              const StreamOptions& options, ChunkOutput& output) {
  output.errors += options.command + ": " + options.input_name + ", line " +
                   std::to_string(chunk.line_number(i));
  if (error.column > 0) output.errors += ", column " + std::to_string(error.column);
  output.errors += ": " + error.reason;
  // A reason about the line as a whole shows the line, as a field's shows the field.
  if (error.column == 0 && !chunk.too_long[i])
    output.errors += ": '" + Excerpt(chunk.line(i)) + "'";
  output.errors += '\n';
}

// Returns false when the range stops here (ErrorPolicy::kStop).
bool Fail(const Chunk& chunk, std::size_t i, const LineError& error, const StreamOptions& options,
          ChunkOutput& output) {
  ++output.failed;
  SayError(chunk, i, error, options, output);
  if (options.on_error == ErrorPolicy::kStop) {
    output.stop_errors = output.errors.size();
    output.stop_text = output.text.size();
    return false;
  }
  if (options.on_error == ErrorPolicy::kMark) {
    AppendError(error.reason, options.style, output.text);
    output.text += '\n';
  }
  return true;
}

void ConvertRange(const Chunk& chunk, std::size_t begin, std::size_t end, LineConverter& converter,
                  const StreamOptions& options, ChunkOutput& output) {
  std::vector<std::string_view> points;
  for (std::size_t i = begin; i < end; ++i) {
    if (!chunk.too_long[i] && !PassesThrough(chunk.line(i))) points.push_back(chunk.line(i));
  }
  converter.Prepare(points);
  LineError error;
  for (std::size_t i = begin; i < end; ++i) {
    const std::string_view line = chunk.line(i);
    if (chunk.too_long[i]) {
      error.reason = "line longer than " + std::to_string(kMaxLineBytes) + " bytes, skipped";
      error.column = 0;
      if (!Fail(chunk, i, error, options, output)) return;
      continue;
    }
    if (PassesThrough(line)) {
      AppendStyled(line, options.style, output.text);
      output.text += '\n';
      continue;
    }
    const std::size_t mark = output.text.size();
    error.reason.clear();
    error.column = 0;
    if (converter.Convert(line, output.text, error)) {
      output.text += '\n';
    } else {
      output.text.resize(mark);  // nothing half-written stays
      if (!Fail(chunk, i, error, options, output)) return;
    }
  }
}

bool ReadChunk(LineReader& reader, Chunk& chunk) {
  chunk.text.clear();
  chunk.starts.assign(1, 0);
  chunk.too_long.clear();
  chunk.breaks_before.clear();
  chunk.breaks = 0;
  chunk.bytes = 0;
  std::string_view line;
  bool too_long = false;
  while (chunk.size() < kChunkLines && reader.Next(line, too_long, chunk.bytes)) {
    chunk.text += line;
    chunk.starts.push_back(chunk.text.size());
    chunk.too_long.push_back(too_long);
    chunk.breaks_before.push_back(chunk.breaks);
    chunk.breaks += reader.BreaksInside();
  }
  return chunk.size() > 0;
}

// "orvale project: 1200000 points, 850000 points/s, 12% , 8 s left", a few times a
// second, on a terminal only.
class Progress {
 public:
  Progress(std::ostream& err, const StreamOptions& options)
      : err_(err), options_(options), start_(std::chrono::steady_clock::now()) {}

  void Update(std::uint64_t bytes, std::uint64_t lines) {
    if (!options_.show_progress) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    shown_ = true;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    err_ << "\r" << options_.command << ": " << lines << " points";
    if (seconds > 0.0) err_ << ", " << static_cast<std::uint64_t>(lines / seconds) << " points/s";
    if (options_.input_size > 0 && bytes > 0) {
      const double done = std::min(1.0, static_cast<double>(bytes) / options_.input_size);
      err_ << ", " << static_cast<int>(100 * done) << "%, "
           << static_cast<std::uint64_t>(seconds * (1.0 - done) / done) << " s left";
    }
    err_ << "\033[K";
    err_.flush();
  }

  void Finish() {
    if (shown_) err_ << "\r\033[K";
  }

 private:
  std::ostream& err_;
  const StreamOptions& options_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_{};
  bool shown_ = false;
};

// The header row, when the input starts with one: false when it is refused.
bool ReadHeader(LineReader& reader, std::ostream& out, std::ostream& err,
                const StreamOptions& options, StreamResult& result, std::uint64_t& bytes,
                std::uint64_t& next_line) {
  std::string_view line;
  bool too_long = false;
  if (!reader.Next(line, too_long, bytes)) return true;  // no input, no header
  result.lines = 1;
  next_line += 1 + reader.BreaksInside();
  std::string header, problem;
  if (too_long) {
    problem = "the header row is longer than " + std::to_string(kMaxLineBytes) + " bytes";
  } else if (options.read_header(line, header, problem)) {
    if (!header.empty()) out << header << '\n';
    return true;
  }
  err << options.command << ": " << options.input_name << ", line 1: " << problem << "\n";
  result.header_refused = true;
  return false;
}

}  // namespace

LineReader::LineReader(std::istream& in, bool quoted_line_breaks)
    : in_(in), block_(kBlockBytes), quoted_line_breaks_(quoted_line_breaks) {}

const char* LineReader::RecordEnd(const char* first, const char* from, const char* end,
                                  bool plain) {
  if (!quoted_line_breaks_ || plain)
    return static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
  // Only a quote that opens a field quotes it; a stray one inside an unquoted field
  // is text (and the field's reader says so), not the start of a multi-line record.
  for (const char* p = from; p != end; ++p) {
    const char c = *p;
    switch (csv_state_) {
      case CsvState::kFieldStart:
        csv_state_ = c == '"'   ? CsvState::kQuoted
                     : c == ',' ? CsvState::kFieldStart
                                : CsvState::kUnquoted;
        break;
      case CsvState::kUnquoted:
        if (c == ',') csv_state_ = CsvState::kFieldStart;
        break;
      case CsvState::kQuoted:
        if (c == '"') csv_state_ = CsvState::kQuoteInQuoted;
        if (c == '\n') ++breaks_;
        if (static_cast<std::size_t>(p - first) > kMaxLineBytes) {
          unclosed_ = true;  // no field is this long: a quote that was never closed
          return nullptr;
        }
        continue;
      case CsvState::kQuoteInQuoted:  // a doubled quote, or the field's end
        csv_state_ = c == '"'   ? CsvState::kQuoted
                     : c == ',' ? CsvState::kFieldStart
                                : CsvState::kUnquoted;
        break;
    }
    if (c == '\n') return p;
  }
  return nullptr;
}

bool LineReader::Next(std::string_view& line, bool& too_long, std::uint64_t& bytes) {
  too_long = false;
  bool skipping = false;
  if (!started_) {
    started_ = true;
    // A byte-order mark (editors on Windows write one) is no part of the first line.
    while (end_ - begin_ < kByteOrderMark.size() && Fill()) {
    }
    if (std::string_view(block_.data() + begin_, end_ - begin_).starts_with(kByteOrderMark)) {
      begin_ += kByteOrderMark.size();
      bytes += kByteOrderMark.size();
    }
  }
  breaks_ = 0;
  csv_state_ = CsvState::kFieldStart;
  unclosed_ = false;
  std::size_t scanned = 0;  // bytes of the record known to hold no record end
  while (true) {
    const char* first = block_.data() + begin_;
    const char* end = block_.data() + end_;
    // A quoted field that runs on for more than a line's bound was never closed: the
    // record is read again as ending at its first line end, so that the quote costs
    // that one line and not the rest of the file.
    const char* lf = RecordEnd(first, first + scanned, end, skipping || unclosed_);
    if (lf == nullptr && unclosed_ && breaks_ > 0) {
      breaks_ = 0;
      scanned = 0;
      continue;
    }
    if (lf != nullptr) {
      const auto length = static_cast<std::size_t>(lf - first);
      bytes += length + 1;
      begin_ += length + 1;
      too_long = skipping || length > kMaxLineBytes;
      line = too_long ? std::string_view() : TrimCr(std::string_view(first, length));
      return true;
    }
    scanned = end_ - begin_;
    if (end_ - begin_ > kMaxLineBytes) {  // no line end in sight: drop what is held
      skipping = true;
      bytes += end_ - begin_;
      begin_ = end_ = 0;
      scanned = 0;
    }
    if (!Fill()) {
      if (begin_ == end_ && !skipping) return false;
      bytes += end_ - begin_;
      too_long = skipping;
      line = skipping ? std::string_view()
                      : TrimCr(std::string_view(block_.data() + begin_, end_ - begin_));
      begin_ = end_;
      return true;
    }
  }
}

bool LineReader::Fill() {
  std::memmove(block_.data(), block_.data() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  if (end_ == block_.size()) return true;  // full: the caller has a line's worth
  in_.read(block_.data() + end_, static_cast<std::streamsize>(block_.size() - end_));
  const auto read = static_cast<std::size_t>(in_.gcount());
  end_ += read;
  return read > 0;
}

namespace {

// A chunk with its outputs and the threads converting it.
struct ChunkWork {
  Chunk chunk;
  std::vector<ChunkOutput> outputs;
  std::vector<std::future<void>> running;

  void Wait() {
    for (auto& task : running)
      task.get();
    running.clear();
  }
};

// Converts the chunk's lines in `workers` parts, each on a thread of its own (or here,
// when no thread is to be had); Wait() gives the parts' outputs.
void StartConverting(ChunkWork& work, std::uint64_t first_line_number, std::size_t workers,
                     std::vector<std::unique_ptr<LineConverter>>& converters,
                     const StreamOptions& options) {
  Chunk& chunk = work.chunk;
  chunk.first_line_number = first_line_number;
  const std::size_t count = chunk.size();
  const std::size_t parts = count < 1024 ? 1 : workers;
  work.outputs.assign(parts, {});
  for (std::size_t part = 0; part < parts; ++part) {
    const auto convert = [&work, &converters, &options, count, parts, part] {
      ConvertRange(work.chunk, count * part / parts, count * (part + 1) / parts, *converters[part],
                   options, work.outputs[part]);
    };
    try {
      work.running.push_back(std::async(std::launch::async, convert));
    } catch (const std::system_error&) {
      convert();  // no thread to be had: the same work, here
    }
  }
}

// Writes a converted chunk's outputs in order, up to the first bad line under
// ErrorPolicy::kStop.
void WriteChunk(const ChunkWork& work, std::ostream& out, std::ostream& err, StreamResult& result) {
  for (const ChunkOutput& output : work.outputs) {
    if (output.stop_text != std::string::npos) {
      out << std::string_view(output.text).substr(0, output.stop_text);
      err << std::string_view(output.errors).substr(0, output.stop_errors);
      result.failed += output.failed;
      result.stopped = true;
      break;
    }
    out << output.text;
    err << output.errors;
    result.failed += output.failed;
  }
  result.lines += work.chunk.size();
}

}  // namespace

int MostWorkers() {
  const int cores = static_cast<int>(std::min(1024u, std::thread::hardware_concurrency()));
  return std::max(kLeastMostWorkers, kMostWorkersPerCore * cores);
}

StreamResult StreamPoints(std::istream& in, std::ostream& out, std::ostream& err,
                          const StreamOptions& options,
                          const std::function<std::unique_ptr<LineConverter>()>& make_converter) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  // The commands refuse counts outside 1..MostWorkers(); a caller that did not is held
  // to the same bound.
  const std::size_t workers = static_cast<std::size_t>(
      options.workers > 0 ? std::min(options.workers, MostWorkers()) : static_cast<int>(cores));
  StreamResult result;
  std::uint64_t bytes = 0;
  LineReader reader(in, options.quoted_line_breaks);
  std::uint64_t next_line = 1;  // of the file, where the next chunk starts
  if (options.read_header) {
    if (!ReadHeader(reader, out, err, options, result, bytes, next_line)) return result;
  } else if (!options.header.empty()) {
    out << options.header << '\n';
  }
  std::vector<std::unique_ptr<LineConverter>> converters;
  for (std::size_t i = 0; i < workers; ++i)
    converters.push_back(make_converter());

  Progress progress(err, options);
  // Two chunks in flight: while the workers convert one, this thread writes the output
  // of the one before and reads the one after, so the reading and writing (a large
  // share of the time) overlap the converting rather than wait for it.
  std::array<ChunkWork, 2> work;
  std::size_t current = 0;
  bool more = ReadChunk(reader, work[current].chunk);
  if (more) StartConverting(work[current], next_line, workers, converters, options);
  while (more) {
    ChunkWork& converting = work[current];
    ChunkWork& next = work[1 - current];
    next_line += converting.chunk.file_lines();
    const std::uint64_t next_first_line = next_line;
    more = out && ReadChunk(reader, next.chunk);
    converting.Wait();
    if (more) StartConverting(next, next_first_line, workers, converters, options);
    WriteChunk(converting, out, err, result);
    bytes += converting.chunk.bytes;
    progress.Update(bytes, result.lines);
    if (!out || result.stopped) {
      if (more) next.Wait();  // its threads use the converters; let them finish
      break;
    }
    current = 1 - current;
  }
  progress.Finish();
  out.flush();
  // Output that failed stops the reading early; that is said by the caller's check.
  if (out && !result.stopped) result.input_failed = !InputReadToEnd(in, err, options.command);
  return result;
}

bool InputReadToEnd(std::istream& in, std::ostream& err, const std::string& command) {
  if (!in.bad()) return true;
  const int error = errno;
  err << command << ": cannot read input: " << (error != 0 ? std::strerror(error) : "read error")
      << "\n";
  return false;
}

}  // namespace orvale::cli
