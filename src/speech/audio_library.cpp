#include "speech/audio_library.h"

#include "speech/shared_library.h"

namespace quorvel::audio {
namespace {

template <typename Api>
struct Loaded {
    Api api{};
    bool ok = false;
    std::string error;
};

template <typename Api>
const Api* result(const Loaded<Api>& loaded, std::string* error) {
    if (loaded.ok) return &loaded.api;
    if (error != nullptr) *error = loaded.error;
    return nullptr;
}

Loaded<PortAudioApi> loadPortAudio() {
    SharedLibrary lib(portAudioLibraryName());
    Loaded<PortAudioApi> l;
    PortAudioApi& a = l.api;
    lib.bind(a.initialize, "Pa_Initialize");
    lib.bind(a.terminate, "Pa_Terminate");
    lib.bind(a.errorText, "Pa_GetErrorText");
    lib.bind(a.openDefaultStream, "Pa_OpenDefaultStream");
    lib.bind(a.startStream, "Pa_StartStream");
    lib.bind(a.abortStream, "Pa_AbortStream");
    lib.bind(a.closeStream, "Pa_CloseStream");
    lib.bind(a.writeStream, "Pa_WriteStream");
    lib.bind(a.streamInfo, "Pa_GetStreamInfo");
    l.ok = lib.ok();
    l.error = lib.error();
    return l;
}

Loaded<SndFileApi> loadSndFile() {
    SharedLibrary lib(sndFileLibraryName());
    Loaded<SndFileApi> l;
    SndFileApi& a = l.api;
    lib.bind(a.open, "sf_open");
    lib.bind(a.openFd, "sf_open_fd");
    lib.bind(a.close, "sf_close");
    lib.bind(a.strerror, "sf_strerror");
    lib.bind(a.readfShort, "sf_readf_short");
    lib.bind(a.writeShort, "sf_write_short");
    l.ok = lib.ok();
    l.error = lib.error();
    return l;
}

}  // namespace

const char* portAudioLibraryName() { return QUORVEL_PORTAUDIO_LIBRARY; }
const char* sndFileLibraryName() { return QUORVEL_SNDFILE_LIBRARY; }

const PortAudioApi* portAudio(std::string* error) {
    static const Loaded<PortAudioApi> loaded = loadPortAudio();
    return result(loaded, error);
}

const SndFileApi* sndFile(std::string* error) {
    static const Loaded<SndFileApi> loaded = loadSndFile();
    return result(loaded, error);
}

}  // namespace quorvel::audio
