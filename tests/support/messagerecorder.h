#pragma once

// Records the program's message boxes instead of showing them.

#include "ui/messages.h"

#include <vector>

namespace rovi::test {

class MessageRecorder {
public:
    MessageRecorder()
    {
        SetMessagePresenter([this](const MessageRequest &r) { messages.push_back(r); });
    }
    ~MessageRecorder() { SetMessagePresenter(nullptr); }

    QStringList Texts() const
    {
        QStringList texts;
        for (const auto &m : messages)
            texts << m.text;
        return texts;
    }

    std::vector<MessageRequest> messages;
};

} // namespace rovi::test
