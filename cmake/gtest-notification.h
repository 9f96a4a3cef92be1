// GoogleTest's Notification for GCC's win32 thread model, which has no
// std::mutex: the tests run on one thread, so a flag is enough.
#pragma once

namespace testing::internal {

class Notification {
  public:
    void Notify() { notified_ = true; }
    void WaitForNotification() {
        while (!notified_) {
        }
    }

  private:
    volatile bool notified_ = false;
};

}  // namespace testing::internal
