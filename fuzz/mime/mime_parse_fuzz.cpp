// Fuzz target: any bytes parse into a tree whose written text reads back into
// a tree that writes the same text; lines moved between trees stay valid, also
// after the tree and the source it was parsed from are gone.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "mime/mime_part.h"

namespace {

void fail(const char* what) {
  std::fprintf(stderr, "mime_parse_fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of the input of its own, so that its release below is seen by the
  // sanitizer if a line still refers to it.
  auto copy = std::make_unique<char[]>(size + 1);
  if (size) std::memcpy(copy.get(), data, size);
  std::string_view source(copy.get(), size);

  auto owner = std::make_unique<lumo::MimePart>();
  lumo::MimePart& part = *owner;
  std::size_t used = part.parse(source);
  if (used > size) fail("parse read past the end");
  lumo::MimeText once = part.toText();
  if (once.c_str()[once.size()] != '\0') fail("written text not NUL-terminated");

  lumo::MimePart again;
  if (again.parse(once.view()) != once.size()) {
    // Only a top-level closing delimiter stops early, and toText ends with it.
    fail("written text not read to its end");
  }
  lumo::MimeText twice = again.toText();
  if (once.view() != twice.view()) fail("written text reads back differently");

  // The NUL-terminated form reads up to the first NUL and no further.
  std::string text(source);
  const char* cursor = text.c_str();
  lumo::MimePart terminated;
  terminated.parse(cursor);
  if (cursor < text.c_str() || cursor > text.c_str() + std::strlen(text.c_str()))
    fail("cursor outside the source");

  // Lines taken out of a tree outlive it and can join another tree.
  lumo::MimeLine* header = part.headers.unlink(part.headers.head);
  lumo::MimeLine* bodyLine = part.body.unlink(part.body.tail);
  owner.reset();
  copy.reset();
  if (header) again.epilogue.adopt(header);
  lumo::MimeLine::release(bodyLine);
  again.firstChild.reset();
  (void)again.toText();
  return 0;
}
