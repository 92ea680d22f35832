#include "media/real_audio_accessibility.h"

#include "media/real_audio_views.h"
#include "widgets/accessible_widgets.h"

namespace {

class AccessiblePositionSlider : public AccessibleSlider
{
public:
    explicit AccessiblePositionSlider(RealPositionSlider *slider)
        : AccessibleSlider(slider)
    {
    }

    QVariant currentValue() const override { return Slider()->Position(); }
    void setCurrentValue(const QVariant &value) override { Slider()->Seek(value.toDouble()); }
    QVariant minimumValue() const override { return 0.0; }
    QVariant maximumValue() const override { return Slider()->Length(); }
    QVariant minimumStepSize() const override { return 1.0; }

private:
    RealPositionSlider *Slider() const { return static_cast<RealPositionSlider *>(widget()); }
};

// The status bar reads as one text: the play state and the time.
class AccessibleStatusBar : public QAccessibleWidget
{
public:
    explicit AccessibleStatusBar(RealStatusBar *bar)
        : QAccessibleWidget(bar, QAccessible::StatusBar)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = QStringList{Bar()->StateText(), Bar()->TimeText()}.join(QLatin1Char(' ')).trimmed();
        return text;
    }

private:
    RealStatusBar *Bar() const { return static_cast<RealStatusBar *>(widget()); }
};

QAccessibleInterface *CreateInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("RealPositionSlider"))
        return new AccessiblePositionSlider(static_cast<RealPositionSlider *>(object));
    if (className == QLatin1String("RealStatusBar"))
        return new AccessibleStatusBar(static_cast<RealStatusBar *>(object));
    return nullptr;
}

} // namespace

void InstallRealAudioAccessibility()
{
    InstallAccessibleFactory(CreateInterface);
}
