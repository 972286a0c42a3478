// Ownership of a MIME part: its boundary and the release of its children.
#include "mime/mime_part.h"

#include <cstring>
#include <utility>

namespace lumo {

namespace {

// Releases a part, its children and the siblings after it without recursion:
// seen as a binary tree (left = firstChild, right = nextSibling), a node with a
// left subtree is rotated right until the node at hand has none, and is then
// deleted with nothing attached. Every part is visited a bounded number of
// times, so any width and depth costs linear time and constant stack.
void releaseChain(MimePart* node) {
  while (node) {
    if (node->firstChild) {
      MimePart* left = node->firstChild.release();
      node->firstChild.reset(left->nextSibling.release());
      left->nextSibling.reset(node);
      node = left;
    } else {
      MimePart* next = node->nextSibling.release();
      delete node;
      node = next;
    }
  }
}

}  // namespace

MimePart::~MimePart() {
  releaseChain(firstChild.release());
  releaseChain(nextSibling.release());
}

void MimePart::setNextSibling(std::unique_ptr<MimePart> part) {
  releaseChain(nextSibling.release());
  nextSibling = std::move(part);
}

void MimePart::setBoundary(std::string_view value) {
  auto copy = std::unique_ptr<char[]>(new char[value.size() + 1]);
  if (!value.empty()) std::memcpy(copy.get(), value.data(), value.size());
  copy[value.size()] = '\0';
  boundary = std::move(copy);
}

}  // namespace lumo
