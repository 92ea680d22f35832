#include "base/text_codec.h"

#include <QStringDecoder>

QString DecodeFileText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder shiftJis("Shift_JIS");
    if (!shiftJis.isValid())
        return QString::fromLatin1(bytes);
    return shiftJis.decode(bytes);
}

QByteArray EncodeFileText(const QString &text)
{
    return text.toUtf8();
}

std::optional<QString> DecodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder shiftJis("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (!shiftJis.isValid())
        return std::nullopt;
    text = shiftJis.decode(bytes);
    if (shiftJis.hasError())
        return std::nullopt;
    return text;
}
