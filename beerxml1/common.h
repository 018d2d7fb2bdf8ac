// What every BeerXML 1.0 list shares: numbers in BeerXML 1.0's fixed units and notation, names on
// one line, BeerXML 1.0's words for the model's meanings, and the engine that walks a record's
// node table with every leaf whose value is absent left out.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "document/node_table.h"
#include "model/brewing.h"
#include "model/notes.h"
#include "model/words.h"
#include "output/list_document.h"

namespace kegverter::beerxml1 {

namespace m = model;
using m::Notes;
using m::Words;

inline constexpr double kNoBound = std::numeric_limits<double>::infinity();

// Every record says which version of BeerXML it is.
inline constexpr char kVersionOne[] = "1";

/// A stored value as the decimal it shows: a 32-bit value is read as its shortest text (1.8, not
/// 1.7999999523), so that a conversion does not carry the float's representation error.
double AsShown(double value);
/// A number in fixed notation (XML Schema decimals take no exponent), rounded to 9 significant
/// digits.
std::string Decimal(double value);
/// The metric value of a quantity, from the decimal its stored value shows.
double MetricValue(const m::Quantity& quantity);
std::string MetricText(const m::Quantity& quantity);
/// The metric value of `quantity` held to [low, high]; a value outside is written as the bound
/// and the stored one named in the notes.
std::string Bounded(const m::Quantity& quantity, double low, double high, std::string_view what,
                    Notes& notes);
/// A pH has no unit: one outside 0 to 14 is named in the notes as the number stored.
std::string Ph(double ph, Notes& notes);
std::string Percent(const m::Quantity& q, std::string_view what, Notes& notes);
std::string Gravity(const m::Quantity& q, std::string_view what, Notes& notes);
std::string Celsius(const m::Quantity& q, std::string_view what, Notes& notes);
/// Amounts, volumes and durations: not below zero.
std::string NotNegative(const m::Quantity& q, std::string_view what, Notes& notes);
/// A name on one line: each run of line breaks and tabs becomes one space.
std::string OneLine(std::string_view text);
/// Importers validate every NAME as one line that holds a character that is not blank, and
/// refuse the whole file for one that is not: a name is written on one line, a blank one as
/// `fallback`, and the notes keep the name as stored whenever it changed. `what` names the name
/// in notes that hold more than one ("Style name").
std::string Name(const std::string& name, std::string_view fallback, Notes& notes,
                 std::string_view what = "Name");
/// A mash's and a step's NAME may be blank, but is written on one line all the same.
std::string LineName(const std::string& name, std::string_view what, Notes& notes);
std::string Bool(bool value);
/// A word as a slot value: an empty word leaves the element out.
std::optional<std::string> OptionalWord(std::string_view word);

// BeerXML 1.0's words, by the model's meanings. Where a required field has no word for a code,
// the most general word is written and the code named in the notes; BeerXML 1.0 has no fruit,
// so a fruit is Other, the notes saying "Type: fruit".
inline constexpr Words<m::FermentableType> kFermentableTypes{"Adjunct", "Grain", "Extract", "Sugar",
                                                             "Adjunct"};
inline constexpr Words<m::HopUse> kHopUses{"", "Bittering", "Aroma", "Both"};
inline constexpr Words<m::HopForm> kHopForms{"", "Leaf", "Plug", "Pellet"};
inline constexpr Words<m::HopAdditionUse> kHopAdditionUses{"Boil", "First Wort", "Mash", "Dry Hop"};
inline constexpr Words<m::MiscType> kMiscTypes{"Other", "Spice",  "Other",
                                               "Other", "Fining", "Herb"};
inline constexpr Words<m::MiscUse> kMiscUses{"Boil", "Boil", "Secondary", "Mash"};
inline constexpr Words<m::StyleType> kStyleTypes{"Ale", "Ale", "Lager", "Cider", "Mead", "Mixed"};
inline constexpr Words<m::CultureType> kCultureTypes{"Ale", "Ale", "Lager", "Wine", "Champagne"};
inline constexpr Words<m::CultureForm> kCultureForms{"Liquid", "Dry", "Liquid", "Slant"};
inline constexpr Words<m::Flocculation> kFlocculations{"", "High", "Medium", "Low"};
inline constexpr Words<m::MashStepKind> kStepKinds{"", "Infusion", "Temperature", "Decoction"};
inline constexpr Words<m::RecipeType> kRecipeTypes{"All Grain", "All Grain", "Partial Mash",
                                                   "Extract"};

// ---------------------------------------------------------------------------------------------
// The engine side: one walk per table, with every leaf element whose slot is absent switched off.

class Walker {
 public:
  Walker(DomDocument* document, DomNode& cursor, ExportRun& run)
      : document_(document), cursor_(cursor), run_(run) {}

  template <class Slot, std::size_t N>
  void Walk(NodeTable<Slot>& table, const NodeTree<Slot, N>& tree, const NodeValues<Slot>& v) {
    for (std::size_t i = 0; i + 1 < N; ++i) {
      if (tree.entries[i].kind == NodeKind::Element && tree.entries[i + 1].kind == NodeKind::Text) {
        table.Switch(i, v[static_cast<Slot>(tree.entries[i + 1].slot)].has_value());
      }
    }
    EmitNodeTable(document_, cursor_, table, v, run_);
  }

  template <std::size_t N>
  void Walk(const NodeTree<NoSlot, N>& tree) {
    EmitNodeTable(document_, cursor_, tree, run_);
  }

  DomNode& cursor() { return cursor_; }

 private:
  DomDocument* document_;
  DomNode& cursor_;
  ExportRun& run_;
};

// One table with its working copy.
template <class Slot, std::size_t N>
struct Table {
  explicit Table(const NodeTree<Slot, N>& t) : tree(t), copy(t) {}
  void Walk(Walker& walker, const NodeValues<Slot>& v) { walker.Walk(copy, tree, v); }
  const NodeTree<Slot, N>& tree;
  NodeTable<Slot> copy;
};

template <class Slot, std::size_t N>
Table(const NodeTree<Slot, N>&) -> Table<Slot, N>;

}  // namespace kegverter::beerxml1
