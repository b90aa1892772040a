// SPDX-License-Identifier: MIT
#pragma once

// The UrlPropertiesWindow is the program's one "URL Properties" tool window: the facts of a
// node (address, MIME type, date, size, link counts, depth) with its type icon, and by its
// type a text excerpt, its picture, or PLAY and Stop for its sound. The main window makes it
// hidden, shows it on the URL Properties command and points it at the active project window's
// selected node. Unless pinned, it hides when it loses activation.
//
// The window watches the document of the node it shows: when the document's contents go (a
// restart or a close) it shows no node and lets go of the document, so it never holds a node
// or a document that is gone. Everything from the node is shown as plain text.

#include <memory>
#include <string>

#include <QWidget>

#include "doc/DocumentView.h"
#include "drawing/ThumbnailCache.h"
#include "views/SoundPlayer.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace corvida {

class CTamsoDoc;
class WebNode;

class UrlPropertiesWindow : public QWidget, public DocumentView {
    Q_OBJECT

public:
    // The side of the picture box.
    static constexpr int kThumbnailSide = 96;

    // A hidden tool window of parent. player plays the sounds; without one, the program's
    // player is made when a sound is first played.
    explicit UrlPropertiesWindow(QWidget* parent = nullptr, std::unique_ptr<SoundPlayer> player = nullptr);
    ~UrlPropertiesWindow() override;

    // Shows node of document; with either null, "Node is not selected". Another node stops a
    // sound that plays; the same node again only refreshes the facts. document must stay
    // alive until it sends ContentsGone or another document is shown.
    void showNode(CTamsoDoc* document, WebNode* node);
    const WebNode* node() const { return m_node; }
    const CTamsoDoc* document() const { return m_document; }

    bool isPinned() const;
    void setPinned(bool pinned);
    // A sound started here plays.
    bool isPlaying() const { return m_playing; }

    // Hears the document of the shown node: ContentsGone clears the window, NodesChanged
    // naming the shown node refreshes its facts.
    using QWidget::update;
    void update(const Update& update) override;

signals:
    // The window was shown (true) or hidden (false).
    void visibilityChanged(bool visible);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void watch(CTamsoDoc* document);
    void refresh(bool sameNode);
    void drawThumbnail();
    void setTypeIcon();
    void elideValues();
    void play();
    void stopSound();
    void soundEnded();

    CTamsoDoc* m_document = nullptr;
    WebNode* m_node = nullptr;
    std::unique_ptr<SoundPlayer> m_player;
    bool m_playing = false;
    QString m_soundFile;
    ThumbnailCache m_thumbnails;

    QToolButton* m_pin = nullptr;
    QLabel* m_typeIcon = nullptr;
    QLabel* m_urlName = nullptr;
    QLabel* m_mimeType = nullptr;
    QLabel* m_lastModified = nullptr;
    QLabel* m_size = nullptr;
    QLabel* m_inLinks = nullptr;
    QLabel* m_outLinks = nullptr;
    QLabel* m_depth = nullptr;
    QGroupBox* m_preview = nullptr;
    QPlainTextEdit* m_excerpt = nullptr;
    QLabel* m_thumbnail = nullptr;
    QPushButton* m_playButton = nullptr;
    QPushButton* m_stopButton = nullptr;
};

} // namespace corvida
