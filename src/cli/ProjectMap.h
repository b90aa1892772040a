// SPDX-License-Identifier: MIT
#pragma once

// ProjectMap is the Wavefront map of a saved project as a newly opened project window shows it:
// the nodes that pass the window's filter, in the order the document hands them to the window,
// fed in the document's batches, so that every icon stands where the window puts it. It draws
// the whole map into one picture, with fixed light colours and without a display. It owns the
// loaded project.

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include <QPoint>

#include "base/Status.h"
#include "doc/DocumentView.h"
#include "drawing/WavefrontPainter.h"
#include "model/ProjectFile.h"
#include "viewlogic/WavefrontNodes.h"

class QPainter;

namespace corvida {

class Filter;
class WebListener;

class ProjectMap {
public:
    // Blank space around the canvas, in pixels.
    static constexpr int kMargin = 16;
    // The smallest picture, for a map of no or one level.
    static constexpr int kMinimumSide = 64;
    // The largest picture side drawn as pixels (a gigabyte of them).
    static constexpr int kLargestImageSide = 16384;

    ProjectMap();
    ProjectMap(const ProjectMap&) = delete;
    ProjectMap& operator=(const ProjectMap&) = delete;
    ~ProjectMap();

    // Loads the project at path and shows the nodes that pass filter slot filterSlot.
    [[nodiscard]] Status load(const std::string& path, std::size_t filterSlot);
    // Shows the nodes of a Web that the caller owns, in the order given, those that pass
    // filter. The nodes must outlive the map.
    void show(std::span<WebNode* const> nodes, const Filter& filter);

    WavefrontNodes& nodes() { return m_nodes; }
    const WavefrontNodes& nodes() const { return m_nodes; }
    // Selects the node whose address or URL is url and turns its in- and out-link lines on;
    // fails when no node of the map has that address.
    [[nodiscard]] Status showLinks(std::string_view url);
    // Draws pictures that have a thumbnail with drawer once thumbnails are on (without one,
    // they draw as icons).
    void setThumbnailDrawer(ThumbnailDrawer drawer) { m_thumbnails = std::move(drawer); }

    // Side of the square picture: the canvas, at least kMinimumSide, plus the margins.
    int imageSide() const;
    // The picture point of drawing point (0, 0); the map's centre is the picture's centre.
    QPoint origin() const;
    // Paints the whole map into painter, whose device is imageSide() square.
    void paint(QPainter& painter) const;
    // Writes the map as SVG when path ends in ".svg" (any case), else as PNG.
    [[nodiscard]] Status write(const std::string& path) const;

private:
    // The loaded Web keeps its listener to the end, so the listener is destroyed after it.
    std::unique_ptr<WebListener> m_listener;
    std::unique_ptr<ProjectFile::Loaded> m_project;
    std::unique_ptr<DocumentView> m_master;
    WavefrontNodes m_nodes;
    ThumbnailDrawer m_thumbnails;
};

} // namespace corvida
