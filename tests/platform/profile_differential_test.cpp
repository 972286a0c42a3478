// Runs one table of profile-file cases through the system's own profile
// functions and through the portable ones, and compares every result, every
// returned buffer and the file each leaves behind.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile_file.h"
#include "platform/win32.h"
#include "support/temp_dir.h"

namespace {

using lumo::testing::readBytes;
using lumo::testing::TempDir;
using lumo::testing::visible;
using lumo::testing::writeBytes;

enum class Op { Get, Int, Write };

struct Call {
  Op op;
  const char* section;
  const char* key;
  const char* text;  // default of Get, value of Write
  int number = 0;    // default of Int
  std::uint32_t size = 64;
};

struct Case {
  const char* name;
  std::optional<std::string> content;  // none: the file does not exist
  std::vector<Call> calls;
  // Names written with trailing blanks: the system rewrites them trimmed once
  // it has read them back, the portable code keeps them; both read the same.
  bool sameContentOnly = false;
  bool inMissingFolder = false;  // the file's folder does not exist either
  // Bytes that are no valid code page 932 text: under that code page the
  // system converts them when it rewrites the file, the portable code keeps
  // them as they are.
  bool notCodePage932 = false;
};

Call get(const char* section, const char* key, const char* def, std::uint32_t size = 64) {
  return {Op::Get, section, key, def, 0, size};
}
Call num(const char* section, const char* key, int def = 77) {
  return {Op::Int, section, key, nullptr, def, 0};
}
Call put(const char* section, const char* key, const char* value) {
  return {Op::Write, section, key, value, 0, 0};
}

// A literal with its zero bytes.
template <std::size_t N>
std::string raw(const char (&text)[N]) {
  return std::string(text, N - 1);
}

const std::string Long300(300, 'x');
const std::string LongKey = std::string(200, 'k');

std::vector<Case> cases() {
  const char* S = "Settings";
  return {
      {"missing file",
       std::nullopt,
       {get(S, "SubCh", "dflt"), num(S, "SubCh", 5), get(S, "SubCh", "\"q\""), get(S, "SubCh", "x"),
        put(S, "SubCh", "1"), get(S, "SubCh", "x")}},
      {"missing file, section without name", std::nullopt, {put("", "a", "1"), put("  ", "b", "2")}},
      {"plain file",
       std::string("[Settings]\r\nSubCh=1\r\nSc-Tag=->\r\n"),
       {get("settings", "subch", "d"), get("  Settings\t", " SUBCH ", "d"), num("SETTINGS", "SubCh"),
        get(S, "Sc-Tag", "d"), get(S, "Missing", "d"), get("Other", "SubCh", "d"), put(S, "SubCh", "0"),
        put(S, "New", "v"), put("settings", "SC-TAG", "=>"), put("Second", "k", "v"), get(S, "New", "d")}},
      {"blanks around names and values",
       std::string("[Settings]\r\n  SubCh  =  12  \r\n\tToDel\t=\t0\t\r\nA = b c \r\n"),
       {get(S, "SubCh", "d"), num(S, "SubCh"), get(S, "ToDel", "d"), get(S, "A", "d"), put(S, "SubCh", "5"),
        get(S, "SubCh", "d")}},
      {"unchanged value writes nothing",
       std::string("[Settings]\r\n  a =  1  \r\n\r\n"),
       {put(S, "a", "1"), put(S, "a", "  1"), get(S, "a", "d")}},
      {"quotes",
       std::string("[S]\r\na=\"abc\"\r\nb='abc'\r\nc=\"abc'\r\nd=\"\r\ne=\"\"\r\nf='a\r\ng=\" sp \"\r\n"
                   "h=''\r\ni=\"a\"b\"\r\n"),
       {get("S", "a", "d"), get("S", "a", "d", 5), get("S", "a", "d", 4), get("S", "a", "d", 3),
        get("S", "a", "d", 2), get("S", "a", "d", 1), get("S", "b", "d"), get("S", "c", "d"),
        get("S", "d", "x"), get("S", "e", "x"), get("S", "f", "x"), get("S", "g", "x"), get("S", "h", "x"),
        get("S", "i", "x"), num("S", "e")}},
      {"integers",
       std::string(
           "[S]\r\na=12abc\r\nb=-7\r\nc=+9\r\nd=0x1F\r\ne=0X1F\r\nf=0b101\r\ng=0o17\r\nh=abc\r\ni=\r\n"
           "j=4294967297\r\nk=-0\r\nl=123456789012345678901234567890123\r\nm=\"42\"\r\nn=1 2\r\no=0x\r\n"
           "p=-\r\nq=\"0x10\"\r\nr=- 5\r\ns=0xffffffff\r\nt=2147483648\r\nu=\" 8\"\r\nv=1.5\r\nw=0b2\r\n"
           "x=0o9\r\ny=08\r\nz=zz\r\n"),
       {num("S", "a"), num("S", "b"), num("S", "c"),          num("S", "d"),    num("S", "e"), num("S", "f"),
        num("S", "g"), num("S", "h"), num("S", "i"),          num("S", "j"),    num("S", "k"), num("S", "l"),
        num("S", "m"), num("S", "n"), num("S", "o"),          num("S", "p"),    num("S", "q"), num("S", "r"),
        num("S", "s"), num("S", "t"), num("S", "u"),          num("S", "v"),    num("S", "w"), num("S", "x"),
        num("S", "y"), num("S", "z"), num("S", "absent", -3), num("S", "i", -1)}},
      {"defaults",
       std::string("[S]\r\n"),
       {get("S", "k", "abc   "), get("S", "k", "  "), get("S", "k", " "), get("S", "k", " a "),
        get("S", "k", "\"q\""), get("S", "k", "\"q\"  "), get("S", "k", nullptr), get("S", "k", ""),
        get("S", "k", "abcdefgh", 4), get("S", "k", "a\t"), get("S", "k", "'x '")}},
      {"truncation",
       std::string("[S]\r\nv=abcdefghij\r\n"),
       {get("S", "v", "d", 1), get("S", "v", "d", 2), get("S", "v", "d", 5), get("S", "v", "d", 10),
        get("S", "v", "d", 11), get("S", "v", "d", 12), get("S", "v", "d", 0)}},
      {"lines without =",
       std::string("[Settings]\r\nSubCh\r\nToDel=0\r\n"),
       {get(S, "SubCh", "d"), num(S, "SubCh", 9), put(S, "SubCh", "3"), get(S, "SubCh", "d")}},
      {"duplicate sections and keys",
       std::string("[S]\r\na=1\r\na=2\r\n[s]\r\na=3\r\nb=4\r\n"),
       {get("S", "a", "d"), get("S", "b", "d"), put("S", "b", "5")}},
      {"garbage lines",
       std::string("junk line\r\n[S]\r\n;comment=1\r\n# x = y\r\n[broken\r\n]\r\na=1\r\n"),
       {get("S", "a", "d"), get("S", ";comment", "d"), get("S", "# x", "d"), get("", "junk line", "d"),
        put("S", "a", "2"), put("S", "z", "3")}},
      {"binary bytes",
       raw("\x01\x02[S]\x7f\r\na=\x80\x81\xfe\xff\r\nb=x\0y\r\n\0c=1\r\nd\0e=2\r\n[S]\r\n"),
       {get("S", "a", "d"), get("S", "b", "d"), get("S", "c", "d"), get("S", "d", "d"), get("S", "", "d"),
        get("\x01\x02[S", "a", "d"), put("S", "a", "v"), put("S", "b", "w")},
       false,
       false,
       true},
      {"over-long values and names",
       "[S]\r\nv=" + Long300 + "\r\n" + LongKey + "=1\r\n",
       {get("S", "v", "d", 256), get("S", "v", "d", 32), num("S", "v"), get("S", LongKey.c_str(), "d"),
        put("S", "v", Long300.c_str()), put("S", "w", Long300.c_str())}},
      {"missing section",
       std::string("[Other]\r\na=1\r\n"),
       {get("S", "a", "d"), num("S", "a"), put("S", "a", "2"), get("S", "a", "d")}},
      {"missing section, no final line break", std::string("[Other]\r\na=1"), {put("S", "a", "2")}},
      {"new key at the end of its section",
       std::string("[S]\r\na=1\r\n[T]\r\nb=2\r\n"),
       {put("S", "c", "3"), put("T", "d", "4"), put("S", "e", "5")}},
      {"new key before blank lines", std::string("[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n"), {put("S", "c", "3")}},
      {"new names with blanks",
       std::string("[S]\r\n"),
       {put(" New ", " k ", "v"), put("\tTab\t", "\tk\t", "v"), put("S", " j\t ", "w"), get("New", "k", "d"),
        get("S", "j", "d")},
       true},
      {"new key in an empty section",
       std::string("[S]\r\n[T]\r\n"),
       {put("S", "c", "3"), put("T", "d", "4")}},
      {"new key, no final line break", std::string("[S]\r\na=1"), {put("S", "b", "2")}},
      {"LF and CR line ends", std::string("[S]\na=1\nb=2\n"), {get("S", "b", "d"), put("S", "a", "5")}},
      {"lone CR", std::string("[S]\ra=1\rb=2"), {get("S", "b", "d"), get("S", "a", "d"), put("S", "b", "3")}},
      {"written values",
       std::string("[S]\r\n"),
       {put("S", "a", "  v  "), get("S", "a", "d"), put("S", "b", ""), get("S", "b", "d"), num("S", "b", 4),
        put("S", "c", "x\r\ny=2"), get("S", "y", "d"), put(" S ", " d ", "4"), put("S", "E", "\"q\""),
        get("S", "e", "d")},
       true},
      {"section headers",
       std::string("[ S ]\r\na=1\r\n[T] trailing\r\nb=2\r\n[U]]\r\nc=3\r\n[]\r\nd=4\r\n"),
       {get("S", "a", "d"), get(" S ", "a", "d"), get("T", "b", "d"), get("U]", "c", "d"), get("U", "c", "d"),
        get("", "d", "d"), put("T", "b", "5")}},
      {"keys before any section",
       std::string("a=1\r\n[S]\r\nb=2\r\n"),
       {get("", "a", "d"), get("S", "a", "d"), put("", "c", "3")}},
      {"empty names",
       std::string("[S]\r\n=1\r\n=2\r\nx=3\r\n=4\r\n"),
       {get("S", "", "d"), put("S", "", "9")}},
      {"control blanks",
       raw("[S]\r\na=1\x1a\r\nb=\x0b"
           "2\x0c\r\nc=\x1c"
           "3\x1f\r\n\x1a"
           "d=4\r\n"),
       {get("S", "a", "d"), get("S", "b", "d"), get("S", "c", "d"), get("S", "d", "d"), num("S", "c")}},
      {"UTF-8 byte order mark",
       std::string("\xEF\xBB\xBF[S]\r\na=1\r\n"),
       {get("S", "a", "d"), put("S", "b", "2"), get("S", "b", "d")}},
      {"file in a missing folder",
       std::nullopt,
       {get("S", "a", "q  "), num("S", "a", 3), put("S", "a", "1"), get("S", "a", "d")},
       false,
       true},
      {"no-break spaces and double-byte text",
       raw("[S]\r\na=\xa0"
           "1\xa0\r\nb=\x83\x65\x83\x58\x83\x67\r\nc=\x95\x5c\x95\x5c\r\n"),
       {get("S", "a", "d"), get("S", "b", "d"), get("S", "c", "d"), put("S", "d", "\x95\x5c"),
        get("S", "d", "d"), put("S", "\x95\x5c", "\x83\x65"), get("S", "\x95\x5c", "d"),
        get("S", "b", "d", 7), get("S", "b", "\x83\x65\x83\x58", 64)}},
      {"refused writes", std::string("[S]\r\na=1\r\n"), {put(nullptr, "a", "2"), get("S", "a", "d")}},
  };
}

// Text in quotes with its control bytes shown (appended, not concatenated,
// which keeps GCC 12's overlap warning quiet).
std::string inQuotes(std::string_view bytes) {
  std::string out = "\"";
  out.append(visible(bytes)).append("\"");
  return out;
}

std::string describe(const Call& c) {
  auto text = [](const char* s) { return s ? inQuotes(s) : std::string("null"); };
  switch (c.op) {
    case Op::Get:
      return "Get(" + text(c.section) + ", " + text(c.key) + ", default " + text(c.text) + ", size " +
             std::to_string(c.size) + ")";
    case Op::Int:
      return "Int(" + text(c.section) + ", " + text(c.key) + ", default " + std::to_string(c.number) + ")";
    case Op::Write:
      return "Write(" + text(c.section) + ", " + text(c.key) + ", " + text(c.text) + ")";
  }
  return "";
}

struct Outcome {
  std::uint32_t result = 0;
  std::string buffer;  // the bytes a caller may read: result + 1 of them
};

Outcome runSystem(const Call& c, const std::string& path) {
  // Drop the system's cached copy so that it reads the file as it is on disk.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  Outcome out;
  switch (c.op) {
    case Op::Get: {
      std::string buf(c.size + 8, '\xCC');
      out.result = GetPrivateProfileStringA(c.section, c.key, c.text, buf.data(), c.size, path.c_str());
      if (c.size > 0)
        buf.resize(std::min<std::size_t>(out.result + 1, c.size));
      else
        buf.resize(8);
      out.buffer = buf;
      break;
    }
    case Op::Int:
      out.result = GetPrivateProfileIntA(c.section, c.key, c.number, path.c_str());
      break;
    case Op::Write:
      out.result = WritePrivateProfileStringA(c.section, c.key, c.text, path.c_str()) ? 1 : 0;
      break;
  }
  return out;
}

Outcome runPortable(const Call& c, const std::string& path) {
  Outcome out;
  switch (c.op) {
    case Op::Get: {
      std::string buf(c.size + 8, '\xCC');
      out.result =
          lumo::platform::profileGetString(c.section, c.key, c.text, buf.data(), c.size, path.c_str());
      if (c.size > 0)
        buf.resize(std::min<std::size_t>(out.result + 1, c.size));
      else
        buf.resize(8);
      out.buffer = buf;
      break;
    }
    case Op::Int:
      out.result = lumo::platform::profileGetInt(c.section, c.key, c.number, path.c_str());
      break;
    case Op::Write:
      out.result = lumo::platform::profileWriteString(c.section, c.key, c.text, path.c_str()) ? 1 : 0;
      break;
  }
  return out;
}

std::optional<std::string> fileState(const std::string& path) {
  if (!std::filesystem::exists(path)) return std::nullopt;
  return readBytes(path);
}

std::string show(const std::optional<std::string>& file) { return file ? inQuotes(*file) : "(no file)"; }

TEST(ProfileDifferential, PortableFunctionsBehaveAsTheSystemOnes) {
  TempDir dir;
  const bool codePage932 = GetACP() == 932;
  std::printf("system code page %u\n", GetACP());
  int index = 0;
  for (const Case& c : cases()) {
    if (codePage932 && c.notCodePage932) continue;
    SCOPED_TRACE(std::string("case \"") + c.name + "\", input " + show(c.content));
    std::string folder = c.inMissingFolder ? "absent/" : "";
    std::string systemPath = dir.file(folder + "system" + std::to_string(index) + ".ini");
    std::string portablePath = dir.file(folder + "portable" + std::to_string(index) + ".ini");
    ++index;
    if (c.content) {
      writeBytes(systemPath, *c.content);
      writeBytes(portablePath, *c.content);
    }
    // A file already in the layout of a wholesale rewrite must come out the
    // same, byte for byte.
    bool byteExact =
        !c.sameContentOnly && (!c.content || lumo::platform::wholesaleLayout(*c.content) == *c.content);
    int step = 0;
    for (const Call& call : c.calls) {
      SCOPED_TRACE("call " + std::to_string(step++) + ": " + describe(call));
      Outcome system = runSystem(call, systemPath);
      Outcome portable = runPortable(call, portablePath);
      EXPECT_EQ(portable.result, system.result);
      EXPECT_EQ(visible(portable.buffer), visible(system.buffer));
      std::optional<std::string> systemFile = fileState(systemPath), portableFile = fileState(portablePath);
      ASSERT_EQ(portableFile.has_value(), systemFile.has_value())
          << show(portableFile) << " vs " << show(systemFile);
      if (!systemFile) continue;
      if (byteExact) {
        EXPECT_EQ(visible(*portableFile), visible(*systemFile));
      } else {
        // The system rewrites the whole file in its own layout where the
        // portable code keeps every untouched byte; the content must agree.
        EXPECT_EQ(visible(lumo::platform::wholesaleLayout(*portableFile)),
                  visible(lumo::platform::wholesaleLayout(*systemFile)))
            << "portable file " << show(portableFile) << "\nsystem file " << show(systemFile);
      }
    }
  }
}

}  // namespace
