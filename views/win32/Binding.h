// A native control for each model control (ui/Controls.h), kept in step with
// it. A binding forwards the user's action to the model's user entry point
// and, on refresh, sets on the native control only what differs from the
// model. Notifications that a refresh itself causes are not user actions and
// are dropped (see Binder::refreshing).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "views/win32/Native.h"

namespace vtl::views {

// A model colour (a system colour index with the high bit, or 0x00BBGGRR) as a COLORREF.
COLORREF toColorRef(std::uint32_t colour);

// Posted by a text box that lost the focus; Binder::message turns it into the model's leave.
inline constexpr UINT kLeaveMessage = WM_APP + 1;

class Binder;

class Binding {
  public:
    Binding(Binder& binder, ui::Control& control, HWND window);
    virtual ~Binding() = default;
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    HWND hwnd() const { return hwnd_; }
    int id() const { return GetDlgCtrlID(hwnd_); }
    ui::Control& control() const { return control_; }

    // A WM_COMMAND notification code from the native control.
    virtual void command(int /*code*/) {}
    // Brings the native control in step with the model.
    virtual void refresh();
    // The background the model asks for, if not the default.
    virtual std::optional<std::uint32_t> backColour() const { return std::nullopt; }

  protected:
    Binder& binder_;
    void setText(const std::string& text);  // only when it differs

  private:
    ui::Control& control_;
    HWND hwnd_;
    std::string toolTip_;
};

class LabelBinding : public Binding {
  public:
    using Binding::Binding;
    void refresh() override;
};

// Group box.
class FrameBinding : public LabelBinding {
  public:
    using LabelBinding::LabelBinding;
};

class TextBinding : public Binding {
  public:
    TextBinding(Binder& binder, ui::TextBox& box, HWND window);
    void command(int code) override;
    void refresh() override;
    std::optional<std::uint32_t> backColour() const override { return box_.backColor(); }
    // The box lost the focus to another control of its window.
    void leave();

  private:
    ui::TextBox& box_;
};

class CheckBinding : public Binding {
  public:
    CheckBinding(Binder& binder, ui::CheckBox& box, HWND window)
        : Binding(binder, box, window), box_(box) {}
    void command(int code) override;
    void refresh() override;

  private:
    ui::CheckBox& box_;
};

class OptionBinding : public Binding {
  public:
    OptionBinding(Binder& binder, ui::OptionButton& button, HWND window)
        : Binding(binder, button, window), button_(button) {}
    void command(int code) override;
    void refresh() override;

  private:
    ui::OptionButton& button_;
};

class ComboBinding : public Binding {
  public:
    ComboBinding(Binder& binder, ui::ComboBox& box, HWND window)
        : Binding(binder, box, window), box_(box) {}
    void command(int code) override;
    void refresh() override;
    std::optional<std::uint32_t> backColour() const override { return box_.backColor(); }

  private:
    ui::ComboBox& box_;
    std::vector<std::string> shown_;
};

class ButtonBinding : public Binding {
  public:
    ButtonBinding(Binder& binder, ui::CommandButton& button, HWND window)
        : Binding(binder, button, window), button_(button) {}
    void command(int code) override;
    void refresh() override;

  private:
    ui::CommandButton& button_;
};

// The bindings of one window: creates the native controls (in tab order: the
// order of the create calls), dispatches WM_COMMAND and refreshes them.
class Binder {
  public:
    // `parent` receives the controls' notifications and forwards them to command().
    Binder(HWND parent, HFONT font);
    ~Binder();
    Binder(const Binder&) = delete;
    Binder& operator=(const Binder&) = delete;

    HWND parent() const { return parent_; }
    HFONT font() const { return font_; }

    // Creation; `parent` may be a page inside the window (its WM_COMMAND must reach
    // this binder's command()). Rectangles are in pixels of that parent.
    LabelBinding& label(ui::Label& label, const RECT& r, HWND parent = nullptr,
                        DWORD style = SS_LEFT);
    FrameBinding& frame(ui::Frame& frame, const RECT& r, HWND parent = nullptr);
    TextBinding& text(ui::TextBox& box, const RECT& r, HWND parent = nullptr, DWORD style = 0);
    CheckBinding& check(ui::CheckBox& box, const RECT& r, HWND parent = nullptr);
    // `first` starts a new group of option buttons.
    OptionBinding& option(ui::OptionButton& button, const RECT& r, bool first,
                          HWND parent = nullptr);
    // A drop-down list; `dropHeight` in pixels of the open list.
    ComboBinding& combo(ui::ComboBox& box, const RECT& r, int dropHeight = 120,
                        HWND parent = nullptr);
    ButtonBinding& button(ui::CommandButton& button, const RECT& r, HWND parent = nullptr,
                          bool isDefault = false);
    // Adds a binding made elsewhere (a control type of the caller's own).
    Binding& adopt(std::unique_ptr<Binding> binding);

    // A native child window with this binder's font and the next control id.
    HWND createChild(const char* cls, const std::string& text, DWORD style, const RECT& r,
                     HWND parent = nullptr, DWORD exStyle = 0);

    // A child window that passes its controls' messages on to its parent, for
    // pages and other groups of controls.
    HWND panel(const RECT& r, HWND parent = nullptr);

    // Handles the messages of the bound controls (WM_COMMAND, kLeaveMessage,
    // WM_CTLCOLOR*); false when the message is not for them.
    bool message(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Dispatches a WM_COMMAND from a control; false when it is not one of ours.
    bool command(WPARAM wParam, LPARAM lParam);
    Binding* find(HWND window) const;
    Binding* find(const ui::Control& control) const;
    void refresh();
    // The brush for WM_CTLCOLOR* of `control`, or null for the default.
    HBRUSH brush(HWND control, HDC dc);

    // The tool tip window of this binder (created on first use).
    HWND toolTips();

    // True while a refresh sets native controls: their notifications are not the user's.
    static bool refreshing();

  private:
    HWND parent_;
    HFONT font_;
    int nextId_ = 1000;
    HWND toolTips_ = nullptr;
    std::vector<std::unique_ptr<Binding>> bindings_;
    std::vector<std::pair<COLORREF, HBRUSH>> brushes_;
};

}  // namespace vtl::views
