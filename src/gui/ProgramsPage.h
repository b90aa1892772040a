// SPDX-License-Identifier: MIT
#pragma once

// ProgramsPage is the Customize sheet's page of the programs Corvida starts: the editor's
// command and arguments and the kind of browser it talks to.

#include <functional>

#include <QWidget>

class QComboBox;
class QLineEdit;

namespace corvida {

struct Settings;

class ProgramsPage : public QWidget {
    Q_OBJECT

public:
    explicit ProgramsPage(QWidget* parent = nullptr);

    // Replaces the file-open dialog of the "..." button: chooser returns the chosen path, or an
    // empty text when the person cancelled.
    void setFileChooser(std::function<QString()> chooser);

    // Shows the programs of settings; a browser kind other than the two the list offers shows
    // no selection.
    void load(const Settings& settings);

    // Writes the page's values into settings. An edit is taken only when it was edited, so a
    // stored text the edit cannot show exactly survives; no browser selection keeps the kind.
    void apply(Settings& settings) const;

private:
    void chooseEditor();

    QLineEdit* m_editorProgram;
    QLineEdit* m_editorArguments;
    QComboBox* m_browser;
    std::function<QString()> m_fileChooser;
};

} // namespace corvida
