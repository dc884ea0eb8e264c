#include "rig/rigparser.h"

#include <set>
#include <vector>

#include "net/utf8text.h"
#include "rig/rigdevicereader.h"
#include "rig/rigfields.h"

namespace {

using Event = nlohmann::json::parse_event_t;

// One step from a container into what it holds: a key of an object or a position in a list.
struct Step {
    std::string key;
    long index = -1;
};

// Follows the parse, container by container, and keeps the path to the first key that an
// object has twice.
class DuplicateKeyWatch {
public:
    bool found = false;
    std::vector<Step> path;
    std::string key;

    void Note(Event event, const nlohmann::json& parsed)
    {
        switch (event) {
        case Event::object_start:
        case Event::array_start:
            Open(event == Event::object_start);
            break;
        case Event::object_end:
        case Event::array_end:
            open.pop_back();
            break;
        case Event::key:
            Key(parsed.get<std::string>());
            break;
        case Event::value:
            if (!open.empty() && !open.back().object)
                ++open.back().count;
            break;
        }
    }

private:
    struct Container {
        bool object;
        Step step; // how its parent reaches it
        std::set<std::string> keys;
        std::string currentKey;
        long count = 0;
    };

    void Open(bool object)
    {
        Step step;
        if (!open.empty()) {
            Container& parent = open.back();
            if (parent.object)
                step.key = parent.currentKey;
            else
                step.index = parent.count++;
        }
        open.push_back(Container{object, step, {}, {}, 0});
    }

    void Key(const std::string& name)
    {
        Container& container = open.back();
        container.currentKey = name;
        if (found || container.keys.insert(name).second)
            return;
        found = true;
        key = name;
        for (size_t i = 1; i < open.size(); ++i)
            path.push_back(open[i].step);
    }

    std::vector<Container> open;
};

// `entry 3 of "dmxPorts" in entry 1 of "modules"`: the steps, innermost first.
wxString Describe(std::vector<Step>::const_iterator from, std::vector<Step>::const_iterator to)
{
    wxString text;
    for (auto step = from; step != to; ++step) {
        if (step->index >= 0)
            text = wxString::Format("entry %ld of ", step->index + 1) + text;
        else
            text = wxString::Format("\"%s\"", wxString::FromUTF8(step->key)) +
                   (text.empty() ? wxString() : " in " + text);
    }
    return text;
}

// The device entry at `index`, or null when the kept value does not reach that far (the
// duplicate may be "devices" itself).
const nlohmann::json& DeviceEntry(const nlohmann::json& parsed, long index)
{
    static const nlohmann::json nothing;
    if (!parsed.is_object() || !parsed.contains("devices"))
        return nothing;
    const nlohmann::json& devices = parsed.at("devices");
    if (!devices.is_array() || size_t(index) >= devices.size())
        return nothing;
    return devices.at(size_t(index));
}

[[noreturn]] void RefuseDuplicate(const DuplicateKeyWatch& watch, const nlohmann::json& parsed)
{
    const std::vector<Step>& path = watch.path;
    const bool inDevice = path.size() >= 2 && path[0].key == "devices" && path[1].index >= 0;
    wxString where = "The rig file";
    auto rest = path.begin();
    if (inDevice) {
        where = exRigDeviceReader::Label(DeviceEntry(parsed, path[1].index), path[1].index);
        rest += 2;
    }
    static const nlohmann::json nothing;
    exRigFields(nothing, where, Describe(rest, path.end()))
        .Refuse(watch.key.c_str(), "appears twice");
}

// Line and column (both from 1) of a byte offset.
void LineAndColumn(const std::string& text, size_t offset, size_t& line, size_t& column)
{
    line = 1;
    column = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
}

// nlohmann's explanation without its "[json.exception...] parse error at ...: " lead.
wxString Reason(const nlohmann::json::exception& error)
{
    std::string what = error.what();
    const size_t lead = what.find("] ");
    if (lead != std::string::npos)
        what.erase(0, lead + 2);
    const size_t at = what.find(": ");
    if (what.compare(0, 11, "parse error") == 0 && at != std::string::npos)
        what.erase(0, at + 2);
    const size_t dash = what.find(" - ");
    if (what.compare(0, 12, "syntax error") == 0 && dash != std::string::npos)
        what.erase(0, dash + 3);
    return DecodeUtf8Lenient(reinterpret_cast<const uint8_t*>(what.data()), what.size());
}

bool OnlySpace(const std::string& text)
{
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace

nlohmann::json exRigParser::Parse(const std::string& text)
{
    DuplicateKeyWatch watch;
    nlohmann::json parsed;
    try {
        parsed = nlohmann::json::parse(text, [&watch](int, Event event, nlohmann::json& value) {
            watch.Note(event, value);
            return true;
        });
    } catch (const nlohmann::json::exception& error) {
        RefuseText(text, error);
    }
    if (watch.found)
        RefuseDuplicate(watch, parsed);
    return parsed;
}

void exRigParser::RefuseText(const std::string& text, const nlohmann::json::exception& error)
{
    if (OnlySpace(text))
        exRigFields::RefuseWith("The file is empty.");
    const auto* parseError = dynamic_cast<const nlohmann::json::parse_error*>(&error);
    if (!parseError)
        exRigFields::RefuseWith("The file could not be read as JSON: " + Reason(error) + ".");
    // nlohmann counts bytes from 1, and reports one past the end when the text ran out.
    if (parseError->byte > text.size())
        exRigFields::RefuseWith(wxString::Format(
            "The file is cut short: its JSON stops after %zu bytes, before the document is "
            "complete.",
            text.size()));
    const size_t offset = parseError->byte > 0 ? parseError->byte - 1 : 0;
    size_t line = 0, column = 0;
    LineAndColumn(text, offset, line, column);
    exRigFields::RefuseWith(wxString::Format("The file is not valid JSON at line %zu, column %zu "
                                             "(byte %zu): %s.",
                                             line, column, offset, Reason(error)));
}
