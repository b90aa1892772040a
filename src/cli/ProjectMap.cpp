// SPDX-License-Identifier: MIT
#include "cli/ProjectMap.h"

#include <algorithm>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>

#include "doc/CTamsoDoc.h"
#include "doc/ProjectStore.h"
#include "model/FilterSet.h"
#include "model/Web.h"
#include "model/WebListener.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

// The window the map stands for: its master shows what passes the window's filter.
class MapMaster : public DocumentView {
public:
    bool isMaster() const override { return true; }
    void update(const Update& /*update*/) override {}
};

// Notes the nodes in the order a load announces them: the order of the document's view items.
class LoadOrder : public WebListener {
public:
    void nodeAdded(WebNode* node, bool /*isNew*/, WebNode* /*source*/) override { nodes.push_back(node); }

    std::vector<WebNode*> nodes;
};

bool endsWithSvg(const std::string& path) {
    return QString::fromStdString(path).endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
}

} // namespace

ProjectMap::ProjectMap() : m_master(std::make_unique<MapMaster>()) {}

ProjectMap::~ProjectMap() = default;

Status ProjectMap::load(const std::string& path, std::size_t filterSlot) {
    auto order = std::make_unique<LoadOrder>();
    ProjectFile::Loaded loaded = ProjectStore::load(path, order.get());
    if (loaded.web == nullptr) {
        return loaded.status;
    }
    m_nodes.clear();
    m_project.reset();
    m_listener = std::move(order);
    m_project = std::make_unique<ProjectFile::Loaded>(std::move(loaded));
    const FilterSet filters;
    const auto& nodes = static_cast<const LoadOrder&>(*m_listener).nodes;
    show(nodes, filters.at(std::min(filterSlot, FilterSet::kSlotCount - 1)));
    return Status::ok();
}

void ProjectMap::show(std::span<WebNode* const> nodes, const Filter& filter) {
    std::vector<InsertRecord> batch;
    batch.reserve(CTamsoDoc::kFeedBatch);
    const auto flush = [&] {
        m_nodes.insert(batch, m_master.get());
        batch.clear();
    };
    for (WebNode* node : nodes) {
        if (node == nullptr || !filter.passes(*node)) {
            continue;
        }
        batch.push_back({node, m_master.get(), false});
        if (batch.size() == CTamsoDoc::kFeedBatch) {
            flush();
        }
    }
    if (!batch.empty()) {
        flush();
    }
}

Status ProjectMap::showLinks(std::string_view url) {
    for (WavefrontNodes::Index index = 0; index < m_nodes.size(); ++index) {
        const WebNode& node = m_nodes.node(index);
        if (node.address() == url || node.url().url() == url) {
            m_nodes.setSelected(index, true);
            m_nodes.setInLinksShown(index, true);
            m_nodes.setOutLinksShown(index, true);
            return Status::ok();
        }
    }
    return Status::notFound("no node of the map has the URL " + std::string(url));
}

int ProjectMap::imageSide() const {
    return std::max(m_nodes.layout().canvas(), kMinimumSide) + 2 * kMargin;
}

QPoint ProjectMap::origin() const {
    const int half = imageSide() / 2;
    return QPoint(half, half) - m_nodes.layout().centre();
}

void ProjectMap::paint(QPainter& painter) const {
    const int side = imageSide();
    painter.fillRect(0, 0, side, side, WavefrontColours().buttonFace);
    painter.translate(origin());
    const WavefrontPainter mapPainter(m_nodes, WavefrontColours(), m_thumbnails);
    mapPainter.paint(painter, QRegion(QRect(-origin(), QSize(side, side))));
}

Status ProjectMap::write(const std::string& path) const {
    const int side = imageSide();
    const QString name = QString::fromStdString(path);
    if (endsWithSvg(path)) {
        QSvgGenerator svg;
        svg.setFileName(name);
        svg.setSize(QSize(side, side));
        svg.setViewBox(QRect(0, 0, side, side));
        svg.setTitle(QStringLiteral("Wavefront map"));
        QPainter painter;
        if (!painter.begin(&svg)) {
            return Status::ioError("cannot write " + path);
        }
        paint(painter);
        if (!painter.end()) {
            return Status::ioError("cannot write " + path);
        }
        return Status::ok();
    }
    if (side > kLargestImageSide) {
        return Status::invalidArgument("the map is " + std::to_string(side) +
                                       " pixels wide, too large for a picture; choose a smaller zoom or an .svg file");
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return Status::ioError("no memory for a picture of " + std::to_string(side) + " pixels");
    }
    QPainter painter(&image);
    paint(painter);
    painter.end();
    if (!image.save(name, "PNG")) {
        return Status::ioError("cannot write " + path);
    }
    return Status::ok();
}

} // namespace corvida
