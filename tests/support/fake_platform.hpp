// A scripted platform for driving the editor headless: dialog answers queued by the
// test, messages and other calls recorded.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/platform.hpp"

namespace ravlet::test {

struct RecordedMessage {
    std::string text;
    MessageIcon icon;
    bool busyWhileShown = false;  // the busy pointer was on when the message appeared
};

class FakePlatform : public Platform {
public:
    std::optional<std::string> ShowOpenDialog(const OpenDialogRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowMessage(const std::string& text, MessageIcon icon) override {
        messages.push_back({text, icon, !busyCalls.empty() && busyCalls.back()});
    }
    void Quit() override { ++quits; }
    std::string CurrentDirectory() override { return directory; }
    void YieldEvents() override {
        ++yields;
        if (onYield) onYield();
    }
    bool YieldDue() override { return yieldDue; }
    void SetBusy(bool busy) override { busyCalls.push_back(busy); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        if (onAsk) onAsk();
        if (yesNoAnswers.empty()) return true;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }

    std::string directory = ".";
    std::deque<std::optional<std::string>> answers;  // nullopt = the user cancels
    std::vector<OpenDialogRequest> requests;
    std::vector<RecordedMessage> messages;
    std::vector<bool> busyCalls;
    std::function<void()> onYield;
    bool yieldDue = true;
    std::deque<bool> yesNoAnswers;  // Yes once they run out
    std::vector<std::string> questions;
    std::function<void()> onAsk;  // runs while the question is open
    int quits = 0;
    int yields = 0;
};

}  // namespace ravlet::test
