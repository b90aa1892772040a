// SPDX-License-Identifier: MIT
#include "cli/CrawlNumberOptions.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "cli/CliCommand.h"
#include "doc/CTamsoDoc.h"
#include "model/CrawlSettings.h"

namespace corvida {

namespace {

struct NumberOption {
    std::string_view name;
    std::int32_t Settings::*setting;
    int lowest;
    int highest;
    const char* fault;
};

constexpr NumberOption kNumbers[] = {
    {"depth", &Settings::maximumLevel, 0, 1 << 30, "--depth takes a number from 0 (no limit) up"},
    {"connections", &Settings::numberOfConnections, 1, CTamsoDoc::kMaxConnections,
     "--connections takes a number from 1 to 64"},
    {"per-host", &Settings::connectionsPerHost, 1, Settings::kMaxConnectionsPerHost,
     "--per-host takes a number from 1 to 64"},
    {"delay", &Settings::hostDelay, 0, Settings::kMaxHostDelay,
     "--delay takes a number of milliseconds from 0 to 600000"},
    {"buffer-size", &Settings::networkBufferSize, 1, kMaxBufferSize,
     "--buffer-size takes a number of bytes from 1 to 1048576"},
};

const NumberOption* find(std::string_view name) {
    const auto found = std::find_if(std::begin(kNumbers), std::end(kNumbers),
                                    [name](const NumberOption& number) { return number.name == name; });
    return found == std::end(kNumbers) ? nullptr : &*found;
}

} // namespace

bool CrawlNumberOptions::contains(std::string_view name) {
    return find(name) != nullptr;
}

std::optional<std::string> CrawlNumberOptions::apply(const CliArguments::Option& option, Settings& settings) {
    const NumberOption* number = find(option.name);
    if (number == nullptr) {
        return std::nullopt;
    }
    const std::optional<int> value = parseNumber(option.value, number->lowest, number->highest);
    if (!value) {
        return std::string(number->fault);
    }
    settings.*number->setting = *value;
    return std::nullopt;
}

} // namespace corvida
