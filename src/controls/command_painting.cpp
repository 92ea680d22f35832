// The face of a Command: the frame geometry and the gradient (command_face.h),
// the painting of a face from its option, and the control's members that
// decide which face shows, keep its picture and place the caption on it.

#include "controls/command.h"

#include "base/units.h"
#include "controls/command_face.h"

#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Frame constants of the skin pictures, in twips (16-bit, like the spans).
constexpr qint16 CornerSize = 60;
constexpr qint16 SkinWidth = 960;
constexpr qint16 SkinHeight = 375;
constexpr qint16 MiddleSourceWidth = SkinWidth - 2 * CornerSize;
constexpr qint16 MiddleSourceHeight = SkinHeight - 2 * CornerSize;

// Stores `value` when it fits in 16 bits; otherwise leaves `target` alone.
bool StoreSpan(qint16 &target, int value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return false;
    target = qint16(value);
    return true;
}

QRect TwipsToPixelRect(const QRect &twips)
{
    return TwipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

// One colour per device-pixel row, top row to bottom row.
void PaintGradient(QPainter &painter, QSize devicePixels, bool reversed)
{
    for (int row = 0; row < devicePixels.height(); ++row)
        painter.fillRect(0, row, devicePixels.width(), 1, CommandGradientColour(row, devicePixels.height(), reversed));
}

// Pieces are placed in whole pixels; a skin picture drawn at another size than
// 64 x 25 px has its source rectangles scaled to it.
void DrawFramePieces(QPainter &painter, const QPixmap &skin, const CommandFrameSpans &spans)
{
    if (skin.isNull())
        return;
    const QSize designed = TwipsToPixels(QSize(SkinWidth, SkinHeight));
    const qreal scaleX = qreal(skin.width()) / designed.width();
    const qreal scaleY = qreal(skin.height()) / designed.height();
    for (const FramePiece &piece : CommandFramePieces(spans)) {
        if (piece.destination.width() <= 0 || piece.destination.height() <= 0)
            continue;
        const QRect source = TwipsToPixelRect(piece.source);
        const QRectF scaledSource(source.x() * scaleX, source.y() * scaleY, source.width() * scaleX,
                                  source.height() * scaleY);
        painter.drawPixmap(QRectF(TwipsToPixelRect(piece.destination)), skin, scaledSource);
    }
}

} // namespace

bool UpdateCommandFrameSpans(CommandFrameSpans &spans, int widthTwips, int heightTwips)
{
    bool allFit = StoreSpan(spans.middleWidth, widthTwips - 2 * CornerSize);
    allFit = StoreSpan(spans.middleHeight, heightTwips - 2 * CornerSize) && allFit;
    allFit = StoreSpan(spans.rightX, widthTwips - CornerSize) && allFit;
    allFit = StoreSpan(spans.bottomY, heightTwips - CornerSize) && allFit;
    return allFit;
}

std::array<FramePiece, 8> CommandFramePieces(const CommandFrameSpans &spans)
{
    const int c = CornerSize;
    const int width = spans.middleWidth, height = spans.middleHeight;
    const int x = spans.rightX, y = spans.bottomY;
    const int right = SkinWidth - c, bottom = SkinHeight - c;
    return {{
        {{1, 1, c, c}, {0, 0, c, c}},
        {{c, 1, width, c}, {c, 1, MiddleSourceWidth, c}},
        {{x, 1, c, c}, {right, 1, c, c}},
        {{x, c, c, height}, {right, c, c, MiddleSourceHeight}},
        {{x, y, c, c}, {right, bottom, c, c}},
        {{c, y, width, c}, {c, bottom, MiddleSourceWidth, c}},
        {{1, y, c, c}, {0, bottom, c, c}},
        {{1, c, c, height}, {1, c, c, MiddleSourceHeight}},
    }};
}

QColor CommandColourFromText(const QString &text)
{
    static const QRegularExpression colourText(QStringLiteral("^&H([0-9A-F]{1,6})$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = colourText.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    const uint value = match.captured(1).toUInt(nullptr, 16);
    return QColor(int(value >> 16) & 0xFF, int(value >> 8) & 0xFF, int(value) & 0xFF);
}

QColor CommandGradientColour(int row, int heightPx, bool reversed)
{
    static const QColor light = CommandColourFromText(QStringLiteral("&HFFFFFF"));
    static const QColor shade = CommandColourFromText(QStringLiteral("&HC6C5D7"));
    const QColor &top = reversed ? shade : light;
    const QColor &bottom = reversed ? light : shade;
    const int last = heightPx - 1;
    if (last <= 0)
        return top;
    const double share = double(std::clamp(row, 0, last)) / last;
    const auto blend = [share](int from, int to) { return qRound(from + (to - from) * share); };
    return QColor(blend(top.red(), bottom.red()), blend(top.green(), bottom.green()), blend(top.blue(), bottom.blue()));
}

QPixmap RenderCommandFace(const CommandFaceOption &option)
{
    const qreal ratio = option.devicePixelRatio;
    const QSize devicePixels = (QSizeF(option.size) * ratio).toSize();
    if (devicePixels.isEmpty())
        return {};
    QPixmap face(devicePixels);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    PaintGradient(painter, devicePixels, option.gradientReversed);
    painter.scale(ratio, ratio);
    DrawFramePieces(painter, option.skin, option.frameSpans);
    painter.end();
    face.setDevicePixelRatio(ratio);
    return face;
}

void Command::paintEvent(QPaintEvent *)
{
    if (backgroundStyle == 0)
        return;
    if (backing.devicePixelRatio() != devicePixelRatioF()) // moved to another screen
        backing = RenderCommandFace(FaceOption(shownFace));
    if (backing.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, backing);
}

void Command::resizeEvent(QResizeEvent *)
{
    ShowEnabledState();
}

// Shows `face` with the gradient running as ButtonState wants it (a hovered
// button's light colour at the bottom), then lets the caption and the hover
// poll follow.
void Command::DrawFace(SkinFace face)
{
    if (fields.ButtonState == 1 || fields.ButtonState == 3)
        fields.GradientReversed = false;
    else if (fields.ButtonState == 2)
        fields.GradientReversed = true;
    UpdateCommandFrameSpans(frameSpans, PixelsToTwips(width()), PixelsToTwips(height()));
    shownFace = face;
    backing = RenderCommandFace(FaceOption(face));
    update();
    PlaceCaption();
    UpdateHoverPoll();
}

CommandFaceOption Command::FaceOption(SkinFace face) const
{
    return {size(), devicePixelRatioF(), fields.GradientReversed, frameSpans, skins[face]};
}

// The caption spans the control and sits a little above the middle.
void Command::PlaceCaption()
{
    const double labelHeightTwips = PixelsToTwips(LblMsg->height());
    const double topTwips = (PixelsToTwips(height()) - labelHeightTwips - 20) / 2;
    const int top = int(std::nearbyint(topTwips / TwipsPerPixel));
    LblMsg->setGeometry(0, top, width(), LblMsg->height());
}
