// SPDX-License-Identifier: MIT
#pragma once

// OpenUrlDialog asks for the start of a new project: a URL, or an HTML file chosen with "Use
// File", and, behind "Advanced", more URLs whose links the crawl also follows. The dialog is
// made afresh each time, so its list of extra URLs always starts empty.

#include <functional>
#include <string>
#include <vector>

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace corvida {

class OpenUrlDialog : public QDialog {
    Q_OBJECT

public:
    // Shows presetUrl in the URL box.
    explicit OpenUrlDialog(const QString& presetUrl, QWidget* parent = nullptr);

    // The text of the URL box without surrounding blanks.
    QString url() const;

    // The extra URLs in the order they were added, as UTF-8.
    std::vector<std::string> extraUrls() const;

    // Replaces the file-open dialog of "Use File": chooser returns a path or an empty text.
    void setFileChooser(std::function<QString()> chooser);

private:
    void useFile();
    void toggleAdvanced();
    void addExtraUrl();
    void updateOk();

    QLineEdit* m_url;
    QPushButton* m_ok;
    QPushButton* m_advanced;
    QWidget* m_extra;
    QListWidget* m_extraList;
    QLineEdit* m_extraEdit;
    std::function<QString()> m_fileChooser;
};

} // namespace corvida
