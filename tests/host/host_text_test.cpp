// Texts handed to the host in its own heap: the block given to BKA_SetSource
// is the host's after the call, and the plug-in never releases it.
#include "host/api/host_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/api/host_api.h"

namespace {

std::vector<void*> allocated, released;
std::string handedText;
void* handedBlock = nullptr;

LPVOID WINAPI recordAlloc(DWORD size) {
  allocated.push_back(std::malloc(size ? size : 1));
  return allocated.back();
}
void WINAPI recordFree(LPVOID block) { released.push_back(block); }
void WINAPI recordSetSource(LPCSTR, LPCSTR source) {
  handedBlock = const_cast<LPSTR>(source);
  handedText = source;
}

TEST(HostText, TheBlockHandedToSetSourceIsLeftToTheHost) {
  lumo::HostApiTable saved = lumo::HostApi;
  lumo::HostApi.BKA_Alloc = recordAlloc;
  lumo::HostApi.BKA_Free = recordFree;
  lumo::HostApi.BKA_SetSource = recordSetSource;
  bool handed = lumo::setSourceText("TEMP", "Subject: x\r\n\r\nbody");
  lumo::HostApi = saved;
  ASSERT_TRUE(handed);
  ASSERT_EQ(allocated.size(), 1u);
  EXPECT_EQ(handedBlock, allocated[0]);
  EXPECT_EQ(handedText, "Subject: x\r\n\r\nbody");
  EXPECT_TRUE(released.empty()) << "the plug-in released a block the host now owns";
  for (void* block : allocated) std::free(block);
}

}  // namespace
