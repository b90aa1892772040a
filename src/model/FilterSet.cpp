// SPDX-License-Identifier: MIT
#include "model/FilterSet.h"

#include <memory>
#include <utility>
#include <vector>

#include "model/MimeTable.h"

namespace corvida {

namespace {

constexpr std::uint32_t kMajorText = 1;

Filter makeFilter(const char* name, std::int32_t useSize, std::int32_t size, std::int32_t linkOption,
                  std::vector<std::uint32_t> types) {
    Filter filter(name);
    filter.setCriteria(FilterCriteria{useSize, size, linkOption, std::move(types)});
    return filter;
}

// "broken OR NOT broken": true for every node.
Filter makeAllFilter() {
    Filter filter("All");
    filter.appendToken(std::make_unique<AttributeToken>(FilterAttribute::Broken));
    filter.appendToken(std::make_unique<AttributeToken>(FilterAttribute::Broken));
    filter.appendOperator(FilterOperation::Not);
    filter.appendOperator(FilterOperation::Or);
    return filter;
}

} // namespace

FilterSet::FilterSet()
    : m_filters{
          makeAllFilter(),
          makeFilter("Resolved text and audio > 2K", 1, 2000, FilterCriteria::kLinkGood,
                     {kMajorText, MimeTable::kMajorAudio}),
          makeFilter("All images and video.", 0, 2000, FilterCriteria::kLinkAll,
                     {MimeTable::kMajorImage, MimeTable::kMajorVideo}),
          makeFilter("All Text", 0, 2000, FilterCriteria::kLinkAll, {kMajorText}),
          makeFilter("Image and Audio > 10K", 1, 10000, FilterCriteria::kLinkAll,
                     {MimeTable::kMajorImage, MimeTable::kMajorAudio}),
      } {}

} // namespace corvida
