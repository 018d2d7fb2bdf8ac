// The example program of the README's "Using the library", built so that it keeps compiling:
// converts one source file to BeerJSON on standard output, its messages on standard error.
#include <kegverter/kegverter.h>

#include <fstream>
#include <iostream>
#include <iterator>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  const kegverter::Result result =
      kegverter::Convert(argv[1], std::as_bytes(std::span(bytes)), kegverter::Format::BeerJson);
  for (const kegverter::Message& message : result.messages) {
    std::cerr << message.subject << ": " << message.text << "\n";
  }
  std::cout << result.output;
  return result.status == kegverter::Status::Written ? 0 : 1;
}
