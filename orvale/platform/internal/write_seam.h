#pragma once
// Test-only: the one place where a file being written receives its bytes. Record and
// settings writers (CStdioFile) put every byte through it, so a test can swap in one
// that fails part way, as a full disk does, or stops the process part way, as a crash
// does, and show that the previous file survives whole. Nothing in the library sets it.

#include <cstddef>
#include <cstdio>

namespace orvale::internal {

// Puts `count` bytes into `stream`; answers how many went in (fewer: the write failed).
using WriteBytesFunction = std::size_t (*)(std::FILE* stream, const void* data, std::size_t count);

// Every CStdioFile writer uses `function` from now on; nullptr restores std::fwrite.
void SetWriteBytesForTesting(WriteBytesFunction function);

}  // namespace orvale::internal
