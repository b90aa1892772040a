// SPDX-License-Identifier: MIT
#include "model/Filter.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/FilterSet.h"
#include "model/LinkTree.h"
#include "model/LinkTreeRestriction.h"
#include "model/MimeTable.h"
#include "model/Web.h"

namespace corvida {
namespace {

constexpr std::uint32_t kMajorText = 1;

// A node of the given server type and size, fetched whole or with a fetch that failed.
WebNode* addNode(Web& web, const char* url, const char* type, std::int32_t size, bool broken = false) {
    WebNode* node = web.findOrAddNode(CUrl(url));
    node->url().setMimeIndexByServer(std::string_view(type));
    node->setSize(size);
    node->setFlags(broken ? kFlagFetchStarted : kFlagFetchStarted | kFlagFetched);
    return node;
}

TEST(FilterTest, BuiltInFiltersAndCriteria) {
    Web web;
    const WebNode* page = addNode(web, "http://h/page.htm", "text/html", 2001);
    const WebNode* exact = addNode(web, "http://h/exact.txt", "text/plain", 2000);
    const WebNode* brokenPage = addNode(web, "http://h/gone.htm", "text/html", 2001, true);
    const WebNode* bigAudio = addNode(web, "http://h/l.wav", "audio/wav", 2500);
    const WebNode* picture = addNode(web, "http://h/p.gif", "image/gif", 50000);
    WebNode* failedTest = web.findOrAddNode(CUrl("http://h/t.htm"));
    failedTest->setSize(5000);
    failedTest->setFlags(kFlagTestStarted);

    const FilterSet filters;
    for (const WebNode* node : {page, brokenPage, static_cast<const WebNode*>(failedTest)}) {
        EXPECT_EQ(filters.at(0).evaluate(*node), 1) << node->url().url(); // all
    }
    // Resolved text and audio keeps good text above two kilobytes only.
    const Filter& resolved = filters.at(1);
    EXPECT_EQ(resolved.evaluate(*page), 1);
    EXPECT_EQ(resolved.evaluate(*exact), 0); // the size threshold is strict
    EXPECT_EQ(resolved.evaluate(*brokenPage), 0);
    EXPECT_EQ(resolved.evaluate(*failedTest), 0);
    EXPECT_EQ(resolved.evaluate(*bigAudio), 1);
    EXPECT_EQ(resolved.evaluate(*picture), 0);
    EXPECT_EQ(filters.at(3).evaluate(*brokenPage), 1); // the others test no link state

    // New criteria replace the whole program.
    Filter filter("text");
    filter.setCriteria(FilterCriteria{1, 2000, FilterCriteria::kLinkAll, {kMajorText}});
    filter.setCriteria(FilterCriteria{0, 0, FilterCriteria::kLinkAll, {MimeTable::kMajorImage}});
    EXPECT_EQ(filter.evaluate(*page), 0);
    EXPECT_EQ(filter.evaluate(*picture), 1);
}

TEST(FilterTest, FilterWithoutTypesKeepsItsSizeAndLinkCriteria) {
    Web web;
    const WebNode* small = addNode(web, "http://h/small.htm", "text/html", 500);
    const WebNode* big = addNode(web, "http://h/big.gif", "image/gif", 20000);
    const WebNode* bigBroken = addNode(web, "http://h/gone.htm", "text/html", 20000, true);

    const auto shown = [&](const FilterCriteria& criteria) {
        Filter filter("no type");
        filter.setCriteria(criteria);
        std::string flags;
        for (const WebNode* node : {small, big, bigBroken}) {
            flags += filter.passes(*node) ? "1" : "0";
        }
        return flags;
    };
    EXPECT_EQ(shown(FilterCriteria{1, 10000, FilterCriteria::kLinkAll, {}}), "011");
    EXPECT_EQ(shown(FilterCriteria{0, 0, FilterCriteria::kLinkGood, {}}), "110");
    EXPECT_EQ(shown(FilterCriteria{0, 0, FilterCriteria::kLinkBad, {}}), "001");
    EXPECT_EQ(shown(FilterCriteria{1, 10000, FilterCriteria::kLinkGood, {}}), "010");
    // With no criterion at all every node passes.
    EXPECT_EQ(shown(FilterCriteria{0, 10000, FilterCriteria::kLinkAll, {}}), "111");
}

TEST(FilterTest, ProgramsThatDoNotReduceToOneOperandGiveMinusOne) {
    Web web;
    const WebNode* node = addNode(web, "http://h/a.htm", "text/html", 1234);
    using A = FilterAttribute;
    const auto evaluate = [node](std::vector<A> attributes, std::optional<FilterOperation> operation) {
        Filter filter;
        for (const A attribute : attributes) {
            filter.appendToken(std::make_unique<AttributeToken>(attribute));
        }
        if (operation) {
            filter.appendOperator(*operation);
        }
        return filter.evaluate(*node);
    };
    EXPECT_EQ(evaluate({}, std::nullopt), -1);
    EXPECT_EQ(evaluate({}, FilterOperation::And), -1);                            // no operands
    EXPECT_EQ(evaluate({A::Size, A::Broken}, FilterOperation::And), -1);          // a number for a boolean
    EXPECT_EQ(evaluate({A::MajorType, A::MimeType}, FilterOperation::Equal), -1); // two classes
    EXPECT_EQ(evaluate({A::Broken, A::Broken}, std::nullopt), -1);                // two operands left
    EXPECT_EQ(evaluate({A::Size}, std::nullopt), 1234);

    // The program survives evaluation.
    Filter filter;
    filter.appendToken(std::make_unique<AttributeToken>(A::Size));
    filter.appendToken(std::make_unique<ValueToken>(2000, FilterValueType::Number));
    filter.appendOperator(FilterOperation::Greater);
    EXPECT_EQ(filter.evaluate(*node), 0);
    EXPECT_EQ(filter.evaluate(*node), 0);
}

TEST(FilterTest, LinkTreeRestrictionByEntryAndSubtreeFlag) {
    Web web;
    WebNode* start = web.findOrAddNode(CUrl("http://h/index.htm"));
    WebNode* a = web.addLink(start, CUrl("http://h/a.htm"), 1, false);
    WebNode* b = web.addLink(a, CUrl("http://h/b.htm"), 2, false);
    WebNode* c = web.addLink(b, CUrl("http://h/c.htm"), 3, false);
    WebNode* picture = web.addLink(a, CUrl("http://h/p.gif"), 2, false);
    WebNode* stray = web.findOrAddNode(CUrl("http://h/stray.htm"));
    LinkTree tree;
    tree.rebuild(start);
    ASSERT_EQ(stray->linkTreeEntry(), nullptr);

    const auto shown = [&](const LinkTreeRestriction& restriction) {
        std::string names;
        for (const WebNode* node : {start, a, b, c, picture, stray}) {
            names += restriction.passes(*node) ? "1" : "0";
        }
        return names;
    };
    EXPECT_EQ(shown(LinkTreeRestriction(nullptr, true)), "000000");
    EXPECT_EQ(shown(LinkTreeRestriction(a->linkTreeEntry(), false)), "011010");
    EXPECT_EQ(shown(LinkTreeRestriction(a->linkTreeEntry(), true)), "011111");
    EXPECT_EQ(shown(LinkTreeRestriction(tree.root(), true)), "111111");
}

} // namespace
} // namespace corvida
