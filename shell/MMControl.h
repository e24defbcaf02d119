#pragma once
#include "platform/Controls.h"
#include "platform/Platform.h"
#include <memory>

// The multimedia control of a window: a file name and the device commands, passed to the tune device
// the platform provides.
class MMControl : public NonVisualControl {
    Q_OBJECT
public:
    explicit MMControl(QObject* parent = nullptr);
    ~MMControl() override;
    void setFileName(const QString& name);
    QString fileName() const { return fileName_; }
    void Command(const QString& command);
    MciDevice::Mode mode() const;
    MciDevice* device() const { return device_.get(); }

private:
    QString fileName_;
    std::unique_ptr<MciDevice> device_;
};
