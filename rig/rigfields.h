#pragma once

#include <string>

#include <nlohmann/json.hpp>
#include <wx/string.h>

#include "rig/rignames.h"

// The fields of one JSON object of a rig file, read with their types checked. A refusal is one
// sentence that says where the object sits ("Device 3 (Pylon NodeDelta, unit 4660)") and which
// field of what ("the field "vlan" of switch port 2") is wrong, thrown as a Refusal that only
// the rig file's reading code sees.
class exRigFields {
public:
    struct Refusal {
        wxString problem;
    };

    // `where` opens the sentence; `subject` names the object within it ("DMX port 2"), empty
    // when the object is the entry itself.
    exRigFields(const nlohmann::json& object, const wxString& where,
                const wxString& subject = wxEmptyString);

    bool Has(const char* key) const;
    // The field as the file has it; refused when missing.
    const nlohmann::json& Value(const char* key) const;
    // Present, and null.
    bool IsNull(const char* key) const;
    std::string String(const char* key) const;
    bool OptionalString(const char* key, std::string& value) const;
    bool Bool(const char* key) const;
    long long Integer(const char* key) const;
    int IntegerIn(const char* key, int lowest, int highest) const;
    // A string that is one of the table's words; its code.
    int Word(const char* key, const exRigNames::Table& table) const;
    // The same, or `nullCode` for null.
    int WordOrNull(const char* key, const exRigNames::Table& table, int nullCode) const;
    // A missing array reads as empty.
    const nlohmann::json& Array(const char* key) const;

    // "<where>: the field "<key>" of <subject> <tail>."
    [[noreturn]] void Refuse(const char* key, const wxString& tail) const;
    // "<where>: <subject> <tail>."
    [[noreturn]] void RefuseSubject(const wxString& tail) const;
    [[noreturn]] static void RefuseWith(const wxString& sentence);

    // "a string", "null", "true": what a value is, for "is ..., not ...".
    static wxString Kind(const nlohmann::json& value);
    // The value as the file writes it, cut short when long.
    static wxString Echo(const nlohmann::json& value);
    // The object itself must be a JSON object; `what` names it for the refusal.
    static void RequireObject(const nlohmann::json& value, const wxString& what);

    const wxString& Where() const { return where; }
    const wxString& Subject() const { return subject; }

private:
    [[noreturn]] void RefuseKind(const char* key, const char* wanted) const;

    const nlohmann::json& object;
    wxString where;
    wxString subject;
};
