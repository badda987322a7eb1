#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

// A host that remembers what the core asked of it.
class RecordingHost : public Host {
public:
    void messageBox(const std::string& text) override { messages.push_back(text); }
    void updateAllViews(CRKeditDoc&) override { ++updates; }
    std::optional<std::string> takeEventToolScript(const CRKeditDoc&) override {
        ++scriptRequests;
        return eventToolScript;
    }

    std::vector<std::string> messages;
    int updates = 0;
    int scriptRequests = 0;
    std::optional<std::string> eventToolScript; // set to act as an open event tool
};
