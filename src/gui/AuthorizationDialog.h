// SPDX-License-Identifier: MIT
#pragma once

// AuthorizationDialog asks for a user name and password when a site answers a request with a
// challenge. The URL and realm come from the site and are shown as plain text. The caller
// shows the dialog with open() and reads the answer when answered() is emitted; the dialog
// deletes itself when it closes. While it is open it holds the documents' idle work.

#include <optional>

#include <QDialog>

#include "doc/IdleDriver.h"

class QLineEdit;

namespace corvida {

class AuthorizationDialog : public QDialog {
    Q_OBJECT

public:
    enum class Answer { Ok, Cancel, SkipRealm };

    static constexpr int kMaximumBytes = 511; // of the user name and of the password, in UTF-8

    // Asks for credentials to url in realm.
    AuthorizationDialog(const QString& url, const QString& realm, QWidget* parent = nullptr);
    ~AuthorizationDialog() override;

    // How the dialog was closed; Cancel until then, and for Escape or the window's close button.
    Answer answer() const { return m_answer; }
    QString user() const;
    QString password() const;

    // Closes the dialog with result; emits answered() the first time.
    void done(int result) override;

signals:
    // The dialog was closed by OK, Cancel or Skip Realm; answer() tells which.
    void answered();

private:
    QLineEdit* m_user;
    QLineEdit* m_password;
    Answer m_answer = Answer::Cancel;
    std::optional<IdleDriver::Hold> m_hold;
};

} // namespace corvida
