#pragma once

#include <string>

#include <nlohmann/json.hpp>

// Turns the text of a rig file into a JSON value. Refuses, with an exRigFields::Refusal, text
// that is not JSON (saying where it breaks, or that it is cut short) and an object that holds
// the same key twice, which JSON readers would otherwise settle silently by keeping one.
class exRigParser {
public:
    static nlohmann::json Parse(const std::string& text);

private:
    [[noreturn]] static void RefuseText(const std::string& text,
                                        const nlohmann::json::exception& error);
};
