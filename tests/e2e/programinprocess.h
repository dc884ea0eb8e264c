#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/simnetwork.h"

class exBaseNode;
class exMainFrame;

// The program's main window in this process, on the program's side of a private network whose
// simulator plays the devices a test starts it with; closed again after the test.
class ProgramInProcess : public testing::Test {
protected:
    // Starts the simulator with this device list and these flags, then the main window.
    void StartProgram(const std::string& deviceJson, const std::vector<std::string>& flags = {});
    void TearDown() override;
    // Every device of the rack in rack order, hidden ones included.
    std::vector<exBaseNode*> Devices() const;

    SimNetwork network;
    std::unique_ptr<ProgramSide> side;
    exMainFrame* frame = nullptr;
};
