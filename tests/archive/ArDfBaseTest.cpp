#include <gtest/gtest.h>

#include "archive/ArDfBase.h"
#include "archive/ArchiveTestSupport.h"

namespace {

TEST(TArDeflateHelper, TuningSettersRaiseSmallValuesAndMarkTheOption) {
  TArDeflateHelper helper;
  EXPECT_EQ(helper.ZipOption(), 'n');
  helper.SetChainLength(32);  // the current value: nothing changes
  EXPECT_EQ(helper.ZipOption(), 'n');
  helper.SetChainLength(2);
  EXPECT_EQ(helper.ChainLength(), 4);
  EXPECT_EQ(helper.ZipOption(), '?');
  helper.SetChainLength(-1);
  EXPECT_EQ(helper.ChainLength(), -1);
}

TEST(TArDeflateHelper, AssignCopiesOptionsButNotResults) {
  TArDeflateHelper a, b;
  a.SetOptions(16);
  a.PartSize = 512;
  a.NormalSize = 99;
  b.Assign(a);
  EXPECT_EQ(b.Options(), 16u);
  EXPECT_EQ(b.PartSize, 512u);
  EXPECT_EQ(b.NormalSize, 0);
  EXPECT_EQ(b.ZipOption(), '?');
}

TEST(UpdateAdler32, MatchesRfc1950AndZlib) {
  uint32_t value = 1;
  UpdateAdler32(value, Bytes{'a', 'b', 'c'});
  EXPECT_EQ(value, 0x024D0127u);
  Bytes data = RandomBytes(100000, 3);
  value = 1;
  UpdateAdler32(value, data);
  EXPECT_EQ(value, adler32(1, data.data(), static_cast<uInt>(data.size())));
}

TEST(TArNodeManager, PagesHoldWholeNodes) {
  TArNodeManager small(5);
  EXPECT_EQ(small.NodeSize(), 8u);
  EXPECT_EQ(small.NodesPerPage(), 1023u);
  EXPECT_EQ(small.PageSize(), 8192);
  TArNodeManager large(5000);
  EXPECT_EQ(large.NodesPerPage(), 1u);
  EXPECT_EQ(large.PageSize(), 5004);
  // Nodes never overlap, across pages too.
  std::vector<uint8_t*> nodes;
  for (int i = 0; i < 3000; ++i) nodes.push_back(static_cast<uint8_t*>(small.AllocNode()));
  std::sort(nodes.begin(), nodes.end());
  for (size_t i = 1; i < nodes.size(); ++i) EXPECT_GE(nodes[i] - nodes[i - 1], 8);
}

}  // namespace
