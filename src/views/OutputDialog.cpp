// SPDX-License-Identifier: MIT
#include "views/OutputDialog.h"

#include <utility>

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvida {

namespace {

const QString kHtmlExtension = QStringLiteral(".htm");
const QString kCommaSeparatedExtension = QStringLiteral(".csv");
// The save dialog offers the extensions the type rule knows, so a chosen name selects its type.
const QString kSaveFilter = QStringLiteral("HTML files (*.htm *.html);;Comma separated files (*.csv)");

QRadioButton* addRadio(const QString& text, QGroupBox* group, QButtonGroup* buttons) {
    auto* button = new QRadioButton(text, group);
    buttons->addButton(button);
    group->layout()->addWidget(button);
    return button;
}

} // namespace

OutputDialog::OutputDialog(const QString& workingDirectory, QWidget* parent)
    : QDialog(parent), m_fileLabel(nullptr), m_fileEdit(new QLineEdit(this)),
      m_browse(new QPushButton(QStringLiteral("..."), this)) {
    setWindowTitle(QStringLiteral("Output"));

    auto* destination = new QGroupBox(QStringLiteral("Destination"), this);
    destination->setLayout(new QVBoxLayout);
    auto* destinationButtons = new QButtonGroup(this);
    m_file = addRadio(QStringLiteral("Fi&le"), destination, destinationButtons);
    m_clipboard = addRadio(QStringLiteral("&Clipboard"), destination, destinationButtons);

    auto* columns = new QGroupBox(QStringLiteral("Columns"), this);
    columns->setLayout(new QVBoxLayout);
    auto* columnButtons = new QButtonGroup(this);
    m_onlyVisible = addRadio(QStringLiteral("&Only visible"), columns, columnButtons);
    m_all = addRadio(QStringLiteral("&All"), columns, columnButtons);

    m_typeGroup = new QGroupBox(QStringLiteral("Type of file"), this);
    m_typeGroup->setLayout(new QVBoxLayout);
    auto* typeButtons = new QButtonGroup(this);
    m_html = addRadio(QStringLiteral("&HTML"), m_typeGroup, typeButtons);
    m_commaSeparated = addRadio(QStringLiteral("Co&mma separated"), m_typeGroup, typeButtons);

    m_fileLabel = new QLabel(QStringLiteral("&File:"), this);
    m_fileLabel->setBuddy(m_fileEdit);
    m_browse->setAutoDefault(false);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_fileLabel);
    fileRow->addWidget(m_fileEdit, 1);
    fileRow->addWidget(m_browse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &OutputDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OutputDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(destination);
    top->addWidget(columns);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fileRow);
    layout->addWidget(m_typeGroup);
    layout->addWidget(buttons);

    m_file->setChecked(true);
    m_onlyVisible->setChecked(true);
    m_html->setChecked(true);
    m_fileEdit->setText(workingDirectory + QLatin1Char('/') + QString::fromLatin1(kDefaultFileName));

    connect(m_file, &QRadioButton::toggled, this, [this](bool checked) {
        showFileControls(checked);
        updateOk();
    });
    connect(m_html, &QRadioButton::clicked, this, [this] { onTypeChosen(true); });
    connect(m_commaSeparated, &QRadioButton::clicked, this, [this] { onTypeChosen(false); });
    connect(m_fileEdit, &QLineEdit::textEdited, this, &OutputDialog::onFileNameEdited);
    connect(m_fileEdit, &QLineEdit::textChanged, this, [this] { updateOk(); });
    connect(m_browse, &QPushButton::clicked, this, [this] {
        const QString path = m_fileChooser(m_fileEdit->text());
        if (!path.isEmpty()) {
            m_fileEdit->setText(path);
            onFileNameEdited(path);
        }
    });
    m_fileChooser = [this](const QString& current) {
        // The save dialog asks before it lets an existing file be replaced.
        return QFileDialog::getSaveFileName(this, QString(), current, kSaveFilter);
    };
    updateOk();
}

OutputDialog::~OutputDialog() = default;

void OutputDialog::setFileChooser(std::function<QString(const QString&)> chooser) {
    m_fileChooser = std::move(chooser);
}

OutputDialog::Destination OutputDialog::destination() const {
    if (m_clipboard->isChecked()) {
        return Destination::Clipboard;
    }
    return m_html->isChecked() ? Destination::HtmlFile : Destination::CommaSeparatedFile;
}

UrlListExport::Columns OutputDialog::columns() const {
    return m_all->isChecked() ? UrlListExport::Columns::All : UrlListExport::Columns::OnlyVisible;
}

QString OutputDialog::filePath() const {
    return m_fileEdit->text();
}

QString OutputDialog::withTypeExtension(const QString& path, bool html) {
    const QString& from = html ? kCommaSeparatedExtension : kHtmlExtension;
    const QString& to = html ? kHtmlExtension : kCommaSeparatedExtension;
    if (!path.endsWith(from, Qt::CaseInsensitive)) {
        return path;
    }
    return path.left(path.size() - from.size()) + to;
}

void OutputDialog::showFileControls(bool shown) {
    m_fileLabel->setVisible(shown);
    m_fileEdit->setVisible(shown);
    m_browse->setVisible(shown);
    m_typeGroup->setVisible(shown);
}

void OutputDialog::onTypeChosen(bool html) {
    m_fileEdit->setText(withTypeExtension(m_fileEdit->text(), html));
}

void OutputDialog::onFileNameEdited(const QString& path) {
    if (path.endsWith(kHtmlExtension, Qt::CaseInsensitive)) {
        m_html->setChecked(true);
    } else if (path.endsWith(kCommaSeparatedExtension, Qt::CaseInsensitive)) {
        m_commaSeparated->setChecked(true);
    }
}

void OutputDialog::updateOk() {
    // A file destination needs a name to write to.
    m_ok->setEnabled(m_clipboard->isChecked() || !m_fileEdit->text().trimmed().isEmpty());
}

} // namespace corvida
