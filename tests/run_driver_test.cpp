// The run as a user meets it: the binary in a fresh folder, its exit status,
// both console streams byte for byte, and every folder and file it leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/d88_builder.h"
#include "tests/support/tool_run.h"

namespace {

using testsupport::Bytes;
using testsupport::bytesOf;
using testsupport::ImageBuilder;
using testsupport::Media;
using testsupport::TempFolder;
using testsupport::VolumeBuilder;
using Tree = std::map<std::string, Bytes>;

// A 2D volume holding one 256-byte text file, NOTE<index>.TXT.
ImageBuilder noteDisk(int index, const std::string& diskName) {
  VolumeBuilder volume(Media::D2);
  volume.addFile("NOTE" + std::to_string(index), "TXT", 0x00, Bytes(256, static_cast<std::uint8_t>('a' + index)));
  return volume.image(diskName);
}

Bytes noteBytes(int index) { return Bytes(256, static_cast<std::uint8_t>('a' + index)); }

TEST(RunDriver, WithoutAnImagePathShowsTheUsageText) {
  TempFolder folder;
  const auto run = testsupport::runTool(folder, {});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, testsupport::bannerText + testsupport::usageText);
  EXPECT_TRUE(folder.tree().empty());
}

TEST(RunDriver, AUsageRequestAfterTheImagePathEndsTheRunBeforeTheFileIsRead) {
  const std::vector<std::vector<std::string>> cases = {
      {"disk.d88", "-h"}, {"disk.d88", "-?"}, {"disk.d88", "-d", "-f", "-h"}, {"disk.d88", "-?", "-d"}};
  for (const auto& arguments : cases) {
    SCOPED_TRACE(arguments.back());
    TempFolder folder;
    folder.write("disk.d88", testsupport::d88Of({noteDisk(0, "DISK")}));
    const auto run = testsupport::runTool(folder, arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, testsupport::bannerText + testsupport::usageText);
    EXPECT_EQ(folder.tree().size(), 1u);  // only the D88 file: nothing extracted
  }
}

TEST(RunDriver, AFileThatCannotBeOpenedEndsTheRunWithStatus1) {
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
  };
  const std::vector<Case> cases = {
      {"no such file", {"missing.d88"}},
      {"a usage switch in the image path's place is a path", {"-h"}},
      {"a switch before the path is taken as the path", {"-d", "disk.d88"}},
      {"a folder is not a D88 file", {"folder"}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TempFolder folder;
    folder.write("disk.d88", testsupport::d88Of({noteDisk(0, "DISK")}));
    std::filesystem::create_directory(folder / "folder");
    const auto run = testsupport::runTool(folder, test.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, testsupport::bannerText + testsupport::openFailedText);
    EXPECT_EQ(folder.tree().size(), 2u);
  }
}

TEST(RunDriver, AFileWithoutAWholeImageHeaderHoldsNoImage) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{687}}) {
    SCOPED_TRACE(size);
    TempFolder folder;
    folder.write("short.d88", Bytes(size, 0));
    const auto run = testsupport::runTool(folder, {"short.d88"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, testsupport::bannerText);
    EXPECT_EQ(folder.tree().size(), 1u);
  }
}

TEST(RunDriver, MakesAFolderPerImageEvenForAnImageWhoseDirectoryCannotBeRead) {
  TempFolder folder;
  ImageBuilder broken = noteDisk(1, "SECOND");
  broken.sectors(37).erase(broken.sectors(37).begin() + 4);  // directory sector 5 is missing
  folder.write("four.d88", testsupport::d88Of({noteDisk(0, "FIRST"), broken, noteDisk(2, "THIRD"),
                                               noteDisk(3, "FOURTH")}));
  const auto run = testsupport::runTool(folder, {"four.d88"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, testsupport::bannerText);
  EXPECT_EQ(run.out,
            "MEDIA TYPE = 2D\n\n[FIRST] -> 000\nNOTE0.TXT \n"
            "MEDIA TYPE = 2D\n\n[SECOND] -> 001\n"
            "MEDIA TYPE = 2D\n\n[THIRD] -> 002\nNOTE2.TXT \n"
            "MEDIA TYPE = 2D\n\n[FOURTH] -> 003\nNOTE3.TXT \n");
  Tree tree = folder.tree();
  tree.erase("four.d88");
  EXPECT_EQ(tree, (Tree{{"000/", {}}, {"000/NOTE0.TXT", noteBytes(0)}, {"001/", {}},
                        {"002/", {}}, {"002/NOTE2.TXT", noteBytes(2)}, {"003/", {}},
                        {"003/NOTE3.TXT", noteBytes(3)}}));
}

TEST(RunDriver, WithoutSubfoldersEveryImageWritesIntoTheStartingFolder) {
  TempFolder folder;
  folder.write("two.d88", testsupport::d88Of({noteDisk(0, "FIRST"), noteDisk(1, "SECOND")}));
  const auto run = testsupport::runTool(folder, {"two.d88", "-d"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "MEDIA TYPE = 2D\n\n[FIRST]\nNOTE0.TXT \n"
            "MEDIA TYPE = 2D\n\n[SECOND]\nNOTE1.TXT \n");
  Tree tree = folder.tree();
  tree.erase("two.d88");
  EXPECT_EQ(tree, (Tree{{"NOTE0.TXT", noteBytes(0)}, {"NOTE1.TXT", noteBytes(1)}}));
}

TEST(RunDriver, ASecondRunReusesTheImageFolders) {
  TempFolder folder;
  folder.write("one.d88", testsupport::d88Of({noteDisk(0, "FIRST")}));
  folder.write("keep.txt", bytesOf("mine"));
  const auto first = testsupport::runTool(folder, {"one.d88"});
  const Tree afterFirst = folder.tree();
  const auto second = testsupport::runTool(folder, {"one.d88"});
  EXPECT_EQ(second.status, 0);
  EXPECT_EQ(second.out, first.out);
  EXPECT_EQ(folder.tree(), afterFirst);
  EXPECT_EQ(afterFirst.at("000/NOTE0.TXT"), noteBytes(0));
}

TEST(RunDriver, AnImageWhoseFolderCannotBeEnteredWritesNothingAndTheRunStaysPut) {
  TempFolder folder;
  folder.write("two.d88", testsupport::d88Of({noteDisk(0, "FIRST"), noteDisk(1, "SECOND")}));
  folder.write("000", bytesOf("a file where the folder would go"));
  const auto run = testsupport::runTool(folder, {"two.d88"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "MEDIA TYPE = 2D\n\n[FIRST] -> 000\n"
            "MEDIA TYPE = 2D\n\n[SECOND] -> 001\nNOTE1.TXT \n");
  Tree tree = folder.tree();
  tree.erase("two.d88");
  EXPECT_EQ(tree, (Tree{{"000", bytesOf("a file where the folder would go")},
                        {"001/", {}},
                        {"001/NOTE1.TXT", noteBytes(1)}}));
  // Nothing was written outside the folder the run started in.
  EXPECT_FALSE(std::filesystem::exists(folder.path().parent_path() / "001"));
}

TEST(RunDriver, AnUnknownMediaByteKeepsTheLayoutOfTheImageBefore) {
  TempFolder folder;
  ImageBuilder unknownFirst = noteDisk(0, "ODD0");
  unknownFirst.media(0x30);
  ImageBuilder unknownLater = noteDisk(2, "ODD2");
  unknownLater.media(0x30);
  folder.write("three.d88",
               testsupport::d88Of({unknownFirst, noteDisk(1, "PLAIN"), unknownLater}));
  const auto run = testsupport::runTool(folder, {"three.d88"});
  EXPECT_EQ(run.status, 0);
  // The first image has no layout to be read by: its line, and nothing else.
  EXPECT_EQ(run.out,
            "\n[ODD0] -> 000\n"
            "MEDIA TYPE = 2D\n\n[PLAIN] -> 001\nNOTE1.TXT \n"
            "\n[ODD2] -> 002\nNOTE2.TXT \n");
  Tree tree = folder.tree();
  tree.erase("three.d88");
  EXPECT_EQ(tree, (Tree{{"000/", {}}, {"001/", {}}, {"001/NOTE1.TXT", noteBytes(1)},
                        {"002/", {}}, {"002/NOTE2.TXT", noteBytes(2)}}));
}

TEST(RunDriver, DiskNamesArePrintedAsStored) {
  struct Case {
    std::string stored;
    std::string printed;
  };
  const std::vector<Case> cases = {
      {"ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNOP"},             // 16 bytes without a NUL
      {std::string("ABC\0XYZ", 7), "ABC"},                  // the name ends at the NUL
      {"\x83\x65\x83\x58\x83\x67", "\x83\x65\x83\x58\x83\x67"},  // Shift_JIS bytes pass through
      {"", ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.printed);
    TempFolder folder;
    folder.write("disk.d88", testsupport::d88Of({ImageBuilder().name(test.stored).media(0x77)}));
    const auto run = testsupport::runTool(folder, {"disk.d88", "-d"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "\n[" + test.printed + "]\n");
  }
}

}  // namespace
