// What one writer tells its caller: the document's bytes and what happened on the way.
#pragma once

#include <string>

#include "document/emitter.h"
#include "output/output_text.h"

namespace kegverter {

/// What one document's writer needs from its caller and tells it back. A run holds everything a
/// conversion changes, so conversions on several threads each have their own. Writers touch no
/// file: the document goes into `output`, which the caller saves (SaveOutput) or hands on.
/// The failures of the document layer met on the way (`reports`, `failures_reported`) are those
/// of the XML formats; the others have none.
struct ExportRun : FailureLog {
  OutputText output;        ///< the document's bytes, as far as they were written
  bool written = false;     ///< `output` holds the whole document
  std::string write_error;  ///< why there is no document, when a writer can say why
};

}  // namespace kegverter
