// SPDX-License-Identifier: MIT
#include "cli/CliOptionParser.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

namespace corvida {

namespace {

// Latin-1 turns each byte into one character and back, so an argument goes through
// QCommandLineParser unchanged whatever its encoding.
QString toQString(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

// The one way an option's name is written on the command line.
std::string spelling(const std::string& name) {
    return (name.size() == 1 ? "-" : "--") + name;
}

} // namespace

std::size_t CliArguments::count(std::string_view name) const {
    return static_cast<std::size_t>(
        std::count_if(options.begin(), options.end(), [name](const Option& option) { return option.name == name; }));
}

std::optional<std::string> CliArguments::lastValue(std::string_view name) const {
    const auto last =
        std::find_if(options.rbegin(), options.rend(), [name](const Option& option) { return option.name == name; });
    if (last == options.rend()) {
        return std::nullopt;
    }
    return last->value;
}

void CliOptionParser::addSwitch(std::vector<std::string> names) {
    m_options.push_back({std::move(names), false});
}

void CliOptionParser::addValueOption(std::string name) {
    m_options.push_back({{std::move(name)}, true});
}

const CliOptionParser::Declared* CliOptionParser::spelledBy(std::string_view argument) const {
    for (const Declared& option : m_options) {
        for (const std::string& name : option.names) {
            if (argument == spelling(name)) {
                return &option;
            }
        }
    }
    return nullptr;
}

const CliOptionParser::Declared* CliOptionParser::named(std::string_view name) const {
    for (const Declared& option : m_options) {
        if (std::find(option.names.begin(), option.names.end(), name) != option.names.end()) {
            return &option;
        }
    }
    return nullptr;
}

CliArguments CliOptionParser::parse(const std::vector<std::string>& args) const {
    QCommandLineParser parser;
    // `-name` is one name, never a bundle of one-letter switches.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (m_order == Order::OptionsFirst) {
        parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    }
    for (const Declared& option : m_options) {
        QStringList names;
        for (const std::string& name : option.names) {
            names << toQString(name);
        }
        parser.addOption(option.takesValue ? QCommandLineOption(names, QString(), QStringLiteral("value"))
                                           : QCommandLineOption(names));
    }

    // Only exact spellings of declared options reach QCommandLineParser in an option's place,
    // so none of its wider forms can be read. Stray dash words are an unknown option, or,
    // after "--", operands.
    CliArguments result;
    QStringList words{QStringLiteral("corvida-cli")};
    std::set<const Declared*> given;
    bool inOperands = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!inOperands) {
            const Declared* option = spelledBy(arg);
            if (option != nullptr && (m_order == Order::Interleaved || given.insert(option).second)) {
                words << toQString(arg);
                if (option->takesValue && i + 1 < args.size()) {
                    words << toQString(args[++i]);
                }
                continue;
            }
            if (m_order == Order::OptionsFirst) {
                words << QStringLiteral("--");
                inOperands = true;
            } else if (arg.starts_with('-')) {
                result.fault = CliArguments::Fault::UnknownOption;
                result.faultArgument = arg;
                break;
            }
        }
        words << toQString(arg);
    }
    if (!parser.parse(words) && result.fault == CliArguments::Fault::None) {
        // With only exact spellings passed on, the one fault QCommandLineParser can find is
        // an option that takes a value standing last, without one.
        result.fault = CliArguments::Fault::MissingValue;
        result.faultArgument = args.back();
    }

    // optionNames() lists the names as written, one per occurrence; the n-th occurrence of an
    // option holds the n-th of its values.
    std::map<const Declared*, qsizetype> occurrences;
    for (const QString& written : parser.optionNames()) {
        const Declared& option = *named(toBytes(written));
        const qsizetype index = occurrences[&option]++;
        if (!option.takesValue) {
            result.options.push_back({option.names.front(), std::string()});
            continue;
        }
        const QStringList values = parser.values(toQString(option.names.front()));
        if (index < values.size()) {
            result.options.push_back({option.names.front(), toBytes(values.at(index))});
        }
    }
    for (const QString& operand : parser.positionalArguments()) {
        result.operands.push_back(toBytes(operand));
    }
    return result;
}

} // namespace corvida
