#include "message.h"

#include <iostream>
#include <utility>

namespace veltra {
namespace {

MessageHandler& handler()
{
    static MessageHandler current;
    return current;
}

}  // namespace

void setMessageHandler(MessageHandler h)
{
    handler() = std::move(h);
}

void reportMessage(const std::string& text)
{
    if (handler())
        handler()(text);
    else
        std::cerr << text << '\n';
}

}  // namespace veltra
