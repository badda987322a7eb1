#pragma once

#include "host/message.h"

// What the GUI-free core needs from the program around it: a way to tell the user something.
// The editor shows a message box; rkstage writes the message to stderr.
class Host {
public:
    virtual ~Host() = default;

    // A modal message with an OK button.
    virtual void messageBox(const Message& message) = 0;
};
