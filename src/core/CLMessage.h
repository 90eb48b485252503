// The data layer's user-visible messages go through one replaceable hook: the
// window shows a message box, the command-line tool prints to standard error,
// tests record them.
#ifndef CLMESSAGE_H
#define CLMESSAGE_H

#include <functional>
#include <string>

enum class CLMsgIcon
{
    Error,
    Information,
    Warning
};

inline constexpr const char* kErrorCaption = "Zentrivo Error";
inline constexpr const char* kInfoCaption = "Zentrivo Information";
inline constexpr const char* kWarningCaption = "Zentrivo Warning";

using CLMessageHook =
    std::function<void(const std::string& text, const std::string& caption, CLMsgIcon icon)>;

// Replaces the hook; an empty hook restores the default (standard error).
// Returns the previous hook.
CLMessageHook SetMessageHook(CLMessageHook hook);
void ShowMessage(const std::string& text, const std::string& caption = kErrorCaption,
                 CLMsgIcon icon = CLMsgIcon::Error);

#endif
