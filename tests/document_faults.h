// Failures of the XML document layer, simulated for the tests of the failure paths: while a
// SimulatedDocumentFaults lives, the documents the writers create on its thread are missing or
// fail at a chosen node operation (through the document layer's seam, DocumentFactoryScope).
#pragma once

#include <cstdint>
#include <memory>

#include "document/document.h"
#include "document/document_error.h"

namespace kegverter::testing {

/// Failures to simulate.
struct DomFaults {
  bool unavailable = false;            ///< CreateDomDocument yields no document
  std::uint64_t fail_operation = 0;    ///< 1-based number of the node operation that fails; 0: none
  ErrorCode code = kUnspecifiedError;  ///< code carried by the simulated failure
};

/// A document whose node operation number `faults.fail_operation` (counted from its creation)
/// raises DocumentError with `faults.code`.
class FailingDocument : public DomDocument {
 public:
  explicit FailingDocument(const DomFaults& faults) : faults_(faults) {}

 protected:
  void BeforeOperation() override;

 private:
  DomFaults faults_;
  std::uint64_t operations_ = 0;
};

/// Makes the documents of the writers on this thread fail as `faults` say, while it lives.
class SimulatedDocumentFaults : private DocumentFactory {
 public:
  explicit SimulatedDocumentFaults(const DomFaults& faults) : faults_(faults) {}

 private:
  std::unique_ptr<DomDocument> Create() const override;

  DomFaults faults_;
  DocumentFactoryScope scope_{*this};
};

}  // namespace kegverter::testing
