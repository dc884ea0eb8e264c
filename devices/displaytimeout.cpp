#include "devices/displaytimeout.h"

#include <iterator>

int exDisplayTimeout::IndexOf(int code)
{
    for (int i = 0; i < int(std::size(kCodes)); ++i)
        if (kCodes[i] == code)
            return i;
    return -1;
}

wxArrayString exDisplayTimeout::Choices()
{
    wxArrayString choices;
    choices.Add("Always On");
    choices.Add("5 Sec");
    choices.Add("1 Min");
    return choices;
}

wxString exDisplayTimeout::DisplayText(int code, bool smallDisplay)
{
    switch (code) {
    case kAlwaysOn:
        return smallDisplay ? "Display: On" : "Display: Always On";
    case kFiveSeconds:
        return smallDisplay ? "Display: 5 sec" : "Display: 5 seconds";
    case kOneMinute:
        return smallDisplay ? "Display: 1 min" : "Display: 1 minute";
    default:
        return wxEmptyString;
    }
}
