#include "cutter/run_cutter.h"

#include <cstdio>
#include <memory>

#include "cutter/cluster_writer.h"
#include "cutter/console_texts.h"
#include "cutter/cutter_options.h"
#include "cutter/directory_walk.h"
#include "cutter/host.h"
#include "cutter/media_geometry.h"
#include "cutter/output_name.h"
#include "cutter/volume_buffers.h"
#include "cutter/volume_loader.h"
#include "d88/d88_file.h"

namespace cutter {
namespace {

// Walks one loaded volume; false when a write failed and the run must end.
bool extractEntries(const CutterOptions& options, const MediaGeometry& geometry,
                    const VolumeBuffers& buffers, const host::FileIdentity& inputFile) {
  bool failed = false;
  walkDirectory(buffers, [&](const DirectoryEntry& entry) {
    const std::optional<std::string> name = makeOutputName(entry, options);
    if (!name) return true;  // no free name: skipped like a file that can't be created
    switch (writeEntryFile(*name, entry, options, geometry, buffers, inputFile)) {
      case EntryOutcome::NextEntry: return true;
      case EntryOutcome::EndOfDirectory: return false;
      case EntryOutcome::RunFailed: break;
    }
    failed = true;
    return false;
  });
  return !failed;
}

}  // namespace

int runCutter(const std::vector<std::string>& arguments) {
  d88::D88File image;
  std::fputs(text::banner, stderr);
  if (arguments.size() < 2) return showUsage(1);

  CutterOptions options;
  if (arguments.size() > 2) {
    const std::optional<CutterOptions> parsed = parseOptions(arguments);
    if (!parsed) return showUsage(1);
    options = *parsed;
  }

  if (!image.open(arguments[1].c_str())) {
    std::fputs(text::openFailed, stderr);
    return 1;
  }
  const host::FileIdentity inputFile(arguments[1]);
  // Each image folder is made here, and every image comes back here, even
  // when an image folder is a link that leads elsewhere.
  const std::filesystem::path startFolder = host::currentFolder();
  const auto buffers = std::make_unique<VolumeBuffers>();
  const MediaGeometry* geometry = nullptr;

  for (int index = 0; index < image.imageCount(); ++index) {
    buffers->clear();
    image.selectImage(index);
    if (const MediaGeometry* known = geometryForMedia(image.mediaType())) {
      std::fputs(known->mediaLine, stdout);
      geometry = known;
    }
    if (geometry != nullptr) applySectorRange(image, *geometry);

    // Files of an image whose folder can't be entered would land in the
    // starting folder, and its step up would leave the place the user chose.
    bool inImageFolder = true;
    if (options.makeSubfolders) {
      char folderName[12];
      std::snprintf(folderName, sizeof folderName, "%03d", index);
      host::makeFolder(folderName);
      inImageFolder = host::enterFolder(folderName);
      std::printf(text::imageLineWithFolder, image.diskName(), folderName);
    } else {
      std::printf(text::imageLine, image.diskName());
    }

    // With no known media byte yet there is no layout to read the image by.
    if (inImageFolder && geometry != nullptr && loadVolume(image, *geometry, *buffers) &&
        !extractEntries(options, *geometry, *buffers, inputFile)) {
      return 1;
    }
    if (options.makeSubfolders && inImageFolder) host::enterFolder(startFolder);
  }
  return 0;
}

}  // namespace cutter
