#pragma once

#include <functional>
#include <string>

namespace veltra {

// Every failure the image model meets is reported once, through this hook.
// The window shows a message box, veltra-cli writes to standard error, tests
// record. Without a handler, messages go to standard error.
using MessageHandler = std::function<void(const std::string&)>;

void setMessageHandler(MessageHandler handler);
void reportMessage(const std::string& text);

}  // namespace veltra
