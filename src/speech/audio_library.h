#pragma once

// PortAudio and libsndfile, opened with dlopen the first time a program plays, reads or writes
// sound. Linked directly they and the sound servers and codecs they pull in (ALSA, JACK, FLAC,
// Vorbis, Opus, ...) were loaded by every start of quorvel-calc, even for "2+3", and the
// dynamic loader was the larger part of its start-up. Only the two .cpp files that talk to
// the libraries include this header.

#include <portaudio.h>
#include <sndfile.h>

#include <string>

namespace quorvel::audio {

struct PortAudioApi {
    decltype(&::Pa_Initialize) initialize;
    decltype(&::Pa_Terminate) terminate;
    decltype(&::Pa_GetErrorText) errorText;
    decltype(&::Pa_OpenDefaultStream) openDefaultStream;
    decltype(&::Pa_StartStream) startStream;
    decltype(&::Pa_AbortStream) abortStream;
    decltype(&::Pa_CloseStream) closeStream;
    decltype(&::Pa_WriteStream) writeStream;
    decltype(&::Pa_GetStreamInfo) streamInfo;
};

struct SndFileApi {
    decltype(&::sf_open) open;
    decltype(&::sf_open_fd) openFd;
    decltype(&::sf_close) close;
    decltype(&::sf_strerror) strerror;
    decltype(&::sf_readf_short) readfShort;
    decltype(&::sf_write_short) writeShort;
};

// The library's functions, loaded on the first call (thread-safe) and kept for the life of
// the process; nullptr when it cannot be opened, with the loader's reason in `error`.
const PortAudioApi* portAudio(std::string* error = nullptr);
const SndFileApi* sndFile(std::string* error = nullptr);

// The file names dlopen is given, as the build found them.
const char* portAudioLibraryName();
const char* sndFileLibraryName();

}  // namespace quorvel::audio
