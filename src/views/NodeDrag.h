// SPDX-License-Identifier: MIT
#pragma once

// NodeDrag drags a node out of a project window as a link: the address as plain text and as
// a URI list, and an Internet shortcut file (application/x-mswinurl) with its file name, which
// file managers and browsers take as a link to the node.

#include <QPoint>
#include <QString>

class QMimeData;
class QWidget;

namespace corvida {

class WebNode;

class NodeDrag {
public:
    // A drag starts once the pointer leaves the square of this many pixels around the press.
    static constexpr int kStartDistance = 4;
    static inline const QString kShortcutType = QStringLiteral("application/x-mswinurl");
    static inline const QString kShortcutNameType = QStringLiteral("application/x-corvida-shortcut-name");

    // Whether a pointer at now, pressed at press, has left the start square.
    static bool beyondStart(const QPoint& press, const QPoint& now);
    // The data a dragged node offers; the caller owns it.
    static QMimeData* mimeData(const WebNode& node);
    // Drags node out of source with copy, move and link allowed, and returns when it is
    // dropped or cancelled. The idle drivers are held meanwhile, so no crawl step changes the
    // views under the caller.
    static void start(QWidget* source, const WebNode& node);
};

} // namespace corvida
