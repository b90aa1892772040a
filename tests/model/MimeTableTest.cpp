// SPDX-License-Identifier: MIT
#include "model/MimeTable.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

TEST(MimeTableTest, BuiltInRowsHaveTheirFixedIndexes) {
    const MimeTable table;
    EXPECT_EQ(table.typeName(13), "x-world/x-vrml");
    EXPECT_EQ(table.majorOf(7), MimeTable::kMajorAudio);
    EXPECT_EQ(table.majorName(6), "x-world");
    EXPECT_EQ(table.findTypeByExtension("HTML"), 2u);
    EXPECT_EQ(table.findTypeByExtension("ra"), 12u);
    EXPECT_EQ(table.findTypeByExtension("PNG"), MimeTable::kTypePng);
    EXPECT_EQ(table.typeName(MimeTable::kTypeSvg), "image/svg+xml");
    EXPECT_EQ(table.findTypeByExtension("xyz"), 0u);
    EXPECT_EQ(table.typeName(999), "???");
    EXPECT_EQ(table.typeCount(), 18u);
}

TEST(MimeTableTest, AssociationsComeAfterTheBuiltInRowsWhichWin) {
    std::vector<FileAssociation> associations(3);
    associations[0] = {"htm", "application/x-not-html", {"icon-a", "", "", "", "", ""}};
    associations[1] = {"png", "image/png", {"image-png", "open %s", "", "", "", ""}};
    associations[2] = {"PNG", "image/x-other", {}};
    const MimeTable table(associations);
    EXPECT_EQ(table.findTypeByExtension("htm"), MimeTable::kTypeHtml);
    const std::uint32_t png = table.findTypeByExtension("png");
    EXPECT_EQ(table.typeName(png), "image/png");
    EXPECT_EQ(table.majorOf(png), MimeTable::kMajorImage);
    EXPECT_EQ(table.typeText(png, MimeTable::TypeText::OpenCommand), "open %s");
    EXPECT_EQ(png, MimeTable::kTypePng);                     // the association's texts join the built-in row
    EXPECT_EQ(table.typeName(18), "application/x-not-html"); // added although its extension lost
}

TEST(MimeTableTest, AddTypeFindsIgnoringCaseAndKeepsTexts) {
    MimeTable table;
    const std::uint32_t index = table.addType(
        "Model/X-Thing", {std::string("icon"), std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(table.addType("model/x-thing"), index);
    EXPECT_EQ(table.typeText(index, MimeTable::TypeText::DefaultIcon), "icon"); // absent text keeps it
    EXPECT_EQ(table.majorName(table.majorOf(index)), "Model");
    EXPECT_EQ(table.majorOf(table.addType("noslash")), 0u);
    EXPECT_EQ(table.addScheme("http"), MimeTable::kSchemeHttp);
    EXPECT_EQ(table.addScheme("Https"), MimeTable::kSchemeHttps);
    EXPECT_EQ(table.addScheme("news"), 7u);
}

} // namespace
} // namespace corvida
