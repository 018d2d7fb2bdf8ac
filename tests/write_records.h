// Writes source records a test holds as one document of a format, as a conversion does after
// reading them: the model of each record into the format's writer.
#pragma once

#include <span>

#include "driver/registry.h"
#include "model/from_source.h"

namespace kegverter::testing {

template <class Record>
void WriteRecords(OutputFormat format, std::span<const Record> records, ExportRun& run) {
  using Model = decltype(model::ModelOf(std::declval<const Record&>()));
  const std::unique_ptr<DocumentWriter> writer = Info(format).begin(kRecordKindOf<Model>, run);
  for (const Record& record : records) writer->Write(model::ModelOf(record));
  writer->Finish();
}

}  // namespace kegverter::testing
