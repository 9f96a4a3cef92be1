// A dialog service for window-model tests: message boxes are recorded and
// answered from a script (then with their default button); a modal form is
// loaded, shown, handed to the test's stand-in for the user, and closed;
// modeless forms are recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/DialogService.h"

namespace vtl::test {

class ScriptedDialogs : public ui::DialogService {
  public:
    struct Box {
        std::string text;
        std::uint32_t style;
        std::string caption;
    };

    platform::Answer MsgBox(const std::string& text, std::uint32_t style,
                            const std::string& caption) override {
        boxes.push_back({text, style, caption});
        if (!answers.empty()) {
            platform::Answer answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        }
        return platform::defaultAnswer(style);
    }
    void ShowModal(ui::Form& form) override {
        form.load();
        form.setVisible(true);
        ++modalCount;
        if (user)
            user(form);
        form.setVisible(false);
    }
    void ShowModeless(ui::Form& form) override {
        form.load();
        form.setVisible(true);
        modeless.push_back(&form);
    }

    std::vector<Box> boxes;
    std::vector<platform::Answer> answers;
    // What the user does while a modal form is up (nothing: the form is closed).
    std::function<void(ui::Form&)> user;
    int modalCount = 0;
    std::vector<ui::Form*> modeless;
};

}  // namespace vtl::test
