#pragma once

#include <wx/defs.h>

// The keys the drawn entries and dialogs handle, and how they read a typed character.
namespace exKeys {

constexpr wxChar kBackspace = 8;
constexpr wxChar kTab = 9;
constexpr wxChar kReturn = 13;
constexpr wxChar kEscape = 27;

inline bool IsDigit(wxChar character)
{
    return character >= '0' && character <= '9';
}

// The value of a hexadecimal digit, upper case only (the devices' own keypads know no lower
// case); -1 for anything else.
inline int HexValue(wxChar character)
{
    if (IsDigit(character))
        return character - '0';
    if (character >= 'A' && character <= 'F')
        return character - 'A' + 10;
    return -1;
}

} // namespace exKeys
