// Saving a finished document, whatever its format: atomically in place of the output file, or
// into a staged output that the batch puts in place with others.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace kegverter {

class StagedOutput;

/// Saves a finished output, whatever its format. `write` writes the whole document into the
/// open file and returns false when a write failed (errno telling why). Without `staged` the
/// file replaces `path` atomically (ReplaceFileWith); with it, it is written into `staged`,
/// which the caller puts in place (CommitStaged). False, with the reason in `error`, when
/// nothing was written.
bool SaveOutput(const std::string& path, StagedOutput* staged,
                const std::function<bool(std::FILE*)>& write, std::string& error);

}  // namespace kegverter
