#include "tests/support/tool_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifndef QUILLBOX_BINARY
#error "QUILLBOX_BINARY must name the tool under test"
#endif

namespace testsupport {
namespace fs = std::filesystem;

const std::string bannerText = "N88-Disk BASIC TOMBARO version 0.92\n";
// Shift_JIS bytes of the Japanese texts, decoded in the comments.
const std::string usageText =
    "Usage: quillbox.exe [d88file] [-d][-b][-s[0|1|2]]\n"
    // -d  : サブディレクトリを作成しない
    "       -d  : \x83T\x83u\x83" "f\x83" "B\x83\x8c\x83N\x83g\x83\x8a\x82\xf0\x8d\xec\x90\xac"
    "\x82\xb5\x82\xc8\x82\xa2\n"
    // -b- : 機械語ファイルのbsaveヘッダを切り落とさない
    "       -b- : \x8b@\x8a" "B\x8c\xea\x83t\x83@\x83" "C\x83\x8b\x82\xcc" "bsave\x83w\x83"
    "b\x83_\x82\xf0\x90\xd8\x82\xe8\x97\x8e\x82\xc6\x82\xb3\x82\xc8\x82\xa2\n"
    // -s0 : ファイル名のスペースを削除して出力 (default)
    "       -s0 : \x83t\x83@\x83" "C\x83\x8b\x96\xbc\x82\xcc\x83X\x83y\x81[\x83X\x82\xf0\x8d\xed"
    "\x8f\x9c\x82\xb5\x82\xc4\x8fo\x97\xcd (default)\n"
    // -s1 : ファイル名のスペースをそのまま出力
    "       -s1 : \x83t\x83@\x83" "C\x83\x8b\x96\xbc\x82\xcc\x83X\x83y\x81[\x83X\x82\xf0\x82\xbb"
    "\x82\xcc\x82\xdc\x82\xdc\x8fo\x97\xcd\n"
    // -s2 : ファイル名のスペースを _ に置換して出力
    "       -s2 : \x83t\x83@\x83" "C\x83\x8b\x96\xbc\x82\xcc\x83X\x83y\x81[\x83X\x82\xf0 _ \x82\xc9"
    "\x92u\x8a\xb7\x82\xb5\x82\xc4\x8fo\x97\xcd\n"
    // -p  : 拡張子用のピリオドを付加しない
    "       -p  : \x8ag\x92\xa3\x8eq\x97p\x82\xcc\x83s\x83\x8a\x83I\x83h\x82\xf0\x95t\x89\xc1\x82\xb5"
    "\x82\xc8\x82\xa2\n"
    // -v- : bsaveサイズ判定を簡易的に行なう
    "       -v- : bsave\x83T\x83" "C\x83Y\x94\xbb\x92\xe8\x82\xf0\x8a\xc8\x88\xd5\x93I\x82\xc9\x8ds"
    "\x82\xc8\x82\xa4\n"
    // -f  : 重複ファイル名に $ を付加して出力
    "       -f  : \x8f" "d\x95\xa1\x83t\x83@\x83" "C\x83\x8b\x96\xbc\x82\xc9 $ \x82\xf0\x95t\x89\xc1"
    "\x82\xb5\x82\xc4\x8fo\x97\xcd\n";
// ファイルをオープンできません.
const std::string openFailedText =
    "\x83t\x83@\x83" "C\x83\x8b\x82\xf0\x83I\x81[\x83v\x83\x93\x82\xc5\x82\xab\x82\xdc\x82\xb9"
    "\x82\xf1.\n";
// ファイルを書き込めません.
const std::string writeFailedText =
    "\x83t\x83@\x83" "C\x83\x8b\x82\xf0\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1.\n";

namespace {

std::string slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path makeTempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillbox-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return fs::path(pattern);
}

}  // namespace

TempFolder::TempFolder() : path_(makeTempFolder()) {}

TempFolder::~TempFolder() {
  std::error_code error;
  // Folders the tests made unwritable must become writable to be removed.
  for (auto it = fs::recursive_directory_iterator(path_, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_directory(error) && !it->is_symlink(error)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
  }
  fs::remove_all(path_, error);
}

void TempFolder::write(const std::string& name, const Bytes& bytes) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + name);
}

Bytes TempFolder::read(const std::string& name) const {
  const std::string text = slurp(path_ / name);
  return Bytes(text.begin(), text.end());
}

std::map<std::string, Bytes> TempFolder::tree() const {
  std::map<std::string, Bytes> entries;
  for (const auto& item : fs::recursive_directory_iterator(path_)) {
    const std::string relative = item.path().lexically_relative(path_).generic_string();
    if (item.is_directory() && !item.is_symlink()) {
      entries[relative + "/"] = {};
    } else if (item.is_symlink()) {
      entries[relative + "@"] = {};
    } else {
      entries[relative] = read(relative);
    }
  }
  return entries;
}

ToolResult runTool(const TempFolder& folder, const std::vector<std::string>& arguments) {
  const TempFolder capture;  // outside the folder under test, which is checked whole
  const fs::path outPath = capture / "stdout";
  const fs::path errPath = capture / "stderr";

  std::vector<std::string> argv = {QUILLBOX_BINARY};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> pointers;
  for (std::string& argument : argv) pointers.push_back(argument.data());
  pointers.push_back(nullptr);

  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int none = ::open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || none < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
        dup2(none, 0) < 0 || chdir(folder.path().c_str()) != 0) {
      _exit(127);
    }
    execv(pointers[0], pointers.data());
    _exit(127);
  }
  int waitStatus = 0;
  if (waitpid(child, &waitStatus, 0) != child) throw std::runtime_error("waitpid failed");

  ToolResult result;
  result.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  return result;
}

}  // namespace testsupport
