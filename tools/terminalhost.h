#pragma once

#include "host/host.h"

// The host for rkstage: messages go to stderr as they are.
class TerminalHost : public Host {
public:
    void messageBox(const Message& message) override;
    int messageCount() const { return messages_; }

private:
    int messages_ = 0;
};
