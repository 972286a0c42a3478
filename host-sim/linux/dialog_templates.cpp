// The templates of res/lumo.rc, as far as the window system needs them.
#include "host-sim/linux/dialog_templates.h"

#include <map>

#include "platform/win32.h"
#include "res/resource_ids.h"

namespace lumo::hostsim {

const std::vector<ControlTemplate>* dialogTemplate(int templateId) {
  static const std::map<int, std::vector<ControlTemplate>> templates = {
      {IDD_MEMO,
       {{IDC_MEMO_TEXT, "Edit", ""}, {IDOK, "Button", "OK"}, {IDCANCEL, "Button", "\xb7\xac\xdd\xbe\xd9"}}},
  };
  auto found = templates.find(templateId);
  return found == templates.end() ? nullptr : &found->second;
}

}  // namespace lumo::hostsim
