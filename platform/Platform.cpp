#include "Platform.h"
#include "QtPlatform.h"

namespace {
std::unique_ptr<Platform>& slot()
{
    static std::unique_ptr<Platform> p;
    return p;
}
Platform::DocumentHost& host()
{
    static Platform::DocumentHost h;
    return h;
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

void Platform::setDocumentHost(DocumentHost h) { host() = std::move(h); }
const Platform::DocumentHost& Platform::documentHost() { return host(); }

MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title, bool defaultSecond)
{
    return Platform::current().messageBox({text, title, buttons, icon, defaultSecond});
}
