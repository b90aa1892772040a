// SPDX-License-Identifier: MIT
#include "cli/DebugDateCommand.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>

#include "cli/CliOptionParser.h"
#include "net/HttpDate.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "debug date TEXT | debug date --format NUMBER";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliOptionParser parser(CliOptionParser::Order::OptionsFirst);
    parser.addValueOption("format");
    const CliArguments parsed = parser.parse(args);
    const std::optional<std::string> format = parsed.lastValue("format");
    if (parsed.fault != CliArguments::Fault::None || parsed.operands.size() != (format ? 0U : 1U)) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    if (!format) {
        out << HttpDate::parse(parsed.operands[0]) << '\n';
        return kExitOk;
    }
    const std::string& value = *format;
    std::int64_t time = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), time);
    if (value.empty() || end != value.data() + value.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range)) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    // Times are 32-bit: a number outside that range has no date.
    const bool fits = error == std::errc() && time >= std::numeric_limits<std::int32_t>::min() &&
                      time <= std::numeric_limits<std::int32_t>::max();
    out << (fits ? HttpDate::format(static_cast<std::int32_t>(time)) : std::string(HttpDate::kInvalidDate)) << '\n';
    return kExitOk;
}

} // namespace

CliCommand debugDateCommand() {
    return CliCommand{{"debug", "date"}, kUsage, run};
}

} // namespace corvida
