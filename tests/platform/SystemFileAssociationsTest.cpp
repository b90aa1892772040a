// SPDX-License-Identifier: MIT
#include "platform/SystemFileAssociations.h"

#include <gtest/gtest.h>

#include "model/MimeTable.h"

namespace corvida {
namespace {

TEST(SystemFileAssociationsTest, DesktopTypesExtendTheTable) {
    const std::vector<FileAssociation> associations = systemFileAssociations();
    ASSERT_FALSE(associations.empty()) << "the shared MIME database is missing";
    const MimeTable table(associations);
    const std::uint32_t png = table.findTypeByExtension("png");
    ASSERT_NE(png, 0u);
    EXPECT_EQ(table.typeName(png), "image/png");
    EXPECT_EQ(table.majorOf(png), MimeTable::kMajorImage);
    EXPECT_EQ(table.findTypeByExtension("html"), MimeTable::kTypeHtml);
    for (std::size_t i = 1; i < associations.size(); ++i) {
        ASSERT_LE(associations[i - 1].extension, associations[i].extension);
    }
}

} // namespace
} // namespace corvida
