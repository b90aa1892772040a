// SPDX-License-Identifier: MIT
#include "views/WavefrontPropertiesDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace corvida {

WavefrontPropertiesDialog::WavefrontPropertiesDialog(const Values& values, QWidget* parent)
    : QDialog(parent), m_scrollBars(new QCheckBox(QStringLiteral("Scrollbars"))),
      m_thumbnails(new QCheckBox(QStringLiteral("Thumbnails"))),
      m_inLinks(new QCheckBox(QStringLiteral("Show In Links"))),
      m_outLinks(new QCheckBox(QStringLiteral("Show Out Links"))), m_zoom(new QComboBox), m_maxLevel(new QSpinBox) {
    setWindowTitle(QStringLiteral("Wave Front Properties"));
    m_scrollBars->setChecked(values.scrollBars);
    m_thumbnails->setChecked(values.thumbnails);
    m_inLinks->setChecked(values.inLinks);
    m_outLinks->setChecked(values.outLinks);

    // A zoom reached with Zoom In (up to ten times) is no step of the list: it joins the list
    // in its place, so that it stays chosen unless the person picks another.
    const int zoom = std::max(values.zoom, WavefrontLayout::kMinZoom);
    bool listed = false;
    for (const int step : kZoomSteps) {
        if (!listed && zoom < step) {
            m_zoom->addItem(QString::number(zoom), zoom);
            listed = true;
        }
        m_zoom->addItem(QString::number(step), step);
        listed = listed || zoom == step;
    }
    if (!listed) {
        m_zoom->addItem(QString::number(zoom), zoom);
    }
    m_zoom->setCurrentIndex(m_zoom->findData(zoom));

    m_maxLevel->setRange(1, WavefrontLayout::kMaxMaxLevel);
    m_maxLevel->setValue(values.maxLevel);

    auto* general = new QWidget;
    auto* form = new QFormLayout(general);
    form->addRow(m_scrollBars);
    form->addRow(m_thumbnails);
    form->addRow(m_inLinks);
    form->addRow(m_outLinks);
    form->addRow(QStringLiteral("Zoom (%):"), m_zoom);
    form->addRow(QStringLiteral("Max. Level:"), m_maxLevel);
    auto* tabs = new QTabWidget;
    tabs->addTab(general, QStringLiteral("General"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

WavefrontPropertiesDialog::~WavefrontPropertiesDialog() = default;

WavefrontPropertiesDialog::Values WavefrontPropertiesDialog::values() const {
    Values result;
    result.scrollBars = m_scrollBars->isChecked();
    result.thumbnails = m_thumbnails->isChecked();
    result.inLinks = m_inLinks->isChecked();
    result.outLinks = m_outLinks->isChecked();
    result.zoom = std::max(m_zoom->currentData().toInt(), WavefrontLayout::kMinZoom);
    result.maxLevel = m_maxLevel->value();
    return result;
}

} // namespace corvida
