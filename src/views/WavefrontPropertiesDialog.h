// SPDX-License-Identifier: MIT
#pragma once

// WavefrontPropertiesDialog is the Wavefront map's "Wave Front Properties" dialog: one tab
// "General" with the map's options (scroll bars, thumbnails, in and out link lines), its zoom
// from a fixed list of steps and the number of levels it shows. The map's own zoom is kept
// when it is none of the steps: it is offered as one more entry, so OK after changing another
// option leaves it as it was. The dialog holds the documents' idle work while it exists.

#include <QDialog>

#include "doc/IdleDriver.h"
#include "viewlogic/WavefrontLayout.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace corvida {

class WavefrontPropertiesDialog : public QDialog {
    Q_OBJECT

public:
    // What the dialog edits.
    struct Values {
        bool scrollBars = true;
        bool thumbnails = false;
        bool inLinks = false;
        bool outLinks = false;
        int zoom = WavefrontLayout::kDefaultZoom;         // percent
        int maxLevel = WavefrontLayout::kDefaultMaxLevel; // levels shown

        bool operator==(const Values&) const = default;
    };

    // The zoom steps of the drop-down, in percent.
    static constexpr int kZoomSteps[] = {25, 50, 75, 100, 125, 150, 175, 200, 300, 400};

    // Shows values; a zoom below the map's smallest is shown as the smallest, a max level
    // outside 1..WavefrontLayout::kMaxMaxLevel as its nearest limit.
    explicit WavefrontPropertiesDialog(const Values& values, QWidget* parent = nullptr);
    ~WavefrontPropertiesDialog() override;

    // The values as the dialog shows them now.
    Values values() const;

    QCheckBox* scrollBarsBox() const { return m_scrollBars; }
    QCheckBox* thumbnailsBox() const { return m_thumbnails; }
    QCheckBox* inLinksBox() const { return m_inLinks; }
    QCheckBox* outLinksBox() const { return m_outLinks; }
    QComboBox* zoomBox() const { return m_zoom; }
    QSpinBox* maxLevelBox() const { return m_maxLevel; }

private:
    IdleDriver::Hold m_hold;
    QCheckBox* m_scrollBars;
    QCheckBox* m_thumbnails;
    QCheckBox* m_inLinks;
    QCheckBox* m_outLinks;
    QComboBox* m_zoom;
    QSpinBox* m_maxLevel;
};

} // namespace corvida
