#include "MMControl.h"

MMControl::MMControl(QObject* parent) : NonVisualControl(parent), device_(Platform::current().createMciDevice()) {}
MMControl::~MMControl() = default;

void MMControl::setFileName(const QString& name)
{
    fileName_ = name;
    if (device_) device_->setFileName(name);
}

void MMControl::Command(const QString& command)
{
    if (device_) device_->command(command);
}

MciDevice::Mode MMControl::mode() const { return device_ ? device_->mode() : MciDevice::Mode::NotOpen; }
