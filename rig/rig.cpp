#include "rig/rig.h"

#include <wx/string.h>

#include "devices/basenode.h"
#include "rig/rigrecords.h"

exRigDocument exRig::Take(const std::vector<exBaseNode*>& devices, const std::string& savedAt,
                          int& leftOut)
{
    exRigDocument document;
    document.programVersion = std::string("merrow-rigwise ") + RIGWISE_VERSION;
    document.savedAt = savedAt;
    leftOut = 0;
    for (const exBaseNode* device : devices) {
        // A large switch's modules are saved within the switch.
        if (device->host)
            continue;
        if (exRigRecords::IsReadBack(*device))
            document.devices.push_back(exRigRecords::Capture(*device));
        else
            ++leftOut;
    }
    return document;
}

exRigLoadSummary exRig::Restore(const exRigDocument& document, const Finder& find)
{
    exRigLoadSummary summary;
    for (const exRigDevice& entry : document.devices) {
        exBaseNode* device = find(entry.modelCode, entry.unitNumber);
        if (!device || device->host) {
            summary.absent.push_back(EntryLabel(entry));
        } else if (!exRigRecords::IsReadBack(*device)) {
            // Its own values are not known yet: nothing to compare the saved ones with.
            summary.waiting.push_back(EntryLabel(entry));
        } else {
            ++summary.matched;
            summary.differing += exRigRecords::Apply(entry, *device, summary.notApplied);
        }
    }
    return summary;
}

std::string exRig::EntryLabel(const exRigDevice& entry)
{
    const wxString model = entry.modelName.empty()
                               ? wxString::Format("Model 0x%04x", unsigned(entry.modelCode))
                               : wxString::FromUTF8(entry.modelName);
    wxString label = wxString::Format("%s unit %u", model, unsigned(entry.unitNumber));
    if (!entry.name.empty())
        label << " \"" << wxString::FromUTF8(entry.name) << "\"";
    return label.utf8_string();
}
