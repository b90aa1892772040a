// SPDX-License-Identifier: MIT
#include "gui/AboutDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/Named.h"

namespace corvida {

namespace {

constexpr int kIconSize = 48;

QLabel* line(const QString& text, const char* name) {
    auto* label = named(new QLabel(text), name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Corvida"));
    auto* text = new QVBoxLayout;
    text->addWidget(line(QStringLiteral("Corvida - Release 1.01"), "releaseLabel"));
    text->addWidget(line(QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())), "qtVersionLabel"));
    text->addWidget(line(QStringLiteral("Analyses a web site and maps its links."), "descriptionLabel"));
    text->addWidget(line(QStringLiteral("Released under the MIT License."), "licenceLabel"));

    auto* row = new QHBoxLayout;
    // The program's icon, when the program has set one.
    if (const QIcon icon = QApplication::windowIcon(); !icon.isNull()) {
        auto* picture = named(new QLabel, "iconLabel");
        picture->setPixmap(icon.pixmap(kIconSize));
        row->addWidget(picture, 0, Qt::AlignTop);
    }
    row->addLayout(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &AboutDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

} // namespace corvida
