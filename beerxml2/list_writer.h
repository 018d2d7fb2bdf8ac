// What every BeerXML 2.01 list shares: the document of one list, made from the template, into
// which each record is walked by the list's own tables.
#pragma once

#include <memory>
#include <string_view>

#include "beerxml2/beerxml2.h"
#include "output/list_document.h"

namespace kegverter {

/// A BeerXML 2.01 document of the list of Record's kind; WriteRecord walks one record in from
/// the cursor on the list, which it must leave on the list.
template <class Record>
class BeerXml2List : public DocumentWriter {
 public:
  explicit BeerXml2List(ExportRun& run) : document_(BeerXmlTemplate(kList), kList, run) {}

  using DocumentWriter::Write;
  void Write(const Record& record) final {
    document_.Record([&](DomDocument* document, DomNode& cursor) {
      WriteRecord(document, cursor, record, document_.run());
    });
  }
  void Finish() final { document_.Finish(); }

 protected:
  virtual void WriteRecord(DomDocument* document, DomNode& cursor, const Record& record,
                           ExportRun& run) = 0;

 private:
  static constexpr std::string_view kList =
      kBeerXml2Lists[static_cast<std::size_t>(kRecordKindOf<Record>)];
  ListDocument document_;
};

}  // namespace kegverter
