// SPDX-License-Identifier: MIT
#include "views/NodeDrag.h"

#include <cstdlib>

#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "doc/IdleDriver.h"
#include "model/WebNode.h"
#include "viewlogic/ShortcutDrag.h"

namespace corvida {

namespace {

QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

bool NodeDrag::beyondStart(const QPoint& press, const QPoint& now) {
    const QPoint distance = now - press;
    return std::abs(distance.x()) > kStartDistance || std::abs(distance.y()) > kStartDistance;
}

QMimeData* NodeDrag::mimeData(const WebNode& node) {
    const std::string_view url = node.address();
    auto* data = new QMimeData;
    const QByteArray address = bytes(std::string(url));
    data->setText(QString::fromUtf8(address));
    data->setUrls({QUrl::fromEncoded(address)});
    data->setData(kShortcutType, bytes(ShortcutDrag::fileContents(url)));
    const std::string name = ShortcutDrag::name(node.title(), url, node.url().host());
    data->setData(kShortcutNameType, bytes(ShortcutDrag::fileName(name)));
    return data;
}

void NodeDrag::start(QWidget* source, const WebNode& node) {
    auto* drag = new QDrag(source);
    drag->setMimeData(mimeData(node));
    const IdleDriver::Hold hold;
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
}

} // namespace corvida
