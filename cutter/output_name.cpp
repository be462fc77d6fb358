#include "cutter/output_name.h"

#include "cutter/host.h"

namespace cutter {
namespace {

// Bytes that no host file name may hold, and the zero byte, which would end it.
bool isReplaced(std::uint8_t byte) {
  switch (byte) {
    case '?': case '*': case '/': case '\\': case ':': case '<': case '>': case '|': case 0x00:
      return true;
    default:
      return false;
  }
}

void appendNameByte(std::string& name, std::uint8_t byte, int spaceMode) {
  if (byte == ' ') {
    if (spaceMode == 0) return;
    if (spaceMode == 2) byte = '_';
  } else if (isReplaced(byte)) {
    byte = '#';
  }
  name.push_back(static_cast<char>(byte));
}

}  // namespace

std::optional<std::string> makeOutputName(const DirectoryEntry& entry,
                                          const CutterOptions& options) {
  std::string name;
  for (std::uint8_t byte : entry.name) appendNameByte(name, byte, options.spaceMode);
  if (options.addPeriod) name.push_back('.');
  for (std::uint8_t byte : entry.extension) appendNameByte(name, byte, options.spaceMode);

  if (options.dollarOnClash) {
    while (host::fileExists(name)) {
      if (name.size() == maxOutputNameBytes) return std::nullopt;
      name.push_back('$');
    }
  }
  return name;
}

}  // namespace cutter
