#include "output/document_writer.h"

#include <stdexcept>
#include <string>

namespace kegverter {

void DocumentWriter::WrongKind(RecordKind kind) {
  throw std::logic_error("a record of kind " + std::to_string(static_cast<int>(kind)) +
                         " written into a document without its list");
}

void DocumentWriter::Write(const model::Misc&) { WrongKind(RecordKind::Misc); }
void DocumentWriter::Write(const model::Fermentable&) { WrongKind(RecordKind::Fermentable); }
void DocumentWriter::Write(const model::HopVariety&) { WrongKind(RecordKind::HopVariety); }
void DocumentWriter::Write(const model::Style&) { WrongKind(RecordKind::Style); }
void DocumentWriter::Write(const model::Water&) { WrongKind(RecordKind::Water); }
void DocumentWriter::Write(const model::Culture&) { WrongKind(RecordKind::Culture); }
void DocumentWriter::Write(const model::Mash&) { WrongKind(RecordKind::Mash); }
void DocumentWriter::Write(const model::Recipe&) { WrongKind(RecordKind::Recipe); }

}  // namespace kegverter
