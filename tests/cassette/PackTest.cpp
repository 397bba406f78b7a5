// Packing under I/O failures and across copy-chunk boundaries: the cassette is either exactly as
// it was or exactly packed, never anything in between.
#include <gtest/gtest.h>

#include "CassetteTestSupport.h"

namespace kiv {
namespace {

using test::Bytes;
using test::CassetteBuilder;
using test::MakeCassette;
using test::SameBytes;

class PackTest : public test::CassetteTest {};

TEST_F(PackTest, FailureAtAnyStepOfAPackLeavesTheCassetteAsItWas) {
  Bytes original = MakeCassette({{1, 100, 0x11}, {65535, 50, 0x44}, {2, 50, 0x22}, {65535, 30, 0x55}});
  Bytes packed = MakeCassette({{1, 100, 0x11}, {2, 50, 0x22}});
  std::string path = PathIn("pack.cst");
  const int failures = SweepFaults(test::kEveryIoOp, [&](test::FaultRun& run) {
    test::WriteFile(path, original);
    Cassette cassette(Env());
    ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
    ASSERT_TRUE(cassette.SelectMessage(2).ok());
    const Status status = run.Faulted([&] { return cassette.PackCassette(); });
    EXPECT_EQ(status.ok(), !run.Fired());
    EXPECT_TRUE(SameBytes(test::ReadFile(path), status.ok() ? packed : original));
    EXPECT_EQ(cassette.CurrentMessage(), 2u);
    EXPECT_EQ(cassette.MessageStart(), status.ok() ? 100u : 150u);
    EXPECT_EQ(cassette.MessageEnd(), status.ok() ? 150u : 200u);
    // No half-made copy is left beside the cassette, nor anything in the temporary folder.
    EXPECT_EQ(test::FilesIn(CassettesFolder()), std::vector<std::string>{"pack.cst"});
    EXPECT_TRUE(test::FilesIn(TempFolder()).empty());
    cassette.CloseStream();
  });
  // The new file is created, written, synced and renamed into place.
  EXPECT_GE(failures, 4);
}

TEST_F(PackTest, PackCopiesMessagesLargerThanACopyChunkWhole) {
  auto pattern = [](size_t size, uint8_t salt) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t((i * 7 + salt) % 251);
    return bytes;
  };
  Bytes first = pattern(kCopyChunk + 3, 1);
  Bytes deleted = pattern(kCopyChunk - 1, 2);
  Bytes second = pattern(2 * kCopyChunk + 1, 3);
  uint32_t a = uint32_t(first.size());
  uint32_t b = uint32_t(deleted.size());
  uint32_t c = uint32_t(second.size());
  std::string path = PathIn("big.cst");
  test::WriteFile(path, CassetteBuilder().Raw(first).Raw(deleted).Raw(second).Table()
                            .Entry(1, 0, a).Entry(65535, a, a + b).Entry(2, a + b, a + b + c)
                            .bytes());
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  ASSERT_TRUE(cassette.PackCassette().ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder().Raw(first).Raw(second).Table()
                                                  .Entry(1, 0, a).Entry(2, a, a + c).bytes()));
}

}  // namespace
}  // namespace kiv
