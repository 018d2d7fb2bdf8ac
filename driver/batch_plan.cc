#include "driver/batch_plan.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/files.h"

namespace kegverter {

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, kEntryStatusCount> kStatusNames = {
    "converted", "warned", "failed", "skipped", "up to date"};

// The folder an output goes into, as the file system names it (for telling outputs apart) and
// as the user wrote it (for messages), and the input's own file name.
struct Target {
  std::size_t entry;
  std::string folder_key;
  fs::path folder;
  std::string name;
  int level = 0;  // 0: the usual name; 1: the whole input name; 2 and up: numbered
};

// Output paths are told apart without regard to ASCII letter case: on a case-insensitive file
// system (Windows, macOS by default, a FAT memory card) HOPS.xml and hops.xml are one file.
std::string Folded(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Joined(const std::string& folder_key, const std::string& name) {
  return (fs::path(folder_key) / name).string();
}

// The absolute path with every link resolved; for a path that does not exist (yet), as much of
// it as exists, the rest as written.
std::string CanonicalKey(const fs::path& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(path, ec);
  if (ec) canonical = fs::absolute(path, ec).lexically_normal();
  return canonical.string();
}

bool IsWithin(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.size() < folder.size()) return false;
  if (path.compare(0, folder.size(), folder) != 0) return false;
  return path.size() == folder.size() || fs::path::preferred_separator == path[folder.size()] ||
         folder.back() == fs::path::preferred_separator;
}

class Planner {
 public:
  explicit Planner(const PlanOptions& options) : options_(options), format_(Info(options.format)) {
    if (!options.output_dir.empty()) output_key_ = CanonicalKey(options.output_dir);
  }

  Plan Run() {
    for (const std::string& path : options_.paths) {
      WalkPath(path);
      if (!plan_.usage_error.empty()) {
        plan_.entries.clear();
        return std::move(plan_);
      }
    }
    NameOutputs();
    DropOutputs();
    return std::move(plan_);
  }

 private:
  void WalkPath(const std::string& path) {
    FileInfo info;
    std::string error;
    if (!StatPath(path, true, info, error)) {
      // A PATH that names nothing is failed even when its name is of no known kind: it was
      // asked for by name.
      Fail(path, FindKindByName(FileNameOf(TrimPath(path))), "cannot open: " + error);
      return;
    }
    const fs::path given(path);
    if (info.type == FileInfo::Type::Directory) {
      const std::string key = CanonicalKey(given);
      if (IsWithin(key, output_key_)) {
        plan_.usage_error = path + ": lies inside the output folder " + options_.output_dir +
                            ", which is never read as input";
        return;
      }
      if (!visited_.emplace(key, path).second) return;  // given twice
      WalkFolder(given, key, fs::path());
      return;
    }
    fs::path parent = given.parent_path();
    AddFile(given.string(), CanonicalKey(parent.empty() ? fs::path(".") : parent),
            given.filename().string(), fs::path(), info);
  }

  void WalkFolder(const fs::path& folder, const std::string& key, const fs::path& relative) {
    ancestors_.push_back(key);
    std::vector<std::pair<std::string, fs::file_type>> children;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
      Fail(folder.string(), nullptr, "cannot read the folder: " + ec.message());
    } else {
      for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code type_error;
        children.emplace_back(it->path().filename().string(),
                              it->symlink_status(type_error).type());
      }
      if (ec) Fail(folder.string(), nullptr, "the folder could not be read whole: " + ec.message());
    }
    std::sort(children.begin(), children.end());

    for (const auto& [name, type] : children) {
      const fs::path path = folder / name;
      const std::string child_key = Joined(key, name);
      FileInfo info;
      std::string error;
      switch (type) {
        case fs::file_type::directory:
          if (child_key == output_key_) continue;  // the outputs of this run
          visited_.emplace(child_key, path.string());
          WalkFolder(path, child_key, relative / name);
          continue;
        case fs::file_type::regular:
          info.type = FileInfo::Type::Regular;
          AddFile(path.string(), key, name, relative, info);
          continue;
        default:
          break;
      }
      // A link, another type, or a type the listing did not give: look at the path itself.
      if (!StatPath(path.string(), true, info, error)) {
        const KindInfo* kind = FindKindByName(FileNameOf(TrimPath(name)));
        if (kind != nullptr) {
          Fail(path.string(), kind, "cannot open: " + error);
        } else {
          Skip(path.string(), nullptr, "not a file Kegverter converts", true);
        }
        continue;
      }
      if (info.type != FileInfo::Type::Directory) {
        AddFile(path.string(), key, name, relative, info);
        continue;
      }
      if (!options_.follow_links) {
        Skip(path.string(), nullptr,
             "a symbolic link to a folder; not followed without --follow-links", false);
        continue;
      }
      const std::string target_key = CanonicalKey(path);
      if (IsWithin(target_key, output_key_)) continue;
      if (std::find(ancestors_.begin(), ancestors_.end(), target_key) != ancestors_.end()) {
        Skip(path.string(), nullptr, "a symbolic link loop: leads back to a folder above it",
             false);
        continue;
      }
      const auto [seen, first] = visited_.emplace(target_key, path.string());
      if (!first) {
        Skip(path.string(), nullptr, "leads to a folder already walked as " + seen->second, false);
        continue;
      }
      WalkFolder(path, target_key, relative / name);
    }
    ancestors_.pop_back();
  }

  void AddFile(const std::string& path, const std::string& folder_key, const std::string& name,
               const fs::path& relative, const FileInfo& info) {
    const KindInfo* kind = FindKindByName(FileNameOf(TrimPath(name)));
    if (kind == nullptr) {
      unknown_.emplace_back(plan_.entries.size(), Folded(Joined(folder_key, name)));
      Skip(path, nullptr, "not a file Kegverter converts", true);
      return;
    }
    if (!kind->converted()) {
      Skip(path, kind, std::string(kind->description) + " files are not converted", false);
      return;
    }
    if (kind->writers[static_cast<std::size_t>(format_.format)] == nullptr) {
      Skip(path, kind, "cannot be written as " + std::string(format_.title), false);
      return;
    }
    if (info.type != FileInfo::Type::Regular) {
      // Never opened: reading a FIFO would wait for a writer, a device may never end.
      Fail(path, kind, std::string("cannot open: ") + info.other + ", not a regular file");
      return;
    }
    // One file reached twice (a PATH given twice, or inside another PATH) is converted once.
    if (!inputs_.insert(Joined(folder_key, name)).second) return;

    PlanEntry entry;
    entry.input = path;
    entry.kind = kind;
    entry.convert = true;
    Target target{plan_.entries.size(), folder_key, fs::path(path).parent_path(), name};
    if (!options_.output_dir.empty()) {
      target.folder = fs::path(options_.output_dir) / relative;
      target.folder_key = relative.empty() ? output_key_ : Joined(output_key_, relative.string());
    }
    targets_.push_back(std::move(target));
    plan_.entries.push_back(std::move(entry));
    ++plan_.to_convert;
  }

  void Skip(const std::string& path, const KindInfo* kind, std::string reason, bool listed_only) {
    PlanEntry entry;
    entry.input = path;
    entry.kind = kind;
    entry.status = EntryStatus::Skipped;
    entry.reason = std::move(reason);
    entry.listed_only = listed_only;
    plan_.entries.push_back(std::move(entry));
  }

  void Fail(const std::string& path, const KindInfo* kind, std::string reason) {
    Skip(path, kind, std::move(reason), false);
    plan_.entries.back().status = EntryStatus::Failed;
  }

  std::string NameAt(const Target& target) const {
    if (target.level < 2) return OutputNameOf(target.name, format_, target.level == 1);
    // The whole names still meet: a number keeps them apart.
    return TrimPath(target.name) + "." + std::to_string(target.level) + "." +
           std::string(format_.extension);
  }

  std::string KeyOf(const Target& target) const {
    return Folded(Joined(target.folder_key, NameAt(target)));
  }

  // Gives every output a path no other output of the run shares. Inputs whose usual names meet
  // are all named after their whole input name, and so are inputs whose usual name meets such a
  // whole name; whole names that still meet (they differ in letter case only, or two PATHs put
  // the same relative path under the output folder) get a number, the first in walk order none.
  void NameOutputs() {
    for (bool changed = true; changed;) {
      changed = false;
      std::unordered_map<std::string, std::vector<std::size_t>> users;
      for (std::size_t i = 0; i < targets_.size(); ++i) users[KeyOf(targets_[i])].push_back(i);
      for (const auto& [key, shared] : users) {
        if (shared.size() < 2) continue;
        for (const std::size_t i : shared) {
          if (targets_[i].level == 0) {
            targets_[i].level = 1;
            changed = true;
          }
        }
      }
    }
    std::unordered_set<std::string> all;
    for (const Target& target : targets_) all.insert(KeyOf(target));
    std::unordered_set<std::string> taken;
    for (Target& target : targets_) {
      PlanEntry& entry = plan_.entries[target.entry];
      std::string key = KeyOf(target);
      if (!taken.insert(key).second) {
        target.level = 2;
        while (all.count(KeyOf(target)) != 0 || taken.count(KeyOf(target)) != 0) ++target.level;
        key = KeyOf(target);
        taken.insert(key);
        all.insert(key);
        entry.rename_note = "another input's whole name gives the same output";
      } else if (target.level == 1) {
        entry.rename_note = "another input would have the same output";
      }
      entry.output = (target.folder / NameAt(target)).string();
      if (target.level > 0) {
        entry.renamed_from = (target.folder / OutputNameOf(target.name, format_, false)).string();
      }
    }
  }

  // The outputs of an earlier run lie among the inputs when they go beside them; they are this
  // run's outputs, not files of an unknown kind.
  void DropOutputs() {
    std::unordered_set<std::string> outputs;
    for (const Target& target : targets_) outputs.insert(KeyOf(target));
    std::vector<bool> drop(plan_.entries.size(), false);
    bool any = false;
    for (const auto& [index, key] : unknown_) {
      if (outputs.count(key) != 0) any = drop[index] = true;
    }
    if (!any) return;
    std::vector<PlanEntry> kept;
    kept.reserve(plan_.entries.size());
    for (std::size_t i = 0; i < plan_.entries.size(); ++i) {
      if (!drop[i]) kept.push_back(std::move(plan_.entries[i]));
    }
    plan_.entries = std::move(kept);
  }

  const PlanOptions& options_;
  const FormatInfo& format_;
  std::string output_key_;
  Plan plan_;
  std::vector<Target> targets_;
  std::vector<std::string> ancestors_;
  std::map<std::string, std::string> visited_;  // folder key -> the path it was walked as
  std::unordered_set<std::string> inputs_;
  std::vector<std::pair<std::size_t, std::string>> unknown_;  // entry, folded path
};

}  // namespace

const char* StatusName(EntryStatus status) {
  return kStatusNames[static_cast<std::size_t>(status)];
}

std::string OutputNameOf(std::string_view input_name, const FormatInfo& format, bool whole_name) {
  std::string name = TrimPath(input_name);
  if (whole_name) {
    name += '.';
  } else {
    name.resize(name.size() >= 3 ? name.size() - 3 : 0);
  }
  name += format.extension;
  return name;
}

Plan MakePlan(const PlanOptions& options) { return Planner(options).Run(); }

}  // namespace kegverter
