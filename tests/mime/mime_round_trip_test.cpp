// Round trip: a written tree reads back into a tree that writes the same text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "mime/mime_part.h"
#include "mime_test_util.h"

namespace lumo {
namespace {

using testing::parsedAndWritten;
using testing::visible;

// A small deterministic generator (xorshift) so failures reproduce by seed.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint32_t below(std::uint32_t n) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<std::uint32_t>(state_ % n);
  }

 private:
  std::uint64_t state_;
};

// Mails made of the pieces that steer the parser: Content-Type fields with a
// few boundaries, delimiters and near-delimiters of those, folds, blank lines,
// NUL bytes and all kinds of line ends.
std::string randomMail(Random& random) {
  static const char* const kBoundaries[] = {"a", "ab", "b", "", "a--"};
  static const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\n", "\r\n"};
  std::string mail;
  int lines = 1 + static_cast<int>(random.below(40));
  for (int i = 0; i < lines; ++i) {
    std::string b = kBoundaries[random.below(5)];
    switch (random.below(12)) {
      case 0:
        mail += "Content-Type: multipart/mixed; boundary=\"" + b + "\"";
        break;
      case 1:
        mail += "content-type: Multipart/X;\r\n\tBoundary=" + b;
        break;
      case 2:
      case 3:
        mail += "--" + b;
        break;
      case 4:
        mail += "--" + b + "--";
        break;
      case 5:
        mail += "--" + b + (random.below(2) ? " " : "x");
        break;
      case 6:
      case 7:
        break;  // blank line
      case 8:
        mail += " folded";
        break;
      case 9:
        mail += std::string("N\0L", 3);
        break;
      default:
        mail += "Field: value " + std::to_string(i);
        break;
    }
    if (random.below(30) != 0 || i + 1 < lines) mail += kEnds[random.below(5)];
  }
  return mail;
}

TEST(MimeRoundTripTest, WrittenTextReadsBackToTheSameText) {
  for (std::uint64_t seed = 1; seed <= 50000; ++seed) {
    Random random(seed);
    std::string source = randomMail(random);
    std::string once = parsedAndWritten(source);
    std::string twice = parsedAndWritten(once);
    ASSERT_EQ(visible(twice, 4000), visible(once, 4000))
        << "seed " << seed << "\n  source: " << visible(source, 4000);
  }
}

// Inputs that once broke the round trip (also in the fuzz corpus).
TEST(MimeRoundTripTest, PastFindingsReadBackToTheSameText) {
  const std::string findings[] = {
      // A child whose boundary is its parent's followed by "--" took the
      // parent's written closing delimiter for its own opening delimiter.
      std::string("Content-Type:r/e;boundary=x\n\n--x\nContent-Type:\x91/m boundary=x\n\n--x\r"
                  "Content-Type:E/m boundary=x--\n\r--xx\r\r--x"),
  };
  for (const std::string& source : findings) {
    std::string once = parsedAndWritten(source);
    EXPECT_EQ(visible(parsedAndWritten(once), 4000), visible(once, 4000)) << "source: " << visible(source);
  }
}

// A source already in written form (CR LF everywhere, closed multiparts, no
// top-level epilogue) comes back byte for byte.
TEST(MimeRoundTripTest, WellFormedMailComesBackUnchanged) {
  const std::string mail =
      "From: a@example.com\r\n"
      "Subject: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=\r\n"
      "Content-Type: multipart/mixed;\r\n boundary=\"outer\"\r\n"
      "\r\n"
      "This is a multi-part message.\r\n"
      "--outer\r\n"
      "Content-Type: multipart/alternative; boundary=inner\r\n"
      "\r\n"
      "--inner\r\n"
      "Content-Type: text/plain\r\n"
      "\r\n"
      "plain\r\n"
      "--inner\r\n"
      "Content-Type: text/html\r\n"
      "\r\n"
      "<p>html</p>\r\n"
      "--inner--\r\n"
      "\r\n"
      "--outer\r\n"
      "Content-Type: application/octet-stream; name=\"a.bin\"\r\n"
      "Content-Transfer-Encoding: base64\r\n"
      "\r\n"
      "AAECAwQFBgcICQ==\r\n"
      "--outer--\r\n";
  EXPECT_EQ(visible(parsedAndWritten(mail), 4000), visible(mail, 4000));
}

}  // namespace
}  // namespace lumo
