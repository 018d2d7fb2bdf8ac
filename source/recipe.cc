#include "source/recipe.h"

#include <array>
#include <string>

namespace kegverter {

std::int32_t ReadHopAdditions(InputFile& file, std::span<HopAddition> entries) {
  return ReadRecords(file, entries);
}

std::int32_t ReadFermentableAdditions(InputFile& file, std::span<FermentableAddition> entries) {
  return ReadRecords(file, entries);
}

std::int32_t ReadMiscAdditions(InputFile& file, std::span<MiscAddition> entries) {
  return ReadRecords(file, entries);
}

std::int32_t ReadRecipeProcess(InputFile& file, std::span<RecipeProcessRecord> entries) {
  return ReadRecords(file, entries);
}

std::int32_t ReadRecipeSchedule(InputFile& file, std::span<RecipeScheduleRecord> entries) {
  return ReadRecords(file, entries);
}

namespace {

// One addition list of the recipe: its header count, the entry size and the reader.
template <class Entry>
std::int32_t ReadList(InputFile& file, const char* what, std::int32_t raw_count,
                      std::int32_t& count, std::vector<Entry>& entries,
                      std::int32_t (*reader)(InputFile&, std::span<Entry>)) {
  if (raw_count > kMaxRecipeListCount) {
    // A count the application never writes. When the file still holds that many entries they
    // belong to the list, and reading past them keeps the later sections on their own bytes.
    constexpr std::uint64_t entry_size = RecordLayout<Entry>::kRecordSize;
    const std::uint64_t bytes = static_cast<std::uint64_t>(raw_count) * entry_size;
    if (bytes <= file.remaining()) {
      file.Skip(bytes);
      file.Warn("the recipe's " + std::string(what) + " list counts " + std::to_string(raw_count) +
                " entries, more than " + std::to_string(kMaxRecipeListCount) +
                "; the list was left out");
    } else {
      file.Warn("the recipe's " + std::string(what) + " list counts " + std::to_string(raw_count) +
                " entries, more than the file holds; the list was left out");
    }
  } else if (raw_count < 0) {
    file.Warn("the recipe's " + std::string(what) + " list counts " + std::to_string(raw_count) +
              " entries; the list was left out");
  }
  if (count <= 0) return 0;
  entries.resize(static_cast<std::size_t>(count));  // at most 100 after validation
  return reader(file, std::span<Entry>(entries));
}

}  // namespace

std::int32_t ReadRecipeRecords(InputFile& file, std::span<RecipeRecord> records) {
  std::int32_t replaced = 0;
  std::array<std::uint8_t, RecordLayout<RecipeRecord>::kRecordSize> header{};
  for (RecipeRecord& recipe : records) {
    file.Read(header);
    DecodeRecord(std::span<const std::uint8_t>(header), recipe);
    const std::int32_t raw_hops = recipe.hop_count;
    const std::int32_t raw_fermentables = recipe.fermentable_count;
    const std::int32_t raw_miscs = recipe.misc_count;
    if (!ValidateRanges(recipe)) ++replaced;

    replaced += ReadStyleRecords(file, std::span<StyleRecord>(&recipe.style, 1));
    replaced += ReadList(file, "hop", raw_hops, recipe.hop_count, recipe.hops, ReadHopAdditions);
    replaced += ReadList(file, "fermentable", raw_fermentables, recipe.fermentable_count,
                         recipe.fermentables, ReadFermentableAdditions);
    replaced += ReadList(file, "miscellaneous ingredient", raw_miscs, recipe.misc_count,
                         recipe.miscs, ReadMiscAdditions);
    replaced += ReadYeastRecords(file, std::span<YeastRecord>(&recipe.yeast, 1));
    file.Skip(5);  // a gap the application leaves between yeast and water
    replaced += ReadWaterRecords(file, std::span<WaterRecord>(&recipe.water, 1));
    replaced += ReadRecipeProcess(file, std::span<RecipeProcessRecord>(&recipe.process, 1));

    // An extract recipe keeps no mash steps, but its fifty slots are in the file all the same.
    std::int32_t& steps = recipe.process.mash_step_count;
    if (recipe.recipe_type == 2) steps = 0;
    if (steps > 0) {
      recipe.mash_steps.resize(static_cast<std::size_t>(steps));
      replaced += ReadMashStepRecords(file, std::span<MashStepRecord>(recipe.mash_steps));
    }
    file.Skip(static_cast<std::uint64_t>(kRecipeStepSlots - steps) *
              RecordLayout<MashStepRecord>::kRecordSize);
    replaced += ReadRecipeSchedule(file, std::span<RecipeScheduleRecord>(&recipe.schedule, 1));
  }
  return replaced;
}

}  // namespace kegverter
