#include "desktop/start_message.h"

#include <QtEndian>
#include <optional>

namespace {

constexpr quint32 StartMark = 0x52425831; // "RBX1"
constexpr quint32 NoText = 0xFFFFFFFF;
constexpr qsizetype NumberSize = 4;

void AppendNumber(QByteArray &out, quint32 number)
{
    char bytes[NumberSize];
    qToBigEndian(number, bytes);
    out.append(bytes, NumberSize);
}

void AppendText(QByteArray &out, const QString &text)
{
    AppendNumber(out, quint32(text.size() * 2));
    for (const QChar unit : text) {
        char bytes[2];
        qToBigEndian(unit.unicode(), bytes);
        out.append(bytes, 2);
    }
}

// Takes numbers and texts off the front of a message, each only when all of
// it is there.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes)
        : bytes_(bytes)
    {
    }
    qsizetype Left() const { return bytes_.size() - at_; }

    std::optional<quint32> Number()
    {
        if (Left() < NumberSize)
            return std::nullopt;
        const auto number = qFromBigEndian<quint32>(bytes_.data() + at_);
        at_ += NumberSize;
        return number;
    }

    std::optional<QString> Text()
    {
        const std::optional<quint32> length = Number();
        if (length == NoText)
            return QString();
        if (!length || *length % 2 != 0 || *length > quint64(Left()))
            return std::nullopt;
        QString text(qsizetype(*length / 2), Qt::Uninitialized);
        for (QChar &unit : text) {
            unit = QChar(qFromBigEndian<quint16>(bytes_.data() + at_));
            at_ += 2;
        }
        return text;
    }

private:
    QByteArrayView bytes_;
    qsizetype at_ = 0;
};

std::optional<StartRequest> ReadRequest(Reader &in)
{
    const std::optional<quint32> mark = in.Number();
    const std::optional<quint32> count = in.Number();
    // Each argument takes at least its length's four bytes.
    if (mark != StartMark || !count || *count > quint64(in.Left() / NumberSize))
        return std::nullopt;
    StartRequest request;
    request.arguments.reserve(qsizetype(*count));
    for (quint32 i = 0; i < *count; ++i) {
        std::optional<QString> argument = in.Text();
        if (!argument)
            return std::nullopt;
        request.arguments.append(std::move(*argument));
    }
    std::optional<QString> folder = in.Text();
    if (!folder || in.Left() != 0)
        return std::nullopt;
    request.workingFolder = std::move(*folder);
    return request;
}

} // namespace

QByteArray StartMessage(const StartRequest &request)
{
    QByteArray payload;
    AppendNumber(payload, StartMark);
    AppendNumber(payload, quint32(request.arguments.size()));
    for (const QString &argument : request.arguments)
        AppendText(payload, argument);
    AppendText(payload, request.workingFolder);
    if (payload.size() > MaxStartMessage)
        return {};
    QByteArray message;
    AppendNumber(message, quint32(payload.size()));
    return message + payload;
}

StartMessageRead ReadStartMessage(QByteArrayView received)
{
    using Outcome = StartMessageRead::Outcome;
    Reader frame(received);
    const std::optional<quint32> length = frame.Number();
    if (length && *length > quint64(MaxStartMessage))
        return {Outcome::Malformed, {}};
    if (!length || *length > quint64(frame.Left()))
        return {Outcome::Incomplete, {}};
    Reader payload(received.sliced(NumberSize, qsizetype(*length)));
    std::optional<StartRequest> request = ReadRequest(payload);
    if (!request)
        return {Outcome::Malformed, {}};
    return {Outcome::Whole, std::move(*request)};
}
