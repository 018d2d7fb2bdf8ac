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
#include "platform/unicode.h"

namespace kegverter {

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, kEntryStatusCount> kStatusNames = {
    "converted", "warned", "failed", "skipped", "up to date"};

// A folder as the file system names it (every link resolved: for telling paths apart) and as
// the user wrote it (for messages and the paths the program opens).
struct Folder {
  std::string key;
  std::string path;
};

// An input to convert, small: a library has tens of thousands. Its folders are indexes into the
// planner's folder table.
struct Target {
  std::size_t entry;
  std::uint32_t input_folder;
  std::uint32_t output_folder;
  int level = 0;  // 0: the usual name; 1: the whole input name; 2 and up: numbered
  std::string name;
};

// Paths are grouped by a hash of their text first; equal hashes are then compared in full.
std::size_t HashOf(const std::string& text) { return std::hash<std::string>{}(text); }

// Output paths are told apart without regard to ASCII letter case: on a case-insensitive file
// system (Windows, macOS by default, a FAT memory card) HOPS.xml and hops.xml are one file.
std::string Folded(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Joined(const std::string& folder_key, const std::string& name) {
  return Utf8FromPath(PathFromUtf8(folder_key) / PathFromUtf8(name));
}

// The absolute path with every link resolved; for a path that does not exist (yet), as much of
// it as exists, the rest as written.
std::string CanonicalKey(const fs::path& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(path, ec);
  if (ec) canonical = fs::absolute(path, ec).lexically_normal();
  return Utf8FromPath(canonical);
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
    plan_.entries.shrink_to_fit();
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
    const fs::path given = PathFromUtf8(path);
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
    const fs::path parent = given.parent_path();
    const std::uint32_t input_folder =
        AddFolder(CanonicalKey(parent.empty() ? fs::path(".") : parent), Utf8FromPath(parent));
    const std::uint32_t output_folder =
        output_key_.empty() ? input_folder : AddFolder(output_key_, options_.output_dir);
    AddFile(Utf8FromPath(given), input_folder, output_folder, Utf8FromPath(given.filename()), info);
  }

  std::uint32_t AddFolder(std::string key, std::string path) {
    folders_.push_back({std::move(key), std::move(path)});
    return static_cast<std::uint32_t>(folders_.size() - 1);
  }

  void WalkFolder(const fs::path& folder, const std::string& key, const fs::path& relative) {
    ancestors_.push_back(key);
    const std::uint32_t input_folder = AddFolder(key, Utf8FromPath(folder));
    const std::uint32_t output_folder =
        output_key_.empty()
            ? input_folder
            : AddFolder(
                  relative.empty() ? output_key_ : Joined(output_key_, Utf8FromPath(relative)),
                  Utf8FromPath(PathFromUtf8(options_.output_dir) / relative));
    std::vector<std::pair<std::string, fs::file_type>> children;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
      Fail(Utf8FromPath(folder), nullptr, "cannot read the folder: " + ec.message());
    } else {
      for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code type_error;
        children.emplace_back(Utf8FromPath(it->path().filename()),
                              it->symlink_status(type_error).type());
      }
      if (ec)
        Fail(Utf8FromPath(folder), nullptr, "the folder could not be read whole: " + ec.message());
    }
    std::sort(children.begin(), children.end());

    for (const auto& [name, type] : children) {
      const fs::path path = folder / PathFromUtf8(name);
      const std::string child_key = Joined(key, name);
      FileInfo info;
      std::string error;
      switch (type) {
        case fs::file_type::directory:
          if (child_key == output_key_) continue;  // the outputs of this run
          visited_.emplace(child_key, Utf8FromPath(path));
          WalkFolder(path, child_key, relative / PathFromUtf8(name));
          continue;
        case fs::file_type::regular:
          info.type = FileInfo::Type::Regular;
          AddFile(Utf8FromPath(path), input_folder, output_folder, name, info);
          continue;
        default:
          break;
      }
      // A link, another type, or a type the listing did not give: look at the path itself.
      if (!StatPath(Utf8FromPath(path), true, info, error)) {
        const KindInfo* kind = FindKindByName(FileNameOf(TrimPath(name)));
        if (kind != nullptr) {
          Fail(Utf8FromPath(path), kind, "cannot open: " + error);
        } else {
          Skip(Utf8FromPath(path), nullptr, "not a file Kegverter converts", true);
        }
        continue;
      }
      if (info.type != FileInfo::Type::Directory) {
        AddFile(Utf8FromPath(path), input_folder, output_folder, name, info);
        continue;
      }
      if (!options_.follow_links) {
        Skip(Utf8FromPath(path), nullptr,
             "a symbolic link to a folder; not followed without --follow-links", false);
        continue;
      }
      const std::string target_key = CanonicalKey(path);
      if (IsWithin(target_key, output_key_)) continue;
      if (std::find(ancestors_.begin(), ancestors_.end(), target_key) != ancestors_.end()) {
        Skip(Utf8FromPath(path), nullptr, "a symbolic link loop: leads back to a folder above it",
             false);
        continue;
      }
      const auto [seen, first] = visited_.emplace(target_key, Utf8FromPath(path));
      if (!first) {
        Skip(Utf8FromPath(path), nullptr, "leads to a folder already walked as " + seen->second,
             false);
        continue;
      }
      WalkFolder(path, target_key, relative / PathFromUtf8(name));
    }
    ancestors_.pop_back();
  }

  void AddFile(const std::string& path, std::uint32_t input_folder, std::uint32_t output_folder,
               const std::string& name, const FileInfo& info) {
    const KindInfo* kind = FindKindByName(FileNameOf(TrimPath(name)));
    if (kind == nullptr) {
      unknown_.push_back({plan_.entries.size(), input_folder, output_folder, 0, name});
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
    Target target{plan_.entries.size(), input_folder, output_folder, 0, name};
    // One file reached twice (a PATH given twice, or inside another PATH) is converted once.
    const std::string input_key = InputKeyOf(target);
    const auto [first, last] = inputs_.equal_range(HashOf(input_key));
    for (auto it = first; it != last; ++it) {
      if (InputKeyOf(targets_[it->second]) == input_key) return;
    }
    inputs_.emplace(HashOf(input_key), targets_.size());

    PlanEntry entry;
    entry.input = path;
    entry.kind = kind;
    entry.convert = true;
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

  std::string InputKeyOf(const Target& target) const {
    return Joined(folders_[target.input_folder].key, target.name);
  }

  std::string KeyOf(const Target& target) const {
    return Folded(Joined(folders_[target.output_folder].key, NameAt(target)));
  }

  // The targets sorted by the hash of their output key, so that those sharing a key are
  // neighbours.
  std::vector<std::pair<std::size_t, std::size_t>> ByOutputHash() const {
    std::vector<std::pair<std::size_t, std::size_t>> hashed;
    hashed.reserve(targets_.size());
    for (std::size_t i = 0; i < targets_.size(); ++i) {
      hashed.emplace_back(HashOf(KeyOf(targets_[i])), i);
    }
    std::sort(hashed.begin(), hashed.end());
    return hashed;
  }

  // Gives every output a path no other output of the run shares. Inputs whose usual names meet
  // are all named after their whole input name, and so are inputs whose usual name meets such a
  // whole name; whole names that still meet (they differ in letter case only, or two PATHs put
  // the same relative path under the output folder) get a number, the first in walk order none.
  void NameOutputs() {
    for (bool changed = true; changed;) {
      changed = false;
      const auto hashed = ByOutputHash();
      for (std::size_t run = 0; run < hashed.size();) {
        std::size_t end = run + 1;
        while (end < hashed.size() && hashed[end].first == hashed[run].first) ++end;
        if (end - run > 1) {
          // Equal hashes: the keys themselves decide.
          std::map<std::string, std::vector<std::size_t>> shared;
          for (std::size_t k = run; k < end; ++k) {
            shared[KeyOf(targets_[hashed[k].second])].push_back(hashed[k].second);
          }
          for (const auto& [key, users] : shared) {
            if (users.size() < 2) continue;
            for (const std::size_t i : users) {
              if (targets_[i].level == 0) {
                targets_[i].level = 1;
                changed = true;
              }
            }
          }
        }
        run = end;
      }
    }
    // Now only whole names can still meet. A number is chosen so that it meets no name of the
    // run at all (an equal hash is taken for a meeting: at worst a number is passed over).
    std::unordered_set<std::size_t> all;
    all.reserve(targets_.size());
    for (const Target& target : targets_) all.insert(HashOf(KeyOf(target)));
    std::unordered_multimap<std::size_t, std::size_t> taken;  // key hash -> target
    for (std::size_t i = 0; i < targets_.size(); ++i) {
      Target& target = targets_[i];
      PlanEntry& entry = plan_.entries[target.entry];
      if (target.level > 0) {
        const std::string key = KeyOf(target);
        const auto [first, last] = taken.equal_range(HashOf(key));
        const bool met = std::any_of(
            first, last, [&](const auto& other) { return KeyOf(targets_[other.second]) == key; });
        if (met) {
          target.level = 2;
          while (all.count(HashOf(KeyOf(target))) != 0) ++target.level;
          all.insert(HashOf(KeyOf(target)));
          entry.rename_note = "another input's whole name gives the same output";
        } else {
          entry.rename_note = "another input would have the same output";
        }
        taken.emplace(HashOf(KeyOf(target)), i);
      }
      const Folder& folder = folders_[target.output_folder];
      entry.output = Utf8FromPath(PathFromUtf8(folder.path) / PathFromUtf8(NameAt(target)));
      if (target.level > 0) {
        entry.renamed_from = Utf8FromPath(PathFromUtf8(folder.path) /
                                          PathFromUtf8(OutputNameOf(target.name, format_, false)));
      }
    }
  }

  // The outputs of an earlier run lie among the inputs when they go beside them; they are this
  // run's outputs, not files of an unknown kind.
  void DropOutputs() {
    if (unknown_.empty() || targets_.empty()) return;
    const auto hashed = ByOutputHash();
    std::vector<bool> drop(plan_.entries.size(), false);
    bool any = false;
    for (const Target& file : unknown_) {
      // As an output: the same folder and name, compared as outputs are.
      const std::string key = Folded(Joined(folders_[file.input_folder].key, file.name));
      auto it = std::lower_bound(hashed.begin(), hashed.end(),
                                 std::make_pair(HashOf(key), std::size_t{0}));
      for (; it != hashed.end() && it->first == HashOf(key); ++it) {
        if (KeyOf(targets_[it->second]) == key) any = drop[file.entry] = true;
      }
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
  std::vector<Folder> folders_;
  std::vector<Target> targets_;
  std::vector<Target> unknown_;  // files of no known kind, as if they were to be converted
  std::vector<std::string> ancestors_;
  std::map<std::string, std::string> visited_;  // folder key -> the path it was walked as
  std::unordered_multimap<std::size_t, std::size_t> inputs_;  // input key hash -> target
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
