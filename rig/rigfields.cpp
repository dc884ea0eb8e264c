#include "rig/rigfields.h"

#include <climits>

namespace {

constexpr size_t kLongestEcho = 40;

const nlohmann::json& EmptyArray()
{
    static const nlohmann::json empty = nlohmann::json::array();
    return empty;
}

} // namespace

exRigFields::exRigFields(const nlohmann::json& object, const wxString& where,
                         const wxString& subject)
    : object(object), where(where), subject(subject)
{
}

bool exRigFields::Has(const char* key) const
{
    return object.contains(key);
}

bool exRigFields::IsNull(const char* key) const
{
    return Has(key) && object.at(key).is_null();
}

const nlohmann::json& exRigFields::Value(const char* key) const
{
    if (!Has(key))
        Refuse(key, "is missing");
    return object.at(key);
}

std::string exRigFields::String(const char* key) const
{
    const nlohmann::json& value = Value(key);
    if (!value.is_string())
        RefuseKind(key, "a string");
    return value.get<std::string>();
}

bool exRigFields::OptionalString(const char* key, std::string& value) const
{
    if (!Has(key))
        return false;
    value = String(key);
    return true;
}

bool exRigFields::Bool(const char* key) const
{
    const nlohmann::json& value = Value(key);
    if (!value.is_boolean())
        RefuseKind(key, "true or false");
    return value.get<bool>();
}

long long exRigFields::Integer(const char* key) const
{
    const nlohmann::json& value = Value(key);
    if (value.is_number_float())
        Refuse(key, wxString::Format("is %s, not a whole number", Echo(value)));
    if (!value.is_number_integer())
        RefuseKind(key, "a whole number");
    if (value.is_number_unsigned())
        return value.get<unsigned long long>() > LLONG_MAX ? LLONG_MAX : value.get<long long>();
    return value.get<long long>();
}

int exRigFields::IntegerIn(const char* key, int lowest, int highest) const
{
    const long long number = Integer(key);
    if (number < lowest || number > highest)
        Refuse(key,
               wxString::Format("is %s, outside %d to %d", Echo(object.at(key)), lowest, highest));
    return int(number);
}

int exRigFields::Word(const char* key, const exRigNames::Table& table) const
{
    int code = 0;
    if (!exRigNames::CodeOf(table, String(key), code))
        Refuse(key,
               wxString::Format("is %s, not %s", Echo(object.at(key)), exRigNames::Listing(table)));
    return code;
}

int exRigFields::WordOrNull(const char* key, const exRigNames::Table& table, int nullCode) const
{
    const nlohmann::json& value = Value(key);
    if (value.is_null())
        return nullCode;
    int code = 0;
    if (!value.is_string() || !exRigNames::CodeOf(table, value.get<std::string>(), code))
        Refuse(key,
               wxString::Format("is %s, not %s", Echo(value), exRigNames::Listing(table, true)));
    return code;
}

const nlohmann::json& exRigFields::Array(const char* key) const
{
    if (!Has(key))
        return EmptyArray();
    const nlohmann::json& value = object.at(key);
    if (!value.is_array())
        RefuseKind(key, "a list in [ ]");
    return value;
}

void exRigFields::Refuse(const char* key, const wxString& tail) const
{
    const wxString of = subject.empty() ? wxString() : " of " + subject;
    RefuseWith(wxString::Format("%s: the field \"%s\"%s %s.", where, key, of, tail));
}

void exRigFields::RefuseSubject(const wxString& tail) const
{
    RefuseWith(wxString::Format("%s: %s %s.", where, subject, tail));
}

void exRigFields::RefuseWith(const wxString& sentence)
{
    throw Refusal{sentence};
}

void exRigFields::RefuseKind(const char* key, const char* wanted) const
{
    Refuse(key, wxString::Format("is %s, not %s", Kind(object.at(key)), wanted));
}

wxString exRigFields::Kind(const nlohmann::json& value)
{
    switch (value.type()) {
    case nlohmann::json::value_t::null:
        return "null";
    case nlohmann::json::value_t::boolean:
        return value.get<bool>() ? "true" : "false";
    case nlohmann::json::value_t::string:
        return "a string";
    case nlohmann::json::value_t::array:
        return "a list";
    case nlohmann::json::value_t::object:
        return "an object";
    default:
        return "a number";
    }
}

wxString exRigFields::Echo(const nlohmann::json& value)
{
    std::string text = value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (text.size() > kLongestEcho) {
        size_t cut = kLongestEcho;
        // Never half a character.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text = text.substr(0, cut) + "...";
    }
    return wxString::FromUTF8(text);
}

void exRigFields::RequireObject(const nlohmann::json& value, const wxString& what)
{
    if (!value.is_object())
        RefuseWith(wxString::Format("%s is %s, not an object in { }.", what, Kind(value)));
}
