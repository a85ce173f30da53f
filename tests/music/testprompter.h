#pragma once

// A prompter for tests: records every message and answers from a script (Yes by default to questions).

#include "word/messages.h"

#include <deque>
#include <vector>

namespace tests
{

class TestPrompter : public word::Prompter
{
public:
    word::Answer show(const word::Message &message) override
    {
        shown.push_back(message);
        if (!answers.empty()) {
            const word::Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return message.buttons == word::Buttons::Ok ? word::Answer::Ok : word::Answer::Yes;
    }

    std::vector<word::Message> shown; ///< every message, in order
    std::deque<word::Answer> answers; ///< the next answers; when empty OK or Yes
};

} // namespace tests
