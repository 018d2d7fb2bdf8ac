#include "tests/document_faults.h"

namespace kegverter::testing {

void FailingDocument::BeforeOperation() {
  ++operations_;
  if (faults_.fail_operation != 0 && operations_ == faults_.fail_operation) {
    throw DocumentError(faults_.code);
  }
}

std::unique_ptr<DomDocument> SimulatedDocumentFaults::Create() const {
  if (faults_.unavailable) return nullptr;
  return std::make_unique<FailingDocument>(faults_);
}

}  // namespace kegverter::testing
