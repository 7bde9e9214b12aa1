#include "UQVCamera.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoSink>

namespace {

class TQVSystemCamera : public TQVCameraDevice
{
public:
    bool Connect(QVideoSink *sink) override
    {
        const QCameraDevice device = QMediaDevices::defaultVideoInput();
        if (device.isNull())
            return false;
        FCamera = std::make_unique<QCamera>(device);
        FSession.setCamera(FCamera.get());
        FSession.setVideoSink(sink);
        FCamera->start();
        if (FCamera->error() != QCamera::NoError) {
            Disconnect();
            return false;
        }
        return true;
    }

    void Disconnect() override
    {
        if (FCamera)
            FCamera->stop();
        FSession.setCamera(nullptr);
        FSession.setVideoSink(nullptr);
        FCamera.reset();
    }

private:
    QMediaCaptureSession FSession;
    std::unique_ptr<QCamera> FCamera;
};

} // namespace

std::unique_ptr<TQVCameraDevice> CreateSystemCamera()
{
    return std::make_unique<TQVSystemCamera>();
}
