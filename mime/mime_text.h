// Owned text written from a MIME tree: a NUL-terminated buffer and its length.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>

namespace lumo {

// A newly allocated text that its holder owns and that is released when the
// holder goes out of scope (or taken over with release(), then freed with
// delete[]). The bytes are followed by two NUL bytes; size() does not count
// them. An empty MimeText still gives a valid "" from c_str().
class MimeText {
 public:
  MimeText() = default;
  MimeText(std::unique_ptr<char[]> text, std::size_t length) : text_(std::move(text)), length_(length) {}

  // False for a text that holds no buffer: default-made, released, or the
  // result of a write that found no memory for it.
  bool valid() const { return text_ != nullptr; }

  const char* c_str() const { return text_ ? text_.get() : ""; }
  char* data() { return text_.get(); }
  std::size_t size() const { return length_; }
  std::string_view view() const { return {c_str(), length_}; }

  // Hands the buffer to the caller (null when empty), who frees it with delete[].
  std::unique_ptr<char[]> release() {
    length_ = 0;
    return std::move(text_);
  }

 private:
  std::unique_ptr<char[]> text_;
  std::size_t length_ = 0;
};

}  // namespace lumo
