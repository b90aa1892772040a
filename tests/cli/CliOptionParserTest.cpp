// SPDX-License-Identifier: MIT
// The strict option syntax of corvida-cli over QCommandLineParser.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/CliOptionParser.h"

namespace corvida {
namespace {

using Fault = CliArguments::Fault;
using Strings = std::vector<std::string>;

CliOptionParser makeParser(CliOptionParser::Order order) {
    CliOptionParser parser(order);
    parser.addSwitch({"html"});
    parser.addSwitch({"help", "h"});
    parser.addValueOption("dir");
    parser.addValueOption("o");
    return parser;
}

// Each option as "name=value", in command-line order.
Strings options(const CliArguments& parsed) {
    Strings written;
    for (const CliArguments::Option& option : parsed.options) {
        written.push_back(option.name + "=" + option.value);
    }
    return written;
}

TEST(CliOptionParserTest, OnlyExactSpellingsAreOptions) {
    const CliOptionParser parser = makeParser(CliOptionParser::Order::Interleaved);
    // QCommandLineParser alone would read every one of these as an option (or end the options).
    for (const std::string word : {"--dir=x", "--html=1", "-dir", "-html", "--o", "-ofile", "-o=file", "-hh", "--h",
                                   "-help", "--", "-", "--no-html", "-x"}) {
        const CliArguments parsed = parser.parse({"page", "--html", word, "x"});
        EXPECT_EQ(parsed.fault, Fault::UnknownOption) << word;
        EXPECT_EQ(parsed.faultArgument, word);
        EXPECT_EQ(options(parsed), Strings{"html="}) << word;
        EXPECT_EQ(parsed.operands, Strings{"page"}) << word;
    }
}

TEST(CliOptionParserTest, ValuesAreTheNextArgumentAsItIs) {
    const CliArguments parsed = makeParser(CliOptionParser::Order::Interleaved)
                                    .parse({"--dir", "--html", "a", "-o", "--", "--dir", "", "b", "-h", "--dir", "-x"});
    EXPECT_EQ(parsed.fault, Fault::None);
    EXPECT_EQ(options(parsed), (Strings{"dir=--html", "o=--", "dir=", "help=", "dir=-x"}));
    EXPECT_EQ(parsed.operands, (Strings{"a", "b"}));
    EXPECT_EQ(parsed.lastValue("dir"), "-x");
    EXPECT_EQ(parsed.count("dir"), 3U);
    EXPECT_EQ(parsed.lastValue("html"), std::nullopt);
}

TEST(CliOptionParserTest, OptionsFirstEndsAtTheFirstWordThatIsNoFreshOption) {
    const CliOptionParser parser = makeParser(CliOptionParser::Order::OptionsFirst);
    CliArguments parsed = parser.parse({"--dir", "d", "--html", "word", "--html", "-o", "f"});
    EXPECT_EQ(options(parsed), (Strings{"dir=d", "html="}));
    EXPECT_EQ(parsed.operands, (Strings{"word", "--html", "-o", "f"}));

    // A stray dash word and an option given again are operands, not faults.
    parsed = parser.parse({"--html", "--dir=x", "--"});
    EXPECT_EQ(parsed.fault, Fault::None);
    EXPECT_EQ(parsed.operands, (Strings{"--dir=x", "--"}));
    parsed = parser.parse({"-h", "--help", "-"});
    EXPECT_EQ(options(parsed), Strings{"help="});
    EXPECT_EQ(parsed.operands, (Strings{"--help", "-"}));

    parsed = parser.parse({"--html", "--dir"});
    EXPECT_EQ(parsed.fault, Fault::MissingValue);
    EXPECT_EQ(parsed.faultArgument, "--dir");
}

} // namespace
} // namespace corvida
