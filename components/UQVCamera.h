#pragma once

#include <memory>

#include <QImage>
#include <QWidget>

class QVideoFrame;
class QVideoSink;

// A live video source for the crop dialog: the system camera, or in tests
// a source that feeds frames of its own into the sink.
class TQVCameraDevice
{
public:
    virtual ~TQVCameraDevice() = default;
    // Starts streaming the first camera into the sink. False when no camera
    // is connected or it cannot be started.
    virtual bool Connect(QVideoSink *sink) = 0;
    virtual void Disconnect() = 0;
};

// The system's default camera through Qt Multimedia.
std::unique_ptr<TQVCameraDevice> CreateSystemCamera();

// The live preview: paints the sink's latest frame scaled into its area,
// keeping the frame's shape.
class TQVCameraView : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVCameraView)

public:
    explicit TQVCameraView(QVideoSink *sink, QWidget *parent = nullptr);

    // The frame on show; null before the first frame arrives.
    QImage CurrentFrame() const { return FFrame; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void FrameChanged(const QVideoFrame &frame);

    QImage FFrame;
};
