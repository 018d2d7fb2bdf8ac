#include "tests/kind_suite.h"

namespace kegverter::testing {

void ConvertSuccessfully(const std::string& file_name, const Bytes& bytes, ConvertedFile& c) {
  const std::string input = c.dir.Write(file_name, bytes);
  c.run = Convert(input);
  ASSERT_EQ(c.run.exit_code, 0) << c.run.err;
  EXPECT_EQ(c.run.out, "");
  const std::string output = input.substr(0, input.size() - 3) + "xml";
  ParseXmlFile(output, c.xml);
  ASSERT_TRUE(c.xml.result) << c.xml.result.description();
  c.list = c.xml.List();
  c.records = c.xml.Records();
}

void ConvertQuietly(const std::string& file_name, const Bytes& bytes, const char* list,
                    const char* element, std::size_t count, ConvertedItems& c) {
  c.run = ConvertAndParse(c.dir, file_name, bytes, c.xml);
  EXPECT_EQ(c.run.exit_code, 0);
  EXPECT_EQ(c.run.out, "");
  EXPECT_EQ(c.run.err, "");
  ASSERT_TRUE(c.xml.result);
  EXPECT_STREQ(c.xml.List().name(), list);
  c.items = Items(c.xml, element);
  ASSERT_EQ(c.items.size(), count);
}

}  // namespace kegverter::testing
