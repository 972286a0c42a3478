// Selecting a mail by an id read from a header or a link index line: the
// host is handed only ids it can take whole and that stay in its store.
#include "ui/select_mail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/api/host_api.h"
#include "text/id_limits.h"

namespace lumo {
namespace {

std::vector<std::string> selected;

TEST(SelectMail, OnlyIdsThatFitTheHostsBuffersAndStayInItsStoreAreSelected) {
  HostApi = HostApiTable{};
  HostApi.BKA_SetCurrentMail = [](LPCSTR id) WINAPI { selected.push_back(id); };
  const std::string folder = "Box.mb\\Links\\?";
  const std::string longest = folder + std::string(kIdMax - folder.size(), '1');
  selectMail(longest.c_str());
  selectMail((longest + "1").c_str());  // kIdBufferSize bytes: no room for the NUL
  selectMail((longest + std::string(300, '1')).c_str());
  selectMail("");
  selectMail(nullptr);
  selectMail("..\\Box.mb\\Links\\?1");
  HostApi = HostApiTable{};
  EXPECT_EQ(selected, std::vector<std::string>{longest});
}

}  // namespace
}  // namespace lumo
