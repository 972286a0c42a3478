// Message-ID values taken from header fields, folded or not.
#include "linkindex/message_id_value.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using lumo::testing::visible;

TEST(MessageIdValueTest, UnfoldsTrimsAndNeverKeepsLineBreakers) {
  struct Case {
    std::string field;
    std::string value;
  } cases[] = {
      {"Message-ID: <a@b>\r\n", "<a@b>"},
      {"Message-ID: <a@b>", "<a@b>"},
      {"Message-Id:<a@b>\r\n", "<a@b>"},
      {"Message-ID:\r\n <a@b>\r\n", "<a@b>"},
      {"Message-ID: <a@\r\n\tb>\r\n", "<a@\tb>"},
      {"Message-ID:   <a@b>  \t\r\n", "<a@b>"},
      {"Message-ID:\r\n", ""},
      {"Message-ID:", ""},
      {"Message-ID: \r\n \r\n", ""},
      {"Message-ID: <a@b>\r\nX-Other: y\r\n", "<a@b>"},
      {"Message-ID: <a@b>\nnext", "<a@b>"},
      {"Message-ID: <a\x01@b>\r\n", "<a@b>"},
      {"Message-ID: <a@b>\r", "<a@b>"},
      {"no colon here", ""},
  };
  for (const auto& c : cases) {
    std::string got = lumo::messageIdValue(c.field);
    EXPECT_EQ(visible(got), visible(c.value)) << "field: " << visible(c.field);
    EXPECT_EQ(got.find_first_of("\r\n\x01"), std::string::npos);
  }
}

}  // namespace
