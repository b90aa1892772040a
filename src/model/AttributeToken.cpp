// SPDX-License-Identifier: MIT
#include "model/AttributeToken.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "model/MimeTable.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

std::int32_t clampedCount(std::size_t count) {
    constexpr auto kLargest = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(std::min(count, kLargest));
}

std::int32_t clampedIndex(std::uint32_t index) {
    return static_cast<std::int32_t>(std::min<std::uint32_t>(index, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

FilterValueType AttributeToken::valueType() const {
    switch (m_attribute) {
    case FilterAttribute::MajorType:
        return FilterValueType::MajorType;
    case FilterAttribute::MimeType:
        return FilterValueType::MimeType;
    case FilterAttribute::Broken:
        return FilterValueType::Boolean;
    case FilterAttribute::Size:
    case FilterAttribute::InCount:
    case FilterAttribute::OutCount:
        break;
    }
    return FilterValueType::Number;
}

std::int32_t AttributeToken::value(const WebNode& node) const {
    switch (m_attribute) {
    case FilterAttribute::MajorType:
        return clampedIndex(MimeTable::instance().majorOf(node.url().effectiveMimeIndex()));
    case FilterAttribute::MimeType:
        return clampedIndex(node.url().effectiveMimeIndex());
    case FilterAttribute::Size:
        return node.size();
    case FilterAttribute::InCount:
        return clampedCount(node.inCount());
    case FilterAttribute::OutCount:
        return clampedCount(node.outCount());
    case FilterAttribute::Broken:
        return node.isBroken() ? 1 : 0;
    }
    return 0;
}

} // namespace corvida
