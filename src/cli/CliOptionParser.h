// SPDX-License-Identifier: MIT
#pragma once

// A CliOptionParser reads one corvida-cli argument list (the global options, or one
// command's arguments) with QCommandLineParser, in corvida-cli's own strict syntax: an
// option is written exactly `--name`, or `-x` for a one-letter name, and an option that takes
// a value takes the next argument as it is, even one that starts with a dash. Nothing else is
// an option. The wider forms QCommandLineParser would also take (`--name=value`, `-name` for
// `--name`, `--x` for `-x`, `--` ending the options) and `-` on its own are stray dash words
// here, so `-abc` is never three switches and `--dir=x` never a directory. Arguments are
// 8-bit texts and come back byte for byte.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvida {

// What CliOptionParser::parse() read.
struct CliArguments {
    enum class Fault {
        None,
        // faultArgument starts with a dash but is no option (Order::Interleaved).
        UnknownOption,
        // faultArgument, the last argument, is an option that takes a value.
        MissingValue,
    };
    struct Option {
        std::string name;  // the option's first name, without dashes
        std::string value; // empty for a switch
    };

    Fault fault = Fault::None;
    std::string faultArgument;
    // Every option given, in command-line order; on a fault, those before it.
    std::vector<Option> options;
    // The other arguments, in order; on a fault, those before it.
    std::vector<std::string> operands;

    // How often the option named name was given.
    std::size_t count(std::string_view name) const;
    bool has(std::string_view name) const { return count(name) > 0; }
    // The value given with the last occurrence of name, or nothing when it was not given.
    std::optional<std::string> lastValue(std::string_view name) const;
};

class CliOptionParser {
public:
    enum class Order {
        // Options stand anywhere among the operands and may be repeated; a command that
        // applies CliArguments::options in turn lets the last one win. A stray dash word is
        // an UnknownOption fault.
        Interleaved,
        // Options come first, each at most once. The first argument that is not one of them
        // (an operand, a stray dash word, an option given again) begins the operands, and
        // every argument from there on is an operand, whatever it looks like.
        OptionsFirst,
    };

    explicit CliOptionParser(Order order) : m_order(order) {}

    // Declares a switch by its names, e.g. {"help", "h"} for `--help` and `-h`. The first name
    // is the one CliArguments reports. Names are not empty and hold no '='.
    void addSwitch(std::vector<std::string> names);
    // Declares an option that takes a value, e.g. "dir" for `--dir DIR`.
    void addValueOption(std::string name);

    // Reads args (the arguments after the program name or the command words). Never fails:
    // a fault is reported in the result.
    CliArguments parse(const std::vector<std::string>& args) const;

private:
    struct Declared {
        std::vector<std::string> names;
        bool takesValue = false;
    };

    // The option that argument spells exactly, or nullptr.
    const Declared* spelledBy(std::string_view argument) const;
    // The option with name among its names, or nullptr.
    const Declared* named(std::string_view name) const;

    Order m_order;
    std::vector<Declared> m_options;
};

} // namespace corvida
