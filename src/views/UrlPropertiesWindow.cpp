// SPDX-License-Identifier: MIT
#include "views/UrlPropertiesWindow.h"

#include <algorithm>
#include <optional>

#include <QEvent>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "doc/CTamsoDoc.h"
#include "drawing/NodeIcons.h"
#include "model/WebNode.h"
#include "viewlogic/NodeFacts.h"
#include "viewlogic/NodeGlyph.h"
#include "views/DisplayText.h"
#include "views/SoundPlayer.h"

namespace corvida {

namespace {

// The full text of a value label, which shows it elided to its width.
constexpr char kFullText[] = "fullText";
// The window keeps the pictures of the few nodes last shown.
constexpr std::size_t kThumbnailBudget = std::size_t{1} << 20;
constexpr int kPinSide = 16;

// The pin: standing up (not pinned) or pushed in, seen from above (pinned).
QPixmap pinPixmap(bool pinned, const QColor& ink) {
    QPixmap pixmap(kPinSide, kPinSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 1.2));
    if (pinned) {
        painter.setBrush(QColor(200, 40, 40));
        painter.drawEllipse(QRectF(3.5, 3.5, 9, 9));
        painter.setBrush(ink);
        painter.drawEllipse(QRectF(6.5, 6.5, 3, 3));
    } else {
        painter.drawLine(QPointF(2, 14), QPointF(6.5, 9.5)); // the needle
        QPainterPath head;
        head.moveTo(5, 7);
        head.lineTo(9, 11);
        head.lineTo(14, 6);
        head.lineTo(10, 2);
        head.closeSubpath();
        painter.setBrush(QColor(200, 40, 40));
        painter.drawPath(head);
    }
    return pixmap;
}

QLabel* valueLabel(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The label takes the width the window gives and shows its text elided to it.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

void setValue(QLabel* label, const std::string& bytes) {
    const QString text = DisplayText::fromBytes(bytes);
    label->setProperty(kFullText, text);
    label->setToolTip(text.isEmpty() ? QString() : QStringLiteral("<qt>%1</qt>").arg(text.toHtmlEscaped()));
}

} // namespace

UrlPropertiesWindow::UrlPropertiesWindow(QWidget* parent, std::unique_ptr<SoundPlayer> player)
    : QWidget(parent, Qt::Tool), m_player(std::move(player)), m_thumbnails({}, kThumbnailBudget) {
    setObjectName(QStringLiteral("UrlPropertiesWindow"));
    setWindowTitle(QStringLiteral("URL Properties"));

    m_pin = new QToolButton;
    m_pin->setObjectName(QStringLiteral("PinButton"));
    m_pin->setCheckable(true);
    m_pin->setAutoRaise(true);
    m_pin->setToolTip(tr("Keep this window shown"));
    QIcon pinIcon;
    const QColor ink = palette().color(QPalette::ButtonText);
    pinIcon.addPixmap(pinPixmap(false, ink), QIcon::Normal, QIcon::Off);
    pinIcon.addPixmap(pinPixmap(true, ink), QIcon::Normal, QIcon::On);
    m_pin->setIcon(pinIcon);
    m_pin->setIconSize(QSize(kPinSide, kPinSide));

    m_typeIcon = new QLabel;
    m_typeIcon->setObjectName(QStringLiteral("TypeIcon"));
    m_typeIcon->setTextFormat(Qt::PlainText);
    m_typeIcon->setFixedSize(NodeIcons::kIconSize, NodeIcons::kIconSize);
    auto* top = new QHBoxLayout;
    top->addWidget(m_pin);
    top->addStretch();
    top->addWidget(m_typeIcon);

    auto* facts = new QFormLayout;
    facts->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto addFact = [facts](const char* caption, const char* name) {
        auto* caption_ = new QLabel(QString::fromLatin1(caption));
        caption_->setTextFormat(Qt::PlainText);
        QLabel* value = valueLabel(QString::fromLatin1(name));
        facts->addRow(caption_, value);
        return value;
    };
    m_urlName = addFact("URL Name:", "UrlName");
    m_mimeType = addFact("MIME Type:", "MimeType");
    m_lastModified = addFact("Last Modified:", "LastModified");
    m_size = addFact("Size:", "Size");
    m_inLinks = addFact("# In Links:", "InLinks");
    m_outLinks = addFact("# Out Links:", "OutLinks");
    m_depth = addFact("Depth:", "Depth");

    m_preview = new QGroupBox(QStringLiteral("Preview:"));
    m_preview->setObjectName(QStringLiteral("Preview"));
    m_excerpt = new QPlainTextEdit;
    m_excerpt->setObjectName(QStringLiteral("Excerpt"));
    m_excerpt->setReadOnly(true);
    m_thumbnail = new QLabel;
    m_thumbnail->setObjectName(QStringLiteral("ThumbNail"));
    m_thumbnail->setAccessibleName(QStringLiteral("ThumbNail"));
    m_thumbnail->setTextFormat(Qt::PlainText);
    m_thumbnail->setFixedSize(kThumbnailSide, kThumbnailSide);
    m_playButton = new QPushButton(QStringLiteral("PLAY"));
    m_playButton->setObjectName(QStringLiteral("PlayButton"));
    m_stopButton = new QPushButton(QStringLiteral("Stop"));
    m_stopButton->setObjectName(QStringLiteral("StopButton"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_playButton);
    buttons->addWidget(m_stopButton);
    buttons->addStretch();
    auto* previewLayout = new QHBoxLayout(m_preview);
    previewLayout->addWidget(m_excerpt, 1);
    previewLayout->addWidget(m_thumbnail);
    previewLayout->addLayout(buttons);
    previewLayout->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(facts);
    layout->addWidget(m_preview, 1);

    connect(m_playButton, &QPushButton::clicked, this, &UrlPropertiesWindow::play);
    connect(m_stopButton, &QPushButton::clicked, this, &UrlPropertiesWindow::stopSound);
    if (m_player != nullptr) {
        m_player->setFinishedListener([this] { soundEnded(); });
    }

    showNode(nullptr, nullptr);
    resize(380, 300);
}

UrlPropertiesWindow::~UrlPropertiesWindow() {
    stopSound();
    watch(nullptr);
}

void UrlPropertiesWindow::showNode(CTamsoDoc* document, WebNode* node) {
    if (document == nullptr || node == nullptr) {
        document = nullptr;
        node = nullptr;
    }
    const bool sameNode = node != nullptr && node == m_node && document == m_document;
    watch(document);
    m_node = node;
    refresh(sameNode);
}

bool UrlPropertiesWindow::isPinned() const {
    return m_pin->isChecked();
}

void UrlPropertiesWindow::setPinned(bool pinned) {
    m_pin->setChecked(pinned);
}

void UrlPropertiesWindow::update(const Update& update) {
    switch (update.hint) {
    case Hint::ContentsGone:
        // Every node of the document is about to be freed.
        showNode(nullptr, nullptr);
        break;
    case Hint::NodesChanged:
        if (m_node != nullptr && std::find(update.nodes.begin(), update.nodes.end(), m_node) != update.nodes.end()) {
            refresh(true);
        }
        break;
    default:
        break;
    }
}

bool UrlPropertiesWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && !isPinned()) {
        hide();
    }
    return QWidget::event(event);
}

void UrlPropertiesWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void UrlPropertiesWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
}

void UrlPropertiesWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    elideValues();
}

void UrlPropertiesWindow::watch(CTamsoDoc* document) {
    if (document == m_document) {
        return;
    }
    if (m_document != nullptr) {
        m_document->removeView(this);
    }
    // Pictures are kept by node address, which a node of another document may reuse.
    m_thumbnails.clear();
    m_document = document;
    if (m_document != nullptr) {
        m_document->addView(this);
        m_thumbnails.setWorkingDirectory(m_document->workingDirectory());
    }
}

void UrlPropertiesWindow::refresh(bool sameNode) {
    const NodeFacts facts = NodeFacts::of(m_node, m_document != nullptr ? m_document->workingDirectory() : "");
    setValue(m_urlName, facts.urlName);
    setValue(m_mimeType, facts.mimeType);
    setValue(m_lastModified, facts.lastModified);
    setValue(m_size, facts.size);
    setValue(m_inLinks, facts.inLinks);
    setValue(m_outLinks, facts.outLinks);
    setValue(m_depth, facts.depth);
    elideValues();
    setTypeIcon();

    m_excerpt->setVisible(facts.showExcerpt);
    m_excerpt->setPlainText(DisplayText::fromBytes(facts.excerpt));
    m_thumbnail->setVisible(facts.showThumbnail);
    if (facts.showThumbnail) {
        drawThumbnail();
    } else {
        m_thumbnail->clear();
    }
    m_playButton->setVisible(facts.showSound);
    m_stopButton->setVisible(facts.showSound);
    m_soundFile = facts.showSound ? QFile::decodeName(QByteArray::fromStdString(facts.soundFile)) : QString();
    if (!sameNode || !facts.showSound) {
        stopSound();
    }
    m_preview->setVisible(facts.showExcerpt || facts.showPreview);
}

void UrlPropertiesWindow::drawThumbnail() {
    QImage box(kThumbnailSide, kThumbnailSide, QImage::Format_ARGB32_Premultiplied);
    box.fill(palette().color(QPalette::Button));
    if (m_document != nullptr && m_node != nullptr) {
        m_thumbnails.setWorkingDirectory(m_document->workingDirectory());
        QPainter painter(&box);
        m_thumbnails.draw(painter, *m_node, box.rect());
    }
    m_thumbnail->setPixmap(QPixmap::fromImage(box));
}

void UrlPropertiesWindow::setTypeIcon() {
    const std::optional<NodeGlyph> glyph = m_node != nullptr ? NodeGlyph::listIcon(*m_node) : std::nullopt;
    if (glyph) {
        m_typeIcon->setPixmap(QPixmap::fromImage(NodeIcons::image(*glyph)));
    } else {
        m_typeIcon->clear();
    }
}

void UrlPropertiesWindow::elideValues() {
    for (QLabel* label : {m_urlName, m_mimeType, m_lastModified, m_size, m_inLinks, m_outLinks, m_depth}) {
        const QString text = label->property(kFullText).toString();
        label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, std::max(label->width(), 1)));
    }
}

void UrlPropertiesWindow::play() {
    if (m_soundFile.isEmpty()) {
        return;
    }
    if (m_player == nullptr) {
        m_player = SoundPlayer::create();
        m_player->setFinishedListener([this] { soundEnded(); });
    }
    // A sound handed to the desktop's player cannot be stopped from here: PLAY stays.
    m_playing = m_player->play(m_soundFile);
    m_playButton->setEnabled(!m_playing);
    m_stopButton->setEnabled(m_playing);
}

void UrlPropertiesWindow::stopSound() {
    if (m_playing && m_player != nullptr) {
        m_player->stop();
    }
    soundEnded();
}

void UrlPropertiesWindow::soundEnded() {
    m_playing = false;
    m_playButton->setEnabled(true);
    m_stopButton->setEnabled(false);
}

} // namespace corvida
