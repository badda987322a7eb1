#pragma once

#include "host/host.h"

// The host for rkstage: messages go to stderr as they are, there are no views and no
// event tool.
class TerminalHost : public Host {
public:
    void messageBox(const std::string& text) override;
    void updateAllViews(CRKeditDoc&) override {}
    std::optional<std::string> takeEventToolScript(const CRKeditDoc&) override {
        return std::nullopt;
    }
    int messageCount() const { return messages_; }

private:
    int messages_ = 0;
};
