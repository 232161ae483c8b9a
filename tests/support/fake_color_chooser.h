#pragma once

#include "color/color_chooser.h"

#include <optional>
#include <vector>

namespace tintavo::test {

// Answers each choose() with the next scripted choice: a colour the user
// confirms, or std::nullopt for a cancelled dialog. Unscripted calls cancel.
class FakeColorChooser : public ColorChooser
{
public:
    bool choose() override
    {
        ++shown;
        if (answers.empty())
            return false;
        const std::optional<ColorValue> answer = answers.front();
        answers.erase(answers.begin());
        if (!answer)
            return false;
        color = *answer;
        return true;
    }

    ColorValue chosenColor() const override { return color; }

    std::vector<std::optional<ColorValue>> answers;
    ColorValue color = 0;
    int shown = 0;
};

} // namespace tintavo::test
