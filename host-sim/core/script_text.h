// Text helpers the script's commands, expectations and dialog actions share:
// code page conversions, joined words and the names of message-box fields.
#pragma once

#include <string>
#include <vector>

#include "host-sim/core/cp932.h"
#include "host-sim/core/host_state.h"

namespace lumo::hostsim::script_text {

// Plug-in text (code page 932) for display, and script text for the plug-in.
inline std::string u(const std::string& cp932) { return cp932ToUtf8(cp932); }
inline std::string c(const std::string& utf8) { return utf8ToCp932(utf8); }

inline std::string join(const std::vector<std::string>& words, std::size_t from, const char* sep = " ") {
  std::string text;
  for (std::size_t i = from; i < words.size(); ++i) text += (i > from ? sep : "") + words[i];
  return text;
}

// CR, LF and 0x01 written out, so index lines show on one line.
std::string visible(const std::string& text);

// Display text (UTF-8) with every control byte but TAB, LF and the CR of a
// CR LF drawn as its Unicode control picture (0x01 as U+2401), so that the
// field separators of an index line can be seen; the stored bytes stay.
std::string pictured(const std::string& utf8);

// Message-box answers and styles by name.
int answerValue(const std::string& word);
std::string answerName(int answer);
std::string iconName(UINT type);
std::string buttonsName(UINT type);

}  // namespace lumo::hostsim::script_text
