#include "cutter/output_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cutter/cutter_options.h"
#include "cutter/volume_buffers.h"
#include "tests/support/tool_run.h"

namespace {
namespace fs = std::filesystem;

using cutter::CutterOptions;
using cutter::DirectoryEntry;
using cutter::makeOutputName;
using testsupport::Bytes;
using testsupport::TempFolder;

constexpr std::uint8_t sp = 0x20;

DirectoryEntry entryOf(const Bytes& name, const Bytes& extension) {
  if (name.size() != 6 || extension.size() != 3) {
    throw std::invalid_argument("a directory entry has 6 name and 3 extension bytes");
  }
  DirectoryEntry entry;
  std::copy(name.begin(), name.end(), entry.name.begin());
  std::copy(extension.begin(), extension.end(), entry.extension.begin());
  entry.attribute = 0x80;  // an ordinary BASIC file; the name must not depend on it
  entry.startCluster = 34;
  return entry;
}

CutterOptions optionsWith(int spaceMode, bool addPeriod, bool dollarOnClash = false) {
  CutterOptions options;
  options.spaceMode = spaceMode;
  options.addPeriod = addPeriod;
  options.dollarOnClash = dollarOnClash;
  return options;
}

// The bytes in hexadecimal, so that traces show spaces and zero bytes.
std::string hex(const Bytes& bytes) {
  std::string text;
  for (std::uint8_t byte : bytes) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02X ", byte);
    text += pair;
  }
  return text;
}

const std::vector<int> s0 = {0};
const std::vector<int> s1 = {1};
const std::vector<int> s2 = {2};
const std::vector<int> anyMode = {0, 1, 2};
constexpr bool period = true;
constexpr bool noPeriod = false;  // "-p"

struct NameCase {
  Bytes name;
  Bytes extension;
  std::vector<int> spaceModes;
  bool addPeriod;
  std::string expected;
};

TEST(OutputNameTest, BuildsTheNameFromTheEntryBytes) {
  const std::vector<NameCase> cases = {
      // Spaces under each mode, with and without the period.
      {{'A', 'B', 'C', sp, sp, sp}, {'B', 'A', 'S'}, s0, period, "ABC.BAS"},
      {{'A', 'B', 'C', sp, sp, sp}, {'B', 'A', 'S'}, s1, period, "ABC   .BAS"},
      {{'A', 'B', 'C', sp, sp, sp}, {'B', 'A', 'S'}, s2, period, "ABC___.BAS"},
      {{'A', 'B', 'C', sp, sp, sp}, {'B', 'A', 'S'}, s0, noPeriod, "ABCBAS"},
      {{'A', 'B', 'C', sp, sp, sp}, {'B', 'A', 'S'}, s1, noPeriod, "ABC   BAS"},
      {{'A', 'B', 'C', 'D', 'E', 'F'}, {sp, sp, sp}, s0, period, "ABCDEF."},
      {{'A', 'B', 'C', 'D', 'E', 'F'}, {sp, sp, sp}, s1, period, "ABCDEF.   "},
      {{'A', 'B', 'C', 'D', 'E', 'F'}, {sp, sp, sp}, s2, period, "ABCDEF.___"},
      {{'A', 'B', 'C', 'D', 'E', 'F'}, {sp, sp, sp}, s0, noPeriod, "ABCDEF"},
      {{'A', 'B', 'C', 'D', 'E', 'F'}, {'B', 'A', 'S'}, anyMode, period, "ABCDEF.BAS"},
      {{'A', sp, 'B', sp, sp, sp}, {'C', sp, sp}, s0, period, "AB.C"},
      {{'A', sp, 'B', sp, sp, sp}, {'C', sp, sp}, s2, noPeriod, "A_B___C__"},
      {{'P', 'P', sp, sp, sp, sp}, {sp, sp, sp}, s0, period, "PP."},
      {{'P', 'P', sp, sp, sp, sp}, {sp, sp, sp}, s1, period, "PP    .   "},

      // The period stands between the two fields even when one gives nothing.
      {{sp, sp, sp, sp, sp, sp}, {'B', 'A', 'S'}, s0, period, ".BAS"},
      {{sp, sp, sp, sp, sp, sp}, {sp, sp, sp}, s0, period, "."},
      {{sp, sp, sp, sp, sp, sp}, {sp, sp, sp}, s0, noPeriod, ""},

      // Characters no host name may hold, and the zero byte, become "#" in
      // every space mode; the double quote is not one of them.
      {{'A', '?', 'B', sp, sp, sp}, {'B', 'A', 'S'}, s0, period, "A#B.BAS"},
      {{'A', '/', 'B', ':', 'C', sp}, {'D', '<', 'E'}, s0, period, "A#B#C.D#E"},
      {{'A', 'B', 0x00, 0x00, 0x00, 0x00}, {'B', 'A', 'S'}, anyMode, period, "AB####.BAS"},
      {{'*', '\\', '>', '|', 'A', 'B'}, {0x00, 'C', 0x00}, anyMode, period, "####AB.#C#"},
      {{'A', '"', 'B', sp, sp, sp}, {'B', 'A', 'S'}, s0, period, "A\"B.BAS"},

      // Control bytes, 0x7F and a period of the entry's own pass as they are.
      {{0x01, '.', 0x7F, 0x1F, 'A', 'B'}, {0x1F, '.', 0x7F}, s0, period,
       "\x01.\x7F\x1F" "AB." "\x1F.\x7F"},

      // Bytes from 0x80 up pass unchanged, including those that are a space or
      // a replaced character with the top bit set.
      {{0xB1, 0xB2, 0xB3, sp, sp, sp}, {'B', 'A', 'S'}, s0, period, "\xB1\xB2\xB3.BAS"},
      {{0xA0, 0xDC, 0xFC, 0xBF, 0xAA, 0xAF}, {0xBA, 0xBC, 0xBE}, anyMode, period,
       "\xA0\xDC\xFC\xBF\xAA\xAF.\xBA\xBC\xBE"},

      // Each byte is judged by itself: a second byte of a two-byte Shift_JIS
      // character that is 0x5C, 0x7C or 0x3F is replaced all the same.
      {{0x83, 0x5C, sp, sp, sp, sp}, {'B', 'A', 'S'}, s0, period, "\x83#.BAS"},
      {{0x81, 0x7C, 0x83, 0x5C, 0x83, 0x3F}, {0x83, 0x7C, sp}, s2, period,
       "\x81#\x83#\x83#.\x83#_"},
  };

  for (const NameCase& c : cases) {
    for (int spaceMode : c.spaceModes) {
      SCOPED_TRACE(hex(c.name) + "| " + hex(c.extension) + "-s" + std::to_string(spaceMode) +
                   (c.addPeriod ? "" : " -p"));
      const std::optional<std::string> name =
          makeOutputName(entryOf(c.name, c.extension), optionsWith(spaceMode, c.addPeriod));
      EXPECT_EQ(name, std::optional<std::string>(c.expected));
    }
  }
}

// Makes a folder current for the lifetime of the object, and brings the
// previous one back, so that a failing test leaves the others where they were.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~CurrentFolder() {
    std::error_code error;
    fs::current_path(previous_, error);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  fs::path previous_;
};

// The clash rule looks at the current folder, so these tests run inside a
// fresh one. Members go in reverse order: the previous folder comes back
// before the temporary one is removed.
class OutputNameClashTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  CurrentFolder inside_{folder_.path()};
};

struct ClashCase {
  const char* label;
  std::vector<std::string> files;    // existing files, each holding its own name
  std::vector<std::string> folders;  // existing folders
  Bytes name;
  Bytes extension;
  CutterOptions options;
  std::string expected;
};

TEST_F(OutputNameClashTest, AppendsDollarWhileTheNameOpensForReading) {
  const Bytes abc = {'A', 'B', 'C', sp, sp, sp};
  const Bytes bas = {'B', 'A', 'S'};
  const Bytes blank6 = {sp, sp, sp, sp, sp, sp};
  const Bytes blank3 = {sp, sp, sp};
  const CutterOptions withF = optionsWith(0, period, true);
  const CutterOptions withoutF = optionsWith(0, period, false);

  const std::vector<ClashCase> cases = {
      {"free name", {}, {}, abc, bas, withF, "ABC.BAS"},
      {"one taken", {"ABC.BAS"}, {}, abc, bas, withF, "ABC.BAS$"},
      {"two taken", {"ABC.BAS", "ABC.BAS$"}, {}, abc, bas, withF, "ABC.BAS$$"},
      {"three taken", {"ABC.BAS", "ABC.BAS$", "ABC.BAS$$"}, {}, abc, bas, withF, "ABC.BAS$$$"},
      // The first free name wins, whatever lies further on.
      {"only the $ name taken", {"ABC.BAS$"}, {}, abc, bas, withF, "ABC.BAS"},
      {"a gap before $$", {"ABC.BAS", "ABC.BAS$$"}, {}, abc, bas, withF, "ABC.BAS$"},
      {"names that merely look alike", {"ABC.BA", "ABC.BAS.BAK", "ABC.BASX"}, {}, abc, bas,
       withF, "ABC.BAS"},
      // A folder never opens as a byte file, so it is no clash.
      {"folder of that name", {}, {"ABC.BAS"}, abc, bas, withF, "ABC.BAS"},
      {"file, then folder of the $ name", {"ABC.BAS"}, {"ABC.BAS$"}, abc, bas, withF,
       "ABC.BAS$"},
      {"\".\" is the current folder", {}, {}, blank6, blank3, withF, "."},
      {"the empty name", {}, {}, blank6, blank3, optionsWith(0, noPeriod, true), ""},
      // The finished name is what is tested, after the space and period switches.
      {"taken under -s2", {"ABC.BAS", "ABC___.BAS"}, {}, abc, bas, optionsWith(2, period, true),
       "ABC___.BAS$"},
      {"taken under -p", {"ABC.BAS", "ABCBAS"}, {}, abc, bas, optionsWith(0, noPeriod, true),
       "ABCBAS$"},
      // Without -f nothing is tested: the existing file will be written over.
      {"taken, without -f", {"ABC.BAS", "ABC.BAS$"}, {}, abc, bas, withoutF, "ABC.BAS"},
      {"folder, without -f", {}, {"ABC.BAS"}, abc, bas, withoutF, "ABC.BAS"},
  };

  for (const ClashCase& c : cases) {
    SCOPED_TRACE(c.label);
    for (const fs::directory_entry& item : fs::directory_iterator(".")) fs::remove_all(item.path());
    for (const std::string& file : c.files) folder_.write(file, Bytes(file.begin(), file.end()));
    for (const std::string& sub : c.folders) fs::create_directory(sub);
    const std::map<std::string, Bytes> before = folder_.tree();

    const std::optional<std::string> name = makeOutputName(entryOf(c.name, c.extension), c.options);

    EXPECT_EQ(name, std::optional<std::string>(c.expected));
    EXPECT_EQ(folder_.tree(), before) << "naming must not create or change any file";
  }
}

// Creates an empty file; false when the host refuses the name.
bool createFile(const std::string& name) {
  std::ofstream out(name, std::ios::binary);
  return out.is_open();
}

TEST_F(OutputNameClashTest, NeverGrowsPastTheRoomOfANameNorNamesAnExistingFile) {
  // ABC.BAS, ABC.BAS$, ABC.BAS$$, ... up to the longest name there is room
  // for. Hosts commonly refuse names of more than 255 bytes (NAME_MAX on
  // Linux file systems), below the room of 259; then the files stop at the
  // first name refused, which can't be opened for reading either, so the
  // rule stops there with a name that still fits and that names nothing.
  // Only a host that takes all of them leaves no free name within the room,
  // and then the entry must get no name at all rather than an existing one.
  std::string candidate = "ABC.BAS";
  std::optional<std::string> firstRefused;
  std::vector<std::string> created;
  for (; candidate.size() <= cutter::maxOutputNameBytes; candidate.push_back('$')) {
    if (!createFile(candidate)) {
      firstRefused = candidate;
      break;
    }
    created.push_back(candidate);
  }
  ASSERT_FALSE(created.empty());
  // Enough of them to take the rule far from its start on any ordinary host.
  EXPECT_GE(created.back().size(), 200u);

  const std::optional<std::string> name =
      makeOutputName(entryOf({'A', 'B', 'C', sp, sp, sp}, {'B', 'A', 'S'}),
                     optionsWith(0, period, true));

  if (!firstRefused) {
    EXPECT_FALSE(name.has_value()) << "every name within the room is taken, got a name of "
                                   << (name ? name->size() : 0) << " bytes";
  } else {
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(*name, *firstRefused);
    EXPECT_LE(name->size(), cutter::maxOutputNameBytes);
    std::error_code error;
    EXPECT_FALSE(fs::exists(*name, error));
  }
  for (const std::string& existing : created) {
    if (name && *name == existing) ADD_FAILURE() << "names the existing " << existing;
  }
}

}  // namespace
