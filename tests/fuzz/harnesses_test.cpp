// The fuzz harnesses on every seed input and every input a fuzz run ever found a fault with:
// each must run through clean, so a fault once fixed stays fixed (and, in the sanitizer build,
// free of memory errors, leaks and undefined behaviour).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "artnetharness.h"
#include "dialogharness.h"
#include "fuzzrack.h"
#include "kivnetharness.h"
#include "rigfileharness.h"
#include "sentmessagecheck.h"
#include "updateportharness.h"

namespace {

std::vector<std::filesystem::path> Inputs(const std::string& harness)
{
    std::vector<std::filesystem::path> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        const std::filesystem::path folder =
            std::filesystem::path(RIGWISE_FUZZ_DIR) / kind / harness;
        if (!std::filesystem::is_directory(folder))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
    }
    return inputs;
}

std::vector<uint8_t> Read(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

template <class Harness> void ReplayAll(const std::string& name, size_t atLeast)
{
    FuzzRack rack;
    Harness harness(rack);
    const std::vector<std::filesystem::path> inputs = Inputs(name);
    EXPECT_GE(inputs.size(), atLeast) << "seed corpus of " << name << " missing";
    for (const std::filesystem::path& input : inputs) {
        const std::vector<uint8_t> bytes = Read(input);
        EXPECT_EQ(harness.Run(bytes.data(), bytes.size()), "") << input;
    }
    rack.Reset();
}

} // namespace

TEST(FuzzInputs, UpdatePortHarnessRunsEveryKeptInputClean)
{
    ReplayAll<UpdatePortHarness>("update", 10);
}

TEST(FuzzInputs, KivnetHarnessRunsEveryKeptInputClean)
{
    ReplayAll<KivnetHarness>("kivnet", 50);
}

TEST(FuzzInputs, ArtNetHarnessRunsEveryKeptInputClean)
{
    ReplayAll<ArtNetHarness>("artnet", 5);
}

TEST(FuzzInputs, DialogHarnessRunsEveryKeptInputClean)
{
    ReplayAll<DialogHarness>("dialogs", 8);
}

TEST(FuzzInputs, RigFileHarnessRunsEveryKeptInputClean)
{
    ReplayAll<RigFileHarness>("rigfile", 3);
}

// The harness's own check must be able to fail: a name the device would store cut is found.
TEST(FuzzInputs, SentMessageCheckFindsWhatTheDialogDidNotShow)
{
    std::vector<uint8_t> settings(222, 0);
    const uint8_t header[] = {0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x00, 0x20};
    std::copy(std::begin(header), std::end(header), settings.begin());
    const std::string cut = "SwitchKappa0\xC3\xBC-\xC3\xBC"; // 17 bytes
    std::copy(cut.begin(), cut.end(), settings.begin() + 8);
    settings[34] = 1;
    settings[35] = 5;
    const wxString shown = wxString::FromUTF8("SwitchKappa0\xC3\xBC-\xC3\xBC"
                                              "a");
    EXPECT_NE(SentMessageCheck::DeviceSettings(settings, &shown, false, 5), "");
    const wxString same = wxString::FromUTF8(cut.c_str());
    EXPECT_EQ(SentMessageCheck::DeviceSettings(settings, &same, false, 5), "");
    settings[24] = 0xC3; // half a character at the field's end
    EXPECT_NE(SentMessageCheck::DeviceSettings(settings, nullptr, false, 0), "");
}
