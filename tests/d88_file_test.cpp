// D88File at the file level: open and close, the walk that
// indexes the images stored back to back, selection of one image, its media
// byte and its disk name, and the rule that no sector can be read while no
// image is selected. Every D88 file is built byte by byte with the raw level
// of the test builder, written to a fresh folder and opened by its path.
#include "d88/d88_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/d88_builder.h"
#include "tests/support/tool_run.h"

namespace {
namespace fs = std::filesystem;

using testsupport::Bytes;
using testsupport::ImageBuilder;
using testsupport::Sector;
using testsupport::TempFolder;
using testsupport::joined;

constexpr std::size_t headerBytes = 688;
constexpr std::uint8_t untouched = 0xEE;  // what a buffer holds where nothing was written

std::string tagName(int number) { return "IMG" + std::to_string(number); }

// An image that tells itself apart from the others: named "IMG<number>", with
// the number as its media byte and track 0 holding one sector (0,0,1,1) of
// 256 bytes of the number. `extra` trailing bytes vary the images' sizes.
ImageBuilder taggedImage(int number, std::size_t extra = 0) {
  Sector sector;
  sector.c = 0;
  sector.h = 0;
  sector.r = 1;
  sector.n = 1;
  sector.sectorCount = 1;
  sector.data.assign(256, static_cast<std::uint8_t>(number));
  ImageBuilder image;
  image.name(tagName(number)).media(static_cast<std::uint8_t>(number)).track(0, {sector});
  if (extra > 0) image.trailer(Bytes(extra, 0xE5));
  return image;
}

// `count` tagged images back to back, each 16 bytes longer than the one before.
Bytes taggedImages(int count) {
  std::vector<Bytes> parts;
  for (int i = 0; i < count; ++i) parts.push_back(taggedImage(i, 16 * static_cast<std::size_t>(i)).build());
  return joined(parts);
}

Bytes prefix(const Bytes& bytes, std::size_t count) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

std::vector<std::string> tagNames(int from, int to) {  // IMG<from> .. IMG<to - 1>
  std::vector<std::string> names;
  for (int i = from; i < to; ++i) names.push_back(tagName(i));
  return names;
}

std::vector<std::string> operator+(std::vector<std::string> names,
                                   const std::vector<std::string>& more) {
  names.insert(names.end(), more.begin(), more.end());
  return names;
}

std::vector<std::string> repeated(const std::string& name, int count) {
  return std::vector<std::string>(static_cast<std::size_t>(count), name);
}

std::string writeD88(const TempFolder& folder, const Bytes& bytes) {
  folder.write("disk.d88", bytes);
  return (folder / "disk.d88").string();
}

// Every read of the disk-access layer fails and leaves the buffer as it was.
void expectNoSectorReads(d88::D88File& file) {
  Bytes buffer(300, untouched);
  EXPECT_EQ(file.readSector(0, 0, 0, 1, 1, buffer.data(), 256), 0);
  EXPECT_EQ(file.readSectors(0, 0, 0, 1, 1, buffer.data(), 256), 0);
  EXPECT_EQ(file.listSectorIds(0, buffer.data(), 64), 0);
  EXPECT_EQ(buffer, Bytes(300, untouched));
}

void expectNothingSelected(d88::D88File& file) {
  EXPECT_EQ(file.mediaType(), -1);
  EXPECT_EQ(std::string(file.diskName()), "");
  expectNoSectorReads(file);
}

// ---------------------------------------------------------------------------
// The image index walk.

struct IndexCase {
  const char* label;
  Bytes file;
  std::vector<std::string> names;  // diskName of every indexed image, in index order
};
void PrintTo(const IndexCase& c, std::ostream* os) { *os << c.label; }

std::vector<IndexCase> indexCases() {
  const Bytes three = taggedImages(3);
  const Bytes first = taggedImage(0).build();
  const Bytes second = taggedImage(1).build();
  const Bytes third = taggedImage(2).build();
  const auto firstSize = static_cast<std::uint32_t>(first.size());
  return {
      {"ThreeImagesBackToBack", three, tagNames(0, 3)},
      {"TrailingHundredBytesIgnored", joined({three, Bytes(100, 0x41)}), tagNames(0, 3)},
      {"Trailing687BytesIgnored", joined({three, Bytes(687, 0x41)}), tagNames(0, 3)},
      // A whole trailing header of zero bytes is an image of disk size 0,
      // indexed again and again until 64 entries exist.
      {"TrailingZeroHeaderRepeatsToSixtyFour", joined({three, Bytes(headerBytes, 0)}),
       tagNames(0, 3) + repeated("", 61)},
      {"SeventyImagesGiveSixtyFour", taggedImages(70), tagNames(0, 64)},
      {"FirstDiskSizeZeroGivesSixtyFourAtOffsetZero",
       joined({taggedImage(0).diskSize(0).build(), second}), repeated(tagName(0), 64)},
      {"SecondDiskSizeZeroRepeatsTheSecond",
       joined({first, taggedImage(1).diskSize(0).build(), third}),
       tagNames(0, 1) + repeated(tagName(1), 63)},
      {"DiskSizePastEndOfFileEndsTheWalk",
       joined({first, taggedImage(1).diskSize(static_cast<std::uint32_t>(second.size()) + 5000).build(),
               third}),
       tagNames(0, 2)},
      {"ImageCutShortAfterItsHeaderStillCounts",
       joined({first, prefix(second, headerBytes + 10)}), tagNames(0, 2)},
      {"EmptyFile", Bytes{}, {}},
      {"ShorterThanOneHeader", prefix(first, headerBytes - 1), {}},
      {"HeaderOnly", ImageBuilder().name("ONLY").build(), {"ONLY"}},
      {"OneByteLessThanTwoHeaders",
       joined({ImageBuilder().name("ONLY").build(), Bytes(687, 0)}), {"ONLY"}},
      // Disk sizes of 2^31 or more are unsigned: the next offset lies far past
      // the end of the file instead of before the first image.
      {"DiskSizeFFFFFFFFIndexesOneImage",
       joined({taggedImage(0).diskSize(0xFFFFFFFFu).build(), second}), tagNames(0, 1)},
      {"DiskSize80000000IndexesOneImage",
       joined({taggedImage(0).diskSize(0x80000000u).build(), second}), tagNames(0, 1)},
      {"DiskSizeFFFFFD50IndexesOneImage",
       joined({taggedImage(0).diskSize(0xFFFFFD50u).build(), second}), tagNames(0, 1)},
      // Read as signed 32 bits, this second disk size would be -firstSize and
      // lead the walk back to offset 0 over and over.
      {"SecondDiskSizeWouldWrapToTheStart",
       joined({first, taggedImage(1).diskSize(0u - firstSize).build(), third}),
       tagNames(0, 2)},
  };
}

class ImageIndexWalk : public testing::TestWithParam<IndexCase> {};

TEST_P(ImageIndexWalk, IndexesEveryWholeHeaderInFileOrder) {
  const IndexCase& c = GetParam();
  TempFolder folder;
  d88::D88File file;
  ASSERT_TRUE(file.open(writeD88(folder, c.file).c_str()));
  ASSERT_EQ(file.imageCount(), static_cast<int>(c.names.size()));
  for (std::size_t i = 0; i < c.names.size(); ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    EXPECT_TRUE(file.selectImage(static_cast<int>(i)));
    EXPECT_EQ(std::string(file.diskName()), c.names[i]);
  }
  EXPECT_FALSE(file.selectImage(static_cast<int>(c.names.size())));
}

INSTANTIATE_TEST_SUITE_P(D88File, ImageIndexWalk, testing::ValuesIn(indexCases()),
                         [](const testing::TestParamInfo<IndexCase>& caseInfo) {
                           return std::string(caseInfo.param.label);
                         });

// Each image's track table counts from that image's own first byte.
TEST(D88FileImages, TracksOfEachImageCountFromItsOwnStart) {
  TempFolder folder;
  d88::D88File file;
  ASSERT_TRUE(file.open(writeD88(folder, taggedImages(3)).c_str()));
  ASSERT_EQ(file.imageCount(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    ASSERT_TRUE(file.selectImage(i));
    EXPECT_EQ(file.mediaType(), i);
    Bytes buffer(256, untouched);
    EXPECT_EQ(file.readSector(0, 0, 0, 1, 1, buffer.data(), 256), 256);
    EXPECT_EQ(buffer, Bytes(256, static_cast<std::uint8_t>(i)));
  }
}

// ---------------------------------------------------------------------------
// Opening and closing.

TEST(D88FileState, NewObjectHoldsNothing) {
  d88::D88File file;
  EXPECT_EQ(file.imageCount(), 0);
  EXPECT_FALSE(file.selectImage(0));
  expectNothingSelected(file);
}

struct OpenFailureCase {
  const char* label;
  bool folderAtPath;  // a folder stands at the path; otherwise nothing does
};
void PrintTo(const OpenFailureCase& c, std::ostream* os) { *os << c.label; }

class OpenFailure : public testing::TestWithParam<OpenFailureCase> {};

TEST_P(OpenFailure, OpenAnswersFalseAndNothingCanBeSelected) {
  TempFolder folder;
  const fs::path path = folder / "disk.d88";
  if (GetParam().folderAtPath) fs::create_directory(path);
  d88::D88File file;
  EXPECT_FALSE(file.open(path.string().c_str()));
  EXPECT_EQ(file.imageCount(), 0);
  EXPECT_FALSE(file.selectImage(0));
  expectNothingSelected(file);
}

INSTANTIATE_TEST_SUITE_P(D88File, OpenFailure,
                         testing::Values(OpenFailureCase{"MissingFile", false},
                                         OpenFailureCase{"FolderGivenAsPath", true}),
                         [](const testing::TestParamInfo<OpenFailureCase>& caseInfo) {
                           return std::string(caseInfo.param.label);
                         });

TEST(D88FileState, FailedOpenAfterAnOpenFileLeavesItClosed) {
  TempFolder folder;
  d88::D88File file;
  ASSERT_TRUE(file.open(writeD88(folder, taggedImages(2)).c_str()));
  ASSERT_TRUE(file.selectImage(1));
  EXPECT_FALSE(file.open((folder / "missing.d88").string().c_str()));
  EXPECT_FALSE(file.selectImage(0));
  expectNothingSelected(file);
}

TEST(D88FileState, OpenWithoutPathClosesAndAnswersTrue) {
  TempFolder folder;
  d88::D88File file;
  ASSERT_TRUE(file.open(writeD88(folder, taggedImages(2)).c_str()));
  ASSERT_TRUE(file.selectImage(0));
  EXPECT_TRUE(file.open(nullptr));
  EXPECT_EQ(file.imageCount(), 0);
  EXPECT_FALSE(file.selectImage(0));
  expectNothingSelected(file);
}

TEST(D88FileState, CloseEndsTheSelectionAndTheIndex) {
  TempFolder folder;
  d88::D88File file;
  ASSERT_TRUE(file.open(writeD88(folder, taggedImages(3)).c_str()));
  ASSERT_TRUE(file.selectImage(2));
  ASSERT_EQ(file.mediaType(), 2);
  file.close();
  EXPECT_EQ(file.imageCount(), 0);
  expectNothingSelected(file);
  EXPECT_FALSE(file.selectImage(0));
  file.close();  // closing twice is harmless
  EXPECT_EQ(file.imageCount(), 0);
}

TEST(D88FileState, OpeningAnotherFileReplacesTheIndex) {
  TempFolder folder;
  folder.write("three.d88", taggedImages(3));
  folder.write("one.d88", ImageBuilder().name("OTHER").media(0x20).build());
  d88::D88File file;
  ASSERT_TRUE(file.open((folder / "three.d88").string().c_str()));
  ASSERT_TRUE(file.selectImage(2));
  ASSERT_TRUE(file.open((folder / "one.d88").string().c_str()));
  EXPECT_EQ(file.imageCount(), 1);
  expectNothingSelected(file);
  ASSERT_TRUE(file.selectImage(0));
  EXPECT_EQ(std::string(file.diskName()), "OTHER");
  EXPECT_EQ(file.mediaType(), 0x20);
  EXPECT_FALSE(file.selectImage(1));
}

// ---------------------------------------------------------------------------
// Selection.

TEST(D88FileSelection, ReadsBeforeAnySelectionFail) {
  TempFolder folder;
  d88::D88File file;
  ASSERT_TRUE(file.open(writeD88(folder, taggedImages(1)).c_str()));
  ASSERT_EQ(file.imageCount(), 1);
  expectNothingSelected(file);
  // The same reads succeed once the image is selected.
  ASSERT_TRUE(file.selectImage(0));
  Bytes buffer(256, untouched);
  EXPECT_EQ(file.readSector(0, 0, 0, 1, 1, buffer.data(), 256), 256);
  EXPECT_EQ(file.listSectorIds(0, buffer.data(), 64), 4);
}

class BadImageIndex : public testing::TestWithParam<int> {};

TEST_P(BadImageIndex, LeavesNoImageSelected) {
  TempFolder folder;
  d88::D88File file;
  ASSERT_TRUE(file.open(writeD88(folder, taggedImages(3)).c_str()));
  ASSERT_EQ(file.imageCount(), 3);
  ASSERT_TRUE(file.selectImage(1));
  ASSERT_EQ(file.mediaType(), 1);

  EXPECT_FALSE(file.selectImage(GetParam()));
  expectNothingSelected(file);
  // A good index selects again.
  EXPECT_TRUE(file.selectImage(2));
  EXPECT_EQ(std::string(file.diskName()), tagName(2));
  EXPECT_EQ(file.mediaType(), 2);
}

INSTANTIATE_TEST_SUITE_P(D88File, BadImageIndex, testing::Values(-1, 3, 4, 64, INT_MIN, INT_MAX),
                         [](const testing::TestParamInfo<int>& caseInfo) {
                           const int index = caseInfo.param;
                           return index < 0 ? "Minus" + std::to_string(-static_cast<long long>(index))
                                            : "Index" + std::to_string(index);
                         });

// selectImage reads the header from the file again, so a file that shrank
// after it was indexed fails the selection like a bad index, whichever image
// was selected before the file shrank (and so whatever the stream still holds
// in memory).
class ShrunkFile : public testing::TestWithParam<int> {};

TEST_P(ShrunkFile, HeaderGoneSinceOpenFailsTheSelection) {
  TempFolder folder;
  d88::D88File file;
  const std::string path = writeD88(folder, taggedImages(3));
  ASSERT_TRUE(file.open(path.c_str()));
  ASSERT_EQ(file.imageCount(), 3);
  ASSERT_TRUE(file.selectImage(GetParam()));
  fs::resize_file(path, taggedImage(0).build().size() + 100);  // image 1 keeps 100 bytes
  EXPECT_FALSE(file.selectImage(1));
  expectNothingSelected(file);
  EXPECT_TRUE(file.selectImage(0));
  EXPECT_EQ(std::string(file.diskName()), tagName(0));
}

INSTANTIATE_TEST_SUITE_P(D88File, ShrunkFile, testing::Values(0, 2),
                         [](const testing::TestParamInfo<int>& caseInfo) {
                           return "AfterSelectingImage" + std::to_string(caseInfo.param);
                         });

struct NameCase {
  const char* label;
  std::string stored;    // the name field's bytes from offset 0x00, up to 17
  std::string expected;  // diskName
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.label; }

class DiskNameField : public testing::TestWithParam<NameCase> {};

TEST_P(DiskNameField, GivesTheBytesUpToTheFirstNulWithinSixteen) {
  const NameCase& c = GetParam();
  TempFolder folder;
  d88::D88File file;
  ASSERT_TRUE(file.open(writeD88(folder, ImageBuilder().name(c.stored).build()).c_str()));
  ASSERT_TRUE(file.selectImage(0));
  EXPECT_EQ(std::string(file.diskName()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    D88File, DiskNameField,
    testing::Values(
        NameCase{"SixteenBytesWithoutNulByte16Set", "ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNOP"},
        NameCase{"SixteenBytesWithoutNulByte16Nul", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP"},
        NameCase{"NulAfterThreeLetters", std::string("ABC\0DEFGHIJKLMNOP", 17), "ABC"},
        NameCase{"NulFirst", std::string("\0BCDEFGH", 8), ""},
        NameCase{"AllZero", "", ""},
        NameCase{"SpacesKept", "DISK  1         ", "DISK  1         "},
        // Shift_JIS "テスト" and high bytes pass unchanged.
        NameCase{"BytesCopiedUnchanged", "\x83\x65\x83\x58\x83\x67\xFF\x80",
                 "\x83\x65\x83\x58\x83\x67\xFF\x80"}),
    [](const testing::TestParamInfo<NameCase>& caseInfo) { return std::string(caseInfo.param.label); });

TEST(D88FileSelection, ShorterNameOfALaterSelectionLeavesNoTrace) {
  TempFolder folder;
  d88::D88File file;
  const Bytes bytes = joined({ImageBuilder().name("ABCDEFGHIJKLMNOPQ").media(0x10).build(),
                                           ImageBuilder().name("XY").media(0x20).build()});
  ASSERT_TRUE(file.open(writeD88(folder, bytes).c_str()));
  ASSERT_TRUE(file.selectImage(0));
  EXPECT_EQ(std::string(file.diskName()), "ABCDEFGHIJKLMNOP");
  ASSERT_TRUE(file.selectImage(1));
  EXPECT_EQ(std::string(file.diskName()), "XY");
  EXPECT_EQ(file.mediaType(), 0x20);
}

struct MediaCase {
  std::uint8_t stored;
  int expected;
};
void PrintTo(const MediaCase& c, std::ostream* os) { *os << "media byte " << int{c.stored}; }

class MediaByte : public testing::TestWithParam<MediaCase> {};

TEST_P(MediaByte, IsHandedOnUnchangedAsUnsigned) {
  TempFolder folder;
  d88::D88File file;
  const Bytes image = ImageBuilder().name("M").media(GetParam().stored).build();
  ASSERT_TRUE(file.open(writeD88(folder, image).c_str()));
  ASSERT_TRUE(file.selectImage(0));
  EXPECT_EQ(file.mediaType(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(D88File, MediaByte,
                         testing::Values(MediaCase{0x00, 0}, MediaCase{0x10, 16}, MediaCase{0x20, 32},
                                         MediaCase{0x30, 48}, MediaCase{0x80, 128}, MediaCase{0xFF, 255}),
                         [](const testing::TestParamInfo<MediaCase>& caseInfo) {
                           return "Media" + std::to_string(int{caseInfo.param.stored});
                         });

}  // namespace
