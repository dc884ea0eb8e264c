#pragma once

#include <string>

#include <wx/string.h>

#include "rig/rigdevice.h"

// A rig document as the JSON text of a rig file (docs/rig-file.md), and back.
class exRigJson {
public:
    // Pretty-printed with a two-space indent and a final newline, devices in the given order.
    // A code outside the words the format has for it is written as the bare number, which
    // Read then refuses, rather than as another setting.
    static std::string Write(const exRigDocument& document);

    // Checks the whole document against the format and against what each device's model
    // offers. On success fills `document`; otherwise leaves it as it was and says in `problem`,
    // in one sentence for a technician, which entry and which field is wrong. Never throws.
    static bool Read(const std::string& text, exRigDocument& document, wxString& problem);
};
