#pragma once

// The message boxes the commands show, as plain data: the window turns them into real boxes.

#include "automation.h"

#include <string>

namespace word
{

enum class Icon {
    None, ///< no icon
    Critical, ///< the stop sign
    Question, ///< the question mark
    Exclamation, ///< the warning sign
};

enum class Buttons {
    Ok, ///< one OK button
    YesNoDefaultNo, ///< Yes and No, No the default
};

enum class Answer {
    Ok, ///< OK pressed (or the box closed)
    Yes, ///< Yes pressed
    No, ///< No pressed (or the box closed)
};

/// One modal message box.
struct Message {
    std::string text; ///< the prompt; lines joined by "\r\n"
    std::string title; ///< the box's title
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;

    bool operator==(const Message &) const = default;
};

/// Shows message boxes and answers them; the window's implementation shows real ones, tests answer.
class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual Answer show(const Message &message) = 0;
};

/// "No Word document found.  Open a Word document and try again." under "Error", with the host's name.
Message noDocumentMessage(const HostNames &names);

/// The message for a command that finds no document: the host's reason if it has one (the document
/// is in Protected View), else noDocumentMessage(app.names()); both under "Error".
Message noDocumentMessage(Application &app);

/// The three-line "Fatal Error" shown when no host can be attached or started.
Message fatalMessage(const HostNames &names);

} // namespace word
