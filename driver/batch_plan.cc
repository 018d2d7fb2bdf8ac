#include "driver/batch_plan.h"

#include <algorithm>
#include <array>
#include <deque>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "platform/files.h"
#include "platform/unicode.h"

namespace kegverter {

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, kEntryStatusCount> kStatusNames = {
    "converted", "warned", "failed", "skipped", "up to date"};

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

// An entry's type as the folder listing gives it, without a look at the file where the system's
// listing says (a link is a link); `none` when only a look would tell, which the walk then takes.
fs::file_type ListedType(const fs::directory_entry& entry) {
  std::error_code ec;
  if (entry.is_symlink(ec)) return fs::file_type::symlink;
  if (!ec && entry.is_directory(ec)) return fs::file_type::directory;
  if (!ec && entry.is_regular_file(ec)) return fs::file_type::regular;
  return fs::file_type::none;
}

// Paths are kept as 64-bit hashes of their text (FNV-1a, its bits spread by a final mix). Equal
// paths always have equal hashes, so outputs that meet are always found; two different paths
// share a hash with a chance of about one in 10^11 among 10,000, and are then named apart when
// they need not be.
class PathHash {
 public:
  // Output paths are compared without regard to ASCII letter case: on a case-insensitive file
  // system (Windows, macOS by default, a FAT memory card) HOPS.xml and hops.xml are one file.
  explicit PathHash(bool fold) : fold_(fold) {}

  PathHash& Add(std::string_view text) {
    for (const char c : text) {
      const char folded = fold_ && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
      hash_ = (hash_ ^ static_cast<unsigned char>(folded)) * 0x100000001b3u;
    }
    return *this;
  }

  std::uint64_t Done() const {
    std::uint64_t h = hash_;
    h = (h ^ (h >> 33)) * 0xff51afd7ed558ccdu;
    h = (h ^ (h >> 33)) * 0xc4ceb9fe1a85ec53u;
    return h ^ (h >> 33);
  }

 private:
  bool fold_;
  std::uint64_t hash_ = 0xcbf29ce484222325u;
};

// The key of the file `name` in the folder of key `folder`, joined as fs::path joins them: what
// tells output paths apart.
std::uint64_t OutputKey(std::string_view folder, std::string_view name) {
  PathHash hash(true);
  hash.Add(folder);
  if (!folder.empty() && folder.back() != kSeparator) hash.Add(std::string_view(&kSeparator, 1));
  return hash.Add(name).Done();
}

// What tells folders apart: letter case counts, as it does on the file system being read.
std::uint64_t FolderKey(std::string_view key) { return PathHash(false).Add(key).Done(); }

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
  return path.size() == folder.size() || path[folder.size()] == kSeparator ||
         folder.back() == kSeparator;
}

// The name of a temporary file this program writes (".kv", eight hexadecimal digits, ".tmp"):
// an output or a report being written, or one a killed run left. Never an input.
bool IsTemporaryName(std::string_view name) {
  if (name.size() != 15 || name.substr(0, 3) != ".kv" || name.substr(11) != ".tmp") return false;
  return std::all_of(name.begin() + 3, name.begin() + 11,
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A folder being walked: its key (the absolute path with every link resolved, for telling
// paths apart) and the folder its outputs go to, as a key and as the user wrote it.
struct Place {
  std::string key;
  std::string output_key;
  std::string output_path;
};

// One thing the walk found.
struct Found {
  enum class What : std::uint8_t {
    Convert,  // an input of a kind converted to the run's format
    Unknown,  // a file of no known kind
    Other,    // skipped or failed for `reason`
  };
  What what = What::Other;
  std::string path;  // as found: a PATH, or a PATH joined with names
  std::string name;  // its name in its folder
  const KindInfo* kind = nullptr;
  const Place* place = nullptr;  // for Convert and Unknown; valid until the walk goes on
  EntryStatus status = EntryStatus::Skipped;
  std::string reason;
  bool listed_only = false;
};

// The walk over the paths, one entry at a time: PATHs as given, each folder sorted by name, in
// the folder before the folders below it in name order. Every folder is walked once and every
// file found once, however the PATHs overlap. The same paths on an unchanged file system give
// the same entries in the same order.
class Walk {
 public:
  Walk(const PlanOptions& options, const std::string& output_key)
      : options_(options), output_key_(output_key) {}

  // The next entry; false at the end, or when the paths cannot be walked as asked.
  bool Next(Found& found) {
    while (usage_error_.empty()) {
      if (stack_.empty()) {
        if (next_path_ == options_.paths.size()) return false;
        if (StartPath(options_.paths[next_path_++], found)) return true;
        continue;
      }
      Frame& frame = stack_.back();
      if (frame.next == frame.children.size()) {
        stack_.pop_back();
        continue;
      }
      if (Step(frame, found)) return true;
    }
    return false;
  }

  const std::string& usage_error() const { return usage_error_; }

 private:
  struct Frame {
    fs::path path;      // as the user wrote it
    fs::path relative;  // below the PATH it was found under
    Place place;
    std::vector<std::pair<std::string, fs::file_type>> children;  // sorted
    std::size_t next = 0;
  };

  bool StartPath(const std::string& path, Found& found) {
    FileInfo info;
    std::string error;
    if (!StatPath(path, true, info, error)) {
      // A PATH that names nothing is failed even when its name is of no known kind: it was
      // asked for by name.
      return Fail(found, path, FindKindByName(FileNameOf(TrimPath(path))), "cannot open: " + error);
    }
    const fs::path given = PathFromUtf8(path);
    if (info.type == FileInfo::Type::Directory) {
      std::string key = CanonicalKey(given);
      if (IsWithin(key, output_key_)) {
        usage_error_ = path + ": lies inside the output folder " + options_.output_dir +
                       ", which is never read as input";
        return false;
      }
      if (Walked(key, nullptr)) return false;  // given twice, or inside a PATH walked before
      roots_.emplace_back(key, path);
      return Enter(given, std::move(key), fs::path(), found);
    }
    const fs::path parent = given.parent_path();
    loose_.key = CanonicalKey(parent.empty() ? fs::path(".") : parent);
    loose_.output_key = output_key_.empty() ? loose_.key : output_key_;
    loose_.output_path = output_key_.empty() ? Utf8FromPath(parent) : options_.output_dir;
    const std::string name = Utf8FromPath(given.filename());
    // One file reached twice (a PATH given twice, or inside another PATH) is one entry.
    const std::string input_key = Joined(loose_.key, name);
    if (Walked(loose_.key, nullptr) || Reached(input_key)) return false;
    file_paths_.push_back(input_key);
    return File(path, loose_, name, info, found);
  }

  // Starts walking a folder. True when it cannot be listed (whole): `found` says so, and the
  // walk goes on with what was listed.
  bool Enter(const fs::path& folder, std::string key, const fs::path& relative, Found& found) {
    visited_.insert(FolderKey(key));
    Frame& frame = stack_.emplace_back();
    frame.path = folder;
    frame.relative = relative;
    frame.place.key = std::move(key);
    if (output_key_.empty()) {
      frame.place.output_key = frame.place.key;
      frame.place.output_path = Utf8FromPath(folder);
    } else {
      frame.place.output_key =
          relative.empty() ? output_key_ : Joined(output_key_, Utf8FromPath(relative));
      frame.place.output_path = Utf8FromPath(PathFromUtf8(options_.output_dir) / relative);
    }
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    bool failed = false;
    if (ec) {
      failed =
          Fail(found, Utf8FromPath(folder), nullptr, "cannot read the folder: " + ec.message());
    } else {
      for (; it != fs::directory_iterator(); it.increment(ec)) {
        frame.children.emplace_back(Utf8FromPath(it->path().filename()), ListedType(*it));
      }
      if (ec) {
        failed = Fail(found, Utf8FromPath(folder), nullptr,
                      "the folder could not be read whole: " + ec.message());
      }
    }
    std::sort(frame.children.begin(), frame.children.end());
    return failed;
  }

  // The next entry of a folder; false when it is no entry of the run.
  bool Step(Frame& frame, Found& found) {
    const auto& [name, type] = frame.children[frame.next++];
    if (IsTemporaryName(name)) return false;
    const fs::path path = frame.path / PathFromUtf8(name);
    std::string child_key = Joined(frame.place.key, name);
    FileInfo info;
    std::string error;
    switch (type) {
      case fs::file_type::directory:
        // The outputs of this run, or a folder a PATH walked already.
        if (child_key == output_key_ || Walked(child_key, nullptr)) return false;
        return Enter(path, std::move(child_key), frame.relative / PathFromUtf8(name), found);
      case fs::file_type::regular:
        if (Reached(child_key)) return false;
        info.type = FileInfo::Type::Regular;
        return File(Utf8FromPath(path), frame.place, name, info, found);
      default:
        break;
    }
    // A link, another type, or a type the listing did not give: look at the path itself.
    if (!StatPath(Utf8FromPath(path), true, info, error)) {
      const KindInfo* kind = FindKindByName(FileNameOf(TrimPath(name)));
      if (kind != nullptr) return Fail(found, Utf8FromPath(path), kind, "cannot open: " + error);
      return Skip(found, Utf8FromPath(path), nullptr, "not a file Kegverter converts", true);
    }
    if (info.type != FileInfo::Type::Directory) {
      if (Reached(child_key)) return false;
      return File(Utf8FromPath(path), frame.place, name, info, found);
    }
    if (!options_.follow_links) {
      return Skip(found, Utf8FromPath(path), nullptr,
                  "a symbolic link to a folder; not followed without --follow-links", false);
    }
    std::string target_key = CanonicalKey(path);
    if (IsWithin(target_key, output_key_)) return false;
    const bool loop = std::any_of(stack_.begin(), stack_.end(), [&](const Frame& above) {
      return above.place.key == target_key;
    });
    if (loop) {
      return Skip(found, Utf8FromPath(path), nullptr,
                  "a symbolic link loop: leads back to a folder above it", false);
    }
    std::string walked_as;
    if (Walked(target_key, &walked_as)) {
      return Skip(found, Utf8FromPath(path), nullptr,
                  "leads to a folder already walked as " + walked_as, false);
    }
    roots_.emplace_back(target_key, Utf8FromPath(path));
    return Enter(path, std::move(target_key), frame.relative / PathFromUtf8(name), found);
  }

  bool File(const std::string& path, const Place& place, const std::string& name,
            const FileInfo& info, Found& found) {
    const KindInfo* kind = FindKindByName(FileNameOf(TrimPath(name)));
    if (kind == nullptr) {
      Skip(found, path, nullptr, "not a file Kegverter converts", true);
      found.what = Found::What::Unknown;
      found.name = name;
      found.place = &place;
      return true;
    }
    if (!kind->converted()) {
      return Skip(found, path, kind, std::string(kind->description) + " files are not converted",
                  false);
    }
    if (info.type != FileInfo::Type::Regular) {
      // Never opened: reading a FIFO would wait for a writer, a device may never end.
      return Fail(found, path, kind,
                  std::string("cannot open: ") + info.other + ", not a regular file");
    }
    found = Found();
    found.what = Found::What::Convert;
    found.path = path;
    found.name = name;
    found.kind = kind;
    found.place = &place;
    return true;
  }

  static bool Skip(Found& found, const std::string& path, const KindInfo* kind, std::string reason,
                   bool listed_only) {
    found = Found();
    found.path = path;
    found.kind = kind;
    found.reason = std::move(reason);
    found.listed_only = listed_only;
    return true;
  }

  static bool Fail(Found& found, const std::string& path, const KindInfo* kind,
                   std::string reason) {
    Skip(found, path, kind, std::move(reason), false);
    found.status = EntryStatus::Failed;
    return true;
  }

  // Whether the folder of this key was walked already; if so, `as` gets the path it was walked
  // as. A folder is walked below a PATH or a followed link, so the hash of its key is checked
  // against those exactly.
  bool Walked(const std::string& key, std::string* as) const {
    if (visited_.count(FolderKey(key)) == 0) return false;
    const std::pair<std::string, std::string>* below = nullptr;
    for (const auto& root : roots_) {
      if (IsWithin(key, root.first) &&
          (below == nullptr || root.first.size() > below->first.size())) {
        below = &root;
      }
    }
    if (below == nullptr) return false;
    if (as != nullptr) {
      std::string rest = key.substr(below->first.size());
      rest.erase(0, rest.find_first_not_of(kSeparator));
      *as = rest.empty() ? below->second
                         : Utf8FromPath(PathFromUtf8(below->second) / PathFromUtf8(rest));
    }
    return true;
  }

  // Whether this input was a PATH of its own, found already.
  bool Reached(const std::string& input_key) const {
    return std::find(file_paths_.begin(), file_paths_.end(), input_key) != file_paths_.end();
  }

  const PlanOptions& options_;
  const std::string& output_key_;
  std::string usage_error_;
  std::size_t next_path_ = 0;
  std::deque<Frame> stack_;  // the folders being walked, outermost first; never moved
  Place loose_;              // the folder of a PATH that names a file
  std::unordered_set<std::uint64_t> visited_;               // every folder walked
  std::vector<std::pair<std::string, std::string>> roots_;  // key and path: PATHs, followed links
  std::vector<std::string> file_paths_;                     // input keys of PATHs naming a file
};

// One output of the first walk: the keys of its usual and of its whole name.
struct Slot {
  std::uint64_t usual;
  std::uint64_t whole;
  bool operator<(const Slot& other) const {
    return usual != other.usual ? usual < other.usual : whole < other.whole;
  }
};

}  // namespace

// How the outputs are named apart. Inputs whose usual names meet are all named after their whole
// input name, and so are inputs whose usual name meets such a whole name; whole names that still
// meet (they differ in letter case only, or two PATHs put the same relative path under the output
// folder) get a number, the first in walk order none. The first walk decides who is renamed from
// the keys alone; the second gives the names, and numbers, in walk order.
struct Planner::State {
  explicit State(const PlanOptions& plan_options)
      : options(plan_options), format(Info(plan_options.format)) {
    if (!options.output_dir.empty()) output_key = CanonicalKey(options.output_dir);
  }

  // Whether an output of the run has this key.
  bool IsOutput(std::uint64_t key) const {
    const auto slot = std::lower_bound(slots.begin(), slots.end(), Slot{key, 0});
    if (slot != slots.end() && slot->usual == key && renamed.count(key) == 0) return true;
    return FindWhole(key) != renamed_whole.end() || numbered.count(key) != 0;
  }

  std::vector<std::pair<std::uint64_t, std::uint32_t>>::const_iterator FindWhole(
      std::uint64_t key) const {
    const auto it = std::lower_bound(renamed_whole.begin(), renamed_whole.end(),
                                     std::make_pair(key, std::uint32_t{0}));
    return it != renamed_whole.end() && it->first == key ? it : renamed_whole.end();
  }

  void Name(const Found& found, PlanEntry& entry) {
    const Place& place = *found.place;
    const fs::path folder = PathFromUtf8(place.output_path);
    const std::string usual = OutputNameOf(found.name, format, false);
    const std::uint64_t usual_key = OutputKey(place.output_key, usual);
    std::string whole = OutputNameOf(found.name, format, true);
    const std::uint64_t whole_key = OutputKey(place.output_key, whole);
    auto appeared = [&entry] {
      entry.reason = "found only after the run was planned; left for the next run";
    };
    if (renamed.count(usual_key) == 0) {
      const auto slot = std::lower_bound(slots.begin(), slots.end(), Slot{usual_key, whole_key});
      const auto index = static_cast<std::size_t>(slot - slots.begin());
      if (slot == slots.end() || slot->usual != usual_key || slot->whole != whole_key ||
          claimed[index]) {
        return appeared();
      }
      claimed[index] = true;
      entry.convert = true;
      entry.output = Utf8FromPath(folder / PathFromUtf8(usual));
      return;
    }
    const auto it = FindWhole(whole_key);
    if (it == renamed_whole.end() || it->second == 0) return appeared();
    --renamed_whole[static_cast<std::size_t>(it - renamed_whole.begin())].second;
    std::string name = std::move(whole);
    if (whole_taken.insert(whole_key).second) {
      entry.rename_note = "another input would have the same output";
    } else {
      // A number that meets no output name of the run at all.
      std::uint64_t key = 0;
      for (std::uint64_t number = 2;; ++number) {
        name = TrimPath(found.name) + "." + std::to_string(number) + "." +
               std::string(format.extension);
        key = OutputKey(place.output_key, name);
        if (!IsOutput(key)) break;
      }
      numbered.insert(key);
      entry.rename_note = "another input's whole name gives the same output";
    }
    entry.convert = true;
    entry.output = Utf8FromPath(folder / PathFromUtf8(name));
    entry.renamed_from = Utf8FromPath(folder / PathFromUtf8(usual));
  }

  const PlanOptions options;
  const FormatInfo& format;
  std::string output_key;
  std::string usage_error;
  std::size_t to_convert = 0;
  std::deque<Slot> slots;           // sorted; a deque, so that growing it never holds it twice
  std::vector<bool> claimed;        // per slot: found again by the second walk
  std::set<std::uint64_t> renamed;  // usual keys whose inputs are named after their whole name
  // The whole keys of the renamed inputs, sorted, each with the number of its inputs the second
  // walk has yet to find.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> renamed_whole;
  std::unordered_set<std::uint64_t> whole_taken;  // whole names given out
  std::unordered_set<std::uint64_t> numbered;     // numbered names given out
  std::optional<Walk> walk;                       // the second walk
};

Planner::Planner(const PlanOptions& options) : state_(std::make_unique<State>(options)) {}

Planner::~Planner() = default;

const std::string& Planner::usage_error() const { return state_->usage_error; }

std::size_t Planner::to_convert() const { return state_->to_convert; }

bool Planner::Survey() {
  State& s = *state_;
  {
    Walk walk(s.options, s.output_key);
    Found found;
    while (walk.Next(found)) {
      if (found.what != Found::What::Convert) continue;
      const std::string& folder = found.place->output_key;
      s.slots.push_back({OutputKey(folder, OutputNameOf(found.name, s.format, false)),
                         OutputKey(folder, OutputNameOf(found.name, s.format, true))});
    }
    if (!walk.usage_error().empty()) {
      s.usage_error = walk.usage_error();
      s.slots.clear();
      return false;
    }
  }
  s.to_convert = s.slots.size();
  std::sort(s.slots.begin(), s.slots.end());
  s.claimed.assign(s.slots.size(), false);

  for (std::size_t i = 1; i < s.slots.size(); ++i) {
    if (s.slots[i].usual == s.slots[i - 1].usual) s.renamed.insert(s.slots[i].usual);
  }
  // A whole name that is another input's usual name renames that input too, and so on.
  auto has_usual = [&s](std::uint64_t key) {
    const auto slot = std::lower_bound(s.slots.begin(), s.slots.end(), Slot{key, 0});
    return slot != s.slots.end() && slot->usual == key;
  };
  for (bool changed = !s.renamed.empty(); changed;) {
    changed = false;
    for (const Slot& slot : s.slots) {
      if (s.renamed.count(slot.usual) != 0 && s.renamed.count(slot.whole) == 0 &&
          has_usual(slot.whole)) {
        s.renamed.insert(slot.whole);
        changed = true;
      }
    }
  }
  std::vector<std::uint64_t> wholes;
  for (const Slot& slot : s.slots) {
    if (s.renamed.count(slot.usual) != 0) wholes.push_back(slot.whole);
  }
  std::sort(wholes.begin(), wholes.end());
  for (const std::uint64_t whole : wholes) {
    if (s.renamed_whole.empty() || s.renamed_whole.back().first != whole) {
      s.renamed_whole.emplace_back(whole, 0);
    }
    ++s.renamed_whole.back().second;
  }
  s.walk.emplace(s.options, s.output_key);
  return true;
}

bool Planner::Next(PlanEntry& entry) {
  State& s = *state_;
  if (!s.walk) return false;
  Found found;
  while (s.walk->Next(found)) {
    entry = PlanEntry();
    entry.input = std::move(found.path);
    entry.kind = found.kind;
    entry.status = found.status;
    entry.reason = std::move(found.reason);
    entry.listed_only = found.listed_only;
    switch (found.what) {
      case Found::What::Other:
        return true;
      case Found::What::Unknown:
        // The outputs of an earlier run lie among the inputs when they go beside them; they are
        // this run's outputs, not files of an unknown kind.
        if (s.IsOutput(OutputKey(found.place->key, found.name))) continue;
        return true;
      case Found::What::Convert:
        s.Name(found, entry);
        return true;
    }
  }
  s.walk.reset();
  return false;
}

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

Plan MakePlan(const PlanOptions& options) {
  Plan plan;
  Planner planner(options);
  if (!planner.Survey()) {
    plan.usage_error = planner.usage_error();
    return plan;
  }
  for (PlanEntry entry; planner.Next(entry);) {
    if (entry.convert) ++plan.to_convert;
    plan.entries.push_back(std::move(entry));
  }
  return plan;
}

}  // namespace kegverter
