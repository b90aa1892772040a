// SPDX-License-Identifier: MIT
#pragma once

// OutputDialog is the URL list's "Output" dialog: where the list goes (an HTML file, a
// comma-separated file or the clipboard) and which columns (the visible ones or all). It only
// asks; the caller writes the list through UrlListExport once exec() returned Accepted. The
// file name and the type of file follow one another: choosing a type changes the name's
// extension, and typing or choosing a name with a known extension selects its type. The dialog
// holds the documents' idle work while it exists.

#include <functional>

#include <QDialog>

#include "doc/IdleDriver.h"
#include "report/UrlListExport.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvida {

class OutputDialog : public QDialog {
    Q_OBJECT

public:
    enum class Destination { HtmlFile, CommaSeparatedFile, Clipboard };

    // The name the file box starts with, in workingDirectory.
    static constexpr const char* kDefaultFileName = "table.htm";

    // Starts with "File", HTML, "Only visible" and workingDirectory + "/table.htm".
    explicit OutputDialog(const QString& workingDirectory, QWidget* parent = nullptr);
    ~OutputDialog() override;

    // Replaces the save-file dialog of the "..." button; chooser gets the present name and
    // returns the chosen path or an empty text.
    void setFileChooser(std::function<QString(const QString& current)> chooser);

    // The chosen destination and columns, and the file path (meaningful for a file).
    Destination destination() const;
    UrlListExport::Columns columns() const;
    QString filePath() const;

    // path with a ".csv" extension (any case) made ".htm" when html, or an ".htm" extension
    // made ".csv" otherwise; any other path as it is.
    static QString withTypeExtension(const QString& path, bool html);

    QRadioButton* fileButton() const { return m_file; }
    QRadioButton* clipboardButton() const { return m_clipboard; }
    QRadioButton* htmlButton() const { return m_html; }
    QRadioButton* commaSeparatedButton() const { return m_commaSeparated; }
    QRadioButton* onlyVisibleButton() const { return m_onlyVisible; }
    QRadioButton* allButton() const { return m_all; }
    QLineEdit* fileEdit() const { return m_fileEdit; }
    QPushButton* browseButton() const { return m_browse; }
    QPushButton* okButton() const { return m_ok; }

private:
    void showFileControls(bool shown);
    void onTypeChosen(bool html);
    void onFileNameEdited(const QString& path);
    void updateOk();

    IdleDriver::Hold m_hold;
    QRadioButton* m_file;
    QRadioButton* m_clipboard;
    QRadioButton* m_html;
    QRadioButton* m_commaSeparated;
    QRadioButton* m_onlyVisible;
    QRadioButton* m_all;
    QLabel* m_fileLabel;
    QLineEdit* m_fileEdit;
    QPushButton* m_browse;
    QGroupBox* m_typeGroup;
    QPushButton* m_ok = nullptr;
    std::function<QString(const QString&)> m_fileChooser;
};

} // namespace corvida
