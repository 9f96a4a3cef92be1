// Placing controls in dialog units of the window's font, as resource
// templates do, so the layout follows the system font; and a check that
// finds text cut off and controls that overlap.
#pragma once

#include <string>
#include <vector>

#include "views/win32/Native.h"

namespace vtl::views {

class Layout {
  public:
    // Measures the font's base units (DEFAULT_GUI_FONT when `font` is null).
    explicit Layout(HFONT font = nullptr);

    HFONT font() const { return font_; }
    int x(int dluX) const { return MulDiv(dluX, baseX_, 4); }
    int y(int dluY) const { return MulDiv(dluY, baseY_, 8); }
    RECT rect(int dluX, int dluY, int dluW, int dluH) const;
    // The width of `text` in dialog units (an "&" that marks an accelerator is not counted).
    int textWidth(const std::string& text) const;

    // Usual heights in dialog units.
    static constexpr int kLabel = 8;
    static constexpr int kEdit = 12;
    static constexpr int kCheck = 10;
    static constexpr int kButton = 14;
    static constexpr int kCombo = 12;

  private:
    HFONT font_;
    int baseX_ = 6;
    int baseY_ = 13;
};

// The problems a user would see below `top`: text wider than its control,
// a control outside its parent, visible siblings that overlap (a control
// fully inside a group box is not an overlap). One line per problem.
std::vector<std::string> auditLayout(HWND top);

}  // namespace vtl::views
