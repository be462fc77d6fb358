// The cluster-chain writer against a hand-set FAT and data area: which bytes
// of the data area end up in the file, and when a chain counts as broken.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cutter/cluster_writer.h"
#include "cutter/media_geometry.h"
#include "cutter/volume_buffers.h"
#include "tests/support/tool_run.h"

namespace {

using cutter::ChainResult;
using cutter::HeaderPlan;
using cutter::MediaGeometry;
using cutter::VolumeBuffers;
using testsupport::Bytes;

const MediaGeometry& geometry2D = *cutter::geometryForMedia(0x00);
const MediaGeometry& geometry2HD = *cutter::geometryForMedia(0x20);

struct Written {
  ChainResult result;
  Bytes file;
  std::string console;
};

// Every byte of the data area holds a value derived from its position, so a
// file's bytes show exactly where in the data area they came from.
std::unique_ptr<VolumeBuffers> patternedVolume() {
  auto buffers = std::make_unique<VolumeBuffers>();
  for (std::size_t i = 0; i < buffers->dataArea.size(); ++i) {
    buffers->dataArea[i] = static_cast<std::uint8_t>((i * 7) ^ (i >> 8));
  }
  buffers->fat.fill(0xFF);
  return buffers;
}

Bytes dataAt(const VolumeBuffers& buffers, std::size_t offset, std::size_t count) {
  return Bytes(buffers.dataArea.begin() + static_cast<std::ptrdiff_t>(offset),
               buffers.dataArea.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

Written writeChain(int start, HeaderPlan plan, const MediaGeometry& geometry,
                   const VolumeBuffers& buffers) {
  std::FILE* file = std::tmpfile();
  testing::internal::CaptureStdout();
  const ChainResult result = cutter::writeClusterChain(file, start, plan, geometry, buffers);
  std::fflush(stdout);
  Written written{result, {}, testing::internal::GetCapturedStdout()};
  std::rewind(file);
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    written.file.push_back(static_cast<std::uint8_t>(c));
  }
  std::fclose(file);
  return written;
}

HeaderPlan budget(int headerCut, int byteBudget) {
  return HeaderPlan{headerCut, byteBudget, true, false};
}

struct Piece {
  std::size_t offset;
  std::size_t count;
};

struct ChainCase {
  const char* what;
  const MediaGeometry* geometry;
  std::vector<std::pair<int, std::uint8_t>> fat;  // cluster, FAT byte
  int start;
  HeaderPlan plan;
  ChainResult result;
  std::vector<Piece> pieces;  // the data-area ranges the file is made of, in order
};

TEST(WriteClusterChain, CopiesTheDataAreaRangesTheChainAndPlanSelect) {
  constexpr std::size_t c2D = 2048;
  constexpr std::size_t cHD = 6656;
  const std::vector<ChainCase> cases = {
      {"one cluster, 3 sectors", &geometry2D, {{5, 0xC3}}, 5, {}, ChainResult::Written,
       {{5 * c2D, 768}}},
      {"bit 5 of the last byte plays no part", &geometry2D, {{5, 0xE3}}, 5, {},
       ChainResult::Written, {{5 * c2D, 768}}},
      {"three clusters on 2HD, one sector in the last", &geometry2HD,
       {{10, 11}, {11, 40}, {40, 0xC1}}, 10, {}, ChainResult::Written,
       {{10 * cHD, cHD}, {11 * cHD, cHD}, {40 * cHD, 256}}},
      {"a last byte of 0xC0 adds nothing", &geometry2D, {{3, 4}, {4, 0xC0}}, 3, {},
       ChainResult::Written, {{3 * c2D, c2D}}},
      {"more sectors than a cluster holds run on in disk order", &geometry2D, {{6, 0xDF}}, 6, {},
       ChainResult::Written, {{6 * c2D, 31 * 256}}},
      {"a link to the cluster count is broken", &geometry2D, {{7, 8}, {8, 160}}, 7, {},
       ChainResult::BrokenLink, {{7 * c2D, c2D}, {8 * c2D, c2D}}},
      {"4-byte header and a budget over three clusters", &geometry2D, {{20, 21}, {21, 22}, {22, 0xC8}},
       20, budget(4, 5000), ChainResult::Written,
       {{20 * c2D + 4, 2044}, {21 * c2D, 2048}, {22 * c2D, 908}}},
      {"a budget below one cluster stops in the first cluster", &geometry2D, {{20, 21}, {21, 0xC8}},
       20, budget(6, 2046), ChainResult::Written, {{20 * c2D + 6, 2046}}},
      {"an empty range at a last cluster writes its sectors after the header", &geometry2D,
       {{9, 0xC8}}, 9, budget(4, 0), ChainResult::Written, {{9 * c2D + 4, 2044}}},
      {"a header longer than the last cluster's sectors writes nothing", &geometry2D, {{9, 0xC0}},
       9, budget(4, 0), ChainResult::Written, {}},
      {"a budget used up on a link writes nothing more", &geometry2D,
       {{12, 13}, {13, 14}, {14, 0x23}, {0x23, 0xC8}}, 12, budget(4, 2044 + 2048),
       ChainResult::Written, {{12 * c2D + 4, 2044}, {13 * c2D, 2048}}},
      {"an empty range on a link writes nothing", &geometry2D, {{12, 0x23}, {0x23, 0xC8}}, 12,
       budget(4, 0), ChainResult::Written, {}},
      {"a tail past the end of the 2HD data area stops at its end", &geometry2HD, {{153, 0xC1}},
       153, budget(4, 10000), ChainResult::Written, {{153 * cHD + 4, cHD - 4}}},
      {"sectors past the end of the 2HD data area are not read", &geometry2HD, {{153, 0xDF}}, 153,
       {}, ChainResult::Written, {{153 * cHD, cHD}}},
  };
  const auto buffers = patternedVolume();
  for (const ChainCase& test : cases) {
    SCOPED_TRACE(test.what);
    buffers->fat.fill(0xFF);
    for (const auto& [cluster, value] : test.fat) buffers->fat[static_cast<std::size_t>(cluster)] = value;
    Bytes expected;
    for (const Piece& piece : test.pieces) {
      const Bytes part = dataAt(*buffers, piece.offset, piece.count);
      expected.insert(expected.end(), part.begin(), part.end());
    }
    const Written written = writeChain(test.start, test.plan, *test.geometry, *buffers);
    EXPECT_EQ(written.result, test.result);
    EXPECT_EQ(written.file, expected);
    EXPECT_EQ(written.console, test.result == ChainResult::BrokenLink
                                   ? "** " + testsupport::brokenClusterText + " **\n"
                                   : "");
  }
}

TEST(WriteClusterChain, StopsALoopingChainAfterAsManyClustersAsTheVolumeHas) {
  const auto buffers = patternedVolume();
  buffers->fat[40] = 41;
  buffers->fat[41] = 40;  // 40 -> 41 -> 40 -> ... never ends
  const Written written = writeChain(40, {}, geometry2D, *buffers);
  EXPECT_EQ(written.result, ChainResult::BrokenLink);
  EXPECT_EQ(written.console, "** " + testsupport::brokenClusterText + " **\n");
  ASSERT_EQ(written.file.size(), 160u * 2048u);
  EXPECT_EQ(Bytes(written.file.begin(), written.file.begin() + 4096), dataAt(*buffers, 40 * 2048, 4096));
}

TEST(WriteClusterChain, AcceptsAChainThroughEveryClusterOfTheVolume) {
  const auto buffers = patternedVolume();
  for (int k = 0; k < 153; ++k) buffers->fat[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(k + 1);
  buffers->fat[153] = 0xDA;  // all 26 sectors of the last cluster
  const Written written = writeChain(0, {}, geometry2HD, *buffers);
  EXPECT_EQ(written.result, ChainResult::Written);
  EXPECT_EQ(written.file, dataAt(*buffers, 0, VolumeBuffers::dataAreaBytes));
}

TEST(WriteClusterChain, ReportsTheWriteThatFailsOnAFullDevice) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  ASSERT_NE(full, nullptr);
  std::setvbuf(full, nullptr, _IONBF, 0);
  const auto buffers = patternedVolume();
  buffers->fat[5] = 0xC1;  // a single 256-byte tail
  EXPECT_EQ(cutter::writeClusterChain(full, 5, {}, geometry2D, *buffers), ChainResult::WriteFailed);
  std::fclose(full);
}

}  // namespace
