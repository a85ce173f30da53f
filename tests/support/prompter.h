#pragma once

// The prompter for tests: records every message in order and answers from a script; once the script is used
// up, OK to a message and `answer` to a question.

#include "word/messages.h"

#include <deque>
#include <functional>
#include <vector>

namespace testsupport
{

class TestPrompter : public word::Prompter
{
public:
    word::Answer show(const word::Message &message) override
    {
        shown.push_back(message);
        if (onShow) {
            onShow(message);
        }
        if (!answers.empty()) {
            const word::Answer next = answers.front();
            answers.pop_front();
            return next;
        }
        return message.buttons == word::Buttons::Ok ? word::Answer::Ok : answer;
    }

    std::vector<word::Message> shown; ///< every message, in order
    std::deque<word::Answer> answers; ///< the next answers, one a message, before `answer` applies
    word::Answer answer = word::Answer::Yes; ///< the answer to a question when answers is empty
    std::function<void(const word::Message &)> onShow; ///< called with each message as it is shown
};

} // namespace testsupport
