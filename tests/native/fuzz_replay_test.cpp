// Every fuzz target over its seed corpus and over every input that ever made it fail
// (tests/fuzz/regressions), under this build's sanitizers: a fault that the fuzzer
// once found stays found.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_targets.h"

namespace orvel::fuzz {

namespace {
std::vector<std::string> failed_checks;
}  // namespace

void CheckFailed(const char* condition, const char* file, int line) {
  failed_checks.push_back(std::string(file) + ":" + std::to_string(line) + ": " + condition);
}

namespace {

class FuzzReplayTest : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzReplayTest, KeptInputsPass) {
  const std::filesystem::path fuzz_folder = std::filesystem::path(ORVEL_SOURCE_DIR) / "tests" / "fuzz";
  int seeds = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const std::filesystem::path folder = fuzz_folder / kind / GetParam().name;
    if (!std::filesystem::exists(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::ifstream file(entry.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
      failed_checks.clear();
      GetParam().run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      EXPECT_EQ(failed_checks, std::vector<std::string>{}) << entry.path();
      if (std::string(kind) == "corpus") ++seeds;
    }
  }
  EXPECT_GT(seeds, 0) << "no seed corpus for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplayTest, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel::fuzz
