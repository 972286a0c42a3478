// A host that lacks one host function (BKA_Connect, which the plug-in never
// calls) cannot load the plug-in: its load notification fails.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "host-sim/core/fixture.h"

namespace lumo::hostsim {
namespace {

TEST(HostWithoutConnect, RefusesThePlugin) {
  void* self = dlopen(nullptr, RTLD_NOW);
  ASSERT_EQ(dlsym(self, "BKA_Connect"), nullptr) << "this host must lack BKA_Connect";
  ASSERT_NE(dlsym(self, "BKA_SerializeRcpts"), nullptr) << "and have the others";
  HostFixture fx;
  EXPECT_FALSE(fx.loadLinkedPlugin());
  EXPECT_NE(fx.output().find("plug-in refused"), std::string::npos) << fx.output();
  EXPECT_NE(fx.run("start").find("no plug-in is loaded"), std::string::npos);
}

}  // namespace
}  // namespace lumo::hostsim
