#include "beerxml2/beerxml2.h"

#include <array>

#include "beerxml2/hops_writer.h"
#include "beerxml2/malt_writer.h"
#include "beerxml2/mash_writer.h"
#include "beerxml2/misc_writer.h"
#include "beerxml2/recipe_writer.h"
#include "beerxml2/styles_writer.h"
#include "beerxml2/water_writer.h"
#include "beerxml2/yeast_writer.h"

namespace kegverter {

std::string BeerXmlTemplate(std::string_view list) {
  const std::string name(list);
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
         "<beer_xml xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:noNamespaceSchemaLocation=\"BeerXML.xsd\">\r\n"
         "   <version>2.01</version>\r\n"
         "   <" +
         name +
         ">\r\n"
         "   </" +
         name +
         ">\r\n"
         "</beer_xml>\r\n";
}

std::unique_ptr<DocumentWriter> BeginBeerXml2(RecordKind kind, ExportRun& run) {
  // Each list's module, in RecordKind order.
  static constexpr std::array<std::unique_ptr<DocumentWriter> (*)(ExportRun&), kRecordKindCount>
      kLists = {&BeginMiscList,  &BeginFermentableList, &BeginHopList,  &BeginStyleList,
                &BeginWaterList, &BeginYeastList,       &BeginMashList, &BeginRecipeList};
  return kLists[static_cast<std::size_t>(kind)](run);
}

}  // namespace kegverter
