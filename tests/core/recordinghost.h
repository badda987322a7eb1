#pragma once

#include <string>
#include <vector>

#include "host/host.h"

// A host that keeps the messages the core shows, for the tests to look at.
class RecordingHost : public Host {
public:
    void messageBox(const Message& message) override { messages.push_back(messageText(message)); }

    std::vector<std::string> messages;
};
