#include "UScreenFit.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

#include "UScreenFitPlan.h"

namespace {

// Design values are kept on the objects themselves, taken once before the
// first scaling, so that any later fit starts from them.
const char *const KDesignGeometry = "examoraDesignGeometry";
const char *const KDesignMinimum = "examoraDesignMinimum";
const char *const KDesignMaximum = "examoraDesignMaximum";
const char *const KDesignFont = "examoraDesignFont";
const char *const KDesignMargins = "examoraDesignMargins";
const char *const KDesignSpacing = "examoraDesignSpacing";
const char *const KScale = "examoraDesignScale";

// The window manager's title bar and borders, in device pixels: the frame is
// not known before the first show, and it must stay on the screen too.
const QMargins KFrameAllowance(8, 32, 8, 32);

template <typename T>
T Design(QObject &object, const char *name, const T &current)
{
    if (!object.property(name).isValid())
        object.setProperty(name, QVariant::fromValue(current));
    return object.property(name).value<T>();
}

QSize ScaledLimit(const QSize &design, qreal scale)
{
    const auto length = [scale](int value) { return value >= QWIDGETSIZE_MAX ? value : ScaledLength(value, scale); };
    return QSize(length(design.width()), length(design.height()));
}

// Every widget's font is set from its own design font, so that a font a
// child inherited is not scaled twice.
void ScaleFont(QWidget &widget, qreal scale, bool isWindow)
{
    if (!isWindow && !widget.testAttribute(Qt::WA_SetFont))
        return;
    QFont font = Design(widget, KDesignFont, widget.font());
    if (font.pixelSize() > 0)
        font.setPixelSize(ScaledFontPixels(font.pixelSize(), scale));
    else
        font.setPointSizeF(font.pointSizeF() * scale);
    widget.setFont(font);
}

void ScaleLayout(QLayout &layout, qreal scale)
{
    const QMargins margins = Design(layout, KDesignMargins, layout.contentsMargins());
    layout.setContentsMargins(ScaledLength(margins.left(), scale), ScaledLength(margins.top(), scale),
                              ScaledLength(margins.right(), scale), ScaledLength(margins.bottom(), scale));
    // A spacing of -1 comes from the style and follows the fonts by itself.
    if (const int spacing = Design(layout, KDesignSpacing, layout.spacing()); spacing >= 0)
        layout.setSpacing(ScaledLength(spacing, scale));
}

void ScaleLimits(QWidget &widget, qreal scale)
{
    const QSize minimum = Design(widget, KDesignMinimum, widget.minimumSize());
    const QSize maximum = Design(widget, KDesignMaximum, widget.maximumSize());
    widget.setMinimumSize(ScaledSize(minimum, scale));
    widget.setMaximumSize(ScaledLimit(maximum, scale));
}

// A control's design rectangle in the coordinates of its window.
QRect DesignRectInWindow(const QWidget &control, const QWidget &window)
{
    QRect rect = control.property(KDesignGeometry).toRect();
    for (const QWidget *parent = control.parentWidget(); parent && parent != &window; parent = parent->parentWidget())
        rect.translate(parent->property(KDesignGeometry).toRect().topLeft());
    return rect;
}

// Rounded in the window's coordinates, not the parent's: a control that
// fits its parent at the design size then fits it at every scale.
QRect ScaledGeometry(const QWidget &control, const QWidget &window, qreal scale)
{
    const QRect scaled = ScaledRect(DesignRectInWindow(control, window), scale);
    const QWidget *parent = control.parentWidget();
    if (parent == &window)
        return scaled;
    return scaled.translated(-ScaledRect(DesignRectInWindow(*parent, window), scale).topLeft());
}

// Scales the window's own controls; windows among its children are fitted
// when they are shown.
void ScaleDesignLayout(QWidget &window, qreal scale)
{
    QList<QWidget *> controls;
    for (QWidget *child : window.findChildren<QWidget *>())
        if (child->window() == &window)
            controls.append(child);
    QList<QLayout *> layouts;
    for (QLayout *layout : window.findChildren<QLayout *>())
        if (layout->parentWidget() && layout->parentWidget()->window() == &window)
            layouts.append(layout);
    // Take every design value before changing anything: a change of font or
    // size travels to the children.
    Design(window, KDesignMinimum, window.minimumSize());
    Design(window, KDesignMaximum, window.maximumSize());
    Design(window, KDesignFont, window.font());
    for (QWidget *control : controls) {
        Design(*control, KDesignGeometry, control->geometry());
        Design(*control, KDesignMinimum, control->minimumSize());
        Design(*control, KDesignMaximum, control->maximumSize());
        Design(*control, KDesignFont, control->font());
    }
    for (QLayout *layout : layouts) {
        Design(*layout, KDesignMargins, layout->contentsMargins());
        Design(*layout, KDesignSpacing, layout->spacing());
    }

    window.setProperty(KScale, scale);
    ScaleLimits(window, scale);
    ScaleFont(window, scale, true);
    for (QWidget *control : controls) {
        ScaleLimits(*control, scale);
        ScaleFont(*control, scale, false);
        control->setGeometry(ScaledGeometry(*control, window, scale));
    }
    for (QLayout *layout : layouts)
        ScaleLayout(*layout, scale);
}

QMargins FrameAllowance(const QWidget &window)
{
    const qreal ratio = window.devicePixelRatioF();
    const auto logical = [ratio](int pixels) { return int(std::ceil(pixels / ratio)); };
    return QMargins(logical(KFrameAllowance.left()), logical(KFrameAllowance.top()), logical(KFrameAllowance.right()),
                    logical(KFrameAllowance.bottom()));
}

// The smallest size the window's layout allows, where it has one.
QSize LayoutMinimum(QWidget &window)
{
    QLayout *layout = window.layout();
    if (!layout)
        return QSize(0, 0);
    layout->activate();
    return layout->totalMinimumSize();
}

bool IsFittedWindow(const QWidget &widget)
{
    const Qt::WindowType type = widget.windowType();
    return widget.isWindow() && (type == Qt::Window || type == Qt::Dialog);
}

class TScreenFitFilter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (IsFittedWindow(*widget) && !widget->property(KScale).isValid())
                FitToScreen(*widget);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void InstallScreenFit(QApplication &application)
{
    application.installEventFilter(new TScreenFitFilter(&application));
}

void FitToScreen(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    // The candidate works in the exam screen for the whole exam: it fills
    // the screen. Every other window only shrinks where it does not fit.
    const TFitMode mode = window.inherits("TFrmMain") ? TFitMode::Fill : TFitMode::ShrinkOnly;
    const QRect available = screen->availableGeometry();
    const QMargins frame = FrameAllowance(window);
    const QSize design = Design(window, KDesignGeometry, window.geometry()).size();
    qreal scale = PlanScreenFit(design, available, frame, mode).Scale;
    // At scale 1 the design stays exactly as it is, placed where Qt puts it.
    if (!window.property(KScale).isValid() && qFuzzyCompare(scale, 1)) {
        window.setProperty(KScale, 1.0);
        return;
    }
    ScaleDesignLayout(window, scale);
    // Text and style metrics do not shrink quite as the design does: a
    // layout may still ask for more room, then the scale goes down further.
    const QSize room = available.marginsRemoved(frame).size();
    for (int attempt = 0; attempt < 6; ++attempt) {
        const QSize needed = LayoutMinimum(window);
        if (needed.width() <= room.width() && needed.height() <= room.height())
            break;
        scale *= std::min(qreal(room.width()) / std::max(needed.width(), room.width()),
                          qreal(room.height()) / std::max(needed.height(), room.height()));
        ScaleDesignLayout(window, scale);
    }
    // Never below what the layout needs: a squeezed layout overlaps its controls.
    const QSize size = ScaledSize(design, scale).expandedTo(LayoutMinimum(window)).boundedTo(room);
    window.setGeometry(PlaceCentred(size, available, frame));
}

double DesignScale(const QWidget &widget)
{
    const QVariant scale = widget.window()->property(KScale);
    return scale.isValid() ? scale.toReal() : 1.0;
}
