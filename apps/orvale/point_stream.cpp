#include "point_stream.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <future>
#include <istream>
#include <ostream>
#include <thread>
#include <vector>

namespace orvale::cli {
namespace {

constexpr std::size_t kChunkLines = 16384;

struct Chunk {
  std::vector<std::string> lines;
  std::uint64_t first_line_number = 1;
  std::uint64_t bytes = 0;
};

struct ChunkOutput {
  std::string text;
  std::string errors;
  std::uint64_t failed = 0;
};

bool PassesThrough(std::string_view line) {
  const auto first = line.find_first_not_of(" \t");
  return first == std::string_view::npos || line[first] == '#';
}

void ConvertRange(const Chunk& chunk, std::size_t begin, std::size_t end, LineConverter& converter,
                  const std::string& command, ChunkOutput& output) {
  std::string error;
  for (std::size_t i = begin; i < end; ++i) {
    const std::string& line = chunk.lines[i];
    if (PassesThrough(line)) {
      output.text += line;
    } else if (error.clear(); !converter.Convert(line, output.text, error)) {
      output.text += "ERROR: " + error;
      output.errors +=
          command + ": line " + std::to_string(chunk.first_line_number + i) + ": " + error + "\n";
      ++output.failed;
    }
    output.text += '\n';
  }
}

bool ReadChunk(std::istream& in, Chunk& chunk) {
  chunk.lines.clear();
  chunk.bytes = 0;
  std::string line;
  while (chunk.lines.size() < kChunkLines && std::getline(in, line)) {
    chunk.bytes += line.size() + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    chunk.lines.push_back(std::move(line));
  }
  return !chunk.lines.empty();
}

class Progress {
 public:
  Progress(std::ostream& err, const StreamOptions& options) : err_(err), options_(options) {}

  void Update(std::uint64_t bytes, std::uint64_t lines) {
    if (!options_.show_progress) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    shown_ = true;
    err_ << "\r" << options_.command << ": " << lines << " lines";
    if (options_.input_size > 0) {
      err_ << " (" << std::min<std::uint64_t>(100, 100 * bytes / options_.input_size) << "%)";
    }
    err_.flush();
  }

  void Finish() {
    if (shown_) err_ << "\r\033[K";
  }

 private:
  std::ostream& err_;
  const StreamOptions& options_;
  std::chrono::steady_clock::time_point last_{};
  bool shown_ = false;
};

}  // namespace

StreamResult StreamPoints(std::istream& in, std::ostream& out, std::ostream& err,
                          const StreamOptions& options,
                          const std::function<std::unique_ptr<LineConverter>()>& make_converter) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t workers =
      static_cast<std::size_t>(options.workers > 0 ? options.workers : cores);
  std::vector<std::unique_ptr<LineConverter>> converters;
  for (std::size_t i = 0; i < workers; ++i)
    converters.push_back(make_converter());

  if (!options.header.empty()) out << options.header << '\n';
  StreamResult result;
  Progress progress(err, options);
  Chunk chunk;
  std::uint64_t bytes = 0;
  while (ReadChunk(in, chunk)) {
    chunk.first_line_number = result.lines + 1;
    const std::size_t count = chunk.lines.size();
    const std::size_t parts = count < 1024 ? 1 : workers;
    std::vector<ChunkOutput> outputs(parts);
    std::vector<std::future<void>> running;
    for (std::size_t part = 1; part < parts; ++part) {
      running.push_back(std::async(std::launch::async, [&, part] {
        ConvertRange(chunk, count * part / parts, count * (part + 1) / parts, *converters[part],
                     options.command, outputs[part]);
      }));
    }
    ConvertRange(chunk, 0, count / parts, *converters[0], options.command, outputs[0]);
    for (auto& task : running)
      task.get();
    for (const ChunkOutput& output : outputs) {
      out << output.text;
      err << output.errors;
      result.failed += output.failed;
    }
    result.lines += count;
    bytes += chunk.bytes;
    progress.Update(bytes, result.lines);
  }
  progress.Finish();
  out.flush();
  return result;
}

}  // namespace orvale::cli
