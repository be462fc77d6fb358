#include "cutter/cutter_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using cutter::CutterOptions;
using cutter::parseOptions;

// The program name and the image path, which come before every switch.
std::vector<std::string> afterImage(std::vector<std::string> switches) {
  std::vector<std::string> arguments = {"quillbox", "disk.d88"};
  arguments.insert(arguments.end(), switches.begin(), switches.end());
  return arguments;
}

struct OptionsCase {
  const char* label;
  std::vector<std::string> arguments;  // whole command line, program name first
  bool asksForUsage;
  void (*change)(CutterOptions&);      // what moves away from the defaults
};

void unchanged(CutterOptions&) {}

void expectSameOptions(const CutterOptions& actual, const CutterOptions& expected) {
  EXPECT_EQ(actual.makeSubfolders, expected.makeSubfolders) << "makeSubfolders";
  EXPECT_EQ(actual.cutBsaveHeader, expected.cutBsaveHeader) << "cutBsaveHeader";
  EXPECT_EQ(actual.spaceMode, expected.spaceMode) << "spaceMode";
  EXPECT_EQ(actual.addPeriod, expected.addPeriod) << "addPeriod";
  EXPECT_EQ(actual.dollarOnClash, expected.dollarOnClash) << "dollarOnClash";
  EXPECT_EQ(actual.exclusiveEnd, expected.exclusiveEnd) << "exclusiveEnd";
}

TEST(ParseOptionsTest, DefaultsHaveEverySwitchAtRest) {
  const CutterOptions defaults;
  EXPECT_TRUE(defaults.makeSubfolders);
  EXPECT_TRUE(defaults.cutBsaveHeader);
  EXPECT_EQ(defaults.spaceMode, 0);
  EXPECT_TRUE(defaults.addPeriod);
  EXPECT_FALSE(defaults.dollarOnClash);
  EXPECT_TRUE(defaults.exclusiveEnd);
}

TEST(ParseOptionsTest, ReadsEachArgumentAfterTheImagePath) {
  const std::vector<OptionsCase> cases = {
      {"no switch", afterImage({}), false, unchanged},

      // Each switch on its own.
      {"-d", afterImage({"-d"}), false, [](CutterOptions& o) { o.makeSubfolders = false; }},
      {"-b-", afterImage({"-b-"}), false, [](CutterOptions& o) { o.cutBsaveHeader = false; }},
      {"-s0", afterImage({"-s0"}), false, [](CutterOptions& o) { o.spaceMode = 0; }},
      {"-s1", afterImage({"-s1"}), false, [](CutterOptions& o) { o.spaceMode = 1; }},
      {"-s2", afterImage({"-s2"}), false, [](CutterOptions& o) { o.spaceMode = 2; }},
      {"-p", afterImage({"-p"}), false, [](CutterOptions& o) { o.addPeriod = false; }},
      {"-f", afterImage({"-f"}), false, [](CutterOptions& o) { o.dollarOnClash = true; }},
      {"-v-", afterImage({"-v-"}), false, [](CutterOptions& o) { o.exclusiveEnd = false; }},
      {"all together", afterImage({"-v-", "-f", "-p", "-s2", "-b-", "-d"}), false,
       [](CutterOptions& o) {
         o.makeSubfolders = false;
         o.cutBsaveHeader = false;
         o.spaceMode = 2;
         o.addPeriod = false;
         o.dollarOnClash = true;
         o.exclusiveEnd = false;
       }},
      {"a switch given twice", afterImage({"-d", "-d", "-f", "-f"}), false,
       [](CutterOptions& o) {
         o.makeSubfolders = false;
         o.dollarOnClash = true;
       }},

      // Only the whole argument matches, with case told apart.
      {"-b is not -b-", afterImage({"-b"}), false, unchanged},
      {"upper-case -D", afterImage({"-D"}), false, unchanged},
      {"upper-case -F and -P", afterImage({"-F", "-P"}), false, unchanged},
      {"upper-case -B- and -V-", afterImage({"-B-", "-V-"}), false, unchanged},
      {"-v without its minus", afterImage({"-v"}), false, unchanged},
      {"switches with a tail", afterImage({"-dd", "-b--", "-p-", "-f ", "-v-x"}), false, unchanged},
      {"switches without their dash", afterImage({"d", "b-", "p", "f", "v-", "s1"}), false,
       unchanged},
      {"empty argument", afterImage({""}), false, unchanged},
      {"a path-like argument", afterImage({"other.d88"}), false, unchanged},

      // "-s" takes the third character alone, when it is 0, 1 or 2.
      {"bare -s", afterImage({"-s"}), false, unchanged},
      {"-s3", afterImage({"-s3"}), false, unchanged},
      {"upper-case -S1", afterImage({"-S1"}), false, unchanged},
      {"-s1x", afterImage({"-s1x"}), false, [](CutterOptions& o) { o.spaceMode = 1; }},
      {"-s2 then -s0", afterImage({"-s2", "-s0"}), false, unchanged},
      {"-s0 then -s9", afterImage({"-s0", "-s9"}), false, unchanged},
      {"-s2 then -s9", afterImage({"-s2", "-s9"}), false,
       [](CutterOptions& o) { o.spaceMode = 2; }},
      {"-s1 then bare -s", afterImage({"-s1", "-s"}), false,
       [](CutterOptions& o) { o.spaceMode = 1; }},

      // A request for the usage text wins over everything around it.
      {"-h", afterImage({"-h"}), true, unchanged},
      {"-?", afterImage({"-?"}), true, unchanged},
      {"-h after other switches", afterImage({"-d", "-s2", "-f", "-h"}), true, unchanged},
      {"-? between switches", afterImage({"-p", "-?", "-d"}), true, unchanged},
      {"-h before other switches", afterImage({"-h", "-d"}), true, unchanged},
      {"upper-case -H", afterImage({"-H"}), false, unchanged},
      {"-help", afterImage({"-help", "-h-", "-??"}), false, unchanged},

      // Neither the program name nor the image path is ever read as a switch.
      {"-h as the image path", {"quillbox", "-h"}, false, unchanged},
      {"-d as the image path", {"quillbox", "-d", "disk.d88"}, false, unchanged},
      {"-? as the program name", {"-?", "disk.d88", "-p"}, false,
       [](CutterOptions& o) { o.addPeriod = false; }},
      {"program name alone", {"quillbox"}, false, unchanged},
      {"nothing at all", {}, false, unchanged},
  };

  for (const OptionsCase& c : cases) {
    SCOPED_TRACE(c.label);
    const std::optional<CutterOptions> parsed = parseOptions(c.arguments);
    if (c.asksForUsage) {
      EXPECT_FALSE(parsed.has_value());
      continue;
    }
    if (!parsed.has_value()) {
      ADD_FAILURE() << "asked for the usage text";
      continue;
    }
    CutterOptions expected;
    c.change(expected);
    expectSameOptions(*parsed, expected);
  }
}

}  // namespace
