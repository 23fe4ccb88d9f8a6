// The settings store of the rules' tests: values in memory, each a string or a number as
// the registry holds them.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "settings_store.h"

class MemoryStore : public SettingsStore {
public:
    struct Value {
        bool isNumber = false;
        Text text;
        long number = 0;
        bool isWide = false; // written as UTF-16: only the wide read gives it back
        std::wstring wide;
        bool operator==(const Value& other) const {
            return isNumber == other.isNumber && isWide == other.isWide &&
                   (isNumber ? number == other.number
                    : isWide ? wide == other.wide
                             : text == other.text);
        }
    };
    using Key = std::pair<Text, Text>; // section, name
    std::map<Key, Value> values;

    Text ReadString(const Text& section, const Text& name, const Text& defaultValue) const override {
        auto found = values.find({section, name});
        return found == values.end() || found->second.isNumber || found->second.isWide ? defaultValue
                                                                                       : found->second.text;
    }
    std::wstring ReadWide(const Text& section, const Text& name,
                          const std::wstring& defaultValue) const override {
        auto found = values.find({section, name});
        return found == values.end() || !found->second.isWide ? defaultValue : found->second.wide;
    }
    long ReadInt(const Text& section, const Text& name, long defaultValue) const override {
        auto found = values.find({section, name});
        return found == values.end() || !found->second.isNumber ? defaultValue : found->second.number;
    }
    bool Exists(const Text& section, const Text& name) const override {
        return values.count({section, name}) != 0;
    }
    void WriteString(const Text& section, const Text& name, const Text& value) override {
        values[{section, name}] = {false, value, 0, false, std::wstring()};
    }
    void WriteInt(const Text& section, const Text& name, long value) override {
        values[{section, name}] = {true, Text(), value, false, std::wstring()};
    }
    void WriteWide(const Text& section, const Text& name, const std::wstring& value) override {
        values[{section, name}] = {false, Text(), 0, true, value};
    }
    void Delete(const Text& section, const Text& name) override { values.erase({section, name}); }

    const Value* Find(const Text& section, const Text& name) const {
        auto found = values.find({section, name});
        return found == values.end() ? nullptr : &found->second;
    }
};
