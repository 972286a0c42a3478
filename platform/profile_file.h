// Profile (INI) files read and written with the observable behaviour of the
// Windows profile functions, in portable code over whole-file operations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumo::platform {

// GetPrivateProfileIntA. The value is read as GetPrivateProfileStringA reads
// it (quotes removed, at most 29 bytes) and then as a number: blanks and an
// optional "+" or "-", a prefix "0x", "0o" or "0b" (lower case only) for base
// 16, 8 or 2, then digits up to the first byte that is none; text without
// digits reads as 0, and large numbers wrap like unsigned 32-bit arithmetic.
// A key that is absent, has no "=" or has an empty value gives the default.
std::uint32_t profileGetInt(const char* section, const char* key, int defaultValue, const char* path);

// GetPrivateProfileStringA. Copies the value of `key` in `section` into
// `buffer` (at most size - 1 bytes and a zero), without the quotes when the
// value starts and ends with the same quote (' or "), or `defaultValue`
// (trailing spaces removed, null = empty) when the key is absent or has no
// "="; returns the number of bytes copied. Section and key names match without
// regard to ASCII case and surrounding blanks; of duplicates the first
// section, and in it the first key, counts. A missing file reads as empty. A
// null buffer or a size of 0 returns 0. The listings of the system function
// (a null section or key) are not offered: they give an empty buffer and 0.
std::uint32_t profileGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               std::uint32_t size, const char* path);

// WritePrivateProfileStringA. Sets `key` in `section` to `value` (leading
// blanks dropped), creating the file, the section (at the end of the file) or
// the key (after the section's last entry) as needed. Only the changed line is
// rewritten, always ending in CR LF; every other byte of the file stays as it
// was. The new content replaces the old in one atomic step, so a failure or a
// crash leaves the old file whole. Returns false when the file cannot be read
// or written, and when `section`, `key` or `value` is null: the system
// function's deletions and its flush call are not offered. An unchanged value
// writes nothing and is true.
bool profileWriteString(const char* section, const char* key, const char* value, const char* path);

// One non-blank line of a profile file that is not a section header: a key,
// with or without "=", a comment or any other text. Offsets are into the file's
// bytes: `begin` is the line's first byte, `contentEnd` is where its line break
// (a run of CR and LF bytes) starts and `end` is past that run.
struct ProfileEntry {
  std::string name;  // blanks around it removed, cut at a zero byte
  bool hasValue = false;
  std::string value;  // blanks around it removed, cut at a zero byte
  std::size_t begin = 0, contentEnd = 0, end = 0;
};

// A section: the text before the first header is a section named "" without
// a header line.
struct ProfileSection {
  std::string name;
  bool hasHeader = false;
  std::size_t begin = 0, contentEnd = 0, end = 0;  // of the header line
  std::vector<ProfileEntry> entries;
};

// Splits a profile file into its sections and entries as the readers see it.
// A file starting with a UTF-8 byte order mark is read after it.
std::vector<ProfileSection> parseProfile(std::string_view bytes);

// The file as a profile writer that rewrites it wholesale would lay it out:
// "[name]" lines and "name=value" lines, each ending in CR LF, blank lines and
// surrounding blanks gone. A file written only through profileWriteString is
// already in this layout.
std::string wholesaleLayout(std::string_view bytes);

}  // namespace lumo::platform
