// The screen's mouse pointer, which long operations set to the hourglass and
// restore afterwards. Views show it; tests can watch it.
#pragma once

namespace vtl {

class Screen {
  public:
    enum Pointer { Default = 0, Hourglass = 11 };

    // Shows a new pointer on screen (a view installs it; none without windows).
    using PointerHook = void (*)(int pointer);

    static int MousePointer() { return pointer(); }
    static void SetMousePointer(int value) {
        pointer() = value;
        if (hook())
            hook()(value);
    }
    static void SetPointerHook(PointerHook show) { hook() = show; }

  private:
    static PointerHook& hook() {
        static PointerHook show = nullptr;
        return show;
    }
    static int& pointer() {
        static int value = Default;
        return value;
    }
};

// Shows the hourglass for its lifetime and then restores the pointer it found.
class BusyPointer {
  public:
    BusyPointer() : previous_(Screen::MousePointer()) {
        Screen::SetMousePointer(Screen::Hourglass);
    }
    ~BusyPointer() { Screen::SetMousePointer(previous_); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    int previous_;
};

}  // namespace vtl
