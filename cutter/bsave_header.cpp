#include "cutter/bsave_header.h"

#include <cstdio>
#include <cstring>

#include "cutter/console_texts.h"
#include "d88/byte_fields.h"

namespace cutter {

const char longHeaderNames[21][10] = {
    "PP.",    "LOGO0.", "LOGO1.", "MACL.", "MAP0.", "MAP1.", "MAP2.",
    "MAP3.",  "MAC00.", "MAC10.", "MAC20.", "OPNMAP.", "NEC.", "TITL.",
    "SOUND.", "NEO.",   "NEM.",   "NEE.",  "NEPLY.", "NEPLY2.", "---------",
};

namespace {

constexpr const char* sentinel = "---------";

bool hasLongHeader(const std::string& name) {
  for (const char* listed : longHeaderNames) {
    if (std::strcmp(listed, sentinel) == 0) return false;
    if (name == listed) return true;
  }
  return false;
}

int readBe16(const std::uint8_t* bytes) { return (bytes[0] << 8) | bytes[1]; }

}  // namespace

HeaderPlan planBsaveHeader(const std::string& name, const DirectoryEntry& entry,
                           const CutterOptions& options, const MediaGeometry& geometry,
                           const VolumeBuffers& buffers) {
  HeaderPlan plan;
  if (!options.cutBsaveHeader || !entry.isMachineLanguage()) return plan;

  const bool longForm = hasLongHeader(name);
  plan.headerCut = longForm ? 6 : 4;
  std::fputs(longForm ? text::headerCut6 : text::headerCut4, stdout);

  // A start cluster outside the volume has no header to read: the writer's
  // start-cluster check reports it, right after the note printed above.
  if (entry.startCluster >= geometry.clusterCount) return plan;

  const std::uint8_t* header = buffers.dataArea.data() + clusterOffset(geometry, entry.startCluster);
  int start = 0;
  int end = 0;
  if (longForm) {
    start = readBe16(header);
    end = start + readBe16(header + 2);
  } else {
    start = d88::readLe16(header);
    end = d88::readLe16(header + 2);
  }
  const int exclusiveEnd = options.exclusiveEnd ? 1 : 0;
  if (start > end) {
    std::fputs(text::headerError, stdout);
    plan.headerError = true;
    return plan;
  }
  std::printf(text::headerRange, static_cast<unsigned>(start),
              static_cast<unsigned>(end - exclusiveEnd));
  plan.byteBudget = end - start + 1 - exclusiveEnd;
  plan.budgetApplies = true;
  return plan;
}

}  // namespace cutter
