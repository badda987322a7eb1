#pragma once

#include <string>

// What the GUI-free core needs from the program around it: a way to tell the user something.
// The editor shows a message box; rkstage writes the message to stderr.
class Host {
public:
    virtual ~Host() = default;

    // A modal message with an OK button. `text` is UTF-8.
    virtual void messageBox(const std::string& text) = 0;
};
