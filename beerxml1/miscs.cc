#include "beerxml1/miscs.h"

namespace kegverter::beerxml1 {

namespace {

// A misc amount in kg, or in L for a volume; an amount whose unit was replaced or means nothing
// is 0, the stored amount named in the notes.
void MiscAmountValues(const m::MiscAmount& amount, std::string_view what, NodeValues<MiscSlot>& v,
                      Notes& notes) {
  using enum MiscSlot;
  v[kAmountIsWeight] = Bool(!amount.volume);
  if (!amount.unit) {
    v[kAmount] = "0";
    notes.Add(std::string(what) + ": " + m::UnknownCodeLine("unit", amount.unit_code));
    return;
  }
  v[kAmount] = NotNegative({amount.value, *amount.unit}, what, notes);
  if (amount.replaced()) {
    notes.Add(m::AsStoredLine(what, m::NumberText(amount.stored_value) + " (unit code " +
                                        std::to_string(amount.stored_unit_code) + ")"));
  }
}

void MiscCodes(const m::Coded<m::MiscType>& type, const m::Coded<m::MiscUse>& use,
               NodeValues<MiscSlot>& v, Notes& notes) {
  using enum MiscSlot;
  const std::string_view word = m::WordOf(kMiscTypes, type, "Type", notes);
  m::NoteApplicationWord(word, m::kApplicationMiscTypes, type, "Type: ", notes);
  v[kType] = std::string(word);
  v[kUse] = std::string(m::WordOf(kMiscUses, use, "Use", notes));
}

}  // namespace

NodeValues<MiscSlot> MiscValues(const m::Misc& misc) {
  using enum MiscSlot;
  NodeValues<MiscSlot> v;
  Notes notes(misc.notes);
  v[kName] = Name(misc.name, "Unnamed ingredient", notes);
  v[kVersion] = std::string(kVersionOne);
  MiscCodes(misc.type, misc.use, v, notes);
  v[kTime] = misc.time ? NotNegative(*misc.time, "Time", notes) : "0";
  MiscAmountValues(misc.inventory, "Inventory", v, notes);
  v[kUseFor] = misc.use_for;
  v[kNotes] = notes.Take();
  return v;
}

NodeValues<MiscSlot> MiscAdditionValues(const m::MiscAddition& misc) {
  using enum MiscSlot;
  NodeValues<MiscSlot> v;
  Notes notes;
  v[kName] = Name(misc.name, "Unnamed ingredient", notes);
  v[kVersion] = std::string(kVersionOne);
  MiscCodes(misc.type, misc.use, v, notes);
  v[kTime] = misc.time ? NotNegative(*misc.time, "Time", notes) : "0";
  MiscAmountValues(misc.amount, "Amount", v, notes);
  v[kNotes] = notes.Take();
  return v;
}

}  // namespace kegverter::beerxml1
