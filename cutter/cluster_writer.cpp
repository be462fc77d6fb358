#include "cutter/cluster_writer.h"

#include <algorithm>

#include "cutter/bsave_header.h"
#include "cutter/console_texts.h"

namespace cutter {
namespace {

constexpr int lastClusterMark = 0xC0;

// Writes count bytes of the data area from offset on, or as many of them as
// the data area holds: nothing is ever taken from beyond its end.
bool writeData(std::FILE* output, const VolumeBuffers& buffers, int offset, int count) {
  const int available = VolumeBuffers::dataAreaBytes - offset;
  const int length = std::min(count, available);
  if (length <= 0) return true;
  const auto size = static_cast<std::size_t>(length);
  const std::size_t written = std::fwrite(buffers.dataArea.data() + offset, 1, size, output);
  return written == size && std::ferror(output) == 0;
}

}  // namespace

ChainResult writeClusterChain(std::FILE* output, int startCluster, HeaderPlan plan,
                              const MediaGeometry& geometry, const VolumeBuffers& buffers) {
  const int clusterBytes = geometry.clusterBytes();
  int cluster = startCluster;
  // A sound chain visits each cluster once; one that goes on longer loops.
  int visited = 1;
  for (;;) {
    const int fatByte = buffers.fat[static_cast<std::size_t>(cluster)];
    if (fatByte >= lastClusterMark) break;
    if (plan.budgetApplies && plan.byteBudget < clusterBytes) break;

    const int count = clusterBytes - plan.headerCut;
    if (!writeData(output, buffers, clusterOffset(geometry, cluster) + plan.headerCut, count)) {
      return ChainResult::WriteFailed;
    }
    plan.byteBudget -= count;
    plan.headerCut = 0;

    cluster = fatByte;
    if (cluster >= geometry.clusterCount || ++visited > geometry.clusterCount) {
      std::fputs(text::brokenChain, stdout);
      return ChainResult::BrokenLink;
    }
  }

  const int fatByte = buffers.fat[static_cast<std::size_t>(cluster)];
  int count = 0;
  if (plan.budgetApplies && plan.byteBudget > 0) {
    count = plan.byteBudget;
  } else if (fatByte >= lastClusterMark) {
    // May be negative when the header is still to be cut from a cluster the
    // FAT gives no sectors: that writes nothing.
    count = (fatByte & 0x1F) * 256 - plan.headerCut;
  }
  // Otherwise the budget ran out on a link, whose value counts no sectors.
  if (!writeData(output, buffers, clusterOffset(geometry, cluster) + plan.headerCut, count)) {
    return ChainResult::WriteFailed;
  }
  return ChainResult::Written;
}

EntryOutcome writeEntryFile(const std::string& name, const DirectoryEntry& entry,
                            const CutterOptions& options, const MediaGeometry& geometry,
                            const VolumeBuffers& buffers, const host::FileIdentity& inputFile) {
  std::FILE* output = host::createOutputFile(name, inputFile);
  if (output == nullptr) return EntryOutcome::NextEntry;
  std::printf(text::listingName, name.c_str());

  const HeaderPlan plan = planBsaveHeader(name, entry, options, geometry, buffers);
  if (plan.headerError) {
    std::fclose(output);
    return EntryOutcome::NextEntry;
  }
  if (entry.startCluster >= geometry.clusterCount) {
    std::fputs(text::brokenStartCluster, stdout);
    std::fclose(output);
    return EntryOutcome::EndOfDirectory;
  }
  std::fputs("\n", stdout);

  switch (writeClusterChain(output, entry.startCluster, plan, geometry, buffers)) {
    case ChainResult::WriteFailed:
      std::fputs(text::writeFailed, stderr);
      std::fclose(output);
      return EntryOutcome::RunFailed;
    case ChainResult::Written:
    case ChainResult::BrokenLink:
      break;
  }
  std::fclose(output);
  return EntryOutcome::NextEntry;
}

}  // namespace cutter
