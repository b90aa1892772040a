// SPDX-License-Identifier: MIT
#include "views/DisplayText.h"

#include <QStringDecoder>

namespace corvida {

QString DisplayText::fromBytes(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError()) {
        text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return text;
}

} // namespace corvida
