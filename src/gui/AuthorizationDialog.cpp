// SPDX-License-Identifier: MIT
#include "gui/AuthorizationDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "gui/Named.h"

namespace corvida {

namespace {

// Refuses an edit that would make the text longer than the request's buffers take in UTF-8,
// rather than cutting a typed password short without a sign.
class Utf8LengthValidator : public QValidator {
public:
    Utf8LengthValidator(int maximumBytes, QObject* parent) : QValidator(parent), m_maximumBytes(maximumBytes) {}

    State validate(QString& input, int& /*position*/) const override {
        return input.toUtf8().size() <= m_maximumBytes ? Acceptable : Invalid;
    }

private:
    int m_maximumBytes;
};

QLabel* plainLabel(const QString& text, const char* name) {
    auto* label = named(new QLabel, name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    label->setText(text);
    return label;
}

} // namespace

AuthorizationDialog::AuthorizationDialog(const QString& url, const QString& realm, QWidget* parent)
    : QDialog(parent), m_user(named(new QLineEdit, "userEdit")), m_password(named(new QLineEdit, "passwordEdit")),
      m_hold(std::in_place) {
    setWindowTitle(QStringLiteral("Authorization"));
    // Wide enough for a user name and the address it is for.
    setMinimumWidth(fontMetrics().averageCharWidth() * 56);
    setAttribute(Qt::WA_DeleteOnClose);
    m_password->setEchoMode(QLineEdit::Password);
    for (QLineEdit* edit : {m_user, m_password}) {
        edit->setValidator(new Utf8LengthValidator(kMaximumBytes, edit));
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("URL:"), plainLabel(url, "urlLabel"));
    form->addRow(QStringLiteral("Realm:"), plainLabel(realm, "realmLabel"));
    form->addRow(QStringLiteral("User Name:"), m_user);
    form->addRow(QStringLiteral("Password:"), m_password);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    auto* skip =
        named(buttons->addButton(QStringLiteral("Skip Realm"), QDialogButtonBox::ActionRole), "skipRealmButton");
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_answer = Answer::Ok;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &AuthorizationDialog::reject);
    connect(skip, &QPushButton::clicked, this, [this] {
        m_answer = Answer::SkipRealm;
        reject();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

AuthorizationDialog::~AuthorizationDialog() = default;

QString AuthorizationDialog::user() const {
    return m_user->text();
}

QString AuthorizationDialog::password() const {
    return m_password->text();
}

void AuthorizationDialog::done(int result) {
    const bool first = m_hold.has_value();
    // Release the documents first: whoever handles the answer may wake a crawl.
    m_hold.reset();
    QDialog::done(result);
    if (first) {
        emit answered();
    }
}

} // namespace corvida
