#include "CLMessage.h"

#include <cstdio>

namespace {

CLMessageHook& Hook()
{
    static CLMessageHook hook;
    return hook;
}

} // namespace

CLMessageHook SetMessageHook(CLMessageHook hook)
{
    CLMessageHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

void ShowMessage(const std::string& text, const std::string& caption, CLMsgIcon icon)
{
    if (Hook()) {
        Hook()(text, caption, icon);
        return;
    }
    (void)icon;
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
