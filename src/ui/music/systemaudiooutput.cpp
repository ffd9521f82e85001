#include "audiooutput.h"
#include "fluidsupport.h"

#include <alsa/asoundlib.h>

namespace {

// ALSA reports a missing card in several lines on stderr; having no sound
// card is an answer here, not an error.
void quietAlsaError(const char *, int, const char *, int, const char *, ...) {}

// Sound servers first, then the bare device; JACK is left out because
// connecting to it can start a server of its own.
const char *const DriverNames[] = {"pulseaudio", "alsa"};

class SystemAudioOutput : public AudioOutput
{
public:
    bool available() override
    {
        if (m_driver)
            return true;
        Render silence = [](float *, float *, int) {};
        return bool(openDriver(&silence));
    }

    bool start(Render render) override
    {
        stop();
        m_render = std::move(render);
        m_driver = openDriver(&m_render);
        return bool(m_driver);
    }

    void stop() override
    {
        m_driver.reset();
        m_render = nullptr;
    }

    ~SystemAudioOutput() override { stop(); }

private:
    // The driver owns its buffers and zeroes them before each call.
    static int renderCallback(void *data, int frames, int, float *[], int outCount, float *out[])
    {
        if (outCount < 2)
            return FLUID_FAILED;
        (*static_cast<Render *>(data))(out[0], out[1], frames);
        return FLUID_OK;
    }

    static fluid::Driver openDriver(Render *render)
    {
        snd_lib_error_set_handler(quietAlsaError);
        fluid::Settings settings = fluid::makeSettings();
        if (!settings)
            return nullptr;
        for (const char *name : DriverNames) {
            fluid_settings_setstr(settings.get(), "audio.driver", name);
            if (fluid::Driver driver{new_fluid_audio_driver2(settings.get(), renderCallback, render)})
                return driver;
        }
        return nullptr;
    }

    Render m_render;
    fluid::Driver m_driver;
};

} // namespace

std::unique_ptr<AudioOutput> makeSystemAudioOutput()
{
    return std::make_unique<SystemAudioOutput>();
}
