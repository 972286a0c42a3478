// Base64 and quoted-printable transfer encodings, for the host's file
// conversion functions.
#pragma once

#include <string>
#include <string_view>

namespace lumo::hostsim {

std::string base64Encode(std::string_view data);  // lines of 76 characters, CR LF
std::string base64Decode(std::string_view text);  // characters outside the alphabet are skipped
std::string qpEncode(std::string_view data);
std::string qpDecode(std::string_view text);

// Reads inFile, converts it and writes outFile (binary); 1 on success.
int convertFile(const char* outFile, const char* inFile, std::string (*convert)(std::string_view));

}  // namespace lumo::hostsim
