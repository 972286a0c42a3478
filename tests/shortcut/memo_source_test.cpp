// The MEMO note in a shortcut's source: stored after the first marker of the
// body, replaced whole, and removed by putting the default body back.
#include "shortcut/memo_source.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using lumo::testing::visible;

const std::string kHead = "X-LuMOID: 2711_12\r\nX-MEMO: OFF\r\nSubject: s\r\n\r\n";
const std::string kBody =
    "Message From LuMO: [\x83\x8a\x83\x93\x83\x4e\x90\xe6\x82\xaa\x95\x73\x96\xbe\x82\xc5\x82\xb7\x81\x42]";

TEST(MemoSource, ANewNoteGoesAfterTheBodyBehindTheMarker) {
  EXPECT_EQ(visible(lumo::sourceWithMemo(kHead + kBody, "a\r\nb")),
            visible(kHead + kBody + "\r\n[MEMO]\r\na\r\nb"));
  // A marker-like line in the header block is no MEMO.
  std::string head = "X-LuMOID: 1_1\r\n[MEMO]\r\nX-MEMO: OFF\r\n\r\n";
  EXPECT_EQ(visible(lumo::sourceWithMemo(head + "b", "n")), visible(head + "b\r\n[MEMO]\r\nn"));
  // The host's text ends at its first NUL.
  std::string withNul = kHead + "b";
  withNul += '\0';
  withNul += "tail";
  EXPECT_EQ(visible(lumo::sourceWithMemo(withNul, "n")), visible(kHead + "b\r\n[MEMO]\r\nn"));
}

TEST(MemoSource, AnEditedNoteReplacesEverythingAfterTheFirstMarker) {
  std::string stored = kHead + kBody + "\r\n[MEMO]\r\nold\r\n[MEMO]\r\nolder";
  EXPECT_EQ(visible(lumo::sourceWithMemo(stored, "new")), visible(kHead + kBody + "\r\n[MEMO]\r\nnew"));
  EXPECT_EQ(visible(lumo::sourceWithMemo(kHead + kBody + "\r\n[MEMO]\r\n", "x")),
            visible(kHead + kBody + "\r\n[MEMO]\r\nx"));
  // The empty line's CR LF may open the marker.
  EXPECT_EQ(visible(lumo::sourceWithMemo(kHead + "[MEMO]\r\nold", "y")), visible(kHead + "[MEMO]\r\ny"));
}

TEST(MemoSource, DeletingPutsTheDefaultBodyBackAfterTheHeaderBlock) {
  EXPECT_EQ(visible(*lumo::sourceWithoutMemo(kHead + kBody + "\r\n[MEMO]\r\nnote\r\n\r\nmore")),
            visible(kHead + kBody));
  EXPECT_EQ(visible(*lumo::sourceWithoutMemo(kHead + "other text\r\n[MEMO]\r\nn")), visible(kHead + kBody));
  EXPECT_EQ(visible(*lumo::sourceWithoutMemo(kHead)), visible(kHead + kBody));
  EXPECT_FALSE(lumo::sourceWithoutMemo("X-LuMOID: 1_1\r\nX-MEMO: ON\r\n[MEMO]\r\nn").has_value());
  EXPECT_FALSE(lumo::sourceWithoutMemo("").has_value());
}

}  // namespace
