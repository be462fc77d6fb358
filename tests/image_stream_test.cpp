// The windowed byte stream under the sector reads: whatever the positions,
// reads must deliver exactly the file's bytes, and nothing past its end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "d88/image_stream.h"
#include "tests/support/d88_builder.h"
#include "tests/support/tool_run.h"

namespace {

using testsupport::Bytes;

struct Step {
  enum Kind { SeekTo, Skip, Read } kind;
  std::int64_t amount;  // offset, count to skip, or bytes to read
};

TEST(ImageStream, ReadsTheFilesBytesAcrossWindowsAndStopsAtItsEnd) {
  constexpr int window = d88::ImageStream::windowBytes;
  const Bytes file = testsupport::ramp(3 * window + 100, 7);
  testsupport::TempFolder folder;
  folder.write("file.bin", file);

  const std::vector<std::vector<Step>> walks = {
      {{Step::SeekTo, 0}, {Step::Read, 16}, {Step::Skip, 256}, {Step::Read, 16}},
      {{Step::SeekTo, window - 5}, {Step::Read, 16}},               // straddles a window edge
      {{Step::SeekTo, 10}, {Step::Read, 2 * window + 3}},          // longer than a window
      {{Step::SeekTo, 3 * window}, {Step::Read, 200}},             // runs off the end: 100 bytes
      {{Step::SeekTo, 5 * window}, {Step::Read, 16}},              // wholly past the end: nothing
      {{Step::SeekTo, 2 * window}, {Step::Read, 4}, {Step::SeekTo, 8}, {Step::Read, 4}},  // back
      {{Step::SeekTo, window}, {Step::Skip, -1}, {Step::Read, 2}},
  };
  for (std::size_t w = 0; w < walks.size(); ++w) {
    SCOPED_TRACE(w);
    d88::ImageStream stream;
    ASSERT_TRUE(stream.open((folder / "file.bin").c_str()));
    std::int64_t position = 0;
    for (const Step& step : walks[w]) {
      if (step.kind == Step::SeekTo) {
        ASSERT_TRUE(stream.seekTo(step.amount));
        position = step.amount;
      } else if (step.kind == Step::Skip) {
        ASSERT_TRUE(stream.skip(step.amount));
        position += step.amount;
      } else {
        Bytes got(static_cast<std::size_t>(step.amount), 0xEE);
        const int delivered = stream.read(got.data(), static_cast<int>(step.amount));
        const std::int64_t expected =
            std::max<std::int64_t>(0, std::min<std::int64_t>(step.amount, static_cast<std::int64_t>(file.size()) - position));
        ASSERT_EQ(delivered, expected);
        got.resize(static_cast<std::size_t>(delivered));
        EXPECT_EQ(got, Bytes(file.begin() + position, file.begin() + position + delivered));
        position += delivered;
      }
    }
  }
}

TEST(ImageStream, RefusesNegativePositionsAndUnopenedFiles) {
  testsupport::TempFolder folder;
  folder.write("file.bin", Bytes(10, 1));
  d88::ImageStream stream;
  std::uint8_t byte = 0;
  EXPECT_FALSE(stream.seekTo(0));
  EXPECT_EQ(stream.read(&byte, 1), 0);
  ASSERT_TRUE(stream.open((folder / "file.bin").c_str()));
  EXPECT_FALSE(stream.seekTo(-1));
  ASSERT_TRUE(stream.seekTo(4));
  EXPECT_FALSE(stream.skip(-5));
  EXPECT_EQ(stream.read(&byte, 1), 1);  // the failed skip left the position alone
  stream.close();
  EXPECT_EQ(stream.read(&byte, 1), 0);
}

}  // namespace
