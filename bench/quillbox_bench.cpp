// Measures quillbox against the I/O floor on the same machine in one run:
// the time to read the D88 file once and write the same output bytes. It
// makes its own D88 files with the test image builder: 64 full 2HD images,
// 64 full 2D images, and one 2HD image alone (for the memory figure).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/d88_builder.h"

namespace fs = std::filesystem;
using testsupport::Bytes;
using testsupport::Media;
using testsupport::VolumeBuilder;

namespace {

// A volume filled with files of mixed sizes, machine-language files among
// them, until no further file fits. The sizes come from a fixed sequence.
testsupport::ImageBuilder fullVolume(Media media, std::uint32_t seed) {
  VolumeBuilder volume(media);
  const int clusterBytes = volume.layout().clusterBytes();
  int freeClusters = volume.layout().clusterCount() - std::max(1, 16 / volume.layout().sectorsPerCluster);
  std::uint32_t state = seed;
  const auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (int index = 0; freeClusters > 0 && index < 150; ++index) {
    const bool machineLanguage = index % 4 == 1;
    std::size_t size = 1 + next() % (machineLanguage ? 30000 : 24000);
    int needed = static_cast<int>((size + 4 + clusterBytes - 1) / clusterBytes);
    if (needed > freeClusters) {
      needed = freeClusters;
      size = static_cast<std::size_t>(needed * clusterBytes - 4);
    }
    Bytes contents = testsupport::ramp(size, static_cast<std::uint8_t>(index));
    char name[8];
    std::snprintf(name, sizeof name, "F%05d", index);
    if (machineLanguage) {
      const std::size_t end = 0x8000 + size;  // one past the last byte
      const Bytes header = {0x00, 0x80, static_cast<std::uint8_t>(end), static_cast<std::uint8_t>(end >> 8)};
      contents.insert(contents.begin(), header.begin(), header.end());
      volume.addFile(name, "BIN", 0x01, contents);
    } else {
      volume.addFile(name, "DAT", 0x00, contents);
    }
    freeClusters -= needed;
  }
  return volume.image("BENCH");
}

// Built in a child process: the memory the builder takes must not count in
// the peak resident set of the tool, which is measured from a fork of this
// process.
void writeD88(const fs::path& path, Media media, int images) {
  const pid_t child = fork();
  if (child == 0) {
    std::vector<testsupport::ImageBuilder> all;
    for (int i = 0; i < images; ++i) all.push_back(fullVolume(media, 1234u + static_cast<std::uint32_t>(i)));
    const Bytes bytes = testsupport::d88Of(all);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    _exit(out ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

struct Sample {
  double seconds;
  long peakKiB;
};

// Runs the command in `folder` with its output to /dev/null; the child's own
// peak resident set comes from wait4.
Sample runOnce(const fs::path& folder, const std::vector<std::string>& command) {
  std::vector<std::string> args = command;
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(folder.c_str()) != 0 || !std::freopen("/dev/null", "w", stdout) ||
        !std::freopen("/dev/null", "w", stderr)) {
      _exit(127);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "command failed: %s\n", command[0].c_str());
    std::exit(1);
  }
  return {seconds, usage.ru_maxrss};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::uintmax_t treeBytes(const fs::path& folder) {
  std::uintmax_t total = 0;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (item.is_regular_file()) total += item.file_size();
  }
  return total;
}

struct Measurement {
  double tool;
  double floor;
  long peakKiB;
  std::uintmax_t outputBytes;
};

// The tool into a fresh folder, and the floor that writes the same tree.
Measurement measure(const std::string& tool, const fs::path& work, const fs::path& d88,
                    const std::vector<std::string>& switches, int runs) {
  std::vector<double> toolTimes;
  std::vector<double> floorTimes;
  long peak = 0;
  const fs::path out = work / "out";
  const fs::path copy = work / "copy";
  for (int run = 0; run < runs; ++run) {
    fs::remove_all(out);
    fs::create_directories(out);
    std::vector<std::string> command = {tool, fs::absolute(d88).string()};
    command.insert(command.end(), switches.begin(), switches.end());
    const Sample sample = runOnce(out, command);
    toolTimes.push_back(sample.seconds);
    peak = std::max(peak, sample.peakKiB);

    fs::remove_all(copy);
    const std::string floorScript = "cat '" + fs::absolute(d88).string() + "' > /dev/null && cp -r '" +
                                    out.string() + "' '" + copy.string() + "'";
    floorTimes.push_back(runOnce(work, {"sh", "-c", floorScript}).seconds);
  }
  return {median(toolTimes), median(floorTimes), peak, treeBytes(out)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: quillbox_bench QUILLBOX WORK_FOLDER [RUNS]\n");
    return 1;
  }
  const std::string tool = fs::absolute(argv[1]).string();
  const fs::path work = fs::absolute(argv[2]);
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  fs::create_directories(work);

  std::printf("generating D88 files in %s ...\n", work.c_str());
  const fs::path hd64 = work / "hd64.d88";
  const fs::path d64 = work / "2d64.d88";
  const fs::path hd1 = work / "hd1.d88";
  writeD88(hd64, Media::HD, 64);
  writeD88(d64, Media::D2, 64);
  writeD88(hd1, Media::HD, 1);

  struct Row {
    const char* label;
    fs::path file;
    std::vector<std::string> switches;
  };
  const std::vector<Row> rows = {
      {"64 x 2HD", hd64, {}}, {"64 x 2HD -d", hd64, {"-d"}}, {"64 x 2D", d64, {}},
      {"64 x 2D -d", d64, {"-d"}}, {"1 x 2HD", hd1, {}},
  };
  std::printf("median of %d runs; floor = cat D88 > /dev/null + cp -r of the extracted tree\n", runs);
  rusage self{};
  getrusage(RUSAGE_SELF, &self);
  std::printf("(this process: %ld KiB resident, a floor under every peak figure below)\n", self.ru_maxrss);
  std::printf("%-12s %10s %10s %10s %8s %12s %10s\n", "file", "input MB", "tool s", "floor s",
              "ratio", "output MB/s", "peak KiB");
  for (const Row& row : rows) {
    const Measurement m = measure(tool, work, row.file, row.switches, runs);
    std::printf("%-12s %10.1f %10.3f %10.3f %8.2f %12.1f %10ld\n", row.label,
                static_cast<double>(fs::file_size(row.file)) / 1e6, m.tool, m.floor, m.tool / m.floor,
                static_cast<double>(m.outputBytes) / 1e6 / m.tool, m.peakKiB);
  }
  fs::remove_all(work / "out");
  fs::remove_all(work / "copy");
  return 0;
}
