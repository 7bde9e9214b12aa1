#pragma once

#include <memory>

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
