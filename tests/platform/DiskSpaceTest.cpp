// SPDX-License-Identifier: MIT
#include "platform/DiskSpace.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace corvida {
namespace {

TEST(DiskSpaceTest, TellsTheRoomOfAnExistingDirectoryOnly) {
    QTemporaryDir folder;
    const std::optional<std::uint64_t> room = DiskSpace::available(folder.path().toStdString());
    ASSERT_TRUE(room.has_value());
    EXPECT_GT(*room, 0u);
    EXPECT_FALSE(DiskSpace::available(folder.path().toStdString() + "/no/such/directory").has_value());
}

} // namespace
} // namespace corvida
