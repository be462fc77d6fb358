// Every text the tool writes to the console. The Japanese texts are kept as
// Shift_JIS (code page 932) bytes, independent of the source file's and the
// compiler's character set; the decoded text stands beside each.
#pragma once

namespace cutter::text {

inline constexpr const char* banner = "N88-Disk BASIC TOMBARO version 0.92\n";

inline constexpr const char* usageLines[] = {
    "Usage: quillbox.exe [d88file] [-d][-b][-s[0|1|2]]\n",
    // "       -d  : サブディレクトリを作成しない\n"
    "       -d  : \x83T\x83u\x83" "f\x83" "B\x83\x8c\x83N\x83g\x83\x8a\x82\xf0\x8d\xec\x90\xac\x82\xb5"
    "\x82\xc8\x82\xa2\n",
    // "       -b- : 機械語ファイルのbsaveヘッダを切り落とさない\n"
    "       -b- : \x8b@\x8a" "B\x8c\xea\x83t\x83@\x83" "C\x83\x8b\x82\xcc" "bsave\x83w\x83" "b\x83_"
    "\x82\xf0\x90\xd8\x82\xe8\x97\x8e\x82\xc6\x82\xb3\x82\xc8\x82\xa2\n",
    // "       -s0 : ファイル名のスペースを削除して出力 (default)\n"
    "       -s0 : \x83t\x83@\x83" "C\x83\x8b\x96\xbc\x82\xcc\x83X\x83y\x81[\x83X\x82\xf0\x8d\xed\x8f\x9c"
    "\x82\xb5\x82\xc4\x8fo\x97\xcd (default)\n",
    // "       -s1 : ファイル名のスペースをそのまま出力\n"
    "       -s1 : \x83t\x83@\x83" "C\x83\x8b\x96\xbc\x82\xcc\x83X\x83y\x81[\x83X\x82\xf0\x82\xbb\x82\xcc"
    "\x82\xdc\x82\xdc\x8fo\x97\xcd\n",
    // "       -s2 : ファイル名のスペースを _ に置換して出力\n"
    "       -s2 : \x83t\x83@\x83" "C\x83\x8b\x96\xbc\x82\xcc\x83X\x83y\x81[\x83X\x82\xf0 _ \x82\xc9\x92u"
    "\x8a\xb7\x82\xb5\x82\xc4\x8fo\x97\xcd\n",
    // "       -p  : 拡張子用のピリオドを付加しない\n"
    "       -p  : \x8ag\x92\xa3\x8eq\x97p\x82\xcc\x83s\x83\x8a\x83I\x83h\x82\xf0\x95t\x89\xc1\x82\xb5\x82\xc8"
    "\x82\xa2\n",
    // "       -v- : bsaveサイズ判定を簡易的に行なう\n"
    "       -v- : bsave\x83T\x83" "C\x83Y\x94\xbb\x92\xe8\x82\xf0\x8a\xc8\x88\xd5\x93I\x82\xc9\x8ds\x82\xc8"
    "\x82\xa4\n",
    // "       -f  : 重複ファイル名に $ を付加して出力\n"
    "       -f  : \x8f" "d\x95\xa1\x83t\x83@\x83" "C\x83\x8b\x96\xbc\x82\xc9 $ \x82\xf0\x95t\x89\xc1\x82\xb5"
    "\x82\xc4\x8fo\x97\xcd\n",
};

// "ファイルをオープンできません.\n"
inline constexpr const char* openFailed =
    "\x83t\x83@\x83" "C\x83\x8b\x82\xf0\x83I\x81[\x83v\x83\x93\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1.\n";

// "ファイルを書き込めません.\n"
inline constexpr const char* writeFailed =
    "\x83t\x83@\x83" "C\x83\x8b\x82\xf0\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1.\n";

// " ** クラスタ破損 **\n": ends a listing line whose start cluster is out of range.
inline constexpr const char* brokenStartCluster =
    " ** \x83N\x83\x89\x83X\x83^\x94j\x91\xb9 **\n";

// "** クラスタ破損 **\n": a line of its own for a chain broken while writing.
inline constexpr const char* brokenChain = "** \x83N\x83\x89\x83X\x83^\x94j\x91\xb9 **\n";

inline constexpr const char* imageLineWithFolder = "\n[%s] -> %s\n";
inline constexpr const char* imageLine = "\n[%s]\n";
inline constexpr const char* listingName = "%-10s";
inline constexpr const char* headerCut4 = " *** [HEADER CUT(4)]";
inline constexpr const char* headerCut6 = " *** [HEADER CUT(6)]";
inline constexpr const char* headerRange = " ADDR=%04x END=%04x";
inline constexpr const char* headerError = " BSAVE HEADER ERROR!!\n";

}  // namespace cutter::text
