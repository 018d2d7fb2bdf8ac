// What a format has no place for is not dropped: it goes into the notes of its record (or of the
// recipe, for an ingredient addition that has no notes of its own), one line each, "What: value".
// The lines every format writes the same way, and the texts of numbers and units in them, are
// made here; each writer decides which values need a line in its own vocabulary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "model/brewing.h"
#include "model/words.h"

namespace kegverter::model {

/// A record's notes: the stored text, then one added line per value, each after a line break
/// ("\r\n", as the application broke the lines of its own notes).
class Notes {
 public:
  explicit Notes(std::string text = {}) : text_(std::move(text)) {}

  void Add(std::string_view line) {
    if (!text_.empty()) text_ += "\r\n";
    text_ += line;
  }
  const std::string& text() const { return text_; }
  /// The text, moved out; the notes are empty afterwards.
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

/// The shortest text that reads back to `value`: an integer without a point when the value is
/// whole (and exact in 53 bits), else the shortest text of the 32-bit float when the value is one
/// (every source value is), else that of the double ("5", "0.1", "3e+38"). Not a number and the
/// infinities are "0", as the model never holds them. Writes into `buffer`, returns its length.
std::size_t NumberText(double value, char (&buffer)[64]);
std::string NumberText(double value);

/// The symbol of a unit: "lb", "oz", "g", "floz", "F", "min", "Lovi", "sg", "%", "IBUs", ...
/// (BeerJSON's unit words, which the notes of the other formats use too).
std::string_view UnitSymbol(Unit unit);

/// A quantity as the source stored it: "5 g", "0 F", "3e+38 F".
std::string StoredText(const Quantity& quantity);

/// "<what> as stored: <stored>".
std::string AsStoredLine(std::string_view what, std::string_view stored);

/// `text` in double quotes, with its line breaks, tabs, quotes and backslashes written as \r,
/// \n, \t, \" and \\, so that a name as stored stays on one readable line of the notes.
std::string QuotedText(std::string_view text);

/// "Time: 90 min assumed (the recipe's mash gives no step time)": a first-wort or mash hop whose
/// recipe gives no time for it (HopAddition::duration_assumed).
std::string AssumedDurationLine(const HopAddition& hop);

/// "<what> code 7 (no meaning known)": a code the application stored without a meaning.
std::string UnknownCodeLine(std::string_view what, std::int32_t code);

/// The format's word for `coded`; when the code has no meaning, the notes gain
/// UnknownCodeLine(what, code) and the word is the one the format gives the unknown meaning.
template <class Meaning>
std::string_view WordOf(const Words<Meaning>& words, const Coded<Meaning>& coded,
                        std::string_view what, Notes& notes) {
  if (!coded.known()) notes.Add(UnknownCodeLine(what, coded.code));
  return words[coded.meaning];
}

/// True when the two words are the same but for the letter case of A to Z.
bool SameWord(std::string_view a, std::string_view b);

/// For a known meaning whose word in the format is another than the application's (not only in
/// letter case: "other" for a fruit), the notes gain `prefix` and the application's word.
template <class Meaning>
void NoteApplicationWord(std::string_view format_word, const Words<Meaning>& application,
                         const Coded<Meaning>& coded, std::string_view prefix, Notes& notes) {
  const std::string_view own = application[coded.meaning];
  if (coded.known() && !SameWord(own, format_word)) {
    notes.Add(std::string(prefix) + std::string(own));
  }
}

/// The steps of a mash whose kind has a meaning: the only ones a format can write.
std::size_t KnownStepCount(const Mash& mash);

/// "Step \"Odd\" left out: kind code 7 (no meaning known)": a step of a kind without a meaning,
/// which no format can write.
std::string LeftOutStepLine(const MashStep& step);

/// "Bitterness: 38.4 IBUs (estimated)": the application's estimate, which only BeerXML 2.01
/// keeps as a figure.
std::string EstimatedBitternessLine(const Recipe& recipe);

}  // namespace kegverter::model
