#pragma once

#include <string>
#include <vector>

#include <wx/string.h>

// The words a rig file uses for settings that the devices hold as codes.
class exRigNames {
public:
    struct Word {
        int code;
        const char* word;
    };
    using Table = std::vector<Word>;

    static const Table& DmxModes();
    static const Table& Protocols();
    static const Table& DisplayTimeouts();
    // "trunk" and "loop" share mode 2; a loop is told apart by its partner.
    static const Table& SwitchModes();
    static const Table& SwitchSpeeds();

    static constexpr const char* kLoopWord = "loop";

    // The first word for `code`; nullptr when the table has none.
    static const char* WordOf(const Table& table, int code);
    static bool CodeOf(const Table& table, const std::string& word, int& code);
    // The words for a message: "disabled", "input" or "output" (or null, when `orNull`).
    static wxString Listing(const Table& table, bool orNull = false);
    // How a technician knows the protocol: "Art-Net", "sACN", "Shownet".
    static wxString ProtocolTitle(int protocol);
};
