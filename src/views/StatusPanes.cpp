// SPDX-License-Identifier: MIT
#include "views/StatusPanes.h"

#include <algorithm>

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <QStatusBar>

namespace corvida {

namespace {

constexpr int kPaneMargin = 4;
constexpr int kProgressMaximum = 100;

// A plain-text label that shows as much of its text as fits, ending in an ellipsis, and never
// asks the status bar to grow for a long text.
class ElidingLabel : public QLabel {
public:
    explicit ElidingLabel(QWidget* parent) : QLabel(parent) {
        setTextFormat(Qt::PlainText);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setContentsMargins(kPaneMargin, 0, kPaneMargin, 0);
    }

    void setFullText(const QString& text) {
        m_fullText = text;
        // Tooltips guess whether a text is rich; a message may carry a crawled site's text.
        setToolTip(text.isEmpty() ? QString() : QStringLiteral("<qt>%1</qt>").arg(text.toHtmlEscaped()));
        elide();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide() {
        QString line = m_fullText;
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        setText(fontMetrics().elidedText(line, Qt::ElideRight, contentsRect().width()));
    }

    QString m_fullText;
};

// A count pane at least as wide as sample.
QLabel* countPane(QWidget* parent, const QString& sample) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setContentsMargins(kPaneMargin, 0, kPaneMargin, 0);
    label->setMinimumWidth(QFontMetrics(label->font()).horizontalAdvance(sample) + 2 * kPaneMargin);
    return label;
}

} // namespace

StatusPanes::StatusPanes(QStatusBar& bar)
    : m_messageLabel(new ElidingLabel(&bar)), m_progress(new QProgressBar(&bar)),
      m_dispatch(countPane(&bar, QStringLiteral("Dispatch"))),
      m_webProgress(countPane(&bar, QStringLiteral("Web Progress"))) {
    m_progress->setRange(0, kProgressMaximum);
    m_progress->setFixedWidth(kProgressWidth);
    m_progress->setTextVisible(false);
    m_progress->hide();
    bar.addPermanentWidget(m_messageLabel, 1);
    bar.addPermanentWidget(m_progress);
    bar.addPermanentWidget(m_dispatch);
    bar.addPermanentWidget(m_webProgress);
}

void StatusPanes::setMessage(const QString& text) {
    m_message = text;
    static_cast<ElidingLabel*>(m_messageLabel)->setFullText(text);
}

void StatusPanes::setProgress(int position) {
    position = std::clamp(position, 0, kProgressMaximum);
    m_progress->setValue(position);
    m_progress->setVisible(position > 0);
}

void StatusPanes::setCounts(std::size_t pending, std::size_t processed, std::size_t nodes) {
    m_dispatch->setText(QString::number(pending));
    m_webProgress->setText(QStringLiteral("%1 of %2").arg(processed).arg(nodes));
}

void StatusPanes::clearCounts() {
    m_dispatch->clear();
    m_webProgress->clear();
}

} // namespace corvida
