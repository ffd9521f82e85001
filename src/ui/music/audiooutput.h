#pragma once

#include <functional>
#include <memory>

// Where the synthesizer's sound goes. The system output drives a real sound
// device from its own thread; other outputs (for example in tests) can pull
// the sound themselves.
class AudioOutput
{
public:
    // Fills `frames` stereo frames of 44.1 kHz float audio; both buffers are zeroed.
    using Render = std::function<void(float *left, float *right, int frames)>;

    virtual ~AudioOutput() = default;

    // True when a sound device can be opened (or is already open here).
    virtual bool available() = 0;
    // Starts calling `render` for sound; false when no device opens.
    virtual bool start(Render render) = 0;
    // Stops calling the render function; it is not called after this returns.
    virtual void stop() = 0;
};

std::unique_ptr<AudioOutput> makeSystemAudioOutput();
