#include "rig/rignames.h"

#include <wx/arrstr.h>

#include "devices/displaytimeout.h"
#include "net/universecode.h"

const exRigNames::Table& exRigNames::DmxModes()
{
    static const Table table = {{0, "disabled"}, {1, "input"}, {2, "output"}};
    return table;
}

const exRigNames::Table& exRigNames::Protocols()
{
    static const Table table = {{exUniverseCode::kArtNet, "artnet"},
                                {exUniverseCode::kSacn, "sacn"},
                                {exUniverseCode::kShownet, "shownet"}};
    return table;
}

const exRigNames::Table& exRigNames::DisplayTimeouts()
{
    static const Table table = {{exDisplayTimeout::kAlwaysOn, "always-on"},
                                {exDisplayTimeout::kFiveSeconds, "5-seconds"},
                                {exDisplayTimeout::kOneMinute, "1-minute"}};
    return table;
}

const exRigNames::Table& exRigNames::SwitchModes()
{
    static const Table table = {
        {0, "disabled"}, {1, "normal"}, {2, "trunk"}, {2, kLoopWord}, {3, "filter"}};
    return table;
}

const exRigNames::Table& exRigNames::SwitchSpeeds()
{
    static const Table table = {{0, "auto"}, {1, "10"}, {2, "100"}, {3, "sfp"}};
    return table;
}

const char* exRigNames::WordOf(const Table& table, int code)
{
    for (const Word& entry : table)
        if (entry.code == code)
            return entry.word;
    return nullptr;
}

bool exRigNames::CodeOf(const Table& table, const std::string& word, int& code)
{
    for (const Word& entry : table) {
        if (word == entry.word) {
            code = entry.code;
            return true;
        }
    }
    return false;
}

wxString exRigNames::Listing(const Table& table, bool orNull)
{
    wxArrayString words;
    for (const Word& entry : table)
        words.Add(wxString::Format("\"%s\"", entry.word));
    if (orNull)
        words.Add("null");
    wxString listing;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            listing += i + 1 == words.size() ? " or " : ", ";
        listing += words[i];
    }
    return listing;
}

wxString exRigNames::ProtocolTitle(int protocol)
{
    switch (protocol) {
    case exUniverseCode::kArtNet:
        return "Art-Net";
    case exUniverseCode::kSacn:
        return "sACN";
    case exUniverseCode::kShownet:
        return "Shownet";
    default:
        return "no protocol";
    }
}
