#pragma once

namespace ui {

// The hourglass over the whole program for the life of the scope; the
// previous cursor comes back on every path out, also when an error escapes.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

    // Gives the cursor back early (e.g. before showing a window); idempotent.
    void restore();

private:
    bool active = true;
};

} // namespace ui
