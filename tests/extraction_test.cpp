// Whole-disk extraction as a user meets it: listing bytes and file bytes for
// each media, the directory walk, names, cluster chains and BSAVE headers.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/d88_builder.h"
#include "tests/support/tool_run.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Bytes;
using testsupport::bytesOf;
using testsupport::ImageBuilder;
using testsupport::joined;
using testsupport::Media;
using testsupport::ramp;
using testsupport::TempFolder;
using testsupport::VolumeBuilder;
using Tree = std::map<std::string, Bytes>;

const std::string broken = "** " + testsupport::brokenClusterText + " **\n";

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
               bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// Runs the tool on the images in a fresh folder; answers the run and the
// files it wrote (the D88 file itself left out).
struct Extraction {
  testsupport::ToolResult run;
  Tree files;
};

Extraction extract(const std::vector<ImageBuilder>& images, std::vector<std::string> switches = {}) {
  TempFolder folder;
  folder.write("disk.d88", testsupport::d88Of(images));
  switches.insert(switches.begin(), "disk.d88");
  Extraction result{testsupport::runTool(folder, switches), folder.tree()};
  result.files.erase("disk.d88");
  return result;
}

TEST(Extraction, TheRoadOfOneFile) {
  VolumeBuilder volume(Media::D2);
  Bytes contents = joined({{0x00, 0xC0, 0x80, 0xC9}, ramp(4092, 0x10)});
  volume.addFileAt("LOADER", "BIN", 0x01, contents, {34, 35});
  const Extraction result = extract({volume.image("ROAD")});
  EXPECT_EQ(result.run.status, 0);
  EXPECT_EQ(result.run.err, testsupport::bannerText);
  EXPECT_EQ(result.run.out,
            "MEDIA TYPE = 2D\n\n[ROAD] -> 000\n"
            "LOADER.BIN *** [HEADER CUT(4)] ADDR=c000 END=c97f\n");
  EXPECT_EQ(result.files, (Tree{{"000/", {}}, {"000/LOADER.BIN", slice(contents, 4, 2432)}}));
}

// Each media's clusters, checked against a marker put straight into the
// sector where the cluster must begin, not through the volume builder.
TEST(Extraction, EachMediaReadsItsDirectoryFatAndClustersFromTheirPlaces) {
  struct Case {
    Media media;
    const char* mediaLine;
    int cluster;
    int track;   // where that cluster begins
    int sector;  // 1-based
    int lastSlot;
  };
  const std::vector<Case> cases = {
      {Media::D2, "MEDIA TYPE = 2D\n", 5, 2, 9, 191},
      {Media::DD, "MEDIA TYPE = 2DD\n", 7, 7, 1, 191},
      {Media::HD, "MEDIA TYPE = 2HD\n", 10, 10, 1, 351},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.mediaLine);
    VolumeBuilder volume(test.media);
    volume.entry(0, "MARK", "DAT", 0x00, static_cast<std::uint8_t>(test.cluster))
        .fat(test.cluster, 0xC1);
    // The directory's last slot, after slots that are all unused.
    for (int slot = 1; slot < test.lastSlot; ++slot) volume.directorySlot(slot, Bytes(16, 0x00));
    volume.entry(test.lastSlot, "LAST", "", 0x00, static_cast<std::uint8_t>(test.cluster + 1))
        .fat(test.cluster + 1, 0xC1)
        .clusterData(test.cluster + 1, Bytes(256, 'z'));
    ImageBuilder image = volume.image("MEDIA");
    image.sectors(test.track)[static_cast<std::size_t>(test.sector - 1)].data = ramp(256, 0x40);
    const Extraction result = extract({image});
    EXPECT_EQ(result.run.out, std::string(test.mediaLine) +
                                  "\n[MEDIA] -> 000\nMARK.DAT  \nLAST.     \n");
    EXPECT_EQ(result.files, (Tree{{"000/", {}},
                                  {"000/MARK.DAT", ramp(256, 0x40)},
                                  {"000/LAST.", Bytes(256, 'z')}}));
  }
}

TEST(Extraction, TheWalkPassesOverUnusedSlotsAndEndsAtTheEndMark) {
  VolumeBuilder volume(Media::D2);
  volume.addFile("ONE", "", 0x00, Bytes(10, '1'));
  volume.addFile("GONE", "", 0x00, Bytes(10, 'g'));
  volume.addFile("TWO", "", 0x00, Bytes(10, '2'));
  volume.addFile("HIDDEN", "", 0x00, Bytes(10, 'h'));
  volume.addFile("AFTER", "", 0x00, Bytes(10, 'a'));
  volume.directorySlot(1, Bytes(16, 0x00));  // GONE: an unused slot
  volume.directorySlot(3, Bytes(16, 0xFF));  // the end mark, in HIDDEN's place
  const Extraction result = extract({volume.image("WALK")});
  EXPECT_EQ(result.run.out, "MEDIA TYPE = 2D\n\n[WALK] -> 000\nONE.      \nTWO.      \n");
  EXPECT_EQ(result.files.size(), 3u);  // the folder, ONE. and TWO.
  EXPECT_EQ(result.files.at("000/ONE."), joined({Bytes(10, '1'), Bytes(246, 0xFF)}));
}

TEST(Extraction, NothingOfOneImageSurvivesIntoTheNext) {
  VolumeBuilder big(Media::HD);
  big.addFile("BIG", "", 0x00, Bytes(300, 'b'));
  // The same entry again in slot 300, past what a 2D directory holds.
  for (int slot = 1; slot < 300; ++slot) big.directorySlot(slot, Bytes(16, 0x00));
  big.directorySlot(300, slice(big.bytes(), 70 * 26 * 256, 16));
  VolumeBuilder small(Media::D2);
  small.addFile("SMALL", "", 0x00, Bytes(100, 's'));
  const Extraction result = extract({big.image("BIG"), small.image("SMALL")}, {"-d"});
  EXPECT_EQ(result.run.out,
            "MEDIA TYPE = 2HD\n\n[BIG]\nBIG.      \nBIG.      \n"
            "MEDIA TYPE = 2D\n\n[SMALL]\nSMALL.    \n");
}

TEST(Extraction, UnreadableDirectoryOrFatSkipsTheImageButAMissingDataTrackDoesNot) {
  VolumeBuilder volume(Media::D2);
  const Bytes text = ramp(4096, 1);
  volume.addFileAt("SPAN", "TXT", 0x00, text, {4, 6});  // track 2 and track 3
  const auto withDamage = [&](auto damage) {
    ImageBuilder image = volume.image("DAMAGED");
    damage(image);
    return extract({image, volume.image("INTACT")});
  };
  const std::string intact = "MEDIA TYPE = 2D\n\n[INTACT] -> 001\nSPAN.TXT  \n";

  const Extraction noFat = withDamage([](ImageBuilder& image) {
    image.sectors(37)[13].dataSize = 128;  // the FAT sector comes up short
  });
  EXPECT_EQ(noFat.run.out, "MEDIA TYPE = 2D\n\n[DAMAGED] -> 000\n" + intact);
  EXPECT_EQ(noFat.files.count("000/SPAN.TXT"), 0u);
  EXPECT_EQ(noFat.files.at("001/SPAN.TXT"), text);

  const Extraction noDirectory = withDamage([](ImageBuilder& image) { image.removeTrack(37); });
  EXPECT_EQ(noDirectory.run.out, "MEDIA TYPE = 2D\n\n[DAMAGED] -> 000\n" + intact);

  const Extraction noTrack3 = withDamage([](ImageBuilder& image) { image.removeTrack(3); });
  EXPECT_EQ(noTrack3.run.out, "MEDIA TYPE = 2D\n\n[DAMAGED] -> 000\nSPAN.TXT  \n" + intact);
  EXPECT_EQ(noTrack3.files.at("000/SPAN.TXT"), joined({slice(text, 0, 2048), Bytes(2048, 0)}));
}

TEST(Extraction, NamesFollowTheSwitchesAndLaterEntriesReplaceEarlierOnes) {
  VolumeBuilder volume(Media::D2);
  volume.addFile("A B", "C", 0x00, Bytes(256, 'x'));
  volume.addFile("AB", "C", 0x00, Bytes(256, 'y'));
  volume.addFile("Q?R", "BAS", 0x00, Bytes(256, 'q'));
  const Extraction plain = extract({volume.image("N")});
  EXPECT_EQ(plain.run.out, "MEDIA TYPE = 2D\n\n[N] -> 000\nAB.C      \nAB.C      \nQ#R.BAS   \n");
  EXPECT_EQ(plain.files, (Tree{{"000/", {}}, {"000/AB.C", Bytes(256, 'y')},
                               {"000/Q#R.BAS", Bytes(256, 'q')}}));

  const Extraction spaced = extract({volume.image("N")}, {"-s2", "-p", "-f"});
  EXPECT_EQ(spaced.run.out,
            "MEDIA TYPE = 2D\n\n[N] -> 000\nA_B___C__ \nAB____C__ \nQ#R___BAS \n");
}

TEST(Extraction, WithDollarOnClashASecondRunWritesBesideTheFirst) {
  TempFolder folder;
  VolumeBuilder volume(Media::D2);
  volume.addFile("AB", "C", 0x00, Bytes(256, 'x'));
  volume.addFile("A B", "C", 0x00, Bytes(256, 'y'));
  folder.write("disk.d88", testsupport::d88Of({volume.image("N")}));
  testsupport::runTool(folder, {"disk.d88", "-f"});
  const auto second = testsupport::runTool(folder, {"disk.d88", "-f"});
  EXPECT_EQ(second.out, "MEDIA TYPE = 2D\n\n[N] -> 000\nAB.C$$    \nAB.C$$$   \n");
  const Tree tree = folder.tree();
  EXPECT_EQ(tree.at("000/AB.C"), Bytes(256, 'x'));
  EXPECT_EQ(tree.at("000/AB.C$"), Bytes(256, 'y'));
  EXPECT_EQ(tree.at("000/AB.C$$"), Bytes(256, 'x'));
  EXPECT_EQ(tree.at("000/AB.C$$$"), Bytes(256, 'y'));
}

TEST(Extraction, BrokenChainsAreReportedAndTheRunGoesOn) {
  VolumeBuilder volume(Media::D2);
  const int start = volume.addFile("CUT", "", 0x00, Bytes(4096, 'c'));
  volume.fat(start + 1, 160);  // the second cluster links past the volume
  volume.addFile("NEXT", "", 0x00, Bytes(256, 'n'));
  volume.entry(2, "BAD", "", 0x00, 160);  // a start cluster past the volume
  volume.addFile("SKIPPED", "", 0x00, Bytes(256, 's'));
  VolumeBuilder other(Media::D2);
  other.addFile("OTHER", "", 0x00, Bytes(256, 'o'));
  const Extraction result = extract({volume.image("A"), other.image("B")});
  EXPECT_EQ(result.run.status, 0);
  EXPECT_EQ(result.run.out,
            "MEDIA TYPE = 2D\n\n[A] -> 000\nCUT.      \n" + broken + "NEXT.     \nBAD.       " +
                broken + "MEDIA TYPE = 2D\n\n[B] -> 001\nOTHER.    \n");
  EXPECT_EQ(result.files, (Tree{{"000/", {}},
                                {"000/CUT.", Bytes(4096, 'c')},
                                {"000/NEXT.", Bytes(256, 'n')},
                                {"000/BAD.", {}},
                                {"001/", {}},
                                {"001/OTHER.", Bytes(256, 'o')}}));
}

TEST(Extraction, AnOutputNameThatCannotBeCreatedGetsNoListingLine) {
  TempFolder folder;
  VolumeBuilder volume(Media::D2);
  volume.addFile("TAKEN", "", 0x00, Bytes(256, 't'));
  volume.addFile("FREE", "", 0x00, Bytes(256, 'f'));
  volume.addFile("      ", "", 0x00, Bytes(256, 'e'));  // "." alone
  folder.write("disk.d88", testsupport::d88Of({volume.image("N")}));
  fs::create_directories(folder / "000" / "TAKEN.");
  const auto run = testsupport::runTool(folder, {"disk.d88"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "MEDIA TYPE = 2D\n\n[N] -> 000\nFREE.     \n");
}

TEST(Extraction, TheD88FileIsNeverOpenedForWriting) {
  VolumeBuilder volume(Media::D2);
  volume.addFile("DISK", "D88", 0x00, Bytes(256, 'd'));
  volume.addFile("LINK", "D88", 0x00, Bytes(256, 'l'));
  volume.addFile("AFTER", "", 0x00, Bytes(256, 'a'));
  VolumeBuilder second(Media::D2);
  second.addFile("SECOND", "", 0x00, Bytes(256, 's'));
  const Bytes d88 = testsupport::d88Of({volume.image("SELF"), second.image("TWO")});
  TempFolder folder;
  folder.write("DISK.D88", d88);
  fs::create_symlink("DISK.D88", folder / "LINK.D88");
  const auto run = testsupport::runTool(folder, {"DISK.D88", "-d"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "MEDIA TYPE = 2D\n\n[SELF]\nAFTER.    \nMEDIA TYPE = 2D\n\n[TWO]\nSECOND.   \n");
  EXPECT_EQ(folder.read("DISK.D88"), d88);
}

TEST(Extraction, AFailedWriteEndsTheRunAtOnce) {
  TempFolder folder;
  VolumeBuilder volume(Media::D2);
  volume.addFile("FIRST", "", 0x00, Bytes(256, '1'));
  volume.addFile("FULL", "", 0x00, Bytes(300, 'f'));  // its last write is the tail
  volume.addFile("LATER", "", 0x00, Bytes(256, 'l'));
  folder.write("disk.d88", testsupport::d88Of({volume.image("A"), volume.image("B")}));
  fs::create_directory(folder / "000");
  fs::create_symlink("/dev/full", folder / "000" / "FULL.");
  const auto run = testsupport::runTool(folder, {"disk.d88"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, testsupport::bannerText + testsupport::writeFailedText);
  EXPECT_EQ(run.out, "MEDIA TYPE = 2D\n\n[A] -> 000\nFIRST.    \nFULL.     \n");
  Tree tree = folder.tree();
  tree.erase("disk.d88");
  EXPECT_EQ(tree, (Tree{{"000/", {}}, {"000/FIRST.", Bytes(256, '1')}, {"000/FULL.@", {}}}));
}

// Machine-language files: which header form, what the listing shows, and
// which bytes the file keeps.
TEST(Extraction, BsaveHeadersAreCutToTheRangeTheyGive) {
  struct Case {
    const char* what;
    std::string name;
    std::vector<std::string> switches;
    Bytes header;
    std::uint8_t attribute;
    std::string listing;  // after the name field
    std::size_t fileSize;  // laid out in whole 2048-byte clusters, all sectors used
    std::size_t keptFrom;
    std::size_t keptCount;
  };
  const std::string cut4 = " *** [HEADER CUT(4)]";
  const std::string cut6 = " *** [HEADER CUT(6)]";
  const std::vector<Case> cases = {
      {"a listed name takes the 6-byte big-endian form", "PP", {}, {0x90, 0x00, 0x10, 0x00, 0xAA, 0xBB},
       0x01, cut6 + " ADDR=9000 END=9fff\n", 8192, 6, 4096},
      {"with its spaces kept the name is no longer listed", "PP", {"-s1"},
       {0x90, 0x00, 0x10, 0x00, 0xAA, 0xBB}, 0x01, cut4 + " BSAVE HEADER ERROR!!\n", 8192, 0, 0},
      {"4-byte form, exclusive end", "CODE", {}, {0x00, 0xC0, 0x00, 0xD0}, 0x01,
       cut4 + " ADDR=c000 END=cfff\n", 8192, 4, 4096},
      {"4-byte form, inclusive end", "CODE", {"-v-"}, {0x00, 0xC0, 0x00, 0xD0}, 0x01,
       cut4 + " ADDR=c000 END=d000\n", 8192, 4, 4097},
      {"an empty range falls back to the FAT's sectors", "CODE", {}, {0x00, 0xC0, 0x00, 0xC0}, 0x01,
       cut4 + " ADDR=c000 END=bfff\n", 2048, 4, 2044},
      {"a zero header prints the end as a 32-bit pattern", "CODE", {}, {0, 0, 0, 0}, 0x01,
       cut4 + " ADDR=0000 END=ffffffff\n", 2048, 4, 2044},
      {"the 6-byte form does not wrap at 16 bits", "MAP0", {}, {0xF0, 0x00, 0x20, 0x00, 0, 0}, 0x01,
       cut6 + " ADDR=f000 END=10fff\n", 10240, 6, 8192},
      {"only attribute bit 0 makes a machine-language file", "PP", {}, {0x90, 0x00, 0x10, 0x00}, 0xFE,
       "\n", 8192, 0, 8192},
      {"-b- writes machine-language files whole", "CODE", {"-b-"}, {0x00, 0xC0, 0x00, 0xD0}, 0x01,
       "\n", 8192, 0, 8192},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    VolumeBuilder volume(Media::D2);
    const Bytes contents = joined({test.header, ramp(test.fileSize - test.header.size(), 0x20)});
    volume.addFile(test.name, "", test.attribute, contents);
    const Extraction result = extract({volume.image("ML")}, test.switches);
    std::string name = test.name + ".";
    if (test.switches == std::vector<std::string>{"-s1"}) name = test.name + std::string(6 - test.name.size(), ' ') + ".   ";
    name.resize(std::max<std::size_t>(name.size(), 10), ' ');
    EXPECT_EQ(result.run.out, "MEDIA TYPE = 2D\n\n[ML] -> 000\n" + name + test.listing);
    ASSERT_EQ(result.files.size(), 2u);
    EXPECT_EQ(result.files.rbegin()->second, slice(contents, test.keptFrom, test.keptCount));
  }
}

TEST(Extraction, AMachineLanguageFileStartingOutsideTheVolumeHasNoHeaderToRead) {
  VolumeBuilder volume(Media::HD);
  volume.entry(0, "CODE", "", 0x01, 154);  // one past the last cluster, past the data area
  volume.addFile("SKIPPED", "", 0x00, Bytes(256, 's'));
  const Extraction result = extract({volume.image("ML")});
  EXPECT_EQ(result.run.out,
            "MEDIA TYPE = 2HD\n\n[ML] -> 000\nCODE.      *** [HEADER CUT(4)] " + broken);
  EXPECT_EQ(result.files, (Tree{{"000/", {}}, {"000/CODE.", {}}}));
}

}  // namespace
