#include "host-sim/core/scripted_windows.h"

#include "host-sim/core/cp932.h"

namespace lumo::hostsim {

int ScriptedWindowSystem::chooseAnswer(MessageBoxRecord& box) {
  if (!answers_.empty()) {
    int answer = answers_.front();
    answers_.pop_front();
    if (answerFits(box.type, answer)) return answer;
    reportError("message box \"" + cp932ToUtf8(box.text) + "\" cannot be answered " + std::to_string(answer));
    return fallbackAnswer(box.type);
  }
  if (prompt_) return prompt_(box);
  box.queued = false;
  reportError("message box without a queued answer: title \"" + cp932ToUtf8(box.title) + "\", text \"" +
              cp932ToUtf8(box.text) + "\"");
  return fallbackAnswer(box.type);
}

std::size_t ScriptedWindowSystem::openDialog(int templateId) {
  dialogRecords_.push_back({templateId, 0});
  return dialogRecords_.size() - 1;
}

bool ScriptedWindowSystem::runNextDialogAction(HWND dialog, int templateId) {
  while (dialogActions_.empty() && dialogRefill_ && dialogRefill_(templateId)) {
  }
  if (dialogActions_.empty()) {
    reportError("dialog " + std::to_string(templateId) + " is open and no dialog action is queued");
    return false;
  }
  DialogAction action = std::move(dialogActions_.front());
  dialogActions_.pop_front();
  std::string error = action(dialog);
  if (!error.empty()) reportError("dialog " + std::to_string(templateId) + ": " + error);
  return true;
}

std::vector<std::string> ScriptedWindowSystem::takeErrors() {
  std::vector<std::string> taken;
  taken.swap(errors_);
  return taken;
}

}  // namespace lumo::hostsim
