// SPDX-License-Identifier: MIT
#pragma once

// SelectNodeDialog is the "Select Node" chooser that a click on icons lying over each other
// opens: one row per node under the pointer, its address as plain text. OK with a row chosen
// answers that node; anything else answers none. The dialog holds the documents' idle work
// while it exists, so the nodes it lists stay alive.

#include <span>
#include <vector>

#include <QDialog>

#include "doc/IdleDriver.h"

class QTreeWidget;

namespace corvida {

class WebNode;

class SelectNodeDialog : public QDialog {
    Q_OBJECT

public:
    // Width of the URL column in pixels.
    static constexpr int kColumnWidth = 300;

    // Lists nodes in their order; they must outlive the dialog and none may be null.
    explicit SelectNodeDialog(std::span<WebNode* const> nodes, QWidget* parent = nullptr);
    ~SelectNodeDialog() override;

    // The node of the chosen row once the dialog was accepted, else nullptr.
    WebNode* chosenNode() const;

    QTreeWidget* list() const { return m_list; }

private:
    IdleDriver::Hold m_hold;
    std::vector<WebNode*> m_nodes;
    QTreeWidget* m_list;
};

} // namespace corvida
