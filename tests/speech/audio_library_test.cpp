#include "speech/audio_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "speech/sound_bank.h"
#include "speech/wording.h"

namespace quorvel {
namespace {

bool isLoaded(const char* library) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) dlclose(handle);
    return handle != nullptr;
}

// Its own program, so no earlier test has already opened the libraries.
TEST(AudioLibrary, OpenedOnlyWhenSoundIsFirstRead) {
    ASSERT_FALSE(isLoaded(audio::sndFileLibraryName()));
    ASSERT_FALSE(isLoaded(audio::portAudioLibraryName()));

    const WordPlan plan = makeWordPlan("result", "2+3");
    EXPECT_FALSE(plan.empty());
    EXPECT_FALSE(isLoaded(audio::sndFileLibraryName()));

    const auto sound = readWav(std::filesystem::path(QUORVEL_SOUNDS_DIR) / "one1.wav");
    ASSERT_TRUE(sound.has_value());
    EXPECT_GT(sound->samples.size(), 0u);
    EXPECT_TRUE(isLoaded(audio::sndFileLibraryName()));
    EXPECT_FALSE(isLoaded(audio::portAudioLibraryName()));

    const audio::PortAudioApi* pa = audio::portAudio();
    ASSERT_NE(pa, nullptr);
    EXPECT_TRUE(isLoaded(audio::portAudioLibraryName()));
    EXPECT_EQ(audio::portAudio(), pa);  // loaded once
}

}  // namespace
}  // namespace quorvel
