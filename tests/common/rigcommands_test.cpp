// "Save Rig" and "Load Rig" with files on disk: what the drawn message says, and that a file
// refused for any reason changes nothing and sends nothing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <wx/filename.h>
#include <wx/frame.h>

#include "common/appstate.h"
#include "common/controlpanel.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvasswitch.h"
#include "common/controls/switchandbutton.h"
#include "common/overlay.h"
#include "common/rigcommands.h"
#include "devices/basenode.h"
#include "devices/dmxport.h"
#include "dialogs/messagedialog.h"
#include "fuzzrack.h"
#include "simulatedrig.h"

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

class RigCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/rigcommands-XXXXXX";
        folder = mkdtemp(pattern);
        rig.DiscoverAll();
        rig.Settle(20000);
        frame = new wxFrame(nullptr, wxID_ANY, "bar");
        bar = new exControlPanel(frame);
        commands = std::make_unique<exRigCommands>(rack.Panel(), bar);
        commands->now = [] { return wxDateTime(9, wxDateTime::Dec, 2026, 12, 0, 0); };
        saved = folder + "/saved.rigwise.json";
        ASSERT_TRUE(commands->SaveTo(saved));
        sentBefore = rack.kivnet.sent.size() + rack.update.sent.size();
    }

    void TearDown() override
    {
        commands.reset();
        frame->Destroy();
        std::system(("rm -rf " + folder).c_str());
    }

    exMessageDialog* Message() { return dynamic_cast<exMessageDialog*>(rack.Root()->overlay); }

    wxString MessageText()
    {
        const exMessageDialog* message = Message();
        return message ? wxJoin(message->lines, '\n') : wxString();
    }

    bool AnythingPendingOrSent()
    {
        for (exBaseNode* device : rack.Devices())
            if (device->modified)
                return true;
        return rack.kivnet.sent.size() + rack.update.sent.size() != sentBefore;
    }

    FuzzRack rack;
    SimulatedRig rig{rack};
    wxFrame* frame = nullptr;
    exControlPanel* bar = nullptr;
    std::unique_ptr<exRigCommands> commands;
    std::string folder;
    std::string saved;
    size_t sentBefore = 0;
};

} // namespace

TEST_F(RigCommandsTest, SavesEveryReadBackDeviceAndLoadsItBackUnchanged)
{
    ASSERT_NE(Message(), nullptr);
    EXPECT_EQ(Message()->title, "Save Rig");
    EXPECT_EQ(MessageText(),
              wxString::Format("Saved %zu devices to saved.rigwise.json.", rig.devices.size()));
    EXPECT_EQ(ReadText(saved).rfind("{", 0), 0u);

    ASSERT_TRUE(commands->LoadFrom(saved));
    EXPECT_EQ(Message()->title, "Load Rig");
    EXPECT_TRUE(MessageText().Contains("Every value is as saved"));
    EXPECT_FALSE(AnythingPendingOrSent());
    EXPECT_EQ(exAppState::autoSend, 1) << "nothing to send: Auto Update stays as it was";
}

TEST_F(RigCommandsTest, ALoadWithDifferencesTurnsAutoUpdateOffAndListsAbsentDevices)
{
    std::string text = ReadText(saved);
    // A device the network does not have, and one name changed.
    const size_t unit = text.find("\"unit\": 1,");
    ASSERT_NE(unit, std::string::npos);
    text.replace(unit, 10, "\"unit\": 900,");
    const size_t name = text.find("\"name\": \"", text.find("\"unit\": 2,"));
    text.insert(name + 9, "New ");
    WriteText(saved, text);

    ASSERT_TRUE(commands->LoadFrom(saved));
    EXPECT_TRUE(MessageText().Contains(
        wxString::Format("Loaded saved.rigwise.json: %zu devices of %zu found",
                         rig.devices.size() - 1, rig.devices.size())));
    EXPECT_TRUE(MessageText().Contains("1 value differs, drawn in red; press Update"));
    EXPECT_TRUE(MessageText().Contains("Not on the network:\n    Pylon NodeBeta unit 900"));
    EXPECT_EQ(exAppState::autoSend, 0);
    EXPECT_FALSE(bar->updatePair->switchControl->on);
    EXPECT_TRUE(bar->updatePair->button->enabled);
    EXPECT_EQ(rack.kivnet.sent.size() + rack.update.sent.size(), sentBefore);
}

// A value the model allows but this device's dialogs cannot set is no reason to refuse the file:
// it is listed, and the rest is loaded.
TEST_F(RigCommandsTest, AValueNoDialogOfTheDeviceCanSetIsListedAndTheRestLoads)
{
    std::string text = ReadText(saved);
    // The Sprite (unit 3) has no lock on its front panel; the NodeDelta (unit 4) is renamed.
    const size_t lock = text.find("\"lock\": false", text.find("\"unit\": 3,"));
    ASSERT_NE(lock, std::string::npos);
    text.replace(lock, 13, "\"lock\": true");
    const size_t name = text.find("\"name\": \"", text.find("\"unit\": 4,"));
    text.insert(name + 9, "New ");
    WriteText(saved, text);

    ASSERT_TRUE(commands->LoadFrom(saved));
    EXPECT_TRUE(MessageText().Contains("1 value differs, drawn in red")) << MessageText();
    EXPECT_TRUE(MessageText().Contains("Left as they are (no dialog can set these):\n"
                                       "    Sprite unit 3: its front-panel lock cannot be set"))
        << MessageText();
    for (exBaseNode* device : rack.Devices())
        EXPECT_EQ(device->modified, device->network.unitNumber == 4) << device->title;
    EXPECT_EQ(rack.kivnet.sent.size() + rack.update.sent.size(), sentBefore);
}

TEST_F(RigCommandsTest, AFileRefusedForAnyReasonChangesNothing)
{
    const std::string good = ReadText(saved);
    struct Case {
        const char* what;
        std::string text; // written to the file; empty: the path is used as it is
        std::string path;
        const char* says;
    };
    // The first device's entry once more, right after it.
    std::string twice = good;
    const size_t entry = twice.find("    {", twice.find("\"devices\""));
    const size_t entryEnd = twice.find("\n    }", entry) + 6;
    twice.insert(entryEnd, ",\n" + twice.substr(entry, entryEnd - entry));
    std::string wrongType = good;
    wrongType.replace(wrongType.find("\"dhcp\": false"), 13, "\"dhcp\": \"no\"");
    std::string universe = good;
    const size_t port = universe.find("\"protocol\": null");
    universe.replace(port, 16, "\"protocol\": \"shownet\"");
    universe.replace(universe.find("\"universe\": null", port), 16, "\"universe\": 300");
    const std::vector<Case> cases = {
        {"missing", "", folder + "/nothing-here.json", "nothing-here.json"},
        {"a folder", "", folder, ""},
        {"truncated", good.substr(0, good.size() / 2), folder + "/cut.json", ""},
        {"not JSON", "rig: yes\n", folder + "/plain.json", ""},
        {"the same device twice", twice, folder + "/twice.json", "twice"},
        {"a wrong type", wrongType, folder + "/type.json", "dhcp"},
        {"a universe outside its protocol", universe, folder + "/universe.json", "300"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.text.empty())
            WriteText(c.path, c.text);
        EXPECT_FALSE(commands->LoadFrom(c.path));
        ASSERT_NE(Message(), nullptr);
        EXPECT_TRUE(MessageText().Contains("was not loaded; nothing has changed."));
        EXPECT_TRUE(MessageText().Lower().Contains(wxString(c.says).Lower())) << MessageText();
        EXPECT_FALSE(AnythingPendingOrSent());
    }

    // 100 MB is refused by its size, without reading it.
    const std::string huge = folder + "/huge.json";
    const int fd = open(huge.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(ftruncate(fd, 100 * 1024 * 1024), 0);
    close(fd);
    EXPECT_FALSE(commands->LoadFrom(huge));
    EXPECT_FALSE(AnythingPendingOrSent());
}

TEST_F(RigCommandsTest, ASaveThatFailsSaysWhyAndLeavesNoFile)
{
    const std::string path = folder + "/no-such-folder/rig.rigwise.json";
    EXPECT_FALSE(commands->SaveTo(path));
    EXPECT_TRUE(MessageText().Contains("No such file or directory")) << MessageText();
    EXPECT_FALSE(wxFileName::Exists(path));
}

TEST_F(RigCommandsTest, LoadingClosesAnOpenSettingsDialogWithoutItsOk)
{
    exBaseNode* device = rack.Devices().front();
    exOverlay::OpenDialogOf(device->dmxPorts[0], [device](exCanvasControl* root) {
        return device->dmxPorts[0]->CreateDialog(root);
    });
    ASSERT_NE(rack.Root()->overlay, nullptr);
    // The save's message had the keyboard; it went with the message, not into the retired one.
    EXPECT_EQ(rack.Root()->focusedControl, nullptr);
    ASSERT_TRUE(commands->LoadFrom(saved));
    EXPECT_NE(Message(), nullptr) << "the message took the dialog's place";
    EXPECT_FALSE(AnythingPendingOrSent());
}

TEST_F(RigCommandsTest, TheCancelledFileDialogDoesNothing)
{
    exOverlay::Dismiss(rack.Root());
    commands->askSavePath = [](const wxString& suggested) {
        EXPECT_EQ(suggested, "rig-2026-12-09.rigwise.json");
        return wxString();
    };
    commands->askLoadPath = [] { return wxString(); };
    commands->SaveRig();
    commands->LoadRig();
    EXPECT_EQ(rack.Root()->overlay, nullptr);
}
