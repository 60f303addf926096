// The sounds and the pause on Linux: the wave files through SDL audio.
//
// The audio device is opened at the first sound, in the format of that wave
// file; later files are converted to it. Without a device (none on the
// machine, no sound server) the game goes on silently: a sound to its end
// then returns at once.
#include <string>

#include "shell/sdl_window.h"

namespace {

SDL_AudioDeviceID Device = 0;
SDL_AudioSpec DeviceSpec{};
bool DeviceTried = false;

// A wave file in the device's format; empty when it cannot be read.
struct Wave {
    Uint8* samples = nullptr;
    Uint32 length = 0;
};

bool OpenDevice(const SDL_AudioSpec& wanted) {
    if (DeviceTried)
        return Device != 0;
    DeviceTried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec asked = wanted;
    asked.callback = nullptr;  // the sounds are queued
    Device = SDL_OpenAudioDevice(nullptr, 0, &asked, &DeviceSpec, 0);
    if (Device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(Device, 0);
    return true;
}

// Reads the file again at every sound, as the Windows program does.
Wave LoadWave(const char* path) {
    Wave wave;
    SDL_AudioSpec fileFormat{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(LinuxPath(path).c_str(), &fileFormat, &samples, &length) == nullptr)
        return wave;
    if (!OpenDevice(fileFormat)) {
        SDL_FreeWAV(samples);
        return wave;
    }
    SDL_AudioCVT convert{};
    int needed =
        SDL_BuildAudioCVT(&convert, fileFormat.format, fileFormat.channels, fileFormat.freq,
                          DeviceSpec.format, DeviceSpec.channels, DeviceSpec.freq);
    if (needed < 0) {
        SDL_FreeWAV(samples);
        return wave;
    }
    wave.length = length;
    if (needed == 0) {
        wave.samples = static_cast<Uint8*>(SDL_malloc(length));
        if (wave.samples != nullptr)
            SDL_memcpy(wave.samples, samples, length);
    } else {
        convert.len = static_cast<int>(length);
        convert.buf = static_cast<Uint8*>(SDL_malloc(static_cast<std::size_t>(length) *
                                                     static_cast<std::size_t>(convert.len_mult)));
        if (convert.buf != nullptr) {
            SDL_memcpy(convert.buf, samples, length);
            if (SDL_ConvertAudio(&convert) == 0) {
                wave.samples = convert.buf;
                wave.length = static_cast<Uint32>(convert.len_cvt);
            } else {
                SDL_free(convert.buf);
            }
        }
    }
    SDL_FreeWAV(samples);
    if (wave.samples == nullptr)
        wave.length = 0;
    return wave;
}

// Starts a wave, cutting off the one playing. Returns its length in
// milliseconds, 0 when nothing plays.
Uint32 Start(const char* path) {
    Wave wave = LoadWave(path);
    if (wave.samples == nullptr)
        return 0;
    SDL_ClearQueuedAudio(Device);
    const bool queued = SDL_QueueAudio(Device, wave.samples, wave.length) == 0;
    SDL_free(wave.samples);
    if (!queued)
        return 0;
    const auto frameBytes =
        static_cast<Uint32>(SDL_AUDIO_BITSIZE(DeviceSpec.format) / 8 * DeviceSpec.channels);
    if (frameBytes == 0 || DeviceSpec.freq <= 0)
        return 0;
    return static_cast<Uint32>(static_cast<Uint64>(wave.length / frameBytes) * 1000 /
                               static_cast<Uint64>(DeviceSpec.freq));
}

}  // namespace

void StartSound(const char* path) { (void)Start(path); }

void PlaySoundToEnd(const char* path) {
    const Uint32 length = Start(path);
    if (length == 0)
        return;
    // Played out when the queue is empty and the device's own buffer with
    // it; a device that stops taking samples is waited for no longer than
    // the sound itself, and the device's buffer, lasts.
    const Uint32 buffer =
        DeviceSpec.freq > 0 ? DeviceSpec.samples * 1000U / static_cast<Uint32>(DeviceSpec.freq) : 0;
    const Uint64 deadline = SDL_GetTicks64() + length + buffer;
    while (SDL_GetQueuedAudioSize(Device) > 0 && SDL_GetTicks64() < deadline)
        SDL_Delay(5);
    const Uint64 now = SDL_GetTicks64();
    const Uint64 tail = now + buffer < deadline ? buffer : (deadline > now ? deadline - now : 0);
    SDL_Delay(static_cast<Uint32>(tail));
}

void Pause(int milliseconds) {
    if (milliseconds > 0)
        SDL_Delay(static_cast<Uint32>(milliseconds));
}
