// Writes a small 2D D88 file whose volume shows what the tool does: a text
// file, a file spanning several clusters, and a BSAVE machine-language file
// in each header form.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/d88_builder.h"

using testsupport::Bytes;
using testsupport::bytesOf;
using testsupport::joined;

namespace {

Bytes textFile(const std::string& text) { return joined({bytesOf(text), {0x1A}}); }

Bytes story() {
  std::string text;
  for (int line = 1; line <= 100; ++line) {
    text += std::to_string(line * 10) + " PRINT \"LINE " + std::to_string(line) +
            " OF A FILE THAT SPANS SEVERAL CLUSTERS\"\r\n";
  }
  return textFile(text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_d88 OUTPUT.d88\n");
    return 1;
  }
  testsupport::VolumeBuilder volume(testsupport::Media::D2);
  volume.addFile("HELLO", "TXT", 0x00,
                 textFile("10 PRINT \"HELLO FROM A PC-8801 DISK\"\r\n20 END\r\n"));
  volume.addFile("STORY", "BAS", 0x00, story());
  // 4-byte header: load address 0xC000, end address 0xC980 (one past the last byte).
  volume.addFile("LOADER", "BIN", 0x01,
                 joined({{0x00, 0xC0, 0x80, 0xC9}, testsupport::ramp(0x980, 0x00)}));
  // 6-byte header (the name PP is one that uses it): address 0x9000, 0x100 bytes.
  volume.addFile("PP", "", 0x01,
                 joined({{0x90, 0x00, 0x01, 0x00, 0x00, 0x00}, testsupport::ramp(0x100, 0x80)}));

  const Bytes d88 = testsupport::d88Of({volume.image("SAMPLE DISK")});
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(d88.data()), static_cast<std::streamsize>(d88.size()));
  if (!out) {
    std::fprintf(stderr, "make_sample_d88: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
