#include "Platform.h"
#include "QtPlatform.h"

namespace {
std::unique_ptr<Platform>& slot()
{
    static std::unique_ptr<Platform> p;
    return p;
}
} // namespace

Platform& Platform::current()
{
    auto& p = slot();
    if (!p) p = std::make_unique<QtPlatform>();
    return *p;
}

std::unique_ptr<Platform> Platform::install(std::unique_ptr<Platform> platform)
{
    auto previous = std::move(slot());
    slot() = std::move(platform);
    return previous;
}

MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title, bool defaultSecond)
{
    return Platform::current().messageBox({text, title, buttons, icon, defaultSecond});
}
