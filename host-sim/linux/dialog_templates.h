// The plug-in's dialog templates that the in-memory window system knows:
// their controls exist from the dialog's start, and no other control does.
// On Windows the templates come from lumo.dll's own resources.
#pragma once

#include <string>
#include <vector>

namespace lumo::hostsim {

struct ControlTemplate {
  int id = 0;
  std::string className;
  std::string text;  // code page 932
};

// The controls of a known template, or null for a template whose controls
// come into being when first used.
const std::vector<ControlTemplate>* dialogTemplate(int templateId);

}  // namespace lumo::hostsim
