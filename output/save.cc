#include "output/save.h"

#include "platform/files.h"

namespace kegverter {

bool SaveOutput(const std::string& path, StagedOutput* staged,
                const std::function<bool(std::FILE*)>& write, std::string& error) {
  return staged == nullptr ? ReplaceFileWith(path, write, error) : staged->Write(write, error);
}

}  // namespace kegverter
