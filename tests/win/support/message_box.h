// Reads and closes the program's error box from a helper thread, so a test can
// call code that shows one and returns only when it is closed.
#pragma once
#include <string>
#include <thread>

class MessageBoxWatcher {
public:
    // Starts watching for a box captioned "Varnolt"; it is closed with OK as
    // soon as it appears.
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    // Waits for the watcher to finish; the box's text, or "" when none came
    // within the time.
    std::string Text();

private:
    std::thread thread_;
    std::string text_;
    bool joined_ = false;
};

// True when a box captioned "Varnolt" is showing now (it is left as it is).
bool MessageBoxShowing();
