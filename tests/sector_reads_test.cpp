// D88File's sector reads: finding a track, scanning its sector headers for a
// C/H/R/N identity, runs of sectors that move on across tracks, and the
// listing of a track's identities. Also two guards against damaged files: a
// sector cut off by the end of the file reads short, and offsets and sizes of
// 2^31 or more never turn negative.
// Every D88 file is built with the raw level of the test builder, written to
// a fresh folder and opened by its path.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "d88/d88_file.h"
#include "tests/support/d88_builder.h"
#include "tests/support/tool_run.h"

namespace {

using testsupport::Bytes;
using testsupport::ImageBuilder;
using testsupport::Sector;
using testsupport::TempFolder;

constexpr std::uint8_t untouched = 0xEE;  // what a buffer holds where nothing was written
constexpr int headerBytes = 688;
constexpr int sectorHeaderBytes = 16;

// The data of sector R of track index `track` in these fixtures: the track
// index and R, then bytes running up from a start that depends on both, so
// that no sector's data equals another's. A shorter size gives a prefix.
Bytes sectorData(int track, int r, std::size_t size = 256) {
  Bytes data = testsupport::ramp(size, static_cast<std::uint8_t>(track * 20 + r));
  if (size > 0) data[0] = static_cast<std::uint8_t>(track);
  if (size > 1) data[1] = static_cast<std::uint8_t>(r);
  return data;
}

Sector sectorOf(int c, int h, int r, int n, std::uint16_t count, Bytes data) {
  Sector sector;
  sector.c = static_cast<std::uint8_t>(c);
  sector.h = static_cast<std::uint8_t>(h);
  sector.r = static_cast<std::uint8_t>(r);
  sector.n = static_cast<std::uint8_t>(n);
  sector.sectorCount = count;
  sector.data = std::move(data);
  return sector;
}

// A formatted track (sectors 1..count, N = 1, `count` as every sector count)
// whose sectors hold sectorData.
std::vector<Sector> dataTrack(int track, int count = 16) {
  std::vector<Sector> sectors = testsupport::formattedTrack(track, count);
  for (Sector& sector : sectors) sector.data = sectorData(track, sector.r);
  return sectors;
}

std::vector<Sector> operator+(std::vector<Sector> sectors, const std::vector<Sector>& more) {
  sectors.insert(sectors.end(), more.begin(), more.end());
  return sectors;
}

Bytes prefix(const Bytes& bytes, std::size_t count) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

// Part of one fixture sector expected in a buffer: its first `count` bytes.
struct Piece {
  int track, r, count;
};

Bytes piecesOf(const std::vector<Piece>& pieces) {
  Bytes out;
  for (const Piece& piece : pieces) {
    const Bytes data = sectorData(piece.track, piece.r, static_cast<std::size_t>(piece.count));
    out.insert(out.end(), data.begin(), data.end());
  }
  return out;
}

// The C, H, R, N bytes of the first `count` sectors, as listSectorIds writes them.
Bytes idsOf(const std::vector<Sector>& sectors, std::size_t count) {
  Bytes out;
  for (std::size_t i = 0; i < count; ++i) {
    out.insert(out.end(), {sectors[i].c, sectors[i].h, sectors[i].r, sectors[i].n});
  }
  return out;
}

// The buffer starts with `expected`, and nothing was written after it.
void expectBuffer(const Bytes& buffer, const Bytes& expected) {
  ASSERT_LE(expected.size(), buffer.size());
  EXPECT_EQ(prefix(buffer, expected.size()), expected);
  EXPECT_EQ(Bytes(buffer.begin() + static_cast<std::ptrdiff_t>(expected.size()), buffer.end()),
            Bytes(buffer.size() - expected.size(), untouched));
}

// A D88 file written to a fresh folder and opened, with one image selected.
class SelectedImage {
 public:
  explicit SelectedImage(const Bytes& bytes, int index = 0) {
    folder_.write("disk.d88", bytes);
    ready_ = file_.open((folder_ / "disk.d88").string().c_str()) && file_.selectImage(index);
  }
  bool ready() const { return ready_; }
  d88::D88File& file() { return file_; }

 private:
  TempFolder folder_;
  d88::D88File file_;  // closed before the folder goes
  bool ready_ = false;
};

template <typename Case>
std::string labelOf(const testing::TestParamInfo<Case>& info) {
  return std::string(info.param.label);
}

// ---------------------------------------------------------------------------
// Finding the track.

struct TrackCase {
  const char* label;
  int track;
  int c, h, r;                                          // the identity asked for, N = 1
  std::optional<std::pair<int, std::uint32_t>> entry;   // a track-table entry set by hand
  std::optional<std::uint32_t> diskSize;                // the disk size set by hand
  int dataTrack;                                        // track whose sector 1 is read; -1: none
};
void PrintTo(const TrackCase& c, std::ostream* os) { *os << c.label; }

class TrackFinding : public testing::TestWithParam<TrackCase> {};

// Tracks 0, 5 and 163 are present; track 0 is stored first, at offset 688.
TEST_P(TrackFinding, FollowsTheTrackTableWithinTheDiskSize) {
  const TrackCase& c = GetParam();
  ImageBuilder image;
  image.track(0, dataTrack(0)).track(5, dataTrack(5)).track(163, dataTrack(163));
  if (c.entry) image.trackOffset(c.entry->first, c.entry->second);
  if (c.diskSize) image.diskSize(*c.diskSize);
  SelectedImage disk(image.build());
  ASSERT_TRUE(disk.ready());

  Bytes buffer(256 + 16, untouched);
  const int expected = c.dataTrack < 0 ? 0 : 256;
  EXPECT_EQ(disk.file().readSector(c.track, c.c, c.h, c.r, 1, buffer.data(), 256), expected);
  expectBuffer(buffer, c.dataTrack < 0 ? Bytes{} : sectorData(c.dataTrack, 1));
}

INSTANTIATE_TEST_SUITE_P(
    D88File, TrackFinding,
    testing::Values(
        TrackCase{"Track0", 0, 0, 0, 1, std::nullopt, std::nullopt, 0},
        TrackCase{"Track5", 5, 2, 1, 1, std::nullopt, std::nullopt, 5},
        TrackCase{"Track163", 163, 81, 1, 1, std::nullopt, std::nullopt, 163},
        TrackCase{"IndexMinusOne", -1, 0, 0, 1, std::nullopt, std::nullopt, -1},
        TrackCase{"Index164", 164, 82, 0, 1, std::nullopt, std::nullopt, -1},
        TrackCase{"IndexFarOut", 100000, 0, 0, 1, std::nullopt, std::nullopt, -1},
        TrackCase{"AbsentTrackHasEntryZero", 1, 0, 1, 1, std::nullopt, std::nullopt, -1},
        TrackCase{"EntrySetToZero", 5, 2, 1, 1, std::make_pair(5, 0u), std::nullopt, -1},
        // Track 5's entry pointed at track 0, the disk size set around it.
        TrackCase{"EntryEqualToDiskSizeAccepted", 5, 0, 0, 1, std::make_pair(5, 688u), 688u, 0},
        TrackCase{"EntryOneAboveDiskSize", 5, 0, 0, 1, std::make_pair(5, 688u), 687u, -1},
        TrackCase{"EntryFarAboveDiskSize", 5, 2, 1, 1, std::make_pair(5, 0x7FFFFFFFu), std::nullopt, -1},
        TrackCase{"EntryPastEndOfFileWithinDiskSize", 5, 2, 1, 1, std::make_pair(5, 0x00100000u),
                  0x00200000u, -1}),
    labelOf<TrackCase>);

// ---------------------------------------------------------------------------
// Offsets of 2^31 or more are unsigned 32-bit values: they point far past the
// end of the file and never back into it.

// The first image's name field is laid out as a sector header (2,1,1,1), 16
// sectors, 256 bytes of data, and track 0 right after the header holds that
// sector too: a negative offset treated as 0, or a failed seek that leaves
// the file where selectImage left it, would find a matching sector.
Bytes decoyImage(std::uint32_t trackEntry, std::optional<std::uint32_t> diskSize) {
  const std::string headerLikeName("\x02\x01\x01\x01\x10\x00\0\0\0\0\0\0\0\0\x00\x01", 16);
  ImageBuilder image;
  image.name(headerLikeName)
      .track(0, {sectorOf(2, 1, 1, 1, 16, sectorData(5, 1))})
      .trackOffset(5, trackEntry);
  if (diskSize) image.diskSize(*diskSize);
  return image.build();
}

struct LargeEntryCase {
  const char* label;
  std::uint32_t trackEntry;  // entry of track 5
  std::uint32_t diskSize;
};
void PrintTo(const LargeEntryCase& c, std::ostream* os) { *os << c.label; }

class LargeTrackEntry : public testing::TestWithParam<LargeEntryCase> {};

TEST_P(LargeTrackEntry, ReadsNothing) {
  const LargeEntryCase& c = GetParam();
  SelectedImage disk(decoyImage(c.trackEntry, c.diskSize));
  ASSERT_TRUE(disk.ready());
  EXPECT_EQ(disk.file().imageCount(), 1);

  Bytes buffer(512 + 16, untouched);
  EXPECT_EQ(disk.file().readSector(5, 2, 1, 1, 1, buffer.data(), 256), 0);
  EXPECT_EQ(disk.file().readSectors(5, 2, 1, 1, 1, buffer.data(), 512), 0);
  EXPECT_EQ(disk.file().listSectorIds(5, buffer.data(), 64), 0);
  expectBuffer(buffer, {});
  // The sector itself is there on track 0.
  EXPECT_EQ(disk.file().readSector(0, 2, 1, 1, 1, buffer.data(), 256), 256);
}

INSTANTIATE_TEST_SUITE_P(
    D88File, LargeTrackEntry,
    testing::Values(LargeEntryCase{"Entry80000000DiskSizeFFFFFFFF", 0x80000000u, 0xFFFFFFFFu},
                    LargeEntryCase{"EntryFFFFFFF0DiskSizeFFFFFFFF", 0xFFFFFFF0u, 0xFFFFFFFFu},
                    LargeEntryCase{"EntryFFFFFFFFDiskSizeFFFFFFFF", 0xFFFFFFFFu, 0xFFFFFFFFu},
                    LargeEntryCase{"EntryFFFFFD50DiskSizeFFFFFFFF", 0xFFFFFD50u, 0xFFFFFFFFu},
                    LargeEntryCase{"Entry80000000EqualToDiskSize", 0x80000000u, 0x80000000u},
                    LargeEntryCase{"EntryFFFFFFF0DiskSize80000000", 0xFFFFFFF0u, 0x80000000u}),
    labelOf<LargeEntryCase>);

// In a second image at offset S, an entry of 2^32 - S read as signed 32 bits
// would be -S and lead to offset 0, the first image's header, which is laid
// out as a matching sector header.
TEST(D88FileLargeOffsets, EntryOfSecondImageNeverWrapsToTheFileStart) {
  const Bytes first = decoyImage(0, std::nullopt);  // track 5 absent, disk size computed
  const auto start = static_cast<std::uint32_t>(first.size());
  ImageBuilder second;
  second.name("SECOND").track(0, dataTrack(0)).trackOffset(5, 0u - start).diskSize(0xFFFFFFFFu);
  SelectedImage disk(testsupport::joined({first, second.build()}), 1);
  ASSERT_TRUE(disk.ready());
  EXPECT_EQ(disk.file().imageCount(), 2);
  ASSERT_EQ(std::string(disk.file().diskName()), "SECOND");

  Bytes buffer(256 + 16, untouched);
  EXPECT_EQ(disk.file().readSector(5, 2, 1, 1, 1, buffer.data(), 256), 0);
  EXPECT_EQ(disk.file().listSectorIds(5, buffer.data(), 64), 0);
  expectBuffer(buffer, {});
  EXPECT_EQ(disk.file().readSector(0, 0, 0, 1, 1, buffer.data(), 256), 256);
}

// ---------------------------------------------------------------------------
// Scanning a track for one sector.

struct ScanCase {
  const char* label;
  std::vector<Sector> track;      // track index 0, the one read
  std::vector<Sector> nextTrack;  // track index 1, stored right after it; none if empty
  int c, h, r, n;                 // the identity asked for
  int length;
  Bytes expected;                 // the bytes read; their count is the result
};
void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.label; }

std::vector<ScanCase> scanCases() {
  const auto d = [](int r) { return sectorData(0, r); };
  const std::vector<Sector> zeroFirst = {sectorOf(0, 0, 1, 1, 0, d(1)), sectorOf(0, 0, 2, 1, 16, d(2))};
  const std::vector<Sector> zeroSecond = {sectorOf(0, 0, 1, 1, 16, d(1)), sectorOf(0, 0, 2, 1, 0, d(2)),
                                          sectorOf(0, 0, 3, 1, 16, d(3))};
  const std::vector<Sector> seventeen16 =
      dataTrack(0, 16) + std::vector<Sector>{sectorOf(0, 0, 17, 1, 16, d(17))};
  const std::vector<Sector> ownCount = {sectorOf(0, 0, 1, 1, 16, d(1)), sectorOf(0, 0, 2, 1, 2, d(2)),
                                        sectorOf(0, 0, 3, 1, 16, d(3))};
  const std::vector<Sector> twoOf16 = {sectorOf(0, 0, 1, 1, 16, d(1)), sectorOf(0, 0, 2, 1, 16, d(2))};
  const std::vector<Sector> duplicate = {sectorOf(0, 0, 1, 1, 16, d(1)),
                                         sectorOf(0, 0, 3, 1, 16, Bytes(256, 0xA1)),
                                         sectorOf(0, 0, 3, 1, 16, Bytes(256, 0xB2))};
  const std::vector<Sector> otherN = {sectorOf(0, 0, 1, 2, 16, sectorData(0, 9, 512)),
                                      sectorOf(0, 0, 1, 1, 16, d(1))};
  const std::vector<Sector> mixedSizes = {sectorOf(0, 0, 1, 1, 16, sectorData(0, 1, 100)),
                                          sectorOf(0, 0, 2, 1, 16, Bytes{}),
                                          sectorOf(0, 0, 3, 2, 16, sectorData(0, 3, 512)),
                                          sectorOf(0, 0, 4, 1, 16, d(4))};
  const std::vector<Sector> outOfOrder = {sectorOf(0, 0, 5, 1, 3, d(5)), sectorOf(0, 0, 3, 1, 3, d(3)),
                                          sectorOf(0, 0, 1, 1, 3, d(1))};
  const std::vector<Sector> one = {sectorOf(0, 0, 1, 1, 16, d(1))};
  const std::vector<Sector> short128 = {sectorOf(0, 0, 1, 1, 16, sectorData(0, 1, 128))};
  const std::vector<Sector> empty = {sectorOf(0, 0, 1, 1, 16, Bytes{}), sectorOf(0, 0, 2, 1, 16, d(2))};
  const std::vector<Sector> highIds = {sectorOf(0xFF, 0xFE, 0xFD, 3, 16, sectorData(0, 7, 1024))};
  // Data sizes up to the 16-bit maximum, larger than any real sector.
  const std::vector<Sector> huge = {sectorOf(0, 0, 1, 1, 16, sectorData(0, 1, 40000)),
                                    sectorOf(0, 0, 2, 7, 16, sectorData(0, 2, 65535))};
  const std::vector<Sector> none;
  return {
      {"FirstHeaderCountZeroNeverMatched", zeroFirst, none, 0, 0, 1, 1, 256, {}},
      {"FirstHeaderCountZeroEndsTheScan", zeroFirst, none, 0, 0, 2, 1, 256, {}},
      {"LaterHeaderCountZeroNeverMatched", zeroSecond, none, 0, 0, 2, 1, 256, {}},
      {"LaterHeaderCountZeroEndsTheScan", zeroSecond, none, 0, 0, 3, 1, 256, {}},
      {"HeaderBeforeCountZeroFound", zeroSecond, none, 0, 0, 1, 1, 256, d(1)},
      {"SeventeenthHeaderOfCount16NotFound", seventeen16, none, 0, 0, 17, 1, 256, {}},
      {"SixteenthHeaderOfCount16Found", seventeen16, none, 0, 0, 16, 1, 256, d(16)},
      {"SeventeenthHeaderOfCount17Found", dataTrack(0, 17), none, 0, 0, 17, 1, 256, d(17)},
      {"EachHeadersOwnCountBoundsTheScan", ownCount, none, 0, 0, 3, 1, 256, {}},
      {"ScanGoesOnIntoTheNextTrackUpToTheCount", twoOf16, dataTrack(1), 0, 1, 1, 1, 256, sectorData(1, 1)},
      {"EndOfFileEndsTheScan", twoOf16, none, 0, 0, 3, 1, 256, {}},
      {"DuplicateIdentityFirstWins", duplicate, none, 0, 0, 3, 1, 256, Bytes(256, 0xA1)},
      {"IdentityMustMatchN", {otherN[0]}, none, 0, 0, 1, 1, 256, {}},
      {"OtherNSkippedForMatchingN", otherN, none, 0, 0, 1, 1, 256, d(1)},
      {"IdentityMustMatchC", {sectorOf(1, 0, 1, 1, 16, d(1))}, none, 0, 0, 1, 1, 256, {}},
      {"IdentityMustMatchH", {sectorOf(0, 1, 1, 1, 16, d(1))}, none, 0, 0, 1, 1, 256, {}},
      {"IdentityMustMatchR", one, none, 0, 0, 2, 1, 256, {}},
      {"SectorsInAnyOrder", outOfOrder, none, 0, 0, 1, 1, 256, d(1)},
      {"EachHeadersDataSizeIsSkipped", mixedSizes, none, 0, 0, 4, 1, 256, d(4)},
      {"IdentityBytesUnsigned", highIds, none, 0xFF, 0xFE, 0xFD, 3, 1024, sectorData(0, 7, 1024)},
      {"DataSizeOf65535AfterOneOf40000", huge, none, 0, 0, 2, 7, 65535, sectorData(0, 2, 65535)},
      {"LengthSmallerThanDataSize", one, none, 0, 0, 1, 1, 100, sectorData(0, 1, 100)},
      {"LengthLargerThanDataSize", short128, none, 0, 0, 1, 1, 256, sectorData(0, 1, 128)},
      {"LengthZero", one, none, 0, 0, 1, 1, 0, {}},
      {"MatchWithDataSizeZero", empty, none, 0, 0, 1, 1, 256, {}},
  };
}

class SectorScan : public testing::TestWithParam<ScanCase> {};

TEST_P(SectorScan, ReadsTheFirstMatchingSectorWithinTheCount) {
  const ScanCase& c = GetParam();
  ImageBuilder image;
  image.track(0, c.track);
  if (!c.nextTrack.empty()) image.track(1, c.nextTrack);
  SelectedImage disk(image.build());
  ASSERT_TRUE(disk.ready());

  Bytes buffer(static_cast<std::size_t>(c.length) + 32, untouched);
  EXPECT_EQ(disk.file().readSector(0, c.c, c.h, c.r, c.n, buffer.data(), c.length),
            static_cast<int>(c.expected.size()));
  expectBuffer(buffer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(D88File, SectorScan, testing::ValuesIn(scanCases()), labelOf<ScanCase>);

TEST(D88FileSectorReads, EveryReadStartsAgainAtTheTrackStart) {
  SelectedImage disk(ImageBuilder().track(0, dataTrack(0)).build());
  ASSERT_TRUE(disk.ready());
  for (const int r : {5, 2, 5, 16, 1}) {
    SCOPED_TRACE("R = " + std::to_string(r));
    Bytes buffer(256, untouched);
    EXPECT_EQ(disk.file().readSector(0, 0, 0, r, 1, buffer.data(), 256), 256);
    EXPECT_EQ(buffer, sectorData(0, r));
  }
}

// ---------------------------------------------------------------------------
// A sector whose data runs past the end of the file reads short: the result
// is the number of bytes the file delivered, not the number meant.

struct CutCase {
  const char* label;
  int kept;      // bytes of sector 16's data left in the file; negative: cut into its header
  bool run;      // readSectors; otherwise readSector
  int r;         // first sector read, on track 0
  int length;
  int expected;  // the result
  std::vector<Piece> inBuffer;  // what the buffer holds, which may go past the result
};
void PrintTo(const CutCase& c, std::ostream* os) { *os << c.label; }

class CutOffSector : public testing::TestWithParam<CutCase> {};

TEST_P(CutOffSector, CountsOnlyTheBytesTheFileDelivers) {
  const CutCase& c = GetParam();
  const Bytes whole = ImageBuilder().track(0, dataTrack(0)).build();
  const int sector16Data = headerBytes + 15 * (sectorHeaderBytes + 256) + sectorHeaderBytes;
  SelectedImage disk(prefix(whole, static_cast<std::size_t>(sector16Data + c.kept)));
  ASSERT_TRUE(disk.ready());

  Bytes buffer(static_cast<std::size_t>(c.length) + 32, untouched);
  d88::D88File& file = disk.file();
  const int result = c.run ? file.readSectors(0, 0, 0, c.r, 1, buffer.data(), c.length)
                           : file.readSector(0, 0, 0, c.r, 1, buffer.data(), c.length);
  EXPECT_EQ(result, c.expected);
  expectBuffer(buffer, piecesOf(c.inBuffer));
}

INSTANTIATE_TEST_SUITE_P(
    D88File, CutOffSector,
    testing::Values(
        CutCase{"HundredBytesLeftOf256", 100, false, 16, 256, 100, {{0, 16, 100}}},
        CutCase{"AskedFewerThanLeft", 100, false, 16, 50, 50, {{0, 16, 50}}},
        CutCase{"AskedExactlyWhatIsLeft", 100, false, 16, 100, 100, {{0, 16, 100}}},
        CutCase{"NoDataLeft", 0, false, 16, 256, 0, {}},
        CutCase{"HeaderCutShort", -8, false, 16, 256, 0, {}},
        CutCase{"EarlierSectorWhole", 100, false, 15, 256, 256, {{0, 15, 256}}},
        CutCase{"RunStopsAtTheCutSector", 100, true, 14, 3 * 256, 512,
                {{0, 14, 256}, {0, 15, 256}, {0, 16, 100}}},
        CutCase{"RunsLastChunkFitsWhatIsLeft", 100, true, 14, 512 + 100, 612,
                {{0, 14, 256}, {0, 15, 256}, {0, 16, 100}}},
        CutCase{"RunsLastChunkOneByteTooLong", 100, true, 14, 512 + 101, 512,
                {{0, 14, 256}, {0, 15, 256}, {0, 16, 100}}}),
    labelOf<CutCase>);

// ---------------------------------------------------------------------------
// Runs of sectors.

struct TrackSector {
  int track, r;
};

struct RunCase {
  const char* label;
  std::optional<std::pair<int, int>> range;  // setSectorRange; the default 1..16 if none
  int track, c, h, r, n;                      // where the run starts
  int length;
  std::optional<TrackSector> removed;         // a sector taken out of the image
  std::optional<TrackSector> shortened;       // a sector cut to 128 bytes of data
  int expected;
  std::vector<Piece> inBuffer;                // what the buffer holds, which may go past the result
};
void PrintTo(const RunCase& c, std::ostream* os) { *os << c.label; }

class SectorRun : public testing::TestWithParam<RunCase> {};

// Tracks 0 to 7 (C = track / 2, H = track % 2), each of sectors 1..16.
TEST_P(SectorRun, ReadsWholeChunksAcrossTracks) {
  const RunCase& c = GetParam();
  ImageBuilder image;
  for (int t = 0; t < 8; ++t) image.track(t, dataTrack(t));
  if (c.removed) {
    std::vector<Sector>& sectors = image.sectors(c.removed->track);
    sectors.erase(sectors.begin() + (c.removed->r - 1));
  }
  if (c.shortened) {
    image.sectors(c.shortened->track)[static_cast<std::size_t>(c.shortened->r - 1)].data.resize(128);
  }
  SelectedImage disk(image.build());
  ASSERT_TRUE(disk.ready());
  if (c.range) disk.file().setSectorRange(c.range->first, c.range->second);

  Bytes buffer(static_cast<std::size_t>(c.length) + 32, untouched);
  EXPECT_EQ(disk.file().readSectors(c.track, c.c, c.h, c.r, c.n, buffer.data(), c.length), c.expected);
  expectBuffer(buffer, piecesOf(c.inBuffer));
}

std::vector<Piece> wholeSectors(const std::vector<TrackSector>& sectors) {
  std::vector<Piece> pieces;
  for (const TrackSector& s : sectors) pieces.push_back({s.track, s.r, 256});
  return pieces;
}

const std::pair<int, int> oneTo16{1, 16};
constexpr std::nullopt_t intact = std::nullopt;  // no sector removed or shortened

// Each case: label, range, start track/C/H/R/N, length; removed, shortened,
// result, buffer contents.
INSTANTIATE_TEST_SUITE_P(
    D88File, SectorRun,
    testing::Values(
        RunCase{"LengthZero", oneTo16, 0, 0, 0, 1, 1, 0,
                intact, intact, 0, {}},
        RunCase{"OneSector", oneTo16, 0, 0, 0, 1, 1, 256,
                intact, intact, 256, {{0, 1, 256}}},
        RunCase{"ThreeHundredBytesLastChunkClipped", oneTo16, 0, 0, 0, 1, 1, 300,
                intact, intact, 300, {{0, 1, 256}, {0, 2, 44}}},
        RunCase{"FiveSectorsFromC2H1R14MoveOnToC3H0", oneTo16, 5, 2, 1, 14, 1, 5 * 256,
                intact, intact, 5 * 256, wholeSectors({{5, 14}, {5, 15}, {5, 16}, {6, 1}, {6, 2}})},
        RunCase{"DefaultRangeIsOneTo16", std::nullopt, 5, 2, 1, 14, 1, 5 * 256,
                intact, intact, 5 * 256, wholeSectors({{5, 14}, {5, 15}, {5, 16}, {6, 1}, {6, 2}})},
        RunCase{"HeadZeroMovesToHeadOneSameCylinder", oneTo16, 4, 2, 0, 16, 1, 2 * 256,
                intact, intact, 2 * 256, wholeSectors({{4, 16}, {5, 1}})},
        RunCase{"RangeOneToEight", std::make_pair(1, 8), 0, 0, 0, 7, 1, 4 * 256,
                intact, intact, 4 * 256, wholeSectors({{0, 7}, {0, 8}, {1, 1}, {1, 2}})},
        RunCase{"RangeThreeTo16", std::make_pair(3, 16), 0, 0, 0, 16, 1, 2 * 256,
                intact, intact, 2 * 256, wholeSectors({{0, 16}, {1, 3}})},
        // Above lastSector R only counts up, on the same track, until a sector is missing.
        RunCase{"StartAboveLastSector", std::make_pair(1, 8), 0, 0, 0, 9, 1, 16 * 256,
                intact, intact, 8 * 256,
                wholeSectors({{0, 9}, {0, 10}, {0, 11}, {0, 12}, {0, 13}, {0, 14}, {0, 15}, {0, 16}})},
        RunCase{"MissingSectorMidRun", oneTo16, 0, 0, 0, 1, 1, 4 * 256,
                TrackSector{0, 3}, intact, 512, wholeSectors({{0, 1}, {0, 2}})},
        RunCase{"MissingSectorOnTheNextTrack", oneTo16, 5, 2, 1, 15, 1, 4 * 256,
                TrackSector{6, 1}, intact, 512, wholeSectors({{5, 15}, {5, 16}})},
        RunCase{"RunStopsAtTheLastTrackOfTheImage", oneTo16, 7, 3, 1, 15, 1, 4 * 256,
                intact, intact, 512, wholeSectors({{7, 15}, {7, 16}})},
        // The short chunk's bytes are in the buffer but not in the result.
        RunCase{"ShortSectorStopsTheRun", oneTo16, 0, 0, 0, 1, 1, 3 * 256,
                intact, TrackSector{0, 2}, 256, {{0, 1, 256}, {0, 2, 128}}},
        RunCase{"ShortFirstSector", oneTo16, 0, 0, 0, 1, 1, 256,
                intact, TrackSector{0, 1}, 0, {{0, 1, 128}}},
        RunCase{"ShortSectorCoversTheClippedLastChunk", oneTo16, 0, 0, 0, 1, 1, 256 + 100,
                intact, TrackSector{0, 2}, 356, {{0, 1, 256}, {0, 2, 100}}},
        RunCase{"OtherSizeCodeNotFound", oneTo16, 0, 0, 0, 1, 0, 256,
                intact, intact, 0, {}}),
    labelOf<RunCase>);

// ---------------------------------------------------------------------------
// An image several times larger than the window of the file that the image
// stream keeps in memory: tracks and sectors straddle the window's edges, and
// reads go back to positions before the window.

constexpr int largeTracks = 48;  // 48 tracks of 16 sectors: about 205 KiB

ImageBuilder largeImage() {
  ImageBuilder image;
  for (int t = 0; t < largeTracks; ++t) image.track(t, dataTrack(t));
  return image;
}

TEST(D88FileLargeImage, OneRunReadsEveryTrack) {
  SelectedImage disk(largeImage().build());
  ASSERT_TRUE(disk.ready());
  std::vector<Piece> all;
  for (int t = 0; t < largeTracks; ++t) {
    for (int r = 1; r <= 16; ++r) all.push_back({t, r, 256});
  }
  const int length = largeTracks * 16 * 256;
  Bytes buffer(static_cast<std::size_t>(length) + 32, untouched);
  EXPECT_EQ(disk.file().readSectors(0, 0, 0, 1, 1, buffer.data(), length), length);
  expectBuffer(buffer, piecesOf(all));
}

// One sector read alone, checked for its result and every byte it placed.
void expectSector(d88::D88File& file, int t, int r) {
  Bytes buffer(256 + 32, untouched);
  ASSERT_EQ(file.readSector(t, t / 2, t % 2, r, 1, buffer.data(), 256), 256) << "track " << t << " R " << r;
  expectBuffer(buffer, sectorData(t, r));
}

TEST(D88FileLargeImage, SectorsReadOneByOneForwardsAndBackwards) {
  SelectedImage disk(largeImage().build());
  ASSERT_TRUE(disk.ready());
  for (int t = 0; t < largeTracks; ++t) {
    for (int r = 1; r <= 16; ++r) ASSERT_NO_FATAL_FAILURE(expectSector(disk.file(), t, r));
  }
  for (int t = largeTracks - 1; t >= 0; --t) {
    for (int r = 16; r >= 1; --r) ASSERT_NO_FATAL_FAILURE(expectSector(disk.file(), t, r));
  }
}

TEST(D88FileLargeImage, TracksListedFromBothEnds) {
  SelectedImage disk(largeImage().build());
  ASSERT_TRUE(disk.ready());
  const std::vector<Sector> last = dataTrack(largeTracks - 1);
  const std::vector<Sector> first = dataTrack(0);
  for (const auto& [track, sectors] : {std::make_pair(largeTracks - 1, last), std::make_pair(0, first),
                                       std::make_pair(largeTracks - 1, last)}) {
    Bytes ids(64, untouched);
    EXPECT_EQ(disk.file().listSectorIds(track, ids.data(), 64), 64) << "track " << track;
    EXPECT_EQ(ids, idsOf(sectors, 16)) << "track " << track;
  }
}

TEST(D88FileLargeImage, SectorCutOffByTheEndOfTheFileReadsShort) {
  const Bytes whole = largeImage().build();
  SelectedImage disk(prefix(whole, whole.size() - 156));  // sector 16 of the last track keeps 100 bytes
  ASSERT_TRUE(disk.ready());
  const int t = largeTracks - 1;
  Bytes buffer(256 + 32, untouched);
  EXPECT_EQ(disk.file().readSector(t, t / 2, t % 2, 16, 1, buffer.data(), 256), 100);
  expectBuffer(buffer, sectorData(t, 16, 100));

  std::vector<Piece> run;
  for (int r = 1; r <= 16; ++r) run.push_back({t - 1, r, 256});
  for (int r = 1; r <= 15; ++r) run.push_back({t, r, 256});
  run.push_back({t, 16, 100});
  Bytes runBuffer(32 * 256 + 32, untouched);
  const int u = t - 1;
  EXPECT_EQ(disk.file().readSectors(u, u / 2, u % 2, 1, 1, runBuffer.data(), 32 * 256), 31 * 256);
  expectBuffer(runBuffer, piecesOf(run));
}

// ---------------------------------------------------------------------------
// Listing a track's sector identities.

struct ListCase {
  const char* label;
  std::vector<Sector> track;      // track index 0
  std::vector<Sector> nextTrack;  // track index 1, stored right after it; none if empty
  int trackIndex;                 // the track listed
  int length;
  Bytes expected;                 // the identities written; their count is the result
};
void PrintTo(const ListCase& c, std::ostream* os) { *os << c.label; }

std::vector<ListCase> listCases() {
  const std::vector<Sector> full = dataTrack(0);
  const std::vector<Sector> next = dataTrack(1);
  std::vector<Sector> zeroCounts = dataTrack(0, 3);
  for (Sector& sector : zeroCounts) sector.sectorCount = 0;
  std::vector<Sector> zeroCounts16 = dataTrack(0, 16);
  for (Sector& sector : zeroCounts16) sector.sectorCount = 0;
  const std::vector<Sector> twoZero = {zeroCounts[0], zeroCounts[1]};
  const std::vector<Sector> stored = {sectorOf(0, 0, 3, 1, 3, sectorData(0, 3)),
                                      sectorOf(5, 1, 9, 2, 3, sectorData(0, 9, 512)),
                                      sectorOf(0xFF, 0, 1, 0, 3, sectorData(0, 1, 128))};
  const std::vector<Sector> ownCount = {sectorOf(0, 0, 1, 1, 16, sectorData(0, 1)),
                                        sectorOf(0, 0, 2, 1, 2, sectorData(0, 2)),
                                        sectorOf(0, 0, 3, 1, 16, sectorData(0, 3))};
  const std::vector<Sector> none;
  return {
      {"TenByteBufferOnSixteenSectors", full, next, 0, 10, idsOf(full, 2)},
      {"ThreeByteBuffer", full, next, 0, 3, {}},
      {"FourByteBuffer", full, next, 0, 4, idsOf(full, 1)},
      {"BufferOfExactlySixteenIds", full, next, 0, 64, idsOf(full, 16)},
      {"LargerBufferStopsAtTheCount", full, next, 0, 200, idsOf(full, 16)},
      {"SecondTrack", full, next, 1, 200, idsOf(next, 16)},
      {"StoredOrderAndIdentityBytesAsStored", stored, next, 0, 200, idsOf(stored, 3)},
      {"EachHeadersOwnCountStops", ownCount, next, 0, 200, idsOf(ownCount, 2)},
      // Sector counts of 0 do not end a listing.
      {"CountZeroStillListedToEndOfFile", zeroCounts, none, 0, 200, idsOf(zeroCounts, 3)},
      {"CountZeroListedUntilBufferFull", zeroCounts16, next, 0, 40, idsOf(zeroCounts16, 10)},
      {"CountZeroListingGoesOnIntoTheNextTrack", twoZero, next, 0, 200,
       testsupport::joined({idsOf(twoZero, 2), idsOf(next, 14)})},
      {"AbsentTrack", full, none, 1, 200, {}},
      {"IndexMinusOne", full, next, -1, 200, {}},
      {"Index164", full, next, 164, 200, {}},
  };
}

class SectorIdListing : public testing::TestWithParam<ListCase> {};

TEST_P(SectorIdListing, WritesCHRNOfEachHeaderInStoredOrder) {
  const ListCase& c = GetParam();
  ImageBuilder image;
  image.track(0, c.track);
  if (!c.nextTrack.empty()) image.track(1, c.nextTrack);
  SelectedImage disk(image.build());
  ASSERT_TRUE(disk.ready());

  Bytes buffer(static_cast<std::size_t>(c.length) + 16, untouched);
  EXPECT_EQ(disk.file().listSectorIds(c.trackIndex, buffer.data(), c.length),
            static_cast<int>(c.expected.size()));
  expectBuffer(buffer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(D88File, SectorIdListing, testing::ValuesIn(listCases()), labelOf<ListCase>);

}  // namespace
